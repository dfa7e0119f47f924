// One XCB connection of an X11 platform: the screen and its pixel format,
// the atoms the windows use, the keyboard map, the busy cursor, copying
// backing images to windows, and the error log. XCB reports protocol errors
// as events or in replies; they are logged to stderr (rate-limited) and
// counted, never fatal. A broken connection stays broken: ok() turns false
// and every user of it stops.
// Thread: the user-interface thread that opened it.
#pragma once

#include <cairo.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace platform {

struct X11Atoms {
  xcb_atom_t wmProtocols = XCB_NONE, wmDeleteWindow = XCB_NONE, wmState = XCB_NONE;
  xcb_atom_t netWmWindowType = XCB_NONE, netWmWindowTypeDialog = XCB_NONE;
  xcb_atom_t netWmWindowTypePopupMenu = XCB_NONE, netWmName = XCB_NONE, utf8String = XCB_NONE;
};

class X11Connection {
 public:
  // Connects to $DISPLAY; null when that fails, with why set.
  static std::unique_ptr<X11Connection> Open(std::string& why);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  // False once the connection has failed (logged once).
  bool ok();
  xcb_connection_t* get() const { return c_; }
  xcb_screen_t* screen() const { return screen_; }
  xcb_window_t root() const { return screen_->root; }
  const X11Atoms& atoms() const { return atoms_; }
  xcb_key_symbols_t* keySymbols() const { return keySymbols_; }

  // Logs an error that came as an event or in a reply.
  void ReportError(const xcb_generic_error_t& error);
  // Waits for a checked request; an error with the code tolerated (0: none)
  // is expected and neither logged nor counted.
  void Check(xcb_void_cookie_t cookie, std::uint8_t tolerated = 0);
  int errorCount() const { return errorCount_; }

  // Copies a region of a backing image (ARGB32) to the window at the same
  // place; parts of the region beyond the image are filled black.
  void CopyToWindow(xcb_window_t window, cairo_surface_t* image, const Rect& region);
  // The watch of the "cursor" font, made on first use.
  xcb_cursor_t BusyCursor();
  void SetProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, int format,
                   std::uint32_t elements, const void* data);
  // True when the window carries the property (any type).
  bool HasProperty(xcb_window_t window, xcb_atom_t property);

 private:
  explicit X11Connection(xcb_connection_t* c, int screenNumber);
  void InternAtoms();
  void FindPixelFormat();
  void Log(const std::string& line);

  xcb_connection_t* c_;
  xcb_screen_t* screen_ = nullptr;
  X11Atoms atoms_;
  xcb_key_symbols_t* keySymbols_ = nullptr;
  xcb_gcontext_t gc_ = XCB_NONE;
  xcb_cursor_t busyCursor_ = XCB_NONE;
  bool broken_ = false;

  // How pixels of the root depth are laid out in an image.
  bool canCopy_ = false, swapBytes_ = false;
  int scanlinePadBytes_ = 4;
  std::size_t maxRequestBytes_ = 0;
  std::vector<std::uint8_t> scratch_;

  int errorCount_ = 0;
  // At most kLinesPerSecond log lines a second; the rest are counted.
  static constexpr int kLinesPerSecond = 5;
  std::chrono::steady_clock::time_point logWindowStart_{};
  int linesInWindow_ = 0, suppressed_ = 0;
};

}  // namespace platform
