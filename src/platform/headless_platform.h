// The platform without a display: native windows are in-memory images on an
// imaginary 1920 x 1080 screen. Tests drive it as a person would (mouse and
// wheel at coordinates, typed text), let time pass on the manual clock, read
// pixels and write PNGs; zelvane-render --screenshot draws with it.
// Modal loops wait through Wait, which moves the clock on and gives a test
// its turn (answer the message box, choose the menu item, press the
// dialog's button) while the loop runs.
// Thread: user-interface thread.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/buffered_surface.h"
#include "platform/platform.h"

namespace platform {

class HeadlessWindow;

class HeadlessPlatform : public Platform {
 public:
  static constexpr int kScreenWidth = 1920;
  static constexpr int kScreenHeight = 1080;
  // Turns the process clock to manual time for as long as it lives.
  HeadlessPlatform();
  ~HeadlessPlatform() override;

  std::unique_ptr<NativeWindow> CreateWindow(WindowKind kind, std::uintptr_t parent,
                                             NativeWindow* owner, const Rect& bounds,
                                             NativeWindowClient* client) override;
  void Pump() override;
  // Moves the clock on by the timeout (at most 10 ms a step, so timers due
  // within it fire in order), pumps, and gives the modal step its turn.
  void Wait(int timeoutMs) override;
  bool ok() const override { return true; }
  std::string name() const override { return "headless"; }

  // The live windows, oldest first; the topmost is the last shown.
  const std::vector<HeadlessWindow*>& windows() const { return windows_; }
  HeadlessWindow* Topmost(WindowKind kind) const;

  // Input at a point of a window (its own coordinates). Pumps afterwards.
  void MouseDown(NativeWindow* w, int x, int y, int button = 1, bool control = false, bool shift = false);
  void MouseUp(NativeWindow* w, int x, int y, int button = 1);
  void MouseMove(NativeWindow* w, int x, int y);
  void Click(NativeWindow* w, int x, int y, int button = 1);
  // A press and release, then a second press and release within the
  // double-click time.
  void DoubleClick(NativeWindow* w, int x, int y);
  void Drag(NativeWindow* w, int x0, int y0, int x1, int y1, int steps = 8);
  void Wheel(NativeWindow* w, int x, int y, int notches);
  // Into the window with the keyboard focus (or w when given).
  void Type(const std::string& text, NativeWindow* w = nullptr);
  void Key(KeyEvent::Key key, NativeWindow* w = nullptr);

  // Lets ms of time pass in 10 ms steps, pumping after each.
  void Advance(int ms);

  // Called at every Wait (modal loops); a step that does nothing for
  // kMaxIdleSteps waits ends the innermost modal window as if closed.
  // Without a step nobody can answer: a dialog is closed after two seconds
  // of its time (a screenshot never hangs on a message box).
  void SetModalStep(std::function<void()> step) { modalStep_ = std::move(step); }
  static constexpr int kMaxIdleSteps = 20000;
  static constexpr int kUnattendedSteps = 200;
  bool modalGaveUp() const { return modalGaveUp_; }

  // The pixel of a window's image as last painted: 0xAARRGGBB, not
  // premultiplied.
  std::uint32_t Pixel(const NativeWindow* w, int x, int y) const;
  bool WritePng(const NativeWindow* w, const std::string& path) const;

  // Internal: windows report their life and input focus.
  void Forget(HeadlessWindow* w);
  void Focus(HeadlessWindow* w) { focus_ = w; }
  void Capture(HeadlessWindow* w, bool on);
  void Raised(HeadlessWindow* w);

 private:
  void Deliver(NativeWindow* w, MouseEvent e);

  std::vector<HeadlessWindow*> windows_;
  HeadlessWindow* focus_ = nullptr;
  HeadlessWindow* capture_ = nullptr;
  std::function<void()> modalStep_;
  int idleSteps_ = 0;
  bool modalGaveUp_ = false;
  bool pumping_ = false;
};

class HeadlessWindow : public NativeWindow {
 public:
  HeadlessWindow(HeadlessPlatform& platform, WindowKind kind, HeadlessWindow* owner,
                 const Rect& bounds, NativeWindowClient* client);
  ~HeadlessWindow() override;

  WindowKind kind() const override { return kind_; }
  void Move(int x, int y) override;
  void Resize(int width, int height) override;
  Rect bounds() const override { return bounds_; }
  void ScreenOrigin(int& x, int& y) const override;
  void Invalidate(const Rect& region) override { surface_.Invalidate(region); }
  void Show() override { shown_ = true; }
  void Raise() override { platform_.Raised(this); }
  void SetCapture(bool on) override { platform_.Capture(this, on); }
  void TakeFocus() override { platform_.Focus(this); }
  void SetBusyCursor(bool busy) override { busy_ = busy; }
  cairo_surface_t* backing() const override { return surface_.surface(); }

  bool shown() const { return shown_; }
  bool busy() const { return busy_; }
  NativeWindowClient* client() const { return client_; }
  HeadlessWindow* owner() const { return owner_; }
  void Paint() { surface_.PaintIfNeeded(*client_); }

 private:
  HeadlessPlatform& platform_;
  WindowKind kind_;
  HeadlessWindow* owner_;
  Rect bounds_;
  NativeWindowClient* client_;
  BufferedSurface surface_;
  bool shown_ = false;
  bool busy_ = false;
};

}  // namespace platform
