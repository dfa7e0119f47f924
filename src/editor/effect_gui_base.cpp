#include "editor/effect_gui_base.h"

#include <cstdio>

#include "gui/listeners.h"
#include "platform/headless_platform.h"
#include "platform/platform_factory.h"
#include "shell/audio_effect.h"
#include "shell/editor_commands.h"
#include "shell/instrument_base.h"
#include "shell/instrument_registry.h"

EffectGUIBase::EffectGUIBase(AudioEffectX* effect) : effect_(effect) {}

EffectGUIBase::~EffectGUIBase() = default;  // the derived editor closes itself

int EffectGUIBase::Width() const {
  int w = 0, h = 0;
  GetSize(w, h);
  return w;
}

int EffectGUIBase::Height() const {
  int w = 0, h = 0;
  GetSize(w, h);
  return h;
}

InstrumentEditor* EffectGUIBase::board() const {
  return instrument_ != nullptr ? &instrument_->editorBoard() : nullptr;
}

bool EffectGUIBase::Open(void* parentWindow) {
  std::unique_ptr<platform::Platform> p = platform::CreateDisplayPlatform();
  if (p == nullptr) return false;
  return OpenOn(std::move(p), reinterpret_cast<std::uintptr_t>(parentWindow));
}

bool EffectGUIBase::OpenHeadless() { return OpenOn(std::make_unique<platform::HeadlessPlatform>(), 0); }

bool EffectGUIBase::OpenOn(std::unique_ptr<platform::Platform> p, std::uintptr_t parent) {
  if (isOpen()) Close();  // a host opening twice gets a fresh editor
  if (p == nullptr || !p->ok()) return false;
  gui::SetUserInterfaceThread();
  gui::timers::Install();
  platform_ = std::move(p);
  headless_ = dynamic_cast<platform::HeadlessPlatform*>(platform_.get());
  instrument_ = dynamic_cast<InstrumentBase*>(instrument_registry::Find(effect_));
  int w = 0, h = 0;
  GetSize(w, h);
  // The host's window, as a window of ours the size of the editor.
  hostWindow_ = std::make_unique<gui::Window>();
  hostWindow_->attachedToHost = true;
  hostWindow_->width = w;
  hostWindow_->height = h;
  top_ = std::make_unique<gui::TopLevel>(*platform_, platform::WindowKind::kEmbedded, parent, nullptr,
                                         *hostWindow_, 0, 0);
  Create(hostWindow_.get(), w, h, 0, 0);
  Build();
  if (instrument_ != nullptr) instrument_->SetEditorOpen(true);
  platform_->Pump();
  return true;
}

void EffectGUIBase::Close() {
  if (!isOpen()) return;
  if (instrument_ != nullptr) instrument_->SetEditorOpen(false);
  Unbuild();
  // This window leaves the host window before either goes.
  RemoveFromParent();
  top_.reset();
  hostWindow_.reset();
  headless_ = nullptr;
  platform_.reset();
  instrument_ = nullptr;
}

void EffectGUIBase::Idle() {
  if (!isOpen()) return;
  if (InstrumentEditor* b = board()) {
    if (const unsigned requests = b->TakeRequests()) HandleRequests(requests);
  }
  platform_->Pump();
}

vst2::VstIntPtr EffectGUIBase::Command(vst2::VstIntPtr command, void* ptr, float opt) {
  using namespace editor_commands;
  if (command == kOpenHeadless) return OpenHeadless() ? 1 : 0;
  if (!isOpen()) return 0;
  switch (command) {
    case kAdvance:
      if (headless_ != nullptr) {
        headless_->Advance(static_cast<int>(opt));
      } else {
        Idle();
      }
      Idle();
      return 1;
    case kClick:
      if (headless_ == nullptr || ptr == nullptr) return 0;
      headless_->Click(&top_->native(), static_cast<int*>(ptr)[0], static_cast<int*>(ptr)[1]);
      Idle();
      return 1;
    case kWritePng:
      if (ptr == nullptr) return 0;
      Idle();
      return cairo_surface_write_to_png(top_->native().backing(), static_cast<const char*>(ptr)) ==
                     CAIRO_STATUS_SUCCESS
                 ? 1
                 : 0;
    case kSelectPage:
      SelectPage(static_cast<int>(opt));
      Idle();
      return 1;
    default:
      return 0;
  }
}
