// The floating dialogs' backgrounds at their dialogs' sizes, and the
// selection bar that slides up over the synth page.
#include <cmath>
#include <string>

#include "button_parts.h"
#include "image_set.h"
#include "page_parts.h"

namespace skin {
namespace {

using layout::Rect;

void RotatedCaption(cairo_t* cr, const std::string& text, double x, double y) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, -M_PI / 2);
  Caption(cr, text, 0, 0, Align::kCentre, palette::kLabel, Font{7.5, true, 1});
  cairo_restore(cr);
}

void SaveDialog(ImageSet& set) {
  Canvas& c = set.Add("SaveDialog.png", layout::kSaveDialogWidth, layout::kSaveDialogHeight);
  cairo_t* cr = c.cr();
  DialogFrame(cr, c.width(), c.height(), 26, {});
  const Rect list = layout::kSaveCategories;
  Caption(cr, "Category", list.x, list.y - 9, Align::kLeft, palette::kTitle, Font{8, true, 0.8});
  ListFrame(cr, list, layout::kListRow);
  const Rect name = layout::kSaveName;
  Caption(cr, "Name", name.x, name.y - 9, Align::kLeft, palette::kTitle, Font{8, true, 0.8});
  Screen(cr, name.x - 2, name.y - 2, name.w + 4, name.h + 4, 3);
}

