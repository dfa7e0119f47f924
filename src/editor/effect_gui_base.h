// The editor root as the plug-in shell sees it: a window of fixed size,
// opened inside the host's window (or headless) and closed again. It owns
// the editor's platform connection and native window, finds the instrument
// it edits in the registry, and takes the instrument's refresh requests at
// every idle. Nothing here touches a display, a font or a file before Open,
// so a host that only scans the plug-in pays nothing for it.
// Thread: user-interface thread.
#pragma once

#include <memory>

#include "gui/top_level.h"
#include "gui/window.h"
#include "shell/vst2_abi.h"

class AudioEffectX;
class InstrumentBase;
class InstrumentEditor;

namespace platform {
class HeadlessPlatform;
}

class EffectGUIBase : public gui::Window {
 public:
  explicit EffectGUIBase(AudioEffectX* effect);
  ~EffectGUIBase() override;

  virtual void GetSize(int& width, int& height) const = 0;
  int Width() const;
  int Height() const;

  // parentWindow: the host's X11 window id (what effEditOpen carries). False
  // when there is no display to open on.
  bool Open(void* parentWindow);
  bool OpenHeadless();
  bool OpenOn(std::unique_ptr<platform::Platform> platform, std::uintptr_t parent);
  void Close();
  bool isOpen() const { return top_ != nullptr; }

  // The host's idle: events, timers, the instrument's requests, painting.
  virtual void Idle();
  // Our host's private requests (shell/editor_commands.h).
  vst2::VstIntPtr Command(vst2::VstIntPtr command, void* ptr, float opt);

  InstrumentBase* instrument() const { return instrument_; }
  platform::HeadlessPlatform* headless() const { return headless_; }

 protected:
  // Builds the editor's windows once it is open.
  virtual void Build() = 0;
  // Tears down what Build made, before the native window goes.
  virtual void Unbuild() = 0;
  // The instrument's refresh requests (InstrumentEditor::Request bits).
  virtual void HandleRequests(unsigned requests) = 0;
  virtual void SelectPage(int /*page*/) {}
  InstrumentEditor* board() const;
  platform::NativeWindow* native() const { return top_ != nullptr ? &top_->native() : nullptr; }

 private:
  AudioEffectX* effect_;
  InstrumentBase* instrument_ = nullptr;
  std::unique_ptr<platform::Platform> platform_;
  platform::HeadlessPlatform* headless_ = nullptr;
  std::unique_ptr<gui::Window> hostWindow_;
  std::unique_ptr<gui::TopLevel> top_;
};
