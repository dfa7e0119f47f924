#include "platform/x11_window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/x11_platform.h"

namespace platform {
namespace {

// ICCCM size hint flags and the gravity that places the window's own
// corner (not its frame's) at the position given.
constexpr std::uint32_t kUSPosition = 1, kUSSize = 2, kPPosition = 4, kPSize = 8, kPMinSize = 16;
constexpr std::uint32_t kPMaxSize = 32, kPWinGravity = 512, kStaticGravity = 10;
constexpr std::uint32_t kInputHint = 1, kStateHint = 2, kNormalState = 1;

std::uint16_t Extent(int v) { return static_cast<std::uint16_t>(std::clamp(v, 1, 32767)); }
std::int16_t Coordinate(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

}  // namespace

X11Window::X11Window(X11Platform& platform, WindowKind kind, xcb_window_t parent, X11Window* owner,
                     const Rect& bounds, NativeWindowClient* client)
    : platform_(&platform), kind_(kind), client_(client), bounds_(bounds),
      surface_(bounds.width, bounds.height) {
  X11Connection& x = platform.connection();
  if (!x.ok()) {
    destroyed_ = true;  // never made: every operation does nothing
    return;
  }
  xcb_connection_t* c = x.get();
  parent_ = x.root();
  if (kind == WindowKind::kEmbedded && parent != XCB_NONE) {
    // A host that hands over something else than a live window gets the
    // editor in a window of its own rather than nothing at all.
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, parent), &error);
    if (g != nullptr) {
      parent_ = parent;
    } else {
      std::fprintf(stderr, "zelvane: the host's window 0x%x does not exist; the editor opens on its own\n",
                   static_cast<unsigned>(parent));
    }
    std::free(g);
    std::free(error);
  }

