#include "platform/x11_connection.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

const char* ErrorName(std::uint8_t code) {
  static const char* const kNames[] = {"",         "BadRequest", "BadValue",   "BadWindow", "BadPixmap",
                                       "BadAtom",  "BadCursor",  "BadFont",    "BadMatch",  "BadDrawable",
                                       "BadAccess", "BadAlloc",  "BadColor",   "BadGC",     "BadIDChoice",
                                       "BadName",  "BadLength",  "BadImplementation"};
  return code < std::size(kNames) && code > 0 ? kNames[code] : "error";
}

// The watch in the standard "cursor" font; its mask is the glyph after it.
constexpr std::uint16_t kWatchGlyph = 150;

// The request header of PutImage, in bytes.
constexpr std::size_t kPutImageHeader = 24;

}  // namespace

std::unique_ptr<X11Connection> X11Connection::Open(std::string& why) {
  int screenNumber = 0;
  xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
  if (const int error = xcb_connection_has_error(c)) {
    const char* display = std::getenv("DISPLAY");
    why = display == nullptr || *display == '\0'
              ? std::string("DISPLAY is not set")
              : "cannot open display \"" + std::string(display) + "\" (xcb error " +
                    std::to_string(error) + ")";
    xcb_disconnect(c);  // a failed connection is an object too
    return nullptr;
  }
  return std::unique_ptr<X11Connection>(new X11Connection(c, screenNumber));
}

X11Connection::X11Connection(xcb_connection_t* c, int screenNumber) : c_(c) {
  xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c_));
  for (int i = 0; i < screenNumber && it.rem > 1; ++i) xcb_screen_next(&it);
  screen_ = it.data;
  InternAtoms();
  FindPixelFormat();
  keySymbols_ = xcb_key_symbols_alloc(c_);
  gc_ = xcb_generate_id(c_);
  const std::uint32_t values[] = {screen_->black_pixel, 0};
  xcb_create_gc(c_, gc_, screen_->root, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
}

X11Connection::~X11Connection() {
  if (suppressed_ > 0) {
    std::fprintf(stderr, "zelvane: %d more X errors not shown\n", suppressed_);
  }
  if (!broken_ && xcb_connection_has_error(c_) == 0) {
    xcb_free_gc(c_, gc_);
    if (busyCursor_ != XCB_NONE) xcb_free_cursor(c_, busyCursor_);
    xcb_flush(c_);
  }
  if (keySymbols_ != nullptr) xcb_key_symbols_free(keySymbols_);
  xcb_disconnect(c_);
}

void X11Connection::InternAtoms() {
  struct Want {
    const char* name;
    xcb_atom_t* atom;
  };
  const Want wants[] = {{"WM_PROTOCOLS", &atoms_.wmProtocols},
                        {"WM_DELETE_WINDOW", &atoms_.wmDeleteWindow},
                        {"WM_STATE", &atoms_.wmState},
                        {"_NET_WM_WINDOW_TYPE", &atoms_.netWmWindowType},
                        {"_NET_WM_WINDOW_TYPE_DIALOG", &atoms_.netWmWindowTypeDialog},
                        {"_NET_WM_WINDOW_TYPE_POPUP_MENU", &atoms_.netWmWindowTypePopupMenu},
                        {"_NET_WM_NAME", &atoms_.netWmName},
                        {"UTF8_STRING", &atoms_.utf8String}};
  // All requests first, then the replies: one round trip.
  std::vector<xcb_intern_atom_cookie_t> cookies;
  for (const Want& w : wants) {
    cookies.push_back(xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::strlen(w.name)), w.name));
  }
  for (std::size_t i = 0; i < cookies.size(); ++i) {
    xcb_generic_error_t* error = nullptr;
    if (xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c_, cookies[i], &error)) {
      *wants[i].atom = r->atom;
      std::free(r);
    }
    if (error != nullptr) {
      ReportError(*error);
      std::free(error);
    }
  }
}

