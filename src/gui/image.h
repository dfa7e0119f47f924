// A skin image loaded from a PNG file. A missing or unreadable file throws
// ImageError with the text screens show; an image that failed to load draws
// nothing. Copies share the pixels.
// Thread: user-interface thread.
#pragma once

#include <cairo.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace gui {

class GraphicsContext;

class ImageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Image {
 public:
  Image() = default;
  explicit Image(const std::string& path) { LoadFromFile(path); }

  void LoadFromFile(const std::string& path);
  // -1 for the image's own width or height. Drawn through the context's
  // alpha.
  void Draw(GraphicsContext& g, int x, int y, int width = -1, int height = -1) const;

  bool loaded() const { return surface_ != nullptr; }
  int width() const;
  int height() const;
  cairo_surface_t* surface() const { return surface_.get(); }

 private:
  std::shared_ptr<cairo_surface_t> surface_;
};

// The full path of a skin image: the images folder of the data root.
std::string SkinPath(const std::string& file);

}  // namespace gui
