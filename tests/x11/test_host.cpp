#include "test_host.h"

#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>

namespace x11test {
namespace {

constexpr xcb_keysym_t kShiftL = 0xFFE1;
constexpr std::uint32_t kHostGrey = 0x404040;

}  // namespace

TestHost::TestHost() : c_(xcb_connect(nullptr, nullptr)) {
  if (!ok()) return;
  screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
  keySymbols_ = xcb_key_symbols_alloc(c_);
}

TestHost::~TestHost() {
  if (keySymbols_ != nullptr) xcb_key_symbols_free(keySymbols_);
  xcb_disconnect(c_);  // its windows go with it
}

void TestHost::Sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

xcb_window_t TestHost::CreateWindow(int x, int y, int width, int height) {
  const xcb_window_t w = xcb_generate_id(c_);
  const std::uint32_t values[] = {kHostGrey, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
  xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, root(), static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                    static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_EVENT_MASK, values);
  Map(w);
  return w;
}

void TestHost::Map(xcb_window_t w) {
  xcb_map_window(c_, w);
  Sync();  // no window manager: mapped when the server has read it
}

void TestHost::Unmap(xcb_window_t w) {
  xcb_unmap_window(c_, w);
  Sync();
}

void TestHost::Destroy(xcb_window_t w) {
  xcb_destroy_window(c_, w);
  Sync();
}

std::uint32_t TestHost::ScreenPixel(int x, int y) {
  xcb_get_image_reply_t* r = xcb_get_image_reply(
      c_, xcb_get_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y), 1, 1, ~0u),
      nullptr);
  std::uint32_t pixel = 0xFFFFFFFFu;  // no answer: no colour at all
  if (r != nullptr && xcb_get_image_data_length(r) >= 4) {
    std::memcpy(&pixel, xcb_get_image_data(r), 4);
    pixel &= 0xFFFFFFu;
  }
  std::free(r);
  return pixel;
}

void TestHost::Origin(xcb_window_t w, int& x, int& y) {
  x = y = -100000;
  if (auto* r = xcb_translate_coordinates_reply(c_, xcb_translate_coordinates(c_, w, root(), 0, 0), nullptr)) {
    x = r->dst_x;
    y = r->dst_y;
    std::free(r);
  }
}

bool TestHost::OverrideRedirect(xcb_window_t w) {
  auto* r = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
  const bool on = r != nullptr && r->override_redirect != 0;
  std::free(r);
  return on;
}

bool TestHost::Viewable(xcb_window_t w) {
  auto* r = xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, w), nullptr);
  const bool viewable = r != nullptr && r->map_state == XCB_MAP_STATE_VIEWABLE;
  std::free(r);
  return viewable;
}

xcb_window_t TestHost::Parent(xcb_window_t w) {
  xcb_window_t parent = XCB_NONE;
  if (auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, w), nullptr)) {
    parent = r->parent;
    std::free(r);
  }
  return parent;
}

std::vector<xcb_window_t> TestHost::RootChildrenBottomToTop() {
  std::vector<xcb_window_t> children;
  if (auto* r = xcb_query_tree_reply(c_, xcb_query_tree(c_, root()), nullptr)) {
    const xcb_window_t* list = xcb_query_tree_children(r);
    children.assign(list, list + xcb_query_tree_children_length(r));
    std::free(r);
  }
  return children;
}

xcb_window_t TestHost::InputFocus() {
  xcb_window_t focus = XCB_NONE;
  if (auto* r = xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)) {
    focus = r->focus;
    std::free(r);
  }
  return focus;
}

xcb_atom_t TestHost::Atom(const std::string& name) {
  auto* r = xcb_intern_atom_reply(
      c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr);
  const xcb_atom_t atom = r != nullptr ? r->atom : XCB_NONE;
  std::free(r);
  return atom;
}

std::vector<std::uint32_t> TestHost::Property32(xcb_window_t w, const std::string& name) {
  return Property32(w, Atom(name));
}

std::vector<std::uint32_t> TestHost::Property32(xcb_window_t w, xcb_atom_t property) {
  std::vector<std::uint32_t> values;
  auto* r = xcb_get_property_reply(
      c_, xcb_get_property(c_, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
  if (r != nullptr && r->format == 32) {
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(r));
    values.assign(data, data + xcb_get_property_value_length(r) / 4);
  }
  std::free(r);
  return values;
}

std::string TestHost::PropertyText(xcb_window_t w, xcb_atom_t property) {
  std::string text;
  auto* r = xcb_get_property_reply(
      c_, xcb_get_property(c_, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
  if (r != nullptr && r->format == 8) {
    text.assign(static_cast<const char*>(xcb_get_property_value(r)),
                static_cast<std::size_t>(xcb_get_property_value_length(r)));
  }
  std::free(r);
  return text;
}

void TestHost::SendDeleteWindow(xcb_window_t w) {
  xcb_client_message_event_t m{};
  m.response_type = XCB_CLIENT_MESSAGE;
  m.format = 32;
  m.window = w;
  m.type = Atom("WM_PROTOCOLS");
  m.data.data32[0] = Atom("WM_DELETE_WINDOW");
  m.data.data32[1] = XCB_CURRENT_TIME;
  xcb_send_event(c_, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&m));
  Sync();
}

bool TestHost::PointerIsFree() {
  auto* r = xcb_grab_pointer_reply(
      c_,
      xcb_grab_pointer(c_, 0, root(), XCB_EVENT_MASK_BUTTON_PRESS, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC,
                       XCB_NONE, XCB_NONE, XCB_CURRENT_TIME),
      nullptr);
  const bool free = r != nullptr && r->status == XCB_GRAB_STATUS_SUCCESS;
  std::free(r);
  if (free) xcb_ungrab_pointer(c_, XCB_CURRENT_TIME);
  Sync();
  return free;
}

void TestHost::MovePointer(int x, int y) {
  xcb_test_fake_input(c_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root(), static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), 0);
  Sync();
}

void TestHost::Button(int button, bool press) {
  xcb_test_fake_input(c_, press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, static_cast<std::uint8_t>(button),
                      XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  Sync();
}

void TestHost::Click(int x, int y, int button) {
  MovePointer(x, y);
  Button(button, true);
  Button(button, false);
}

void TestHost::Key(xcb_keysym_t keysym, bool press) {
  xcb_keycode_t* codes = xcb_key_symbols_get_keycode(keySymbols_, keysym);
  const xcb_keycode_t code = codes != nullptr ? codes[0] : 0;
  std::free(codes);
  if (code == 0) return;
  xcb_test_fake_input(c_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
  Sync();
}

void TestHost::Tap(xcb_keysym_t keysym, bool shift) {
  if (shift) Key(kShiftL, true);
  Key(keysym, true);
  Key(keysym, false);
  if (shift) Key(kShiftL, false);
}

}  // namespace x11test
