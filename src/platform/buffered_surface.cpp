#include "platform/buffered_surface.h"

#include <algorithm>

namespace platform {

Rect Rect::Intersect(const Rect& o) const {
  const int x0 = std::max(x, o.x), y0 = std::max(y, o.y);
  const int x1 = std::min(x + width, o.x + o.width), y1 = std::min(y + height, o.y + o.height);
  if (x1 <= x0 || y1 <= y0) return {};
  return {x0, y0, x1 - x0, y1 - y0};
}

Rect Rect::Union(const Rect& o) const {
  if (Empty()) return o;
  if (o.Empty()) return *this;
  const int x0 = std::min(x, o.x), y0 = std::min(y, o.y);
  const int x1 = std::max(x + width, o.x + o.width), y1 = std::max(y + height, o.y + o.height);
  return {x0, y0, x1 - x0, y1 - y0};
}

BufferedSurface::BufferedSurface(int width, int height) : width_(0), height_(0) {
  Resize(width, height);
}

BufferedSurface::~BufferedSurface() {
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

void BufferedSurface::Resize(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (surface_ != nullptr && width == width_ && height == height_) return;
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  width_ = width;
  height_ = height;
  dirty_ = {0, 0, width, height};
}

void BufferedSurface::Invalidate(const Rect& region) {
  dirty_ = dirty_.Union(region.Intersect({0, 0, width_, height_}));
}

Rect BufferedSurface::PaintIfNeeded(NativeWindowClient& client) {
  if (dirty_.Empty()) return {};
  const Rect region = dirty_;
  dirty_ = {};
  cairo_t* cr = cairo_create(surface_);
  cairo_rectangle(cr, region.x, region.y, region.width, region.height);
  cairo_clip(cr);
  // What no window covers stays black rather than showing an old frame.
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, 0, 0, 0, 1);
  cairo_paint(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  client.NativePaint(cr, region);
  cairo_destroy(cr);
  cairo_surface_flush(surface_);
  return region;
}

}  // namespace platform
