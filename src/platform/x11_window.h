// One native window of the X11 platform: an X window of the root's depth
// with no background (so the server never clears it), its double buffer,
// and what each kind needs: an embedded child of the host's window, a
// dialog transient for the editor's top-level, or an override-redirect
// menu holding the pointer while shown.
// Thread: user-interface thread.
#pragma once

#include <xcb/xcb.h>

#include "platform/buffered_surface.h"
#include "platform/platform.h"

namespace platform {

class X11Platform;

class X11Window : public NativeWindow {
 public:
  X11Window(X11Platform& platform, WindowKind kind, xcb_window_t parent, X11Window* owner, const Rect& bounds,
            NativeWindowClient* client);
  ~X11Window() override;

  WindowKind kind() const override { return kind_; }
  void Move(int x, int y) override;
  void Resize(int width, int height) override;
  Rect bounds() const override { return bounds_; }
  void ScreenOrigin(int& x, int& y) const override;
  void Invalidate(const Rect& region) override { surface_.Invalidate(region); }
  void Show() override;
  void Raise() override;
  void SetCapture(bool on) override;
  void TakeFocus() override;
  void SetBusyCursor(bool busy) override;
  cairo_surface_t* backing() const override { return surface_.surface(); }

  xcb_window_t id() const { return id_; }
  NativeWindowClient* client() const { return client_; }
  bool busy() const { return busy_; }
  // Whether this window wants the pointer grab: captured, or a shown menu.
  bool WantsGrab() const { return captured_ || (kind_ == WindowKind::kMenu && shown_); }

  // From the platform's event dispatch.
  void OnExpose(const Rect& area);
  void OnConfigure(const xcb_configure_notify_event_t& e);
  void OnReparent(xcb_window_t parent) { parent_ = parent; }
  void OnMapped(bool mapped);
  // The server destroyed it with its parent (the host's window went first).
  void OnDestroyed() { destroyed_ = true; }
  // Paints what is invalid through the client and copies that and what was
  // exposed to the screen.
  void Present();
  // The platform closes first: the X window goes, the object stays inert.
  void Detach();

 private:
  bool Live() const { return platform_ != nullptr && !destroyed_; }
  void SetFloatingProperties(X11Window* owner);
  void SetSizeHints();
  // The editor's top-level window for WM_TRANSIENT_FOR.
  xcb_window_t TopLevelOf(const X11Window& owner) const;

  X11Platform* platform_;
  WindowKind kind_;
  NativeWindowClient* client_;
  Rect bounds_;
  BufferedSurface surface_;
  xcb_window_t id_ = XCB_NONE;
  xcb_window_t parent_ = XCB_NONE;
  Rect exposed_;
  // Viewable: exposed since it was last mapped (under a window manager a
  // mapped window may still wait for its frame).
  bool shown_ = false, mapped_ = false, viewable_ = false, destroyed_ = false;
  bool captured_ = false, busy_ = false, focusWanted_ = false;
};

}  // namespace platform
