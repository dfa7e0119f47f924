#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace skin {

Rgb Rgb::Mix(const Rgb& o, double t) const {
  return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
}

Rgb Rgb::Scaled(double k) const {
  return {std::clamp(r * k, 0.0, 1.0), std::clamp(g * k, 0.0, 1.0), std::clamp(b * k, 0.0, 1.0), a};
}

Rgb Bytes(int r, int g, int b, double alpha) { return {r / 255.0, g / 255.0, b / 255.0, alpha}; }

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cr_ = cairo_create(surface_);
  // Hinted metrics keep small labels on whole pixels, so they stay sharp.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr_, options);
  cairo_font_options_destroy(options);
}

Canvas::~Canvas() { Release(); }

Canvas::Canvas(Canvas&& other) noexcept { *this = std::move(other); }

Canvas& Canvas::operator=(Canvas&& other) noexcept {
  if (this != &other) {
    Release();
    surface_ = std::exchange(other.surface_, nullptr);
    cr_ = std::exchange(other.cr_, nullptr);
    width_ = other.width_;
    height_ = other.height_;
  }
  return *this;
}

void Canvas::Release() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
  cr_ = nullptr;
  surface_ = nullptr;
}

void Canvas::Paint(const Canvas& image, double x, double y, double alpha) const {
  cairo_save(cr_);
  cairo_set_source_surface(cr_, image.surface(), x, y);
  cairo_paint_with_alpha(cr_, alpha);
  cairo_restore(cr_);
}

bool Canvas::WritePng(const std::string& path) const {
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

void SetColour(cairo_t* cr, const Rgb& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::min({radius, w / 2, h / 2});
  cairo_new_sub_path(cr);
  if (r <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& c) {
  RoundRectPath(cr, x, y, w, h, radius);
  SetColour(cr, c);
  cairo_fill(cr);
}

void FillGradient(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& top,
                  const Rgb& bottom) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(p, 0, top.r, top.g, top.b, top.a);
  cairo_pattern_add_color_stop_rgba(p, 1, bottom.r, bottom.g, bottom.b, bottom.a);
  RoundRectPath(cr, x, y, w, h, radius);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void StrokeRoundRect(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& c,
                     double lineWidth) {
  const double half = lineWidth / 2;
  RoundRectPath(cr, x + half, y + half, w - lineWidth, h - lineWidth, std::max(0.0, radius - half));
  SetColour(cr, c);
  cairo_set_line_width(cr, lineWidth);
  cairo_stroke(cr);
}

void HLine(cairo_t* cr, double x0, double x1, double y, const Rgb& c, double width) {
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x0, y + 0.5);
  cairo_line_to(cr, x1, y + 0.5);
  cairo_stroke(cr);
}

void VLine(cairo_t* cr, double x, double y0, double y1, const Rgb& c, double width) {
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x + 0.5, y0);
  cairo_line_to(cr, x + 0.5, y1);
  cairo_stroke(cr);
}

void FillCircle(cairo_t* cr, double cx, double cy, double radius, const Rgb& c) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  SetColour(cr, c);
  cairo_fill(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double radius, const Rgb& c) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, c.a);
  cairo_pattern_add_color_stop_rgba(p, 0.45, c.r, c.g, c.b, c.a * 0.35);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

void Triangle(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2, const Rgb& c) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  cairo_close_path(cr);
  SetColour(cr, c);
  cairo_fill(cr);
}

namespace {

void UseFont(cairo_t* cr, const Font& font) {
  cairo_select_font_face(cr, "Liberation Sans", font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.size);
}

// Letters one at a time when tracked; the text is ASCII.
double Advance(cairo_t* cr, const std::string& text, const Font& font) {
  cairo_text_extents_t e;
  if (font.tracking == 0) {
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
  }
  double w = 0;
  for (char ch : text) {
    const char s[2] = {ch, 0};
    cairo_text_extents(cr, s, &e);
    w += e.x_advance + font.tracking;
  }
  return text.empty() ? 0 : w - font.tracking;
}

}  // namespace

double TextWidth(cairo_t* cr, const std::string& text, const Font& font) {
  cairo_save(cr);
  UseFont(cr, font);
  const double w = Advance(cr, text, font);
  cairo_restore(cr);
  return w;
}

void DrawText(cairo_t* cr, const std::string& text, double x, double yMiddle, const Font& font, const Rgb& c,
              Align align) {
  cairo_save(cr);
  UseFont(cr, font);
  const double w = Advance(cr, text, font);
  if (align == Align::kCentre) x -= w / 2;
  if (align == Align::kRight) x -= w;
  cairo_text_extents_t cap;
  cairo_text_extents(cr, "H", &cap);
  // Whole-pixel baselines keep the hinted glyphs crisp.
  const double baseline = std::round(yMiddle - cap.y_bearing / 2);
  x = std::round(x);
  SetColour(cr, c);
  if (font.tracking == 0) {
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, text.c_str());
  } else {
    for (char ch : text) {
      const char s[2] = {ch, 0};
      cairo_move_to(cr, x, baseline);
      cairo_show_text(cr, s);
      cairo_text_extents_t e;
      cairo_text_extents(cr, s, &e);
      x += e.x_advance + font.tracking;
    }
  }
  cairo_restore(cr);
}

void DrawEmbossedText(cairo_t* cr, const std::string& text, double x, double yMiddle, const Font& font,
                      const Rgb& c, Align align) {
  DrawText(cr, text, x, yMiddle + 1, font, Rgb{0, 0, 0, 0.55 * c.a}, align);
  DrawText(cr, text, x, yMiddle, font, c, align);
}

}  // namespace skin
