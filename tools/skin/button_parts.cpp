#include "button_parts.h"

namespace skin {

Rgb LabelColour(bool pressed) { return pressed ? Bytes(255, 214, 150) : palette::kButtonText; }

void TextButton(Canvas& c, const std::string& label, bool pressed, const ButtonStyle& style) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  ButtonFace(cr, w, h, pressed, style.radius);
  double textLeft = 0;
  if (style.accent) {
    const Rgb a = pressed ? *style.accent : style.accent->Scaled(0.8);
    FillRoundRect(cr, 3, 3 + (pressed ? 1 : 0), 3, h - 6, 1, a);
    textLeft = 4;
  }
  const double cx = textLeft + (w - textLeft) / 2;
  const double cy = h / 2 + (pressed ? 1 : 0);
  if (pressed) {
    DrawText(cr, label, cx, cy, style.font, LabelColour(true), Align::kCentre);
  } else {
    DrawEmbossedText(cr, label, cx, cy, style.font, LabelColour(false), Align::kCentre);
  }
}

void TextButtonPair(ImageSet& set, const std::string& upName, const std::string& downName, int w, int h,
                    const std::string& label, const ButtonStyle& style) {
  TextButton(set.Add(upName, w, h), label, false, style);
  TextButton(set.Add(downName, w, h), label, true, style);
}

void LedButton(Canvas& c, const std::string& label, bool on, const Rgb& light, const Font& font) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  ButtonFace(cr, w, h, on);
  const double shift = on ? 1 : 0;
  const double ledR = h >= 17 ? 3 : 2.5;
  const double ledX = 4 + ledR + 1;
  Led(cr, ledX, h / 2 + shift, ledR, light, on);
  const double left = ledX + ledR + 3;
  const double cx = (left + w - 3) / 2;
  if (on) {
    DrawText(cr, label, cx, h / 2 + shift, font, Bytes(245, 246, 250), Align::kCentre);
  } else {
    DrawEmbossedText(cr, label, cx, h / 2, font, palette::kLabel, Align::kCentre);
  }
}

void DisabledButton(Canvas& c, const std::string& label, const Font& font) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  FillRoundRect(cr, 0, 0, w, h, 3, Bytes(20, 22, 26));
  FillRoundRect(cr, 1, 1, w - 2, h - 2, 2, Bytes(38, 41, 48));
  DrawText(cr, label, w / 2, h / 2, font, Bytes(82, 87, 98), Align::kCentre);
}

void ArrowGlyph(cairo_t* cr, double cx, double cy, double s, int direction, const Rgb& c) {
  const double h = s / 2;
  switch (direction) {
    case 0: Triangle(cr, cx - h * 0.8, cy, cx + h * 0.6, cy - h, cx + h * 0.6, cy + h, c); break;
    case 1: Triangle(cr, cx + h * 0.8, cy, cx - h * 0.6, cy - h, cx - h * 0.6, cy + h, c); break;
    case 2: Triangle(cr, cx, cy + h * 0.8, cx - h, cy - h * 0.6, cx + h, cy - h * 0.6, c); break;
    default: Triangle(cr, cx, cy - h * 0.8, cx - h, cy + h * 0.6, cx + h, cy + h * 0.6, c); break;
  }
}

void CrossGlyph(cairo_t* cr, double cx, double cy, double s, double width, const Rgb& c) {
  const double h = s / 2;
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(cr, cx - h, cy - h);
  cairo_line_to(cr, cx + h, cy + h);
  cairo_move_to(cr, cx + h, cy - h);
  cairo_line_to(cr, cx - h, cy + h);
  cairo_stroke(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void PlusGlyph(cairo_t* cr, double cx, double cy, double s, double width, const Rgb& c) {
  const double h = s / 2;
  cairo_rectangle(cr, cx - h, cy - width / 2, s, width);
  cairo_rectangle(cr, cx - width / 2, cy - h, width, s);
  SetColour(cr, c);
  cairo_fill(cr);
}

void MinusGlyph(cairo_t* cr, double cx, double cy, double s, double width, const Rgb& c) {
  cairo_rectangle(cr, cx - s / 2, cy - width / 2, s, width);
  SetColour(cr, c);
  cairo_fill(cr);
}

}  // namespace skin
