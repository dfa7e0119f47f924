#include "platform/x11_platform.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/x11_keys.h"
#include "platform/x11_window.h"

namespace platform {
namespace {

constexpr std::uint16_t kPointerMask =
    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
// How long a refused grab is tried again (the server refuses while another
// client holds the pointer, or before a window is viewable).
constexpr std::int64_t kGrabRetryMs = 1000;

std::int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetModifiers(MouseEvent& m, std::uint16_t state) {
  m.control = (state & XCB_MOD_MASK_CONTROL) != 0;
  m.shift = (state & XCB_MOD_MASK_SHIFT) != 0;
}

}  // namespace

void X11Platform::FreeEvent::operator()(xcb_generic_event_t* e) const { std::free(e); }

std::unique_ptr<X11Platform> X11Platform::Open() {
  std::string why;
  std::unique_ptr<X11Connection> connection = X11Connection::Open(why);
  if (connection == nullptr) {
    std::fprintf(stderr, "zelvane: no editor without an X display: %s\n", why.c_str());
    return nullptr;
  }
  return std::unique_ptr<X11Platform>(new X11Platform(std::move(connection)));
}

std::unique_ptr<Platform> CreateX11Platform() { return X11Platform::Open(); }

X11Platform::X11Platform(std::unique_ptr<X11Connection> connection) : connection_(std::move(connection)) {}

X11Platform::~X11Platform() {
  if (grabHolder_ != nullptr && ok()) xcb_ungrab_pointer(connection_->get(), XCB_CURRENT_TIME);
  grabHolder_ = nullptr;
  grabWanted_.clear();
  // Windows their owners still hold become inert; the X windows go now.
  const std::vector<X11Window*> left = windows_;
  windows_.clear();
  for (X11Window* w : left) w->Detach();
  queue_.clear();
  if (ok()) xcb_flush(connection_->get());
  connection_.reset();
}

std::unique_ptr<NativeWindow> X11Platform::CreateWindow(WindowKind kind, std::uintptr_t parent,
                                                        NativeWindow* owner, const Rect& bounds,
                                                        NativeWindowClient* client) {
  auto w = std::make_unique<X11Window>(*this, kind, static_cast<xcb_window_t>(parent),
                                       static_cast<X11Window*>(owner), bounds, client);
  windows_.push_back(w.get());
  if (ok()) xcb_flush(connection_->get());
  return w;
}

X11Window* X11Platform::Find(xcb_window_t id) const {
  for (X11Window* w : windows_) {
    if (w->id() == id) return w;
  }
  return nullptr;
}

bool X11Platform::Live(X11Window* w) const {
  return std::find(windows_.begin(), windows_.end(), w) != windows_.end();
}

void X11Platform::Forget(X11Window* w) {
  std::erase(windows_, w);
  std::erase(grabWanted_, w);
  if (pointerOrigin_.window == w->id()) pointerOrigin_ = {};
  if (grabHolder_ == w) {
    if (ok()) xcb_ungrab_pointer(connection_->get(), XCB_CURRENT_TIME);
    grabHolder_ = nullptr;
  }
  ApplyGrab();
}

void X11Platform::UpdateGrab(X11Window* w) {
  const auto it = std::find(grabWanted_.begin(), grabWanted_.end(), w);
  if (!w->WantsGrab()) {
    if (it != grabWanted_.end()) grabWanted_.erase(it);
  } else if (it == grabWanted_.end()) {
    grabWanted_.push_back(w);
  } else if (w == grabHolder_ && ok()) {
    // Already held: only the cursor may have changed.
    xcb_change_active_pointer_grab(connection_->get(), w->busy() ? connection_->BusyCursor() : XCB_NONE,
                                   XCB_CURRENT_TIME, kPointerMask);
    return;
  }
  grabRetryUntil_ = SteadyMs() + kGrabRetryMs;
  grabFailureLogged_ = false;
  ApplyGrab();
}

void X11Platform::ApplyGrab() {
  if (!ok()) return;
  X11Window* want = grabWanted_.empty() ? nullptr : grabWanted_.back();
  if (want == grabHolder_) return;
  xcb_connection_t* c = connection_->get();
  if (want == nullptr) {
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    grabHolder_ = nullptr;
    xcb_flush(c);
    return;
  }
  // Not the owner's events: everything of the pointer comes to the holder,
  // in its coordinates, wherever the pointer is.
  const xcb_cursor_t cursor = want->busy() ? connection_->BusyCursor() : XCB_NONE;
  xcb_generic_error_t* error = nullptr;
  xcb_grab_pointer_reply_t* r = xcb_grab_pointer_reply(
      c,
      xcb_grab_pointer(c, 0, want->id(), kPointerMask, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE, cursor,
                       XCB_CURRENT_TIME),
      &error);
  const int status = r != nullptr ? r->status : -1;
  std::free(r);
  if (error != nullptr) connection_->ReportError(*error);
  std::free(error);
  if (status == XCB_GRAB_STATUS_SUCCESS) {
    grabHolder_ = want;
  } else if (SteadyMs() > grabRetryUntil_ && !grabFailureLogged_) {
    grabFailureLogged_ = true;
    std::fprintf(stderr, "zelvane: the pointer could not be grabbed (status %d); clicks elsewhere go unseen\n",
                 status);
  }
}

bool X11Platform::PointerOrigin(xcb_window_t id, int& x, int& y) const {
  if (pointerOrigin_.window != id || id == XCB_NONE) return false;
  x = pointerOrigin_.x;
  y = pointerOrigin_.y;
  return true;
}

void X11Platform::ShiftPointerOrigin(xcb_window_t id, int dx, int dy) {
  if (pointerOrigin_.window != id || id == XCB_NONE) return;
  pointerOrigin_.x += dx;
  pointerOrigin_.y += dy;
}

void X11Platform::ReadEvents() {
  while (xcb_generic_event_t* e = xcb_poll_for_event(connection_->get())) queue_.emplace_back(e);
}

void X11Platform::Pump() {
  if (!ok()) return;
  ReadEvents();
  while (!queue_.empty()) {
    const auto e = std::move(queue_.front());
    queue_.pop_front();
    Dispatch(*e);
    if (!ok()) return;
  }
  // A refused grab is tried at every pump until it is given up.
  if (!grabWanted_.empty() && grabWanted_.back() != grabHolder_ && !grabFailureLogged_) ApplyGrab();

  // Copies: a client may open or close windows while it works.
  std::vector<X11Window*> live = windows_;
  for (X11Window* w : live) {
    if (Live(w)) w->client()->NativeIdle();
  }
  RunTimerTick();
  if (!painting_ && ok()) {
    painting_ = true;
    live = windows_;
    for (X11Window* w : live) {
      if (Live(w)) w->Present();
    }
    painting_ = false;
  }
  if (ok()) xcb_flush(connection_->get());
}

void X11Platform::Wait(int timeoutMs) {
  if (!ok() || !queue_.empty()) return;
  xcb_connection_t* c = connection_->get();
  xcb_flush(c);
  // Events a reply brought along are read already: the socket says nothing.
  if (xcb_generic_event_t* e = xcb_poll_for_queued_event(c)) {
    queue_.emplace_back(e);
    return;
  }
  pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
  const std::int64_t end = SteadyMs() + std::max(timeoutMs, 0);
  for (;;) {
    const int left = static_cast<int>(std::max<std::int64_t>(end - SteadyMs(), 0));
    if (poll(&p, 1, left) >= 0 || errno != EINTR) return;
  }
}

void X11Platform::Dispatch(const xcb_generic_event_t& e) {
  switch (e.response_type & 0x7F) {
    case 0:
      connection_->ReportError(reinterpret_cast<const xcb_generic_error_t&>(e));
      break;
    case XCB_BUTTON_PRESS:
      DispatchButton(reinterpret_cast<const xcb_button_press_event_t&>(e), true);
      break;
    case XCB_BUTTON_RELEASE:
      DispatchButton(reinterpret_cast<const xcb_button_press_event_t&>(e), false);
      break;
    case XCB_MOTION_NOTIFY: {
      const auto& m = reinterpret_cast<const xcb_motion_notify_event_t&>(e);
      // Only the last of a run of moves counts.
      if (!queue_.empty() && (queue_.front()->response_type & 0x7F) == XCB_MOTION_NOTIFY &&
          reinterpret_cast<const xcb_motion_notify_event_t*>(queue_.front().get())->event == m.event) {
        break;
      }
      DispatchMotion(m);
      break;
    }
    case XCB_KEY_PRESS:
      DispatchKey(reinterpret_cast<const xcb_key_press_event_t&>(e));
      break;
    case XCB_EXPOSE: {
      const auto& x = reinterpret_cast<const xcb_expose_event_t&>(e);
      if (X11Window* w = Find(x.window)) w->OnExpose({x.x, x.y, x.width, x.height});
      break;
    }
    case XCB_CLIENT_MESSAGE:
      DispatchClientMessage(reinterpret_cast<const xcb_client_message_event_t&>(e));
      break;
    case XCB_MAPPING_NOTIFY:
      xcb_refresh_keyboard_mapping(connection_->keySymbols(),
                                   const_cast<xcb_mapping_notify_event_t*>(
                                       reinterpret_cast<const xcb_mapping_notify_event_t*>(&e)));
      break;
    default:
      DispatchStructure(e);
      break;
  }
}

void X11Platform::DispatchButton(const xcb_button_press_event_t& e, bool press) {
  X11Window* w = Find(e.event);
  if (w == nullptr) return;
  MouseEvent m;
  m.x = e.event_x;
  m.y = e.event_y;
  SetModifiers(m, e.state);
  switch (e.detail) {
    case 4:
    case 5:
      // The wheel presses and releases at once for every notch.
      if (!press) return;
      m.kind = MouseEvent::kWheel;
      m.wheelDelta = e.detail == 4 ? 120 : -120;
      break;
    case 6:
    case 7:
      return;  // sideways scrolling: nothing uses it
    case 8:
      extraButtonDown_ = press;
      [[fallthrough]];
    default:
      m.kind = press ? MouseEvent::kDown : MouseEvent::kUp;
      m.button = e.detail;
      break;
  }
  m.extraButton = extraButtonDown_;
  const PointerEventOrigin saved = pointerOrigin_;
  pointerOrigin_ = {w->id(), e.root_x - e.event_x, e.root_y - e.event_y};
  w->client()->NativeMouse(m);  // may destroy w
  pointerOrigin_ = saved;
}

void X11Platform::DispatchMotion(const xcb_motion_notify_event_t& e) {
  X11Window* w = Find(e.event);
  if (w == nullptr) return;
  MouseEvent m;
  m.kind = MouseEvent::kMove;
  m.x = e.event_x;
  m.y = e.event_y;
  SetModifiers(m, e.state);
  m.extraButton = extraButtonDown_;
  const PointerEventOrigin saved = pointerOrigin_;
  pointerOrigin_ = {w->id(), e.root_x - e.event_x, e.root_y - e.event_y};
  w->client()->NativeMouse(m);
  pointerOrigin_ = saved;
}

void X11Platform::DispatchKey(const xcb_key_press_event_t& e) {
  X11Window* w = Find(e.event);
  if (w == nullptr || w->kind() != WindowKind::kFloating) return;
  const xcb_keysym_t keysym = KeysymForKey(connection_->keySymbols(), e.detail, e.state);
  if (keysym == XCB_NO_SYMBOL || xcb_is_modifier_key(keysym)) return;
  w->client()->NativeKey(TranslateKeysym(keysym, e.state));
}

void X11Platform::DispatchClientMessage(const xcb_client_message_event_t& e) {
  const X11Atoms& a = connection_->atoms();
  if (e.type != a.wmProtocols || e.format != 32 || e.data.data32[0] != a.wmDeleteWindow) return;
  if (X11Window* w = Find(e.window)) w->client()->NativeCloseRequested();
}

void X11Platform::DispatchStructure(const xcb_generic_event_t& e) {
  switch (e.response_type & 0x7F) {
    case XCB_CONFIGURE_NOTIFY: {
      const auto& c = reinterpret_cast<const xcb_configure_notify_event_t&>(e);
      if (X11Window* w = Find(c.window)) w->OnConfigure(c);
      break;
    }
    case XCB_MAP_NOTIFY:
      if (X11Window* w = Find(reinterpret_cast<const xcb_map_notify_event_t&>(e).window)) w->OnMapped(true);
      break;
    case XCB_UNMAP_NOTIFY:
      if (X11Window* w = Find(reinterpret_cast<const xcb_unmap_notify_event_t&>(e).window)) w->OnMapped(false);
      break;
    case XCB_REPARENT_NOTIFY: {
      const auto& r = reinterpret_cast<const xcb_reparent_notify_event_t&>(e);
      if (X11Window* w = Find(r.window)) w->OnReparent(r.parent);
      break;
    }
    case XCB_DESTROY_NOTIFY:
      if (X11Window* w = Find(reinterpret_cast<const xcb_destroy_notify_event_t&>(e).window)) {
        w->OnDestroyed();
        std::erase(grabWanted_, w);
        if (grabHolder_ == w) grabHolder_ = nullptr;
      }
      break;
    default:
      break;
  }
}

}  // namespace platform
