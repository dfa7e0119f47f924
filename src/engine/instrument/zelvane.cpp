#include "engine/instrument/zelvane.h"

#include <algorithm>
#include <cfloat>
#include <cstdio>
#include <cstring>

namespace {

PluginIdentity ZelvaneIdentity(const InstanceOptions& options) {
  PluginIdentity id;
  id.numParams = Zelvane::kNumParams;
  id.stereoInputPairs = 0;
  id.stereoOutputPairs = 1;
  id.isSynth = true;
  id.uniqueId = vst2::FourCC('T', 'v', 'Z', '1');
  id.effectName = "Zelvane";
  id.vendorName = "Tarvenn Audio";
  id.moduleName = options.moduleName;
  return id;
}

struct ProxySpec {
  int line, index;
  float start, end;
  int type, curve;
};
constexpr std::array<ProxySpec, Zelvane::kProxies> kProxySpecs = {{
    {1, 0, -36, 36, Parameter::kInteger, Parameter::kLinear},
    {1, 1, -1, 1, Parameter::kContinuous, Parameter::kLinear},
    {1, 2, -1, 1, Parameter::kContinuous, Parameter::kLinear},
    {1, 3, 0, 2, Parameter::kContinuous, Parameter::kLinear},
    {1, 4, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {3, 0, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {3, 1, 0, 2, Parameter::kInteger, Parameter::kLinear},
    {3, 2, 1, 50, Parameter::kContinuous, Parameter::kLinear},
    {2, 0, -1, 1, Parameter::kContinuous, Parameter::kLinear},
    {2, 1, -1, 1, Parameter::kContinuous, Parameter::kLinear},
    {2, 2, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {5, 0, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {5, 1, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {5, 2, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {5, 3, 0, 1, Parameter::kContinuous, Parameter::kCubic},
    {4, 0, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {4, 1, 0, 5, Parameter::kContinuous, Parameter::kLinear},
    {4, 2, 0, 3, Parameter::kInteger, Parameter::kLinear},
    {4, 3, 0, 1, Parameter::kContinuous, Parameter::kLinear},
    {4, 4, 0, 5, Parameter::kContinuous, Parameter::kLinear},
    {4, 5, 0, 3, Parameter::kInteger, Parameter::kLinear},
}};

}  // namespace

void Zelvane::Bus::Clear(int frames) {
  std::fill_n(left.begin(), frames, 0.0f);
  std::fill_n(right.begin(), frames, 0.0f);
}

void Zelvane::Bus::AddInto(float* l, float* r, int frames) const {
  for (int i = 0; i < frames; ++i) {
    l[i] += left[static_cast<std::size_t>(i)];
    r[i] += right[static_cast<std::size_t>(i)];
  }
}

Zelvane::Zelvane(vst2::audioMasterCallback audioMaster, const InstanceOptions& options)
    : InstrumentBase(audioMaster, ZelvaneIdentity(options), kNoteCount) {
  // The layers' settings and the pads come first: every note's voices link to them.
  for (auto& v : voiceSettings_) {
    v = std::make_unique<VoiceSettings>();
    // Replaced tables are freed once no block can still be reading them.
    v->waveSet().SetBlockFence([this] { std::lock_guard fence(mutex()); });
  }
  for (int i = 0; i < kPerformSources; ++i) {
    performSources_[static_cast<std::size_t>(i)] = std::make_unique<PerformModSource>(i + 1);
  }
  CreateNotes();
  notesReady_ = true;
  AddMidiListener(&aftertouch_);
  AddMidiListener(&modWheel_);
  AddMidiListener(&pitchBend_);

  for (const ProxySpec& s : kProxySpecs) {
    ZParam& p = proxies_[static_cast<std::size_t>(&s - kProxySpecs.data())];
    p.Init(*this, s.line, s.index, s.start, s.end, s.type);
    p.SetCurve(s.curve);
  }
  CreateInstrumentParameters();
  SetComponentDefaults();

  dataFolders_ = InitDataFolders();  // paths only: nothing is created here
  waveformLibrary_.Configure(dataFolders_.waveforms, WaveformLibraryKind());
  patchLibrary_.Configure(dataFolders_.patches, PatchLibraryKind());
  timelineLibrary_.Configure(dataFolders_.timeline, TimelineLibraryKind());
  storedLfoPhases_.fill(FLT_MAX);
  stateText_.reserve(2000000);

  // Block ticks (previous values for ramps) for every component.
  for (ParameterHost* h : {static_cast<ParameterHost*>(&delay_), static_cast<ParameterHost*>(&reverb_),
                           static_cast<ParameterHost*>(&distortion_), static_cast<ParameterHost*>(&filter1_),
                           static_cast<ParameterHost*>(&filter2_)}) {
    bufferListenerHost().AddBufferChild(h);
  }
  for (auto& v : voiceSettings_) bufferListenerHost().AddBufferChild(v.get());
  for (auto& p : performSources_) bufferListenerHost().AddBufferChild(p.get());

  sampleRateSource().AddSampleRateListener(&delay_);
  sampleRateSource().AddSampleRateListener(&reverb_);
  sampleRateSource().AddSampleRateListener(&distortion_);
  sampleRateSource().AddSampleRateListener(&filter1_);
  sampleRateSource().AddSampleRateListener(&filter2_);
  tempoSource().AddTempoListener(&delay_);

  for (int i = 0; i < kBridges; ++i) {
    bridges_[static_cast<std::size_t>(i)].SetName("");
  }
  // The instrument hears the bridges that change proxies or the page, and
  // both master cutoffs, which keep their order.
  bridge(5).Subscribe(this);
  bridge(6).Subscribe(this);
  bridge(13).Subscribe(this);
  filter1_.cutoff().Subscribe(this);
  filter2_.cutoff().Subscribe(this);

  RegisterAutomatables();
  // The learnables go in before the file is read, so stored mappings find them.
  for (auto& source : performSources_) {
    for (Parameter* p : {&source->x(), &source->y()}) {
      learnManager_.AddLearnable(p);
      p->SetLearnManager(&learnManager_);
    }
  }
  learnManager_.AddLearnable(&freezePosition_);
  freezePosition_.SetLearnManager(&learnManager_);
  learnManager_.SetFilePath(dataFolders_.midiLearnFile);
  AddMidiListener(&learnManager_);
  // The emulated pedal reaches the instrument as a real one would, and
  // through it every other MIDI listener.
  sustainEmulator_.AddMidiListener(this);
  SelectVoice(0);
  SetPluginState(this);
  // A new instance is the initial patch, so it sounds when played.
  ResetPatch();
  constructed_ = true;
}

void Zelvane::UserInterfaceIdle() { learnManager_.WriteIfPending(); }

Zelvane::~Zelvane() {
  // A host may close the plug-in with its editor open: the editor goes
  // first, while everything it shows still exists.
  if (AEffEditor* loader = editorLoader()) loader->close();
  // The bridges outlive the voice settings they stand for: let go first.
  for (BridgeParameter& b : bridges_) b.SetTarget(nullptr);
}

void Zelvane::CreateInstrumentParameters() {
  using P = Parameter;
  timeFreeze_.Init("", 0, 1, P::kInteger, 1);
  portamentoTime_.Init("PortamentoTime", 0, 1, P::kContinuous, 1, P::kCubic);
  masterVolume_.Init("MasterVolume", 0, 1, P::kContinuous, 1, P::kCubic);
  pitchBendRange_.Init("PitchBendRange", 1, 12, P::kInteger, 1);
  keyMode_.Init("KeyMode", 0, 2, P::kInteger, 1);
  polyphony_.Init("Polyphony", 2, 16, P::kInteger, 1);
  animationEnabled_.Init("AnimationEnabled", 0, 1, P::kInteger, 1);
  freezePosition_.Init("Freeze Position", 0, 1, P::kContinuous, 1);
  multipleSelectionMode_.Init("Multiple selection mode", 0, 2, P::kInteger, 1);
  enabled_.Init("ZELVANE_ENABLED", 0, 1, P::kInteger, 1);
  for (Parameter* p : {&timeFreeze_, &portamentoTime_, &masterVolume_, &pitchBendRange_, &keyMode_,
                       &polyphony_, &animationEnabled_, &freezePosition_, &multipleSelectionMode_,
                       &enabled_}) {
    AddParameter(p);
  }
  portamentoTime_.SetValue(1.0f);
  masterVolume_.SetValue(0.0f);
  pitchBendRange_.SetValue(1.0f);
  keyMode_.SetValue(2.0f);  // before the polyphony, so the limit ends at 8
  polyphony_.SetValue(8.0f);
  animationEnabled_.SetValue(1.0f);
  enabled_.SetValue(1.0f);
}

void Zelvane::SetComponentDefaults() {
  delay_.enabled().SetValue(0.0f);
  delay_.time().SetValue(2.0f);
  delay_.feedback().SetValue(0.5f);
  delay_.mix().SetValue(1.0f);
  reverb_.enabled().SetValue(0.0f);
  reverb_.time().SetValue(1.0f);
  reverb_.size().SetValue(1.0f);
  reverb_.mix().SetValue(1.0f);
  distortion_.enabled().SetValue(0.0f);
  distortion_.crunch().SetValue(0.7f);
  distortion_.drive().SetValue(1.0f);
  distortion_.output().SetValue(1.0f);
  filter1_.enabled().SetValue(0.0f);
  filter1_.type().SetValue(StereoFilter::kHighPass);
  filter1_.cutoff().SetValue(0.0f);  // clamped to the lowest cutoff
  filter1_.resonance().SetValue(7.0f);
  filter2_.enabled().SetValue(0.0f);
  filter2_.type().SetValue(StereoFilter::kLowPass);
  filter2_.cutoff().SetValue(22000.0f);
  filter2_.resonance().SetValue(7.0f);
}

void Zelvane::RegisterAutomatables() {
  // The order fixes the host's parameter indices.
  for (auto& source : performSources_) {
    AddAutomatable(&source->x());
    AddAutomatable(&source->y());
  }
  for (Parameter* p : {&freezePosition_, &masterVolume_, &pitchBendRange_, &delay_.enabled(),
                       &delay_.time(), &delay_.feedback(), &delay_.mix(), &delay_.stereo(),
                       &reverb_.enabled(), &reverb_.time(), &reverb_.size(), &reverb_.mix(),
                       &distortion_.enabled(), &distortion_.crunch(), &distortion_.drive(),
                       &distortion_.output(), &distortion_.highCut(), &filter1_.enabled(),
                       &filter1_.cutoff(), &filter2_.enabled(), &filter2_.cutoff()}) {
    AddAutomatable(p);
  }
  for (auto& v : voiceSettings_) AddAutomatable(&v->setting(VoiceSettings::kLevel));
  AddAutomatable(&keyMode_);
  AddAutomatable(&polyphony_);
  AddAutomatable(&portamentoTime_);
}

namespace {
thread_local int automationDeferral = 0;
}

void Zelvane::NotifyHost(int index, float normalised) {
  // Values set while the instance is being built are not news to the host.
  if (!constructed_) return;
  if (automationDeferral > 0 && index >= 0 && index < kNumParams) {
    pendingAutomation_[static_cast<std::size_t>(index)].store(normalised, std::memory_order_relaxed);
    pendingAutomationMask_.fetch_or(std::uint64_t{1} << index, std::memory_order_release);
    return;
  }
  InstrumentBase::NotifyHost(index, normalised);
}

Zelvane::DeferredAutomation::DeferredAutomation(Zelvane& z) : z_(z) { ++automationDeferral; }

Zelvane::DeferredAutomation::~DeferredAutomation() {
  if (--automationDeferral > 0) return;
  std::uint64_t mask = z_.pendingAutomationMask_.exchange(0, std::memory_order_acquire);
  for (int i = 0; mask != 0; ++i, mask >>= 1) {
    if (mask & 1u) {
      z_.InstrumentBase::NotifyHost(i, z_.pendingAutomation_[static_cast<std::size_t>(i)].load(std::memory_order_relaxed));
    }
  }
}

void Zelvane::RenderBlock(float* left, float* right, int frames, int /*pair*/) {
  if (!enabled_.GetBool()) return;  // a patch is loading: stay silent, take no lock
  DeferredAutomation deferred(*this);
  std::lock_guard lock(mutex());
  for (auto& source : performSources_) source->AdvanceSmoothing();
  learnManager_.ApplyPendingValues();
  if (delay_.enabled().GetBool()) delayBus_.Clear(frames);
  if (reverb_.enabled().GetBool()) reverbBus_.Clear(frames);
  if (distortion_.enabled().GetBool()) distortionBus_.Clear(frames);
  for (int i = 0; i < kNoteCount; ++i) znote(i).Render(left, right, frames);
  if (delay_.enabled().GetBool()) {
    delay_.Process(delayBus_.left.data(), delayBus_.right.data(), left, right, frames);
  }
  if (reverb_.enabled().GetBool()) {
    reverb_.Process(reverbBus_.left.data(), reverbBus_.right.data(), effectReturn_.left.data(),
                    effectReturn_.right.data(), frames);
    effectReturn_.AddInto(left, right, frames);
  }
  if (distortion_.enabled().GetBool()) {
    distortion_.Process(distortionBus_.left.data(), distortionBus_.right.data(),
                        effectReturn_.left.data(), effectReturn_.right.data(), frames);
    effectReturn_.AddInto(left, right, frames);
  }
  if (filter1_.enabled().GetBool()) filter1_.Process(left, right, left, right, frames);
  if (filter2_.enabled().GetBool()) filter2_.Process(left, right, left, right, frames);
  aftertouch_.EndBlock();
  modWheel_.EndBlock();
  pitchBend_.EndBlock();
}

