#include "look.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace skin {

Rgb Soft(const Rgb& accent) { return accent.Mix(Bytes(200, 205, 215), 0.25); }

void PageFill(cairo_t* cr, int w, int h) {
  FillGradient(cr, 0, 0, w, h, 0, palette::kPageTop, palette::kPageBottom);
  // Faint brushed lines; a fixed generator so every build draws the same.
  std::uint32_t seed = 0x2545F491u;
  for (int y = 0; y < h; ++y) {
    seed = seed * 1664525u + 1013904223u;
    const double v = static_cast<double>(seed >> 8) / static_cast<double>(1u << 24);
    const double alpha = 0.012 + 0.02 * v;
    HLine(cr, 0, w, y, (y % 2 == 0) ? Rgb{1, 1, 1, alpha} : Rgb{0, 0, 0, alpha * 1.5});
  }
}

double PanelTitleMiddle(double panelY) { return panelY + 10; }

void Panel(cairo_t* cr, double x, double y, double w, double h, const std::string& title, const Rgb& accent) {
  // A soft shadow below and to the right sets the panel off the page.
  FillRoundRect(cr, x + 1, y + 2, w, h, 5, Rgb{0, 0, 0, 0.35});
  FillGradient(cr, x, y, w, h, 5, palette::kPanelTop, palette::kPanelBottom);
  StrokeRoundRect(cr, x, y, w, h, 5, palette::kOutline);
  HLine(cr, x + 5, x + w - 5, y + 1, Rgb{1, 1, 1, 0.08});
  if (title.empty()) return;
  const double mid = PanelTitleMiddle(y);
  FillRoundRect(cr, x + 6, mid - 3.5, 3, 7, 1, accent);
  DrawEmbossedText(cr, title, x + 13, mid, fonts::kHeader, palette::kTitle);
}

void Screen(cairo_t* cr, double x, double y, double w, double h, double radius) {
  // Lip first, one pixel lower, so the well reads as cut into the panel.
  FillRoundRect(cr, x, y + 1, w, h, radius, Rgb{1, 1, 1, 0.09});
  FillRoundRect(cr, x, y, w, h, radius, palette::kEdgeDark);
  FillGradient(cr, x + 1, y + 1, w - 2, h - 2, std::max(0.0, radius - 1), Bytes(9, 10, 13), palette::kScreen);
  cairo_save(cr);
  RoundRectPath(cr, x + 1, y + 1, w - 2, h - 2, std::max(0.0, radius - 1));
  cairo_clip(cr);
  FillGradient(cr, x + 1, y + 1, w - 2, 4, 0, Rgb{0, 0, 0, 0.55}, Rgb{0, 0, 0, 0});
  cairo_restore(cr);
}

void ButtonFace(cairo_t* cr, double w, double h, bool pressed, double radius) {
  if (pressed) {
    FillRoundRect(cr, 0, 0, w, h, radius, palette::kEdgeDark);
    FillGradient(cr, 1, 1, w - 2, h - 2, radius - 1, Bytes(22, 24, 29), Bytes(35, 38, 46));
    cairo_save(cr);
    RoundRectPath(cr, 1, 1, w - 2, h - 2, radius - 1);
    cairo_clip(cr);
    FillGradient(cr, 1, 1, w - 2, 3, 0, Rgb{0, 0, 0, 0.6}, Rgb{0, 0, 0, 0});
    cairo_restore(cr);
    HLine(cr, radius, w - radius, h - 1, Rgb{1, 1, 1, 0.06});
    return;
  }
  FillRoundRect(cr, 0, 0, w, h, radius, palette::kEdgeDark);
  FillGradient(cr, 1, 1, w - 2, h - 2, radius - 1, Bytes(78, 84, 98), Bytes(50, 54, 65));
  HLine(cr, radius, w - radius, 1, Rgb{1, 1, 1, 0.22});
  HLine(cr, radius, w - radius, h - 2, Rgb{0, 0, 0, 0.25});
}

void Led(cairo_t* cr, double cx, double cy, double radius, const Rgb& colour, bool lit) {
  FillCircle(cr, cx, cy + 0.5, radius + 1, Rgb{1, 1, 1, 0.08});
  FillCircle(cr, cx, cy, radius + 1, palette::kEdgeDark);
  if (lit) {
    Glow(cr, cx, cy, radius * 2.6, colour.WithAlpha(0.55));
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.35, 0, cx, cy, radius);
    const Rgb hot = colour.Mix(palette::kWhite, 0.65);
    cairo_pattern_add_color_stop_rgb(p, 0, hot.r, hot.g, hot.b);
    cairo_pattern_add_color_stop_rgb(p, 1, colour.r, colour.g, colour.b);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  } else {
    const Rgb dark = colour.Scaled(0.22).Mix(Bytes(30, 32, 38), 0.5);
    cairo_pattern_t* p = cairo_pattern_create_radial(cx - radius * 0.3, cy - radius * 0.35, 0, cx, cy, radius);
    const Rgb top = dark.Mix(palette::kWhite, 0.12);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
}

void Groove(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  SetColour(cr, Rgb{1, 1, 1, 0.08});
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, x0 + 0.5, y0 + 1.5);
  cairo_line_to(cr, x1 + 0.5, y1 + 1.5);
  cairo_stroke(cr);
  SetColour(cr, palette::kEdgeDark);
  cairo_set_line_width(cr, 4);
  cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
  cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
  cairo_stroke(cr);
  SetColour(cr, Bytes(20, 22, 27));
  cairo_set_line_width(cr, 2);
  cairo_move_to(cr, x0 + 0.5, y0 + 0.5);
  cairo_line_to(cr, x1 + 0.5, y1 + 0.5);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

}  // namespace skin