  id_ = xcb_generate_id(c);
  xcb_create_window_value_list_t values{};
  // No background: the server never clears the window before we copy.
  values.background_pixmap = XCB_BACK_PIXMAP_NONE;
  values.border_pixel = x.screen()->black_pixel;
  values.override_redirect = kind == WindowKind::kMenu ? 1 : 0;
  values.event_mask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                      XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
  // Only dialogs take keys; an embedded editor leaves them to the host.
  if (kind == WindowKind::kFloating) values.event_mask |= XCB_EVENT_MASK_KEY_PRESS;
  // Our own colormap value, so a host window of another depth is no match error.
  values.colormap = x.screen()->default_colormap;
  const std::uint32_t mask = XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT |
                             XCB_CW_EVENT_MASK | XCB_CW_COLORMAP;
  xcb_create_window_aux(c, x.screen()->root_depth, id_, parent_, Coordinate(bounds.x), Coordinate(bounds.y),
                        Extent(bounds.width), Extent(bounds.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                        x.screen()->root_visual, mask, &values);
  if (kind == WindowKind::kEmbedded) {
    // Hosts move and resize the editor right after opening it.
    Show();
  } else {
    SetFloatingProperties(owner);
  }
}

X11Window::~X11Window() {
  if (platform_ == nullptr) return;
  platform_->Forget(this);
  if (!destroyed_ && platform_->connection().ok()) {
    X11Connection& x = platform_->connection();
    // The host may have destroyed its window, and ours with it, already.
    x.Check(xcb_destroy_window_checked(x.get(), id_), XCB_WINDOW);
    xcb_flush(x.get());
  }
}

void X11Window::Detach() {
  if (Live() && platform_->connection().ok()) {
    xcb_destroy_window(platform_->connection().get(), id_);
  }
  destroyed_ = true;
  platform_ = nullptr;
}

void X11Window::SetFloatingProperties(X11Window* owner) {
  X11Connection& x = platform_->connection();
  const X11Atoms& a = x.atoms();
  if (owner != nullptr) {
    const xcb_window_t transientFor = TopLevelOf(*owner);
    x.SetProperty(id_, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &transientFor);
  }
  const xcb_atom_t type = kind_ == WindowKind::kMenu ? a.netWmWindowTypePopupMenu : a.netWmWindowTypeDialog;
  x.SetProperty(id_, a.netWmWindowType, XCB_ATOM_ATOM, 32, 1, &type);
  const char name[] = "Zelvane";
  x.SetProperty(id_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, sizeof name - 1, name);
  x.SetProperty(id_, a.netWmName, a.utf8String, 8, sizeof name - 1, name);
  const char windowClass[] = "zelvane\0Zelvane";
  x.SetProperty(id_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, sizeof windowClass, windowClass);
  if (kind_ == WindowKind::kMenu) return;
  x.SetProperty(id_, a.wmProtocols, XCB_ATOM_ATOM, 32, 1, &a.wmDeleteWindow);
  const std::uint32_t wmHints[9] = {kInputHint | kStateHint, 1, kNormalState, 0, 0, 0, 0, 0, 0};
  x.SetProperty(id_, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, 9, wmHints);
  SetSizeHints();
}

void X11Window::SetSizeHints() {
  // The position as the user's own, so window managers keep it; a fixed size.
  std::uint32_t hints[18] = {};
  hints[0] = kUSPosition | kUSSize | kPPosition | kPSize | kPMinSize | kPMaxSize | kPWinGravity;
  hints[1] = static_cast<std::uint32_t>(bounds_.x);
  hints[2] = static_cast<std::uint32_t>(bounds_.y);
  hints[3] = hints[5] = hints[7] = Extent(bounds_.width);
  hints[4] = hints[6] = hints[8] = Extent(bounds_.height);
  hints[17] = kStaticGravity;
  platform_->connection().SetProperty(id_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
}

xcb_window_t X11Window::TopLevelOf(const X11Window& owner) const {
  if (owner.kind_ != WindowKind::kEmbedded || owner.destroyed_) return owner.id_;
  // Up from the editor to the child of the root. Under a reparenting
  // window manager that child is the manager's frame: the host's own
  // top-level is the highest ancestor the manager marked with WM_STATE.
  X11Connection& x = platform_->connection();
  xcb_connection_t* c = x.get();
  xcb_window_t w = owner.id_, managed = XCB_NONE;
  for (int depth = 0; depth < 64; ++depth) {
    xcb_generic_error_t* error = nullptr;
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, w), &error);
    if (tree == nullptr) {
      if (error != nullptr) x.ReportError(*error);
      std::free(error);
      break;
    }
    const xcb_window_t parent = tree->parent, root = tree->root;
    std::free(tree);
    if (parent == XCB_NONE || parent == root) break;
    w = parent;
    if (x.HasProperty(w, x.atoms().wmState)) managed = w;
  }
  return managed != XCB_NONE ? managed : w;
}

void X11Window::Move(int px, int py) {
  if (Live()) platform_->ShiftPointerOrigin(id_, px - bounds_.x, py - bounds_.y);
  bounds_.x = px;
  bounds_.y = py;
  if (!Live() || !platform_->connection().ok()) return;
  xcb_configure_window_value_list_t values{};
  values.x = px;
  values.y = py;
  xcb_configure_window_aux(platform_->connection().get(), id_, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, &values);
  if (kind_ == WindowKind::kFloating) SetSizeHints();
}

void X11Window::Resize(int width, int height) {
  bounds_.width = width;
  bounds_.height = height;
  surface_.Resize(width, height);
  if (!Live() || !platform_->connection().ok()) return;
  xcb_configure_window_value_list_t values{};
  values.width = Extent(width);
  values.height = Extent(height);
  xcb_configure_window_aux(platform_->connection().get(), id_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                           &values);
  if (kind_ == WindowKind::kFloating) SetSizeHints();
}

