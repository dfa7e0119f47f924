// The instrument object the plug-in factory creates: every sound component,
// the instrument parameters, the voice-editing bridges and timeline proxies,
// and the block loop that runs them in a fixed order under the mutex.
// Thread: RenderBlock and the MIDI operations on the audio thread; editing
// operations on the user-interface thread (under the edit lock, and the
// block mutex where they change what a block reads); parameters from any
// thread.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/effects/delay_effect.h"
#include "engine/effects/distortion_effect.h"
#include "engine/effects/reverb_effect.h"
#include "engine/envelope/point_selection.h"
#include "engine/filter/stereo_filter.h"
#include "engine/instrument/znote.h"
#include "engine/modulation/midi_event_mod_source.h"
#include "engine/modulation/perform_mod_source.h"
#include "engine/voice/voice_settings.h"
#include "params/bridge_parameter.h"
#include "params/midi_learn_manager.h"
#include "params/sustain_pedal_emulator.h"
#include "persist/data_folders.h"
#include "persist/preset_library.h"
#include "persist/waveform_file.h"
#include "params/timeline_edit_owner.h"
#include "params/zparam.h"
#include "shell/instrument_base.h"

struct InstanceOptions {
  // The plug-in library's name without its ending; empty when the instrument
  // is made inside another program (tests, tools).
  std::string moduleName = "ZelvaneWinVst";
};

class Zelvane : public InstrumentBase, public PluginState, public TimelineEditOwner {
 public:
  static constexpr int kNumParams = 40;
  static constexpr int kNoteCount = 16;
  static constexpr int kVoices = 4;
  static constexpr int kPerformSources = 6;
  static constexpr int kBridges = 13;
  static constexpr int kProxies = 21;
  static constexpr int kBusFrames = VstBase::kMaxBlockFrames;
  static constexpr const char* kUntitled = "<untitled>";
  // The voice setting each edit bridge stands for, bridge 1 first.
  static constexpr std::array<int, kBridges> kBridgeTargets = {0, 1, 2, 3, 6, 7, 10, 11,
                                                               8, 9, 4, 5, 12};

  explicit Zelvane(vst2::audioMasterCallback audioMaster, const InstanceOptions& options = {});
  ~Zelvane() override;

  void RenderBlock(float* left, float* right, int frames, int pair) override;
  void ParameterChanged(float value, Parameter* which) override;
  void NotifyHost(int index, float normalised) override;

  // While one of these lives on a thread, automation reports from that thread
  // are held back and sent when the last one ends: the host is never called
  // while we hold our mutex. Make it before taking the lock.
  class DeferredAutomation {
   public:
    explicit DeferredAutomation(Zelvane& z);
    ~DeferredAutomation();
    DeferredAutomation(const DeferredAutomation&) = delete;
    DeferredAutomation& operator=(const DeferredAutomation&) = delete;

   private:
    Zelvane& z_;
  };

  // Notes; the channel is ignored. Controllers, pressure and bend act only
  // through the MIDI modulation sources, which hear every event.
  void NoteOn(int channel, int key, int velocity, int offset) override;
  void NoteOff(int channel, int key, int offset) override;
  void AllNotesOff(int channel) override;
  void SustainOn(int channel, int offset) override;
  void SustainOff(int channel, int offset) override;
  // The timeline time the sounding note plays for the selected voice, or -1.
  float GetPlayingTime();
  // Stops every note at once and forgets the held keys.
  void CutAllNotes();

  const std::string& GetState() override;
  bool SetState(const void* data, std::size_t size) override;

  // Voice selection and timeline editing (user-interface thread).
  void SelectVoice(int k);
  float ReadEditedValue(int voice, int line, int index);
  // Writes at the edit time; true when a breakpoint had to be inserted.
  bool WriteEditedValue(int voice, int line, int index, float value);
  void WriteSelectionValue(int line, int index, float value, ZParam& proxy);
  void SetMultipleSelection(const PointSelection* selection);
  // Routing rows of a layer, in its settings and in that layer of every note.
  void SetRoutingSource(int layer, int row, int id);
  void SetRoutingTarget(int layer, int row, int id);
  void ClearRoutings(int layer);
  // Assigns an axis (0 X, 1 Y) of pad k (0..5) to a target of one layer, or
  // of every layer with voice 4; unassigning disables the pad's row.
  void SetPadAssignment(int k, int axis, bool assigned, int voice, int target);
  // Patch files of the patch library; both answer whether it worked.
  bool LoadPatch(const std::string& category, const std::string& name);
  bool SavePatch(const std::string& category, const std::string& name);
  void SetPatchName(std::string name);
  // Waveform files of the waveform library and a lane of the selected
  // voice. Loading builds the lane's tables without holding the block mutex,
  // so playing goes on meanwhile.
  bool SaveWaveform(const std::string& category, const std::string& name, int lane);
  WaveformLoad LoadWaveform(const std::string& category, const std::string& name, int lane);
  // The edit lock orders everything that changes or saves the sound's
  // structure away from the audio thread: patch and state loads and saves,
  // resets, voice selection, timeline and routing edits, waveform loads. It
  // is taken before the block mutex and never by the audio thread, so a
  // state save or a wave build holds it without stopping the sound.
  std::recursive_mutex& editMutex() { return editMutex_; }
  // Both locks, in their order.
  class EditLock {
   public:
    explicit EditLock(Zelvane& z) : edit_(z.editMutex_), block_(z.mutex()) {}

