#include "page_parts.h"

#include <algorithm>
#include <cmath>

#include "button_parts.h"

namespace skin {
namespace {

void Tab(cairo_t* cr, const layout::Rect& r, const std::string& label, bool active) {
  if (active) {
    FillRoundRect(cr, r.x, r.y, r.w, r.h, 4, palette::kEdgeDark);
    FillGradient(cr, r.x + 1, r.y + 1, r.w - 2, r.h - 2, 3, Bytes(74, 80, 94), Bytes(46, 50, 60));
    HLine(cr, r.x + 4, r.x + r.w - 4, r.y + 1, Rgb{1, 1, 1, 0.22});
    Glow(cr, r.x + r.w / 2.0, r.y + r.h - 3, r.w * 0.45, palette::kLit.WithAlpha(0.22));
    FillRoundRect(cr, r.x + 8, r.y + r.h - 4, r.w - 16, 2, 1, palette::kLit);
    DrawText(cr, label, r.x + r.w / 2.0, r.y + r.h / 2.0 - 1, fonts::kButtonBold, palette::kWhite, Align::kCentre);
  } else {
    FillRoundRect(cr, r.x + 1, r.y + 1, r.w - 2, r.h - 2, 4, Rgb{0, 0, 0, 0.18});
    StrokeRoundRect(cr, r.x + 1, r.y + 1, r.w - 2, r.h - 2, 4, Rgb{1, 1, 1, 0.05});
    DrawEmbossedText(cr, label, r.x + r.w / 2.0, r.y + r.h / 2.0 - 1, fonts::kButtonBold, palette::kLabel,
                     Align::kCentre);
  }
}

}  // namespace

void Wordmark(cairo_t* cr, double x, double y, double scale) {
  const Font name{17 * scale, true, 3.5 * scale};
  const Font kind{6.5 * scale, false, 1.6 * scale};
  const double nameWidth = TextWidth(cr, "ZELVANE", name);
  const double kindWidth = TextWidth(cr, "VECTOR SYNTHESISER", kind);
  const double w = std::max(nameWidth, kindWidth);
  const double left = x - w;
  DrawEmbossedText(cr, "ZELVANE", left + (w - nameWidth) / 2, y - 3 * scale, name, Bytes(228, 232, 240));
  DrawText(cr, "VECTOR SYNTHESISER", left + (w - kindWidth) / 2, y + 9 * scale, kind, palette::kLabel);
  // The emblem: a bowl with the four corner waves' lights round it.
  const double ex = left - 16 * scale, ey = y;
  const double r = 9 * scale;
  FillCircle(cr, ex, ey + 1, r + 1, Rgb{1, 1, 1, 0.07});
  FillCircle(cr, ex, ey, r + 1, palette::kEdgeDark);
  FillCircle(cr, ex, ey, r, Bytes(16, 18, 24));
  SetColour(cr, palette::kBlue.WithAlpha(0.45));
  cairo_set_line_width(cr, 1);
  cairo_arc(cr, ex, ey, r * 0.6, 0, 2 * M_PI);
  cairo_stroke(cr);
  const Rgb lights[] = {palette::kRed, palette::kBlue, palette::kGreen, palette::kYellow};
  for (int i = 0; i < 4; ++i) {
    const double a = M_PI * (1 + i * 0.5);
    Led(cr, ex + r * 0.6 * std::cos(a), ey + r * 0.6 * std::sin(a), 1.4 * scale, lights[i], true);
  }
  FillCircle(cr, ex + 2 * scale, ey - 1.5 * scale, 1.6 * scale, palette::kWhite);
}

void TopBar(cairo_t* cr, PageTab active) {
  const int w = layout::kEditorWidth, h = layout::kTopBarHeight;
  FillGradient(cr, 0, 0, w, h, 0, Bytes(52, 56, 67), Bytes(31, 34, 41));
  HLine(cr, 0, w, 0, Rgb{1, 1, 1, 0.12});
  HLine(cr, 0, w, h - 2, Rgb{0, 0, 0, 0.4});
  HLine(cr, 0, w, h - 1, palette::kEdgeDark);
  // A shallow trough behind the tabs groups them.
  FillRoundRect(cr, 115, 2, 213, 36, 5, Rgb{0, 0, 0, 0.22});
  StrokeRoundRect(cr, 115, 2, 213, 36, 5, Rgb{1, 1, 1, 0.05});
  Tab(cr, layout::kSynthTab, "SYNTH", active == PageTab::kSynth);
  Tab(cr, layout::kPresetTab, "PRESETS", active == PageTab::kPreset);
  Tab(cr, layout::kPerformTab, "PERFORM", active == PageTab::kPerform);
  // The patch name display, with the previous and next buttons beside it.
  const layout::Rect n = layout::kPatchName;
  Screen(cr, n.x, n.y, n.w, n.h, 3);
  FillGradient(cr, n.x + 1, n.y + 1, n.w - 2, n.h - 2, 2, Rgb{0.2, 0.35, 0.6, 0.10}, Rgb{0.2, 0.35, 0.6, 0.02});
  Caption(cr, "PATCH", n.x + n.w - 5, n.y + n.h / 2.0, Align::kRight, Rgb{1, 1, 1, 0.12}, Font{6.5, true, 1});
  Wordmark(cr, w - 12, h / 2.0 - 1, 1.0);
}

void ListFrame(cairo_t* cr, const layout::Rect& r, int rowHeight) {
  Screen(cr, r.x - 1, r.y - 1, r.w + 2, r.h + 2, 3);
  for (int y = r.y, i = 0; y + rowHeight <= r.y + r.h; y += rowHeight, ++i) {
    if (i % 2 == 1) {
      cairo_rectangle(cr, r.x, y, r.w - 10, rowHeight);
      SetColour(cr, Rgb{1, 1, 1, 0.025});
      cairo_fill(cr);
    }
  }
  // The scroll track: arrows at both ends, a groove between.
  const double sx = r.x + r.w - 10;
  cairo_rectangle(cr, sx, r.y, 10, r.h);
  SetColour(cr, Bytes(24, 26, 32));
  cairo_fill(cr);
  VLine(cr, sx, r.y, r.y + r.h, palette::kEdgeDark);
  for (bool top : {true, false}) {
    const double ay = top ? r.y : r.y + r.h - 15;
    cairo_save(cr);
    cairo_translate(cr, sx + 1, ay);
    ButtonFace(cr, 9, 15, false, 2);
    cairo_restore(cr);
    ArrowGlyph(cr, sx + 5.5, ay + 7.5, 5, top ? 3 : 2, palette::kLabel);
  }
  VLine(cr, sx + 5, r.y + 17, r.y + r.h - 17, Rgb{0, 0, 0, 0.5}, 2);
}

void Caption(cairo_t* cr, const std::string& text, double x, double yMiddle, Align align, const Rgb& colour,
             const Font& font) {
  DrawEmbossedText(cr, text, x, yMiddle, font, colour, align);
}

void ValueWell(cairo_t* cr, const layout::Rect& d) {
  Screen(cr, d.x - 2, d.y - 2, d.w + 4, d.h + 3, 2);
  FillRoundRect(cr, d.x - 1, d.y - 1, d.w + 2, d.h + 1, 1.5, Rgb{0.2, 0.35, 0.6, 0.10});
}

void Ticks(cairo_t* cr, double x0, double x1, double y, int count, double length) {
  for (int i = 0; i < count; ++i) {
    const double x = std::round(x0 + (x1 - x0) * i / (count - 1));
    VLine(cr, x, y, y + length, Rgb{1, 1, 1, 0.22});
  }
}

void DialogFrame(cairo_t* cr, int w, int h, int bandHeight, const std::string& title) {
  PageFill(cr, w, h);
  FillGradient(cr, 0, 0, w, bandHeight, 0, Bytes(56, 60, 72), Bytes(36, 39, 47));
  HLine(cr, 0, w, bandHeight - 1, palette::kEdgeDark);
  HLine(cr, 0, w, bandHeight, Rgb{1, 1, 1, 0.06});
  HLine(cr, 0, w, 1, Rgb{1, 1, 1, 0.14});
  if (!title.empty()) {
    FillRoundRect(cr, 8, bandHeight / 2.0 - 4, 3, 8, 1, palette::kLit);
    DrawEmbossedText(cr, title, 16, bandHeight / 2.0, Font{10, true, 1.4}, palette::kTitle);
  }
  // A rim all round, so the floating window has an edge on any host colour.
  cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
  SetColour(cr, Bytes(88, 94, 108));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

}  // namespace skin
