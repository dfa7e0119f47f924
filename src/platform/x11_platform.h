// The platform on an X display, through XCB: one connection per Platform
// (one per open editor), events read without blocking by Pump, pointer
// input in each window's coordinates, keys in floating windows, a pointer
// grab for capture and for shown menus, and windows double-buffered in
// memory and copied to the screen region by region. No thread of its own,
// no process-wide X state (no XInitThreads, no error handler).
// Thread: the user-interface thread only.
#pragma once

#include <xcb/xcb.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/x11_connection.h"

namespace platform {

class X11Window;

class X11Platform : public Platform {
 public:
  // Null when no display can be opened, after one line on stderr.
  static std::unique_ptr<X11Platform> Open();
  // Destroys the windows still open and disconnects.
  ~X11Platform() override;
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;

  std::unique_ptr<NativeWindow> CreateWindow(WindowKind kind, std::uintptr_t parent, NativeWindow* owner,
                                             const Rect& bounds, NativeWindowClient* client) override;
  void Pump() override;
  // Waits on the connection's socket.
  void Wait(int timeoutMs) override;
  bool ok() const override { return connection_->ok(); }
  std::string name() const override { return "x11"; }

  X11Connection& connection() const { return *connection_; }
  int errorCount() const { return connection_->errorCount(); }
  X11Window* Find(xcb_window_t id) const;

  // For the windows.
  void Forget(X11Window* w);
  // A window's wish for the pointer grab changed; the last to ask holds it.
  void UpdateGrab(X11Window* w);
  // The screen origin of the window under the pointer event being handled:
  // exact where a round trip would see a window that has since moved.
  bool PointerOrigin(xcb_window_t id, int& x, int& y) const;
  void ShiftPointerOrigin(xcb_window_t id, int dx, int dy);

 private:
  explicit X11Platform(std::unique_ptr<X11Connection> connection);
  void ReadEvents();
  void Dispatch(const xcb_generic_event_t& e);
  void DispatchButton(const xcb_button_press_event_t& e, bool press);
  void DispatchMotion(const xcb_motion_notify_event_t& e);
  void DispatchKey(const xcb_key_press_event_t& e);
  void DispatchClientMessage(const xcb_client_message_event_t& e);
  void DispatchStructure(const xcb_generic_event_t& e);
  // Takes or gives up the grab for whoever should hold it now.
  void ApplyGrab();
  bool Live(X11Window* w) const;

  std::unique_ptr<X11Connection> connection_;
  std::vector<X11Window*> windows_;
  // Events read and not yet handled: a handler running a modal loop pumps
  // again, and the inner pump goes on from here in order.
  struct FreeEvent {
    void operator()(xcb_generic_event_t* e) const;
  };
  std::deque<std::unique_ptr<xcb_generic_event_t, FreeEvent>> queue_;
  bool painting_ = false;

  std::vector<X11Window*> grabWanted_;  // in the order they asked
  X11Window* grabHolder_ = nullptr;
  std::int64_t grabRetryUntil_ = 0;  // a refused grab is tried again until then
  bool grabFailureLogged_ = false;

  struct PointerEventOrigin {
    xcb_window_t window = XCB_NONE;
    int x = 0, y = 0;
  } pointerOrigin_;
  bool extraButtonDown_ = false;
};

// The X11 platform as a Platform; null when no display can be opened.
std::unique_ptr<Platform> CreateX11Platform();

}  // namespace platform
