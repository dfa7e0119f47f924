#include "gui/graphics_context.h"

#include <cmath>
#include <numbers>

#include "gui/utf8_text.h"

namespace gui {

GraphicsContext::GraphicsContext(cairo_t* cr, int width, int height, float alpha)
    : cr_(cr), width_(width), height_(height), alpha_(alpha) {
  cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
  SetFont(8);
  SetColour(255, 255, 255, 1, 255);
}

void GraphicsContext::SetColour(int red, int green, int blue, int lineWidth, int alpha) {
  // Halves round up: 0.5 x 255 gives 128.
  const int a = static_cast<int>(std::floor(static_cast<float>(alpha) * alpha_ + 0.5f));
  lineWidth_ = lineWidth;
  cairo_set_line_width(cr_, lineWidth > 0 ? lineWidth : 1);
  if (red == r_ && green == g_ && blue == b_ && a == a_) return;
  r_ = red;
  g_ = green;
  b_ = blue;
  a_ = a;
}

void GraphicsContext::UseColour() {
  cairo_set_source_rgba(cr_, r_ / 255.0, g_ / 255.0, b_ / 255.0, a_ / 255.0);
}

void GraphicsContext::SetFont(int size, const std::string& family, bool bold, bool italic) {
  // Through fontconfig: "Arial" resolves to a metric-compatible sans where
  // one is installed, else to the default sans-serif.
  cairo_select_font_face(cr_, family.empty() ? "sans-serif" : family.c_str(),
                         italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  // One point under the size asked for, at 96 pixels an inch.
  const double points = std::max(size - 1, 1);
  cairo_set_font_size(cr_, points * 96.0 / 72.0);
}

void GraphicsContext::FillRect(int x, int y, int w, int h) {
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
  UseColour();
  cairo_rectangle(cr_, x, y, w, h);
  cairo_fill(cr_);
}

void GraphicsContext::DrawRect(int x, int y, int w, int h) {
  if (a_ <= 0) return;
  UseColour();
  // Odd widths sit on pixel centres, so one-pixel edges stay crisp.
  const double o = (lineWidth_ % 2 == 1) ? 0.5 : 0.0;
  cairo_move_to(cr_, x + o, y + o);
  cairo_line_to(cr_, x + w + o, y + o);
  cairo_line_to(cr_, x + w + o, y + h + o);
  cairo_line_to(cr_, x + o, y + h + o);
  cairo_close_path(cr_);
  cairo_stroke(cr_);
}

void GraphicsContext::MoveTo(int x, int y) {
  penX_ = x;
  penY_ = y;
}

void GraphicsContext::LineTo(int x, int y) {
  if (a_ > 0) {
    UseColour();
    const double o = (lineWidth_ % 2 == 1) ? 0.5 : 0.0;
    cairo_move_to(cr_, penX_ + o, penY_ + o);
    cairo_line_to(cr_, x + o, y + o);
    cairo_stroke(cr_);
  }
  penX_ = x;
  penY_ = y;
}

void GraphicsContext::DrawString(const std::string& raw, int x, int y) {
  if (raw.empty()) return;
  const std::string text = IsPrintableText(raw) ? raw : PrintableText(raw);
  UseColour();
  cairo_font_extents_t fe;
  cairo_font_extents(cr_, &fe);
  cairo_move_to(cr_, x, y + fe.ascent);
  cairo_show_text(cr_, text.c_str());
  cairo_new_path(cr_);
}

void GraphicsContext::FillPie(int x, int y, int w, int h, float startAngle, float sweepAngle) {
  if (w == 0 || h == 0) return;
  UseColour();
  constexpr double kRad = std::numbers::pi / 180.0;
  cairo_save(cr_);
  cairo_translate(cr_, x + w / 2.0, y + h / 2.0);
  cairo_scale(cr_, w / 2.0, h / 2.0);
  cairo_move_to(cr_, 0, 0);
  const double a0 = startAngle * kRad, a1 = (startAngle + sweepAngle) * kRad;
  if (sweepAngle >= 0) {
    cairo_arc(cr_, 0, 0, 1, a0, a1);
  } else {
    cairo_arc_negative(cr_, 0, 0, 1, a0, a1);
  }
  cairo_close_path(cr_);
  cairo_restore(cr_);
  cairo_fill(cr_);
}

int GraphicsContext::TextWidth(const std::string& raw) {
  const std::string text = IsPrintableText(raw) ? raw : PrintableText(raw);
  cairo_text_extents_t te;
  cairo_text_extents(cr_, text.c_str(), &te);
  return static_cast<int>(std::ceil(te.x_advance));
}

int GraphicsContext::TextHeight() {
  cairo_font_extents_t fe;
  cairo_font_extents(cr_, &fe);
  return static_cast<int>(std::ceil(fe.ascent + fe.descent));
}

}  // namespace gui
