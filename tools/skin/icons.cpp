// The stepping selectors' parts (their well, arrows and the shape icons that
// light up in the middle of it) and the wave editor's zoom signs.
//
// A selector is its background's size: arrows at (2, 0) and (33, 0), the
// icon at (14, 0). So the background is 47 x 15, arrows 12 x 15 and icons
// 19 x 15. LFO shapes glow in the modulation line's cyan, filter types in
// the filter line's green.
#include <cmath>
#include <functional>

#include "button_parts.h"
#include "image_set.h"
#include "look.h"

namespace skin {
namespace {

constexpr int kIconW = 19, kIconH = 15;

// Strokes a path twice: a wide faint pass for the glow and a sharp one.
void GlowStroke(cairo_t* cr, const std::function<void()>& path, const Rgb& c) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  path();
  SetColour(cr, c.WithAlpha(0.25));
  cairo_set_line_width(cr, 3.2);
  cairo_stroke(cr);
  path();
  SetColour(cr, c.Mix(palette::kWhite, 0.3));
  cairo_set_line_width(cr, 1.3);
  cairo_stroke(cr);
}

void Icon(ImageSet& set, const char* name, const Rgb& colour, const std::function<void(cairo_t*)>& path) {
  Canvas& c = set.Add(name, kIconW, kIconH);
  cairo_t* cr = c.cr();
  GlowStroke(cr, [&] { path(cr); }, colour);
}

void WaveIcons(ImageSet& set) {
  const Rgb cyan = palette::kCyan;
  const double l = 3, r = 16, top = 4, bottom = 11, mid = 7.5;
  Icon(set, "WaveSine.png", cyan, [=](cairo_t* cr) {
    for (int i = 0; i <= 26; ++i) {
      const double t = i / 26.0;
      const double y = mid - (bottom - top) / 2 * std::sin(2 * M_PI * t);
      if (i == 0) cairo_move_to(cr, l + (r - l) * t, y); else cairo_line_to(cr, l + (r - l) * t, y);
    }
  });
  Icon(set, "WaveSquare.png", cyan, [=](cairo_t* cr) {
    cairo_move_to(cr, l, bottom);
    cairo_line_to(cr, l, top);
    cairo_line_to(cr, 9.5, top);
    cairo_line_to(cr, 9.5, bottom);
    cairo_line_to(cr, r, bottom);
    cairo_line_to(cr, r, top);
  });
  Icon(set, "WaveRamp.png", cyan, [=](cairo_t* cr) {
    cairo_move_to(cr, l, bottom);
    cairo_line_to(cr, 9.5, top);
    cairo_line_to(cr, 9.5, bottom);
    cairo_line_to(cr, r, top);
    cairo_line_to(cr, r, bottom);
  });
  // Sample and hold: held random steps.
  Icon(set, "WaveRandom.png", cyan, [=](cairo_t* cr) {
    const double levels[] = {9, 5, 10.5, 4, 7.5};
    cairo_move_to(cr, l, levels[0]);
    for (int i = 0; i < 5; ++i) {
      const double x1 = l + (r - l) * (i + 1) / 5.0;
      cairo_line_to(cr, x1, levels[i]);
      if (i < 4) cairo_line_to(cr, x1, levels[i + 1]);
    }
  });
}

void FilterIcons(ImageSet& set) {
  const Rgb green = palette::kGreen;
  const double l = 2.5, r = 16.5, top = 5, bottom = 12;
  Icon(set, "FilterLP.png", green, [=](cairo_t* cr) {
    cairo_move_to(cr, l, top + 1);
    cairo_line_to(cr, 9, top + 1);
    cairo_curve_to(cr, 10.5, top + 1, 11, top - 1.5, 12, top);
    cairo_curve_to(cr, 13, top + 2, 14, bottom, r, bottom);
  });
  Icon(set, "FilterBP.png", green, [=](cairo_t* cr) {
    cairo_move_to(cr, l, bottom);
    cairo_curve_to(cr, 6, bottom, 7.5, top - 1, 9.5, top - 1);
    cairo_curve_to(cr, 11.5, top - 1, 13, bottom, r, bottom);
  });
  Icon(set, "FilterHP.png", green, [=](cairo_t* cr) {
    cairo_move_to(cr, l, bottom);
    cairo_curve_to(cr, 5, bottom, 6, top + 2, 7, top);
    cairo_curve_to(cr, 8, top - 1.5, 8.5, top + 1, 10, top + 1);
    cairo_line_to(cr, r, top + 1);
  });
}

void SelectorParts(ImageSet& set) {
  Canvas& bg = set.Add("WaveBackground.png", 47, 15);
  cairo_t* cr = bg.cr();
  Screen(cr, 0, 0, 47, 14, 3);
  // Faint scan lines behind the icon, like a tiny display.
  for (int y = 3; y < 13; y += 2) HLine(cr, 15, 32, y, Rgb{1, 1, 1, 0.025});
  for (int dir : {0, 1}) {
    for (bool pressed : {false, true}) {
      const char* name = dir == 0 ? (pressed ? "WaveLeftPressed.png" : "WaveLeft.png")
                                  : (pressed ? "WaveRightPressed.png" : "WaveRight.png");
      Canvas& c = set.Add(name, 12, 15);
      ButtonFace(c.cr(), 12, 14, pressed, 3);
      ArrowGlyph(c.cr(), 6, 7 + (pressed ? 1 : 0), 6, dir, LabelColour(pressed));
    }
  }
}

void ZoomSigns(ImageSet& set) {
  for (bool plus : {false, true}) {
    for (bool pressed : {false, true}) {
      const char* name = plus ? (pressed ? "PlusPressed.png" : "Plus.png") : (pressed ? "MinusPressed.png" : "Minus.png");
      Canvas& c = set.Add(name, 13, 13);
      ButtonFace(c.cr(), 13, 13, pressed, 3);
      const double cy = 6.5 + (pressed ? 1 : 0);
      if (plus) {
        PlusGlyph(c.cr(), 6.5, cy, 7, 1.4, LabelColour(pressed));
      } else {
        MinusGlyph(c.cr(), 6.5, cy, 7, 1.4, LabelColour(pressed));
      }
    }
  }
  // The caption in front of the zoom level, which the graph prints at
  // (165, 228) beside it.
  Canvas& z = set.Add("ZoomLabel.png", 34, 13);
  cairo_t* cr = z.cr();
  FillRoundRect(cr, 0, 0, 34, 13, 3, Rgb{0, 0, 0, 0.3});
  StrokeRoundRect(cr, 0, 0, 34, 13, 3, Rgb{1, 1, 1, 0.08});
  DrawText(cr, "ZOOM", 17, 6.5, Font{7.5, true, 1.0}, palette::kLabel, Align::kCentre);
}

}  // namespace

void DrawIcons(ImageSet& set) {
  WaveIcons(set);
  FilterIcons(set);
  SelectorParts(set);
  ZoomSigns(set);
}

}  // namespace skin