// The four standard shapes as faces of one strip: ramp, square, sine,
// silence, 16 pixels apart and 17 wide, as the browser hit-tests them.
void StandardWaves(cairo_t* cr, const Rect& strip) {
  for (int i = 0; i < 4; ++i) {
    const double x = strip.x + 16 * i;
    cairo_save(cr);
    cairo_translate(cr, x, strip.y);
    ButtonFace(cr, 17, 17, false, 3);
    cairo_restore(cr);
    const double l = x + 3.5, r = x + 13.5, top = strip.y + 5, bottom = strip.y + 12, mid = strip.y + 8.5;
    SetColour(cr, palette::kButtonText);
    cairo_set_line_width(cr, 1.2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    switch (i) {
      case 0:
        cairo_move_to(cr, l, bottom);
        cairo_line_to(cr, r, top);
        cairo_line_to(cr, r, bottom);
        break;
      case 1:
        cairo_move_to(cr, l, bottom);
        cairo_line_to(cr, l, top);
        cairo_line_to(cr, (l + r) / 2, top);
        cairo_line_to(cr, (l + r) / 2, bottom);
        cairo_line_to(cr, r, bottom);
        cairo_line_to(cr, r, top);
        break;
      case 2:
        for (int k = 0; k <= 20; ++k) {
          const double t = k / 20.0;
          const double y = mid - 3.5 * std::sin(2 * M_PI * t);
          if (k == 0) cairo_move_to(cr, l + (r - l) * t, y); else cairo_line_to(cr, l + (r - l) * t, y);
        }
        break;
      default:
        cairo_move_to(cr, l, mid);
        cairo_line_to(cr, r, mid);
        break;
    }
    cairo_stroke(cr);
  }
}

// The preview draws its wave in dark blue, so its screen is a light one.
void LightScreen(cairo_t* cr, const Rect& r) {
  FillRoundRect(cr, r.x - 3, r.y - 3, r.w + 6, r.h + 7, 4, Rgb{1, 1, 1, 0.08});
  FillRoundRect(cr, r.x - 3, r.y - 3, r.w + 6, r.h + 6, 4, palette::kEdgeDark);
  FillGradient(cr, r.x, r.y, r.w, r.h, 2, Bytes(186, 197, 214), Bytes(150, 162, 182));
  for (int i = 1; i < 4; ++i) {
    HLine(cr, r.x, r.x + r.w, r.y + r.h * i / 4, Rgb{0.1, 0.15, 0.3, i == 2 ? 0.22 : 0.1});
    VLine(cr, r.x + r.w * i / 4, r.y, r.y + r.h, Rgb{0.1, 0.15, 0.3, 0.1});
  }
  FillGradient(cr, r.x, r.y, r.w, 5, 2, Rgb{0, 0, 0, 0.25}, Rgb{0, 0, 0, 0});
}

void WaveBrowser(ImageSet& set) {
  Canvas& c = set.Add("WaveformBrowser.png", layout::kBrowserWidth, layout::kBrowserHeight);
  cairo_t* cr = c.cr();
  DialogFrame(cr, c.width(), c.height(), 20, "WAVE BROWSER");
  const Rect cat = layout::kBrowserCategories, waves = layout::kBrowserWaves, prev = layout::kBrowserPreview;
  const Font head{8, true, 0.8};
  Caption(cr, "Category", cat.x, 27, Align::kLeft, palette::kTitle, head);
  Caption(cr, "Waveform", waves.x, 27, Align::kLeft, palette::kTitle, head);
  Caption(cr, "Preview", prev.x, 27, Align::kLeft, palette::kTitle, head);
  ListFrame(cr, cat, layout::kListRow);
  ListFrame(cr, waves, layout::kListRow);
  LightScreen(cr, prev);
  const Rect strip = layout::kBrowserStandard;
  Caption(cr, "Standard shapes", strip.x + strip.w / 2.0, strip.y - 9, Align::kCentre, palette::kLabel, Font{8});
  StandardWaves(cr, strip);
  Caption(cr, "Load a WAV file, or save", prev.x + prev.w / 2.0, 178, Align::kCentre, palette::kDim, fonts::kSmall);
  Caption(cr, "this corner's wave.", prev.x + prev.w / 2.0, 189, Align::kCentre, palette::kDim, fonts::kSmall);
}

void WaveEditor(ImageSet& set) {
  Canvas& c = set.Add("WaveEditorBackground.png", layout::kWaveEditorWidth, layout::kWaveEditorHeight);
  cairo_t* cr = c.cr();
  DialogFrame(cr, c.width(), c.height(), 24, "WAVE EDITOR");
  const Rect g = layout::kWaveGraph;
  Screen(cr, g.x - 1, g.y - 1, g.w + 2, g.h + 2, 3);
  const double centre = g.y + g.h / 2;
  for (int i = 1; i < 8; ++i) VLine(cr, g.x + g.w * i / 8, g.y + 1, g.y + g.h - 1, Rgb{1, 1, 1, 0.04});
  HLine(cr, g.x + 1, g.x + g.w - 1, centre, Rgb{1, 1, 1, 0.14});
  HLine(cr, g.x + 1, g.x + g.w - 1, g.y + g.h / 4, Rgb{1, 1, 1, 0.05});
  HLine(cr, g.x + 1, g.x + g.w - 1, g.y + 3 * g.h / 4, Rgb{1, 1, 1, 0.05});
  Caption(cr, "+1", g.x - 4, g.y + 4, Align::kRight, palette::kDim, fonts::kSmall);
  Caption(cr, "0", g.x - 4, centre, Align::kRight, palette::kDim, fonts::kSmall);
  Caption(cr, "-1", g.x - 4, g.y + g.h - 4, Align::kRight, palette::kDim, fonts::kSmall);
  RotatedCaption(cr, "CYCLE", 549, centre);
  Caption(cr, "Draw one cycle with the mouse; it is rebuilt band-limited when you let go.", g.x, 192, Align::kLeft,
          palette::kDim, fonts::kSmall);
  const double px = layout::kPartialGraph.x, py = layout::kPartialGraph.y;
  const double w = layout::kPartialWidth, h = layout::kPartialAreaHeight;
  Screen(cr, px - 1, py - 1, w + 2, h + 2, 3);
  Screen(cr, px - 1, py + layout::kPartialPhaseTop - 1, w + 2, h + 2, 3);
  for (int i = 1; i < 4; ++i) {
    HLine(cr, px + 1, px + w - 1, py + layout::kPartialBaseline - h * i / 4, Rgb{1, 1, 1, 0.04});
    HLine(cr, px + 1, px + w - 1, py + layout::kPartialPhaseTop + h * i / 4, Rgb{1, 1, 1, 0.04});
  }
  RotatedCaption(cr, "AMPLITUDE", 15, py + h / 2);
  RotatedCaption(cr, "PHASE", 15, py + layout::kPartialPhaseTop + h / 2);
  Caption(cr, "PARTIALS", px, 204, Align::kLeft, palette::kTitle, Font{8, true, 1});
  Caption(cr, "drag bars: amplitude above, phase below", px + w, 204, Align::kRight, palette::kDim, fonts::kSmall);
}

void TimelinePresets(ImageSet& set) {
  Canvas& c = set.Add("TimelinePresetBackground.png", layout::kTimelineDialogWidth, layout::kTimelineDialogHeight);
  cairo_t* cr = c.cr();
  DialogFrame(cr, c.width(), c.height(), 28, {});
  // The items column behind the prompt and the six toggles.
  Panel(cr, 2, 32, 147, 202);
  ListFrame(cr, layout::kTimelineCategories, layout::kListRow);
  ListFrame(cr, layout::kTimelinePresets, layout::kListRow);
  // The save dialog shows only the left 300 pixels: an edge there closes it
  // and, in the load dialog, parts the preset column from the rest.
  VLine(cr, layout::kTimelineSaveWidth - 2, 0, c.height(), palette::kEdgeDark);
  VLine(cr, layout::kTimelineSaveWidth - 1, 28, c.height(), Rgb{1, 1, 1, 0.16});
  Caption(cr, "Items read from or written to", 8, 244, Align::kLeft, palette::kDim, fonts::kSmall);
  Caption(cr, "the selected voice's timeline.", 8, 255, Align::kLeft, palette::kDim, fonts::kSmall);
}

void SelectionBar(ImageSet& set) {
  Canvas& c = set.Add("MultipleSelection Bar.png", layout::kSelectionBarWidth, layout::kSelectionBarHeight);
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  // Rounded at the top only: the bar rises from the bottom of the page.
  RoundRectPath(cr, 0, 0, w, h + 8, 7);
  cairo_save(cr);
  cairo_clip(cr);
  FillGradient(cr, 0, 0, w, h, 0, Bytes(62, 67, 80), Bytes(36, 39, 47));
  HLine(cr, 6, w - 6, 0, Rgb{1, 1, 1, 0.3});
  HLine(cr, 0, w, 1, Rgb{1, 1, 1, 0.08});
  cairo_restore(cr);
  RoundRectPath(cr, 0.5, 0.5, w - 1, h + 8, 7);
  SetColour(cr, Bytes(96, 102, 118));
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  FillRoundRect(cr, 15, 11, 3, 8, 1, palette::kWhite);
  DrawEmbossedText(cr, "SELECTED POINTS", 22, 15, fonts::kHeader, palette::kTitle);
  Caption(cr, "Drag to move them; Shift+drag changes their level.", 90, 66, Align::kLeft, palette::kDim,
          fonts::kSmall);
  VLine(cr, 360, 10, h - 10, palette::kEdgeDark);
  VLine(cr, 361, 10, h - 10, Rgb{1, 1, 1, 0.06});
  Caption(cr, "Controls edit", 470, 38, Align::kRight, palette::kLabel);
  Caption(cr, "the selection:", 470, 52, Align::kRight, palette::kLabel);
  const char* modes[] = {"Not at all", "Relative (all move by the same amount)", "Absolute (all take the value)"};
  for (int i = 0; i < 3; ++i) Caption(cr, modes[i], 505, 14 + 30 * i, Align::kLeft, palette::kButtonText);
}

}  // namespace

void DrawDialogBackgrounds(ImageSet& set) {
  SaveDialog(set);
  WaveBrowser(set);
  WaveEditor(set);
  TimelinePresets(set);
  SelectionBar(set);
}

}  // namespace skin