void X11Connection::FindPixelFormat() {
  const xcb_setup_t* setup = xcb_get_setup(c_);
  int bitsPerPixel = 0;
  for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup); f.rem > 0; xcb_format_next(&f)) {
    if (f.data->depth == screen_->root_depth) {
      bitsPerPixel = f.data->bits_per_pixel;
      scanlinePadBytes_ = std::max(f.data->scanline_pad / 8, 1);
    }
  }
  const xcb_visualtype_t* visual = nullptr;
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen_); d.rem > 0 && visual == nullptr;
       xcb_depth_next(&d)) {
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem > 0; xcb_visualtype_next(&v)) {
      if (v.data->visual_id == screen_->root_visual) {
        visual = v.data;
        break;
      }
    }
  }
  // Our images are 0xAARRGGBB words; a server with the same channel masks
  // at 32 bits a pixel takes them as they are (byte-swapped for the other
  // byte order). Anything else is rare enough to go without drawing.
  canCopy_ = bitsPerPixel == 32 && visual != nullptr && visual->red_mask == 0xFF0000u &&
             visual->green_mask == 0xFF00u && visual->blue_mask == 0xFFu;
  const bool littleEndianHost = [] {
    const std::uint32_t one = 1;
    std::uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1;
  }();
  swapBytes_ = (setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != littleEndianHost;
  if (!canCopy_) {
    std::fprintf(stderr, "zelvane: the X screen's pixel format (depth %d, %d bits a pixel) is not supported; "
                         "the editor stays blank\n", screen_->root_depth, bitsPerPixel);
  }
  // Limit each request to 4 MB even when the server takes more.
  maxRequestBytes_ = std::min<std::size_t>(std::size_t{xcb_get_maximum_request_length(c_)} * 4, 4u << 20);
}

bool X11Connection::ok() {
  if (broken_) return false;
  if (const int error = xcb_connection_has_error(c_)) {
    broken_ = true;
    std::fprintf(stderr, "zelvane: the connection to the X display failed (xcb error %d); the editor stops\n",
                 error);
    return false;
  }
  return true;
}

void X11Connection::Log(const std::string& line) {
  const auto now = std::chrono::steady_clock::now();
  if (now - logWindowStart_ >= std::chrono::seconds(1)) {
    if (suppressed_ > 0) std::fprintf(stderr, "zelvane: %d more X errors not shown\n", suppressed_);
    logWindowStart_ = now;
    linesInWindow_ = 0;
    suppressed_ = 0;
  }
  if (linesInWindow_ < kLinesPerSecond) {
    ++linesInWindow_;
    std::fprintf(stderr, "%s\n", line.c_str());
  } else {
    ++suppressed_;
  }
}

void X11Connection::ReportError(const xcb_generic_error_t& error) {
  ++errorCount_;
  char line[160];
  std::snprintf(line, sizeof line, "zelvane: X error %s (%d) from request %d.%d on 0x%x", ErrorName(error.error_code),
                error.error_code, error.major_code, error.minor_code, error.resource_id);
  Log(line);
}

void X11Connection::Check(xcb_void_cookie_t cookie, std::uint8_t tolerated) {
  if (xcb_generic_error_t* error = xcb_request_check(c_, cookie)) {
    if (tolerated == 0 || error->error_code != tolerated) ReportError(*error);
    std::free(error);
  }
}

