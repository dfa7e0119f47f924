// A transparent ARGB image being drawn with cairo, and the drawing primitives
// every skin image is made of: colours, rounded shapes, gradients and text.
// Thread: the skin tool is single-threaded.
#pragma once

#include <cairo.h>

#include <string>

namespace skin {

struct Rgb {
  double r = 0, g = 0, b = 0, a = 1;

  Rgb WithAlpha(double alpha) const { return {r, g, b, alpha}; }
  // t = 0 gives this colour, 1 gives other.
  Rgb Mix(const Rgb& other, double t) const;
  // Brightness scaled, alpha kept.
  Rgb Scaled(double k) const;
};

// From 0..255 channels, as the editor's colours are given.
Rgb Bytes(int r, int g, int b, double alpha = 1.0);

class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas& operator=(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Paints another image with its top-left corner at (x, y).
  void Paint(const Canvas& image, double x, double y, double alpha = 1.0) const;
  bool WritePng(const std::string& path) const;

 private:
  void Release();

  cairo_surface_t* surface_ = nullptr;
  cairo_t* cr_ = nullptr;
  int width_ = 0, height_ = 0;
};

void SetColour(cairo_t* cr, const Rgb& c);
void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double radius);
void FillRoundRect(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& c);
void FillGradient(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& top,
                  const Rgb& bottom);
// A line of lineWidth drawn inside the rectangle's edge.
void StrokeRoundRect(cairo_t* cr, double x, double y, double w, double h, double radius, const Rgb& c,
                     double lineWidth = 1.0);
// A crisp one-pixel line between pixel centres.
void HLine(cairo_t* cr, double x0, double x1, double y, const Rgb& c, double width = 1.0);
void VLine(cairo_t* cr, double x, double y0, double y1, const Rgb& c, double width = 1.0);
void FillCircle(cairo_t* cr, double cx, double cy, double radius, const Rgb& c);
// A soft halo: radial fade from c at the centre to nothing at radius.
void Glow(cairo_t* cr, double cx, double cy, double radius, const Rgb& c);
void Triangle(cairo_t* cr, double x0, double y0, double x1, double y1, double x2, double y2, const Rgb& c);

enum class Align { kLeft, kCentre, kRight };

struct Font {
  double size = 9;        // pixels
  bool bold = false;
  double tracking = 0;    // extra pixels between letters
  bool italic = false;
};

// "Liberation Sans" through fontconfig; the generic sans when it is missing.
double TextWidth(cairo_t* cr, const std::string& text, const Font& font);
// x by align; yMiddle is where the middle of the capital letters goes.
void DrawText(cairo_t* cr, const std::string& text, double x, double yMiddle, const Font& font, const Rgb& c,
              Align align = Align::kLeft);
// Text with a one-pixel dark shadow under it, for labels printed on panels.
void DrawEmbossedText(cairo_t* cr, const std::string& text, double x, double yMiddle, const Font& font,
                      const Rgb& c, Align align = Align::kLeft);

}  // namespace skin