   private:
    std::lock_guard<std::recursive_mutex> edit_;
    std::lock_guard<std::recursive_mutex> block_;
  };
  void SetCategory(std::string name);
  // The distortion's own first values.
  void ResetDistortion();
  // True while the editor animates a playing note's timeline: its cursor is
  // then no place to write values.
  bool EditingLocked() const;
  void ResetPatch();
  void ResetVoice(int k);

  float ReadProxyValue(const ZParam& proxy) override;
  void WriteProxyValue(ZParam& proxy, float value) override;
  ParameterHost& proxyHost() override { return *this; }

  // Components and parameters.
  VoiceSettings& voiceSettings(int k) { return *voiceSettings_[static_cast<std::size_t>(k)]; }
  DelayEffect& delay() { return delay_; }
  ReverbEffect& reverb() { return reverb_; }
  ZDistortionEffect& distortion() { return distortion_; }
  StereoFilter& masterFilter(int i) { return i == 0 ? filter1_ : filter2_; }
  PerformModSource& performSource(int i) { return *performSources_[static_cast<std::size_t>(i)]; }
  ZMidiEventModSource& aftertouchSource() { return aftertouch_; }
  ZMidiEventModSource& modWheelSource() { return modWheel_; }
  ZMidiEventModSource& pitchBendSource() { return pitchBend_; }
  BridgeParameter& bridge(int number) { return bridges_[static_cast<std::size_t>(number - 1)]; }
  ZParam& proxy(int i) { return proxies_[static_cast<std::size_t>(i)]; }
  ZParam* FindProxy(int line, int index);
  Parameter& timeFreeze() { return timeFreeze_; }
  Parameter& portamentoTime() { return portamentoTime_; }
  Parameter& masterVolume() { return masterVolume_; }
  Parameter& pitchBendRange() { return pitchBendRange_; }
  Parameter& keyMode() { return keyMode_; }
  Parameter& polyphony() { return polyphony_; }
  Parameter& animationEnabled() { return animationEnabled_; }
  Parameter& freezePosition() { return freezePosition_; }
  Parameter& multipleSelectionMode() { return multipleSelectionMode_; }
  Parameter& enabled() { return enabled_; }

  // The instrument's send buses, into which the voices add.
  enum Send { kReverbSend = 0, kDelaySend = 1, kDistortionSend = 2 };
  float* sendLeft(Send s) { return SendBus(s).left.data(); }
  float* sendRight(Send s) { return SendBus(s).right.data(); }
  ZNote& znote(int i);
  bool sustainHeld() const { return sustainHeld_.load(std::memory_order_relaxed); }
  int heldKeyCount() const { return heldCount_; }
  int heldKey(int i) const { return held_[static_cast<std::size_t>(i)].key; }
  // The LFO phase a new note's layer starts with.
  float StartingLfoPhase(int layer, int lfo);

  MidiLearnManager& learnManager() { return learnManager_; }
  SustainPedalEmulator& sustainEmulator() { return sustainEmulator_; }
  // Work for the user-interface thread that the audio thread leaves behind:
  // a newly learned MIDI mapping is written to the mappings file here. The
  // editor's timer and the host's idle calls run it.
  void UserInterfaceIdle() override;

  // The libraries of the user's data folder; listed on demand, never while
  // the host merely scans the plug-in.
  PresetLibrary& waveformLibrary() { return waveformLibrary_; }
  PresetLibrary& patchLibrary() { return patchLibrary_; }
  PresetLibrary& timelineLibrary() { return timelineLibrary_; }
  const DataFolders& dataFolders() const { return dataFolders_; }