void X11Connection::CopyToWindow(xcb_window_t window, cairo_surface_t* image, const Rect& region) {
  if (broken_ || region.Empty()) return;
  const int imageWidth = cairo_image_surface_get_width(image);
  const int imageHeight = cairo_image_surface_get_height(image);
  const Rect inside = region.Intersect({0, 0, imageWidth, imageHeight});
  // The window may be larger than its image (a window manager resized it):
  // what lies beyond is black rather than whatever was on the screen.
  xcb_rectangle_t beyond[2];
  int beyondCount = 0;
  if (region.x + region.width > imageWidth) {
    const int x0 = std::max(region.x, imageWidth);
    beyond[beyondCount++] = {static_cast<std::int16_t>(x0), static_cast<std::int16_t>(region.y),
                             static_cast<std::uint16_t>(region.x + region.width - x0),
                             static_cast<std::uint16_t>(region.height)};
  }
  if (region.y + region.height > imageHeight) {
    const int y0 = std::max(region.y, imageHeight);
    beyond[beyondCount++] = {static_cast<std::int16_t>(region.x), static_cast<std::int16_t>(y0),
                             static_cast<std::uint16_t>(region.width),
                             static_cast<std::uint16_t>(region.y + region.height - y0)};
  }
  if (beyondCount > 0) xcb_poly_fill_rectangle(c_, window, gc_, static_cast<std::uint32_t>(beyondCount), beyond);
  if (!canCopy_ || inside.Empty()) return;

  cairo_surface_flush(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  const std::size_t rowBytes =
      (static_cast<std::size_t>(inside.width) * 4 + scanlinePadBytes_ - 1) / scanlinePadBytes_ * scanlinePadBytes_;
  const int rowsPerRequest =
      static_cast<int>(std::max<std::size_t>((maxRequestBytes_ - kPutImageHeader) / rowBytes, 1));
  for (int y = inside.y; y < inside.y + inside.height; y += rowsPerRequest) {
    const int rows = std::min(rowsPerRequest, inside.y + inside.height - y);
    scratch_.assign(rowBytes * static_cast<std::size_t>(rows), 0);
    for (int r = 0; r < rows; ++r) {
      const unsigned char* src = data + static_cast<std::ptrdiff_t>(y + r) * stride + inside.x * 4;
      std::uint8_t* dst = scratch_.data() + rowBytes * static_cast<std::size_t>(r);
      std::memcpy(dst, src, static_cast<std::size_t>(inside.width) * 4);
      if (swapBytes_) {
        for (int i = 0; i < inside.width; ++i) {
          std::reverse(dst + i * 4, dst + i * 4 + 4);
        }
      }
    }
    xcb_put_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, gc_, static_cast<std::uint16_t>(inside.width),
                  static_cast<std::uint16_t>(rows), static_cast<std::int16_t>(inside.x),
                  static_cast<std::int16_t>(y), 0, screen_->root_depth,
                  static_cast<std::uint32_t>(scratch_.size()), scratch_.data());
  }
}

xcb_cursor_t X11Connection::BusyCursor() {
  if (busyCursor_ != XCB_NONE || broken_) return busyCursor_;
  const xcb_font_t font = xcb_generate_id(c_);
  const char name[] = "cursor";
  xcb_open_font(c_, font, sizeof name - 1, name);
  busyCursor_ = xcb_generate_id(c_);
  xcb_create_glyph_cursor(c_, busyCursor_, font, font, kWatchGlyph, kWatchGlyph + 1, 0, 0, 0, 0xFFFF, 0xFFFF,
                          0xFFFF);
  xcb_close_font(c_, font);
  return busyCursor_;
}

void X11Connection::SetProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, int format,
                                std::uint32_t elements, const void* data) {
  if (property == XCB_NONE || broken_) return;
  xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window, property, type, static_cast<std::uint8_t>(format),
                      elements, data);
}

bool X11Connection::HasProperty(xcb_window_t window, xcb_atom_t property) {
  if (property == XCB_NONE || broken_) return false;
  xcb_generic_error_t* error = nullptr;
  xcb_get_property_reply_t* r =
      xcb_get_property_reply(c_, xcb_get_property(c_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0), &error);
  const bool has = r != nullptr && r->type != XCB_NONE;
  std::free(r);
  std::free(error);  // a window that went meanwhile has nothing
  return has;
}

}  // namespace platform
