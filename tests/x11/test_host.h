// What a plug-in host is to the X11 back end, for the tests: a connection
// of its own, top-level windows to embed the editor in, and a person's
// means of looking at the screen and working pointer and keyboard (XTest).
#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdint>
#include <string>
#include <vector>

namespace x11test {

class TestHost {
 public:
  TestHost();  // connects to DISPLAY
  ~TestHost();
  TestHost(const TestHost&) = delete;
  TestHost& operator=(const TestHost&) = delete;

  bool ok() const { return xcb_connection_has_error(c_) == 0; }
  xcb_connection_t* connection() const { return c_; }
  xcb_window_t root() const { return screen_->root; }

  // A mapped top-level window at a point of the screen, viewable on return.
  xcb_window_t CreateWindow(int x, int y, int width, int height);
  void Map(xcb_window_t w);
  void Unmap(xcb_window_t w);
  void Destroy(xcb_window_t w);
  // Waits until the server has handled everything sent so far.
  void Sync();

  // The screen's colour at a point, 0xRRGGBB.
  std::uint32_t ScreenPixel(int x, int y);
  // The window's corner on the screen.
  void Origin(xcb_window_t w, int& x, int& y);
  bool OverrideRedirect(xcb_window_t w);
  bool Viewable(xcb_window_t w);
  xcb_window_t Parent(xcb_window_t w);
  std::vector<xcb_window_t> RootChildrenBottomToTop();
  xcb_window_t InputFocus();

  xcb_atom_t Atom(const std::string& name);
  // A property's 32-bit values (atoms, windows, size hints); empty without it.
  std::vector<std::uint32_t> Property32(xcb_window_t w, const std::string& name);
  std::vector<std::uint32_t> Property32(xcb_window_t w, xcb_atom_t property);
  std::string PropertyText(xcb_window_t w, xcb_atom_t property);
  // The window manager's close button.
  void SendDeleteWindow(xcb_window_t w);

  // Tries to grab the pointer itself: false when another client holds it.
  bool PointerIsFree();

  // The pointer and keyboard, as a person works them.
  void MovePointer(int x, int y);
  void Button(int button, bool press);
  void Click(int x, int y, int button = 1);
  void Key(xcb_keysym_t keysym, bool press);
  void Tap(xcb_keysym_t keysym, bool shift = false);

 private:
  xcb_connection_t* c_;
  xcb_screen_t* screen_ = nullptr;
  xcb_key_symbols_t* keySymbols_ = nullptr;
};

}  // namespace x11test