  int selectedVoice() const { return selectedVoice_.load(std::memory_order_relaxed); }
  float editTime() const { return editTime_.load(std::memory_order_relaxed); }
  void SetEditTime(float t) { editTime_.store(t, std::memory_order_relaxed); }
  int activeNoteLimit() const { return activeNoteLimit_.load(std::memory_order_relaxed); }
  const std::string& patchName() const { return patchName_; }
  const std::string& category() const { return category_; }
  float selectionOffset(int line, int index) const {
    return selectionOffsets_[static_cast<std::size_t>(line)][static_cast<std::size_t>(index)];
  }

 protected:
  std::unique_ptr<Note> CreateNote(int index) override;

 private:
  struct Bus {
    std::vector<float> left = std::vector<float>(kBusFrames);
    std::vector<float> right = std::vector<float>(kBusFrames);
    void Clear(int frames);
    void AddInto(float* l, float* r, int frames) const;
  };
  class GuardScope;
  struct HeldKey {
    int key;
    int velocity;
    ZNote* note;
  };
  static constexpr int kHeldCapacity = 256;

  Bus& SendBus(Send s) { return s == kReverbSend ? reverbBus_ : s == kDelaySend ? delayBus_ : distortionBus_; }
  void StoreLfoPhases(const ZNote* n);
  void AddHeld(int key, int velocity, ZNote* n);
  void RemoveHeld(int index);
  int FindHeld(int key) const;
  void StealIfFull();
  float GlideStartPitch() const;
  void StartNote(int key, int velocity, int offset);
  void FadeOlderNotes(int offset);
  void GlideNoteTo(ZNote& n, int key, int offset);

  void CreateInstrumentParameters();
  void SetComponentDefaults();
  void RegisterAutomatables();
  void FreezePositionChanged();
  void SetProxySteps(int line, int index, bool stepped);
  void RefreshAfterSelection();
  bool SelectionActive() const { return selection_ != nullptr && selection_->size() > 1; }

  ZMidiEventModSource aftertouch_{0xD0, -1, -1.0f};
  ZMidiEventModSource modWheel_{0xB0, 1, -1.0f};
  ZMidiEventModSource pitchBend_{0xE0, -1, 0.0f};
  std::array<BridgeParameter, kBridges> bridges_;
  std::array<ZParam, kProxies> proxies_;
  Parameter timeFreeze_;
  Parameter portamentoTime_, masterVolume_, pitchBendRange_, keyMode_, polyphony_,
      animationEnabled_, freezePosition_, multipleSelectionMode_, enabled_;
  SustainPedalEmulator sustainEmulator_;
  DelayEffect delay_;
  ReverbEffect reverb_;
  ZDistortionEffect distortion_;
  Bus delayBus_, reverbBus_, distortionBus_;
  StereoFilter filter1_, filter2_;
  Bus effectReturn_;
  std::string patchName_ = kUntitled;
  std::string category_ = kUntitled;
  std::recursive_mutex editMutex_;
  std::array<std::unique_ptr<VoiceSettings>, kVoices> voiceSettings_;
  std::atomic<int> selectedVoice_{0};
  std::atomic<float> editTime_{0.0f};
  std::array<std::unique_ptr<PerformModSource>, kPerformSources> performSources_;
  DataFolders dataFolders_;
  PresetLibrary waveformLibrary_, patchLibrary_, timelineLibrary_;
  // After the pads and "Freeze Position": destroyed before them, and it
  // writes a mapping not yet stored when it goes.
  MidiLearnManager learnManager_;
  std::array<float, 8> storedLfoPhases_;
  std::string stateText_;
  std::string chunkCopy_;
  bool editorGuard_ = false;
  bool constructed_ = false;
  std::array<std::atomic<float>, kNumParams> pendingAutomation_{};
  std::atomic<std::uint64_t> pendingAutomationMask_{0};
  bool notesReady_ = false;
  std::atomic<int> activeNoteLimit_{8};
  const PointSelection* selection_ = nullptr;
  // Keys in the order they went down, with the note playing each.
  std::array<HeldKey, kHeldCapacity> held_{};
  int heldCount_ = 0;
  ZNote* lastNote_ = nullptr;
  // Set by a pedal on the audio thread or by the emulator on the user-interface thread.
  std::atomic<bool> sustainHeld_{false};
  // The note whose timeline position the editor animates.
  ZNote* animatedNote_ = nullptr;
  // Relative-mode offsets per (line, value index), in normalised units.
  std::array<std::array<float, 23>, VoiceSettings::kLineCount> selectionOffsets_{};
};
