// Drawing for one window's paint: colours with their alpha scaled by the
// window's effective alpha, lines, rectangles, pies and text, anti-aliased,
// in the window's own coordinates and clipped to it.
// Thread: user-interface thread, during a paint.
#pragma once

#include <cairo.h>

#include <string>

namespace gui {

class GraphicsContext {
 public:
  static constexpr const char* kDefaultFamily = "Arial";

  // cr is translated to the window's origin and clipped to it.
  GraphicsContext(cairo_t* cr, int width, int height, float alpha);
  GraphicsContext(const GraphicsContext&) = delete;
  GraphicsContext& operator=(const GraphicsContext&) = delete;

  // alpha is 0..255 before the context's alpha scales it.
  void SetColour(int red, int green, int blue, int lineWidth = 1, int alpha = 255);
  // size in points; the family falls back to the generic sans-serif.
  void SetFont(int size, const std::string& family = kDefaultFamily, bool bold = false,
               bool italic = false);
  // Negative sizes reach left or up from (x, y).
  void FillRect(int x, int y, int w, int h);
  void DrawRect(int x, int y, int w, int h);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // Top-left corner of the text at (x, y); not clipped to anything but the window.
  void DrawString(const std::string& text, int x, int y);
  // Angles in degrees, clockwise from the positive x axis.
  void FillPie(int x, int y, int w, int h, float startAngle, float sweepAngle);
  // Width and height of a text in the current font.
  int TextWidth(const std::string& text);
  int TextHeight();

  cairo_t* cairo() const { return cr_; }
  int width() const { return width_; }
  int height() const { return height_; }
  float alpha() const { return alpha_; }
  int currentAlpha() const { return a_; }
  int red() const { return r_; }
  int green() const { return g_; }
  int blue() const { return b_; }

 private:
  void UseColour();

  cairo_t* cr_;
  int width_, height_;
  float alpha_;
  int r_ = -1, g_ = -1, b_ = -1, a_ = -1, lineWidth_ = 1;
  int penX_ = 0, penY_ = 0;
};

}  // namespace gui
