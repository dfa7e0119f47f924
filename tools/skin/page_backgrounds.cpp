// The perform and preset pages and the about box, which lies over the whole
// editor: a veil over the page and a card in its middle.
#include <cmath>
#include <string>

#include "image_set.h"
#include "page_parts.h"

namespace skin {
namespace {

void PerformBlock(cairo_t* cr, double bx, double by, int number) {
  Panel(cr, bx, by, layout::kBlockWidth, layout::kBlockHeight);
  const layout::Rect p = layout::kPad;
  const double px = bx + p.x, py = by + p.y;
  Screen(cr, px - 1, py - 1, p.w + 2, p.h + 2, 3);
  for (int i = 1; i < 4; ++i) {
    const double a = i == 2 ? 0.14 : 0.05;
    HLine(cr, px + 1, px + p.w - 1, py + 25 * i, Rgb{1, 1, 1, a});
    VLine(cr, px + 25 * i, py + 1, py + p.h - 1, Rgb{1, 1, 1, a});
  }
  const Rgb axis = palette::kCyan.Mix(palette::kWhite, 0.3).WithAlpha(0.55);
  DrawText(cr, "X", px + p.w - 6, py + p.h - 7, Font{7.5, true}, axis, Align::kCentre);
  DrawText(cr, "Y", px + 6, py + 7, Font{7.5, true}, axis, Align::kCentre);
  // Wells behind the texts the block prints: values, targets and voices.
  auto well = [&](double x, double y, double w, double h) {
    FillRoundRect(cr, bx + x, by + y + 1, w, h, 2, Rgb{1, 1, 1, 0.05});
    FillRoundRect(cr, bx + x, by + y, w, h, 2, Rgb{0, 0, 0, 0.35});
  };
  well(64, 117, 40, 15);
  well(172, 10, 30, 15);
  well(12, 134, 94, 16);
  well(12, 154, 94, 16);
  well(118, 29, 84, 16);
  well(118, 49, 84, 16);
  Caption(cr, "PAD", bx + 172, by + 122, Align::kCentre, palette::kDim, Font{7.5, true, 1.5});
  DrawEmbossedText(cr, std::to_string(number), bx + 172, by + 138, Font{16, true}, palette::kCyan.WithAlpha(0.6),
                   Align::kCentre);
}

void PerformBackground(ImageSet& set) {
  Canvas& c = set.Add("PerformBackground.png", layout::kEditorWidth, layout::kEditorHeight);
  cairo_t* cr = c.cr();
  PageFill(cr, c.width(), c.height());
  TopBar(cr, PageTab::kPerform);
  Panel(cr, 3, 46, 761, 58, "PERFORM PADS", Soft(palette::kCyan));
  Caption(cr, "Each pad moves two modulation sources at once: X across, Y up and down.", 16, 74, Align::kLeft);
  Caption(cr, "Assign each axis to a voice and a target; MIDI learn lets a controller move it.", 16, 89,
          Align::kLeft, palette::kDim);
  int n = 1;
  for (const layout::Point& b : layout::kPerformBlocks) {
    PerformBlock(cr, layout::kPerformX + b.x, layout::kPerformY + b.y, n++);
  }
  Panel(cr, 3, 568, 761, 62);
  Wordmark(cr, 752, 599, 1.15);
  Caption(cr, "Pads answer host automation and MIDI controllers as well as the mouse.", 16, 592, Align::kLeft,
          palette::kDim);
  Caption(cr, "Right of each pad: its Y axis; below it: its X axis.", 16, 607, Align::kLeft, palette::kDim);
}

void PresetBackground(ImageSet& set) {
  Canvas& c = set.Add("PresetBackground.png", layout::kEditorWidth, layout::kEditorHeight);
  cairo_t* cr = c.cr();
  PageFill(cr, c.width(), c.height());
  TopBar(cr, PageTab::kPreset);
  Panel(cr, 3, 46, 761, 584, "PATCH LIBRARY", palette::kLit);
  const layout::Rect cat = layout::kPresetCategories, pat = layout::kPresetPatches;
  Caption(cr, "CATEGORIES", cat.x, cat.y - 12, Align::kLeft, palette::kTitle, Font{8, true, 1});
  Caption(cr, "PATCHES", pat.x, pat.y - 12, Align::kLeft, palette::kTitle, Font{8, true, 1});
  ListFrame(cr, cat, layout::kListRow);
  ListFrame(cr, pat, layout::kListRow);
  // The notes column beside the lists.
  const double x = layout::kPresetShowFolder.x;
  Screen(cr, x, 128, 160, 140, 4);
  const char* lines[] = {"Click a category to list", "its patches, then a patch",
                         "to load it.", "",
                         "Patches you save end in", "(User), so they never",
                         "replace files of your own."};
  double y = 144;
  for (const char* line : lines) {
    Caption(cr, line, x + 10, y, Align::kLeft, palette::kLabel);
    y += 15;
  }
  Wordmark(cr, 752, 600, 1.3);
}

void Splash(ImageSet& set) {
  Canvas& c = set.Add("ZelvaneSplash.png", layout::kEditorWidth, layout::kEditorHeight);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, c.width(), c.height());
  SetColour(cr, Rgb{0.02, 0.02, 0.03, 0.72});
  cairo_fill(cr);
  const double w = 420, h = 280, x = (c.width() - w) / 2, y = (c.height() - h) / 2;
  for (int i = 8; i > 0; --i) FillRoundRect(cr, x - i, y - i + 4, w + 2 * i, h + 2 * i, 10 + i, Rgb{0, 0, 0, 0.05});
  FillGradient(cr, x, y, w, h, 10, Bytes(52, 56, 68), Bytes(24, 26, 32));
  StrokeRoundRect(cr, x, y, w, h, 10, Rgb{1, 1, 1, 0.18});
  // A large bowl with the four corner lights, the instrument's idea.
  const double cx = x + w / 2, cy = y + 92;
  Glow(cr, cx, cy, 70, palette::kBlue.WithAlpha(0.18));
  FillCircle(cr, cx, cy + 1.5, 44, Rgb{1, 1, 1, 0.08});
  FillCircle(cr, cx, cy, 44, palette::kEdgeDark);
  cairo_pattern_t* well = cairo_pattern_create_radial(cx, cy - 12, 4, cx, cy, 42);
  cairo_pattern_add_color_stop_rgb(well, 0, 0.08, 0.13, 0.22);
  cairo_pattern_add_color_stop_rgb(well, 1, 0.02, 0.025, 0.04);
  cairo_arc(cr, cx, cy, 42, 0, 2 * M_PI);
  cairo_set_source(cr, well);
  cairo_fill(cr);
  cairo_pattern_destroy(well);
  const Rgb lights[] = {palette::kRed, palette::kBlue, palette::kGreen, palette::kYellow};
  for (int i = 0; i < 4; ++i) {
    const double a = M_PI * (1 + 0.5 * i);
    SetColour(cr, lights[i].WithAlpha(0.35));
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, cx, cy);
    cairo_line_to(cr, cx + 30 * std::cos(a), cy + 30 * std::sin(a));
    cairo_stroke(cr);
    Led(cr, cx + 30 * std::cos(a), cy + 30 * std::sin(a), 3.5, lights[i], true);
  }
  Glow(cr, cx + 10, cy - 8, 10, palette::kBlue.Mix(palette::kWhite, 0.4));
  FillCircle(cr, cx + 10, cy - 8, 3, palette::kWhite);
  const Font name{34, true, 9};
  DrawEmbossedText(cr, "ZELVANE", cx + 4.5, y + 168, name, Bytes(236, 239, 245), Align::kCentre);
  DrawText(cr, "VECTOR SYNTHESISER", cx + 1, y + 193, Font{9, false, 3}, palette::kLabel, Align::kCentre);
  HLine(cr, x + 60, x + w - 60, y + 212, Rgb{1, 1, 1, 0.1});
  DrawText(cr, "Version 1.0", cx, y + 228, fonts::kLabel, palette::kTitle, Align::kCentre);
  DrawText(cr, "Tarvenn Audio", cx, y + 244, fonts::kLabel, palette::kLabel, Align::kCentre);
  DrawText(cr, "Click to close", cx, y + h - 14, fonts::kSmall, palette::kDim, Align::kCentre);
}

}  // namespace

void DrawPageBackgrounds(ImageSet& set) {
  PerformBackground(set);
  PresetBackground(set);
  Splash(set);
}

}  // namespace skin
