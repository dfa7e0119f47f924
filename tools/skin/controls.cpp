// The moving parts: the knob and its pointer, fader caps, slider pointers,
// the bowl's dot, the matrix row light and the partial graph's scroll track.
//
// The knob window is 31 x 32; the value arc is a pie of radius 15 around
// (15, 16) under the knob, "Knob.png" goes at (2, 3) and the pointer at
// (trunc(13 + 8 cos a), trunc(13 + 8 sin a)). So the knob is 26 x 26 with
// its centre on (15, 16) of the window and a cap of radius 11.5, leaving the
// outer three pixels of the arc visible, and the 5 x 5 pointer's centre runs
// on a circle of radius 8 around the cap's centre.
#include <cmath>

#include "image_set.h"
#include "layout.h"
#include "look.h"

namespace skin {
namespace {

void Knob(Canvas& c) {
  cairo_t* cr = c.cr();
  const double cx = 13, cy = 13, r = 11.5;
  // Drop shadow, then the skirt, then the cap.
  FillCircle(cr, cx, cy + 1, r, Rgb{0, 0, 0, 0.55});
  FillCircle(cr, cx, cy, r, palette::kEdgeDark);
  cairo_pattern_t* skirt = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
  cairo_pattern_add_color_stop_rgb(skirt, 0, 0.42, 0.44, 0.50);
  cairo_pattern_add_color_stop_rgb(skirt, 1, 0.14, 0.15, 0.18);
  cairo_arc(cr, cx, cy, r - 1, 0, 2 * M_PI);
  cairo_set_source(cr, skirt);
  cairo_fill(cr);
  cairo_pattern_destroy(skirt);
  // Knurling: fine ticks round the skirt.
  cairo_set_line_width(cr, 0.7);
  for (int i = 0; i < 36; ++i) {
    const double a = i * M_PI / 18;
    const double light = 0.5 + 0.5 * std::sin(-a);  // lighter towards the top
    SetColour(cr, Rgb{0, 0, 0, 0.25 + 0.2 * (1 - light)});
    cairo_move_to(cr, cx + (r - 3.2) * std::cos(a), cy + (r - 3.2) * std::sin(a));
    cairo_line_to(cr, cx + (r - 1.2) * std::cos(a), cy + (r - 1.2) * std::sin(a));
    cairo_stroke(cr);
  }
  // The cap: a dished face lit from above.
  const double cap = r - 3.5;
  FillCircle(cr, cx, cy + 0.6, cap + 0.6, Rgb{0, 0, 0, 0.5});
  cairo_pattern_t* face = cairo_pattern_create_radial(cx - 2, cy - 3, 0.5, cx, cy, cap);
  cairo_pattern_add_color_stop_rgb(face, 0, 0.36, 0.38, 0.44);
  cairo_pattern_add_color_stop_rgb(face, 1, 0.17, 0.18, 0.22);
  cairo_arc(cr, cx, cy, cap, 0, 2 * M_PI);
  cairo_set_source(cr, face);
  cairo_fill(cr);
  cairo_pattern_destroy(face);
  SetColour(cr, Rgb{1, 1, 1, 0.18});
  cairo_set_line_width(cr, 0.8);
  cairo_arc(cr, cx, cy, cap - 0.4, M_PI * 1.1, M_PI * 1.9);
  cairo_stroke(cr);
}

void KnobPointer(Canvas& c) {
  cairo_t* cr = c.cr();
  Glow(cr, 2.5, 2.5, 2.5, palette::kLit.WithAlpha(0.7));
  FillCircle(cr, 2.5, 2.5, 1.6, palette::kLit.Mix(palette::kWhite, 0.55));
}

// A metal cap lit from above; the marker line is where the value reads.
void FaderCap(Canvas& c) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  FillRoundRect(cr, 0, 0, w, h, 2, palette::kEdgeDark);
  FillGradient(cr, 1, 1, w - 2, h - 2, 1.5, Bytes(176, 182, 194), Bytes(92, 97, 108));
  HLine(cr, 2, w - 2, 1, Rgb{1, 1, 1, 0.5});
  HLine(cr, 1, w - 1, std::floor(h / 2) - 1, Rgb{0, 0, 0, 0.35});
  HLine(cr, 1, w - 1, std::floor(h / 2), Bytes(250, 250, 252));
  HLine(cr, 1, w - 1, std::floor(h / 2) + 1, Rgb{0, 0, 0, 0.25});
}

void PointerBody(cairo_t* cr) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 11);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.86, 0.88, 0.92);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.55, 0.58, 0.64);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  SetColour(cr, palette::kEdgeDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// Points down at the track along its window's bottom row.
void DownPointer(Canvas& c) {
  cairo_t* cr = c.cr();
  cairo_move_to(cr, 1.5, 1.5);
  cairo_line_to(cr, 9.5, 1.5);
  cairo_line_to(cr, 9.5, 5.5);
  cairo_line_to(cr, 5.5, 10);
  cairo_line_to(cr, 1.5, 5.5);
  cairo_close_path(cr);
  PointerBody(cr);
  HLine(cr, 3, 8, 2, Rgb{1, 1, 1, 0.6});
}

// Points left at the track along its window's left column.
void LeftPointer(Canvas& c) {
  cairo_t* cr = c.cr();
  cairo_move_to(cr, 1, 5.5);
  cairo_line_to(cr, 5.5, 1.5);
  cairo_line_to(cr, 9.5, 1.5);
  cairo_line_to(cr, 9.5, 9.5);
  cairo_line_to(cr, 5.5, 9.5);
  cairo_close_path(cr);
  PointerBody(cr);
}

void BowlDot(Canvas& c) {
  cairo_t* cr = c.cr();
  const Rgb blue = palette::kBlue.Mix(palette::kWhite, 0.15);
  Glow(cr, 6, 6, 6, blue.WithAlpha(0.9));
  FillCircle(cr, 6, 6, 3.4, palette::kEdgeDark.WithAlpha(0.6));
  FillCircle(cr, 6, 6, 2.8, blue.Mix(palette::kWhite, 0.5));
  FillCircle(cr, 5.4, 5.3, 1.1, palette::kWhite);
}

void ModulationOn(Canvas& c) {
  cairo_t* cr = c.cr();
  FillRoundRect(cr, 1, 1, 8, 10, 2, palette::kCyan.Scaled(0.6));
  FillGradient(cr, 2, 2, 6, 8, 1.5, palette::kCyan.Mix(palette::kWhite, 0.55), palette::kCyan);
  HLine(cr, 3, 7, 2, Rgb{1, 1, 1, 0.6});
}

// The track under the partial graph's thumb: the thumb (7 high) fills rows
// 1 to 7, so the track is its groove with a rim.
void PartialScrollTrack(Canvas& c) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  FillRoundRect(cr, 0, 0, w, h, 3, palette::kEdgeDark);
  FillGradient(cr, 1, 1, w - 2, h - 2, 2, Bytes(14, 15, 19), Bytes(26, 28, 34));
  for (int x = 32; x < w - 1; x += 32) VLine(cr, x, 3, h - 3, Rgb{1, 1, 1, 0.07});
}

}  // namespace

void DrawControls(ImageSet& set) {
  Knob(set.Add("Knob.png", 26, 26));
  KnobPointer(set.Add("KnobPointer.png", 5, 5));
  FaderCap(set.Add("Fader.png", 14, 9));
  DownPointer(set.Add("SliderDownPointer.png", 11, 11));
  LeftPointer(set.Add("SliderLeftPointer.png", 11, 11));
  BowlDot(set.Add("BowlDot.png", 12, 12));
  ModulationOn(set.Add("ModulationOn.png", 10, 12));
  PartialScrollTrack(set.Add("PartialScrollBar.png", layout::kPartialWidth, 9));
}

}  // namespace skin