void X11Window::ScreenOrigin(int& x, int& y) const {
  x = bounds_.x;
  y = bounds_.y;
  if (!Live() || !platform_->connection().ok()) return;
  if (platform_->PointerOrigin(id_, x, y)) return;
  X11Connection& conn = platform_->connection();
  xcb_generic_error_t* error = nullptr;
  xcb_translate_coordinates_reply_t* r = xcb_translate_coordinates_reply(
      conn.get(), xcb_translate_coordinates(conn.get(), id_, conn.root(), 0, 0), &error);
  if (r != nullptr) {
    x = r->dst_x;
    y = r->dst_y;
  }
  if (error != nullptr) conn.ReportError(*error);
  std::free(r);
  std::free(error);
}

void X11Window::Show() {
  if (!Live() || !platform_->connection().ok()) return;
  shown_ = true;
  xcb_connection_t* c = platform_->connection().get();
  xcb_map_window(c, id_);
  if (kind_ == WindowKind::kMenu) {
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(c, id_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    platform_->UpdateGrab(this);
  }
  xcb_flush(c);
}

void X11Window::Raise() {
  if (!Live() || !platform_->connection().ok()) return;
  const std::uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(platform_->connection().get(), id_, XCB_CONFIG_WINDOW_STACK_MODE, &above);
  xcb_flush(platform_->connection().get());
}

void X11Window::SetCapture(bool on) {
  captured_ = on;
  if (Live()) platform_->UpdateGrab(this);
}

void X11Window::TakeFocus() {
  // The keyboard belongs to the host while its editor is embedded.
  if (kind_ != WindowKind::kFloating || !Live() || !platform_->connection().ok()) return;
  if (!viewable_) {
    // Not viewable yet (the window manager maps it): focus it once it is.
    focusWanted_ = true;
    return;
  }
  focusWanted_ = false;
  X11Connection& x = platform_->connection();
  // Unmapped meanwhile by the window manager: then it gives the focus itself.
  x.Check(xcb_set_input_focus_checked(x.get(), XCB_INPUT_FOCUS_PARENT, id_, XCB_CURRENT_TIME), XCB_MATCH);
}

void X11Window::SetBusyCursor(bool busy) {
  busy_ = busy;
  if (!Live() || !platform_->connection().ok()) return;
  X11Connection& x = platform_->connection();
  const std::uint32_t cursor = busy ? x.BusyCursor() : XCB_NONE;
  xcb_change_window_attributes(x.get(), id_, XCB_CW_CURSOR, &cursor);
  // A grab shows its own cursor.
  if (WantsGrab()) platform_->UpdateGrab(this);
  // A long action follows without pumping: show it now.
  xcb_flush(x.get());
}

void X11Window::OnConfigure(const xcb_configure_notify_event_t& e) {
  // Real events of a reparented window are relative to the manager's frame;
  // the manager's own (sent) ones and those of a child of the root are not.
  const bool sent = (e.response_type & 0x80) != 0;
  if (kind_ == WindowKind::kEmbedded || sent || parent_ == platform_->connection().root()) {
    bounds_.x = e.x;
    bounds_.y = e.y;
  }
}

void X11Window::OnExpose(const Rect& area) {
  exposed_ = exposed_.Union(area);
  viewable_ = true;
  if (focusWanted_) TakeFocus();
}

void X11Window::OnMapped(bool mapped) {
  mapped_ = mapped;
  if (!mapped) viewable_ = false;
  // Someone else unmapped a shown menu: its grab is gone, so it must close.
  // Last, as the client may destroy this window.
  if (!mapped && kind_ == WindowKind::kMenu && shown_) client_->NativeCloseRequested();
}

void X11Window::Present() {
  if (!Live() || !platform_->connection().ok()) return;
  const Rect painted = surface_.PaintIfNeeded(*client_);
  const Rect copy = painted.Union(exposed_);
  exposed_ = {};
  // An unmapped window shows nothing; mapping it exposes all of it.
  if (mapped_ && !copy.Empty()) platform_->connection().CopyToWindow(id_, surface_.surface(), copy);
}

}  // namespace platform
