// The backing image of one native window and the region waiting to be
// painted: both back ends paint their client into it and the X11 one then
// copies it to the screen, so nothing ever flickers.
// Thread: user-interface thread.
#pragma once

#include <cairo.h>

#include "platform/platform.h"

namespace platform {

class BufferedSurface {
 public:
  BufferedSurface(int width, int height);
  ~BufferedSurface();
  BufferedSurface(const BufferedSurface&) = delete;
  BufferedSurface& operator=(const BufferedSurface&) = delete;

  // A new size keeps nothing of the old image; everything is invalid.
  void Resize(int width, int height);
  void Invalidate(const Rect& region);
  bool dirty() const { return !dirty_.Empty(); }
  // Paints the invalid region through the client; answers what was painted
  // (empty when nothing was).
  Rect PaintIfNeeded(NativeWindowClient& client);

  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  cairo_surface_t* surface_ = nullptr;
  int width_, height_;
  Rect dirty_;
};

}  // namespace platform
