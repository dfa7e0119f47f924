#include "gui/image.h"

#include <sys/stat.h>

#include "gui/graphics_context.h"
#include "persist/data_folders.h"

namespace gui {

void Image::LoadFromFile(const std::string& path) {
  surface_.reset();
  struct stat st {};
  cairo_surface_t* s = nullptr;
  if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) s = cairo_image_surface_create_from_png(path.c_str());
  if (s == nullptr || cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    if (s != nullptr) cairo_surface_destroy(s);
    throw ImageError("Error in Image::LoadFromFile.. Could not find image file: " + path);
  }
  surface_.reset(s, &cairo_surface_destroy);
}

int Image::width() const { return surface_ ? cairo_image_surface_get_width(surface_.get()) : 0; }
int Image::height() const { return surface_ ? cairo_image_surface_get_height(surface_.get()) : 0; }

void Image::Draw(GraphicsContext& g, int x, int y, int w, int h) const {
  if (!surface_) return;
  const int iw = width(), ih = height();
  if (w < 0) w = iw;
  if (h < 0) h = ih;
  if (w == 0 || h == 0 || iw == 0 || ih == 0) return;
  cairo_t* cr = g.cairo();
  cairo_save(cr);
  cairo_translate(cr, x, y);
  if (w != iw || h != ih) cairo_scale(cr, static_cast<double>(w) / iw, static_cast<double>(h) / ih);
  cairo_set_source_surface(cr, surface_.get(), 0, 0);
  // Stretched edges take the edge pixels, not a fade into nothing.
  cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
  cairo_rectangle(cr, 0, 0, iw, ih);
  cairo_clip(cr);
  if (g.alpha() >= 1.0f) {
    cairo_paint(cr);
  } else {
    cairo_paint_with_alpha(cr, g.alpha());
  }
  cairo_restore(cr);
}

std::string SkinPath(const std::string& file) { return CurrentDataFolders().images + file; }

}  // namespace gui
