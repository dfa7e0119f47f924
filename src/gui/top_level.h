// One native window and the tree of Windows drawn into it: paints the tree
// into the native window's backing image, routes the mouse to the window
// under it (or the one holding the capture) in that window's coordinates,
// turns a quick second press into a double click, sends keys to the window
// with the focus, and repaints windows that asked from other threads.
// A disabled top-level (the owner of a running modal dialog) ignores input.
// Thread: user-interface thread.
#pragma once

#include <functional>
#include <memory>

#include "platform/platform.h"

namespace gui {

class Window;

class TopLevel : public platform::NativeWindowClient {
 public:
  static constexpr int kDoubleClickMs = 400;
  static constexpr int kDoubleClickDistance = 4;

  // Creates the native window and makes root its root (root keeps its size).
  TopLevel(platform::Platform& platform, platform::WindowKind kind, std::uintptr_t parent,
           TopLevel* owner, Window& root, int x, int y);
  ~TopLevel() override;
  TopLevel(const TopLevel&) = delete;
  TopLevel& operator=(const TopLevel&) = delete;

  void NativePaint(cairo_t* cr, const platform::Rect& region) override;
  void NativeMouse(const platform::MouseEvent& e) override;
  void NativeKey(const platform::KeyEvent& e) override;
  void NativeCloseRequested() override;
  void NativeIdle() override;

  void Invalidate(const platform::Rect& region) { native_->Invalidate(region); }
  void SetCapture(Window* w);
  void ReleaseCapture(Window* w);
  void SetFocus(Window* w);
  Window* focus() const { return focus_; }
  // A window being destroyed lets go of the mouse, the focus and the hover.
  void Forget(Window* w);
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool enabled() const { return enabled_; }
  // What the window manager's close (or losing a menu's grab) does.
  void OnCloseRequested(std::function<void()> f) { onClose_ = std::move(f); }

  platform::Platform& platform() const { return platform_; }
  platform::NativeWindow& native() const { return *native_; }
  Window& root() const { return root_; }

 private:
  void PaintTree(cairo_t* cr, Window& w, int ox, int oy, const platform::Rect& clip, float alpha);
  // The deepest window containing the point, with the point in its coordinates.
  Window* HitTest(Window& w, int& x, int& y);
  void CollectRepaints(Window& w);

  platform::Platform& platform_;
  Window& root_;
  std::unique_ptr<platform::NativeWindow> native_;
  Window* capture_ = nullptr;
  Window* focus_ = nullptr;
  bool enabled_ = true;
  std::function<void()> onClose_;
  // The last press, for double clicks.
  std::int64_t lastDownTime_ = -100000;
  int lastDownButton_ = 0, lastDownX_ = 0, lastDownY_ = 0;
  bool lastWasDouble_ = false;
};

}  // namespace gui
