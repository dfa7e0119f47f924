// Previews of the perform and preset pages, the dialogs, the selection bar
// over the synth page and the about box; the shared preview helpers.
#include <cmath>
#include <cstdio>
#include <algorithm>
#include <string>
#include <vector>

#include "layout.h"
#include "preview.h"

namespace skin {
namespace preview {

void EditorText(cairo_t* cr, const std::string& text, double x, double y, int size, const Rgb& c, bool bold) {
  cairo_save(cr);
  cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, (size - 1) * 96.0 / 72.0);
  cairo_font_extents_t fe;
  cairo_font_extents(cr, &fe);
  cairo_move_to(cr, x, y + fe.ascent);
  SetColour(cr, c);
  cairo_show_text(cr, text.c_str());
  cairo_restore(cr);
}

void Put(cairo_t* cr, const ImageSet& set, const std::string& name, double x, double y) {
  const Canvas& image = set.Get(name);
  cairo_save(cr);
  cairo_set_source_surface(cr, image.surface(), x, y);
  cairo_paint(cr);
  cairo_restore(cr);
}

Canvas PageWithTopBar(const ImageSet& set, const std::string& background, TopBarState state) {
  const Canvas& bg = set.Get(background);
  Canvas c(bg.width(), bg.height());
  cairo_t* cr = c.cr();
  c.Paint(bg, 0, 0);
  Put(cr, set, "Help But Up.png", 7, 9);
  Put(cr, set, "AboutButUp.png", 39, 4);
  Put(cr, set, state.fileDown ? "FileButDown.png" : "FileButUp.png", 77, 4);
  Put(cr, set, "PresetPreviousButUp.png", 338, 6);
  Put(cr, set, state.nextDown ? "PresetNextButDown.png" : "PresetNextButUp.png", 516, 6);
  return c;
}

void ListRows(cairo_t* cr, double x, double y, double w, double h, const char* const* names, int count,
              int selected) {
  const int row = layout::kListRow;
  for (int i = 0; i < count && (i + 1) * row <= h; ++i) {
    if (i == selected) {
      cairo_rectangle(cr, x, y + i * row, w - 10, row);
      SetColour(cr, Bytes(255, 0, 0, 100 / 255.0));
      cairo_fill(cr);
    }
    EditorText(cr, names[i], x + 2, y + i * row + 1, 10, Bytes(255, 255, 255));
  }
  cairo_rectangle(cr, x + w - 10, y + 15, 10, 18);
  SetColour(cr, Bytes(255, 255, 255));
  cairo_fill(cr);
}

namespace {

const char* const kCategories[] = {"Basses", "Bells", "Evolving", "Keys", "Leads", "Pads", "Sequences", "Strings",
                                   "Sweeps", "Textures"};
const char* const kPatches[] = {"Amber Drift", "Choir of Glass", "Cold Morning", "Glass Vector Pad",
                                "Harmonic Tide", "Lantern", "Night Bus", "Slow Orbit", "Sunken Bells",
                                "Tidal(User)", "Warm Circle"};

void Texts(cairo_t* cr, double bx, double by) {
  const Rgb value = Bytes(230, 230, 255, 200 / 255.0), white = Bytes(255, 255, 255), grey = Bytes(55, 55, 55);
  EditorText(cr, "0.35", bx + 67, by + 120, 8, value);
  EditorText(cr, "-0.60", bx + 175, by + 13, 8, value);
  EditorText(cr, "Filter Freq.", bx + 16, by + 138, 8, white);
  EditorText(cr, "All voices", bx + 16, by + 158, 8, white);
  EditorText(cr, "<None>", bx + 122, by + 33, 8, grey);
  EditorText(cr, "<not assigned>", bx + 122, by + 53, 8, grey);
}

}  // namespace

Canvas PerformPage(const ImageSet& set) {
  Canvas c = PageWithTopBar(set, "PerformBackground.png");
  cairo_t* cr = c.cr();
  EditorText(cr, "Glass Vector Pad", 364, 14, 10, Bytes(255, 255, 255), true);
  int k = 0;
  for (const layout::Point& b : layout::kPerformBlocks) {
    const double bx = layout::kPerformX + b.x, by = layout::kPerformY + b.y;
    Put(cr, set, k == 1 ? "AssignXDown.png" : "AssignXUp.png", bx + layout::kAssignX.x, by + layout::kAssignX.y);
    Put(cr, set, "AssignYUp.png", bx + layout::kAssignY.x, by + layout::kAssignY.y);
    Put(cr, set, "MIDILearnImg.png", bx + layout::kLearnX.x, by + layout::kLearnX.y);
    Put(cr, set, "MIDILearnImg.png", bx + layout::kLearnY.x, by + layout::kLearnY.y);
    const double px = bx + 5 + 50 * (1 + 0.35 * (k % 3 == 0 ? 1 : -0.5)), py = by + 5 + 50 * (1 + 0.6 - 0.3 * k);
    cairo_rectangle(cr, px - 5, py - 5, 10, 10);
    SetColour(cr, Bytes(230, 230, 255, 200 / 255.0));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Texts(cr, bx, by);
    ++k;
  }
  return c;
}

Canvas PresetPage(const ImageSet& set) {
  Canvas c = PageWithTopBar(set, "PresetBackground.png", {.fileDown = true, .nextDown = true});
  cairo_t* cr = c.cr();
  EditorText(cr, "Glass Vector Pad", 364, 14, 10, Bytes(255, 255, 255), true);
  const layout::Rect cat = layout::kPresetCategories, pat = layout::kPresetPatches;
  ListRows(cr, cat.x, cat.y, cat.w, cat.h, kCategories, 10, 5);
  ListRows(cr, pat.x, pat.y, pat.w, pat.h, kPatches, 11, 3);
  const int y = layout::kPresetButtonsY, step = layout::kLibButtonStep;
  Put(cr, set, "AddUpBut.png", cat.x, y);
  Put(cr, set, "DeleteUpBut.png", cat.x + step, y);
  Put(cr, set, "RenameUpBut.png", cat.x + 2 * step, y);
  Put(cr, set, "DeleteUpBut.png", pat.x, y);
  Put(cr, set, "RenameDisabledBut.png", pat.x + step, y);
  Put(cr, set, "ShowFolder But Up.png", layout::kPresetShowFolder.x, layout::kPresetShowFolder.y);
  Put(cr, set, "CloseUp.png", layout::kPresetClose.x, layout::kPresetClose.y);
  return c;
}

namespace {

void Browser(cairo_t* cr, const ImageSet& set, double ox, double oy) {
  Put(cr, set, "WaveformBrowser.png", ox, oy);
  const char* const cats[] = {"Additive", "Analog", "Digital", "Vocal"};
  const char* const waves[] = {"Bright Saw", "Hollow", "Odd Partials", "Soft Square(User)"};
  using namespace layout;
  ListRows(cr, ox + kBrowserCategories.x, oy + kBrowserCategories.y, kBrowserCategories.w, kBrowserCategories.h,
           cats, 4, 1);
  ListRows(cr, ox + kBrowserWaves.x, oy + kBrowserWaves.y, kBrowserWaves.w, kBrowserWaves.h, waves, 4, 2);
  SetColour(cr, Bytes(30, 30, 100, 100 / 255.0));
  cairo_set_line_width(cr, 1);
  for (int i = 0; i <= 100; ++i) {
    const double t = i / 100.0, s = 0.8 * (t < 0.5 ? 1 - 4 * t * t : -1 + 4 * (1 - t) * (1 - t));
    const double x = ox + kBrowserPreview.x + t * 100, y = oy + kBrowserPreview.y + 50 - s * 50;
    if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
  }
  cairo_stroke(cr);
  cairo_rectangle(cr, ox + kBrowserStandard.x + 16, oy + kBrowserStandard.y, 17, 17);
  SetColour(cr, Bytes(100, 100, 255, 70 / 255.0));
  cairo_fill(cr);
  const int by = kBrowserButtonsY, step = kLibButtonStep;
  Put(cr, set, "AddUpBut.png", ox + kBrowserCategories.x, oy + by);
  Put(cr, set, "DeleteUpBut.png", ox + kBrowserCategories.x + step, oy + by);
  Put(cr, set, "RenameUpBut.png", ox + kBrowserCategories.x + 2 * step, oy + by);
  Put(cr, set, "DeleteDownBut.png", ox + kBrowserWaves.x, oy + by);
  Put(cr, set, "RenameUpBut.png", ox + kBrowserWaves.x + step, oy + by);
  Put(cr, set, "ImportUpBut.png", ox + kBrowserImport.x, oy + kBrowserImport.y);
  Put(cr, set, "SaveUpBut.png", ox + kBrowserSave.x, oy + kBrowserSave.y);
  Put(cr, set, "CloseUp.png", ox + kBrowserClose.x, oy + kBrowserClose.y);
  Put(cr, set, "CloseSmallBut Up.png", ox + 428, oy + 5);
}

void WaveEditor(cairo_t* cr, const ImageSet& set, double ox, double oy) {
  Put(cr, set, "WaveEditorBackground.png", ox, oy);
  using namespace layout;
  SetColour(cr, Bytes(150, 150, 205));
  cairo_set_line_width(cr, 1);
  for (int i = 0; i <= 512; ++i) {
    double s = 0;
    for (int k = 1; k <= 9; k += 2) s += std::sin(2 * M_PI * k * i / 512.0) / k;
    const double x = ox + kWaveGraph.x + i, y = oy + kWaveGraph.y + 73 - 0.9 * s * 73;
    if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
  }
  cairo_stroke(cr);
  const double px = ox + kPartialGraph.x, py = oy + kPartialGraph.y;
  for (int i = 0; i < 255; ++i) {
    const double a = (i % 2 == 0) ? 1.0 / (i + 1) : 0;
    if (a <= 0) continue;
    const int hgt = static_cast<int>(105 * a);
    cairo_rectangle(cr, px + 2 * i, py + 105 - hgt, 1, hgt);
    SetColour(cr, Bytes(255, 255 - static_cast<int>(255 * a), 0));
    cairo_fill(cr);
    cairo_rectangle(cr, px + 2 * i, py + 106, 1, static_cast<int>(105 * 0.25 * (i % 4 == 0)));
    SetColour(cr, Bytes(150, 150, 160));
    cairo_fill(cr);
  }
  cairo_rectangle(cr, px, py + 106, 510, 1);
  SetColour(cr, Bytes(255, 255, 255));
  cairo_fill(cr);
  Put(cr, set, "ZoomLabel.png", px + 130, py + 226);
  Put(cr, set, "PartialScrollBar.png", px, py + 216);
  cairo_rectangle(cr, px, py + 217, 512, 7);
  SetColour(cr, Bytes(160, 150, 150));
  cairo_fill(cr);
  EditorText(cr, "1x", px + 165, py + 228, 8, Bytes(255, 255, 255));
  EditorText(cr, "Partial: 3", px, py + 224, 8, Bytes(255, 255, 255));
  Put(cr, set, "Minus.png", px + 180, py + 228);
  Put(cr, set, "PlusPressed.png", px + 195, py + 228);
  Put(cr, set, "CloseUp.png", ox + 50, oy + 475);
  Put(cr, set, "SaveUpBut.png", ox + 110, oy + 475);
  Put(cr, set, "CloseSmallBut Up.png", ox + 555, oy + 3);
}

void TimelineDialog(cairo_t* cr, const ImageSet& set, double ox, double oy, bool load) {
  using namespace layout;
  const Canvas& bg = set.Get("TimelinePresetBackground.png");
  const int w = load ? kTimelineDialogWidth : kTimelineSaveWidth;
  cairo_save(cr);
  cairo_rectangle(cr, ox, oy, w, kTimelineDialogHeight);
  cairo_clip(cr);
  Put(cr, set, "TimelinePresetBackground.png", ox, oy);
  cairo_restore(cr);
  (void)bg;
  const Rgb white = Bytes(255, 255, 255);
  EditorText(cr, load ? "Load Timeline preset" : "Save Timeline", ox + 5, oy + 5, 12, white);
  EditorText(cr, load ? "Which items to load:" : "Which items to save:", ox + 5, oy + 40, 10, white);
  EditorText(cr, "Category:", ox + 155, oy + 34, 10, white);
  const char* items[] = {"Amplitude", "Voice", "Wave", "Filter", "Modulation", "Effects"};
  for (int i = 0; i < 6; ++i) {
    const int state = load ? (i == 2 || i == 3 ? (i == 3 ? 1 : 2) : 0) : 2;
    const char* image = state == 2 ? "Toggle On.png" : state == 1 ? "Toggle Off.png" : "Toggle Unavailable.png";
    const double tx = ox + kTimelineToggleX, ty = oy + kTimelineToggleY + kTimelineToggleStep * i;
    Put(cr, set, image, tx, ty);
    const Rgb label = state == 0 ? Bytes(255, 0, 0, 100 / 255.0) : white.WithAlpha(state == 2 ? 1 : 100 / 255.0);
    EditorText(cr, items[i], tx + 25, ty + 3, 8, label);
  }
  const char* const cats[] = {"Evolving", "Rhythmic", "Swells"};
  const char* const presets[] = {"Filter Sweep", "Slow Morph(User)"};
  ListRows(cr, ox + kTimelineCategories.x, oy + kTimelineCategories.y, kTimelineCategories.w, kTimelineCategories.h,
           cats, 3, 0);
  const int by = oy + kTimelineButtonsY, step = kLibButtonStep;
  Put(cr, set, "AddUpBut.png", ox + kTimelineCategories.x, by);
  Put(cr, set, "DeleteUpBut.png", ox + kTimelineCategories.x + step, by);
  Put(cr, set, "RenameUpBut.png", ox + kTimelineCategories.x + 2 * step, by);
  Put(cr, set, "CloseUp.png", ox + kTimelineClose.x, oy + kTimelineClose.y);
  if (load) {
    EditorText(cr, "Preset:", ox + 345, oy + 34, 10, white);
    ListRows(cr, ox + kTimelinePresets.x, oy + kTimelinePresets.y, kTimelinePresets.w, kTimelinePresets.h, presets,
             2, 0);
    Put(cr, set, "DeleteUpBut.png", ox + kTimelinePresets.x, by);
    Put(cr, set, "RenameUpBut.png", ox + kTimelinePresets.x + step, by);
    Put(cr, set, "LoadUpBut.png", ox + kTimelinePresets.x + 2 * step, by);
  } else {
    Put(cr, set, "SaveUpBut.png", ox + kTimelineSave.x, oy + kTimelineSave.y);
  }
  Put(cr, set, "CloseSmallBut Up.png", ox + w - 19, oy + 5);
}

void SaveDialog(cairo_t* cr, const ImageSet& set, double ox, double oy) {
  using namespace layout;
  Put(cr, set, "SaveDialog.png", ox, oy);
  EditorText(cr, "Save Patch As..", ox + 5, oy + 5, 12, Bytes(255, 255, 255));
  ListRows(cr, ox + kSaveCategories.x, oy + kSaveCategories.y, kSaveCategories.w, kSaveCategories.h, kCategories, 10,
           -1);
  const double sx = ox + kSaveSideButtons.x, sy = oy + kSaveSideButtons.y;
  Put(cr, set, "AddUpBut.png", sx, sy);
  Put(cr, set, "DeleteDisabledBut.png", sx, sy + 24);
  Put(cr, set, "RenameDisabledBut.png", sx, sy + 48);
  cairo_rectangle(cr, ox + kSaveName.x, oy + kSaveName.y, kSaveName.w, kSaveName.h);
  SetColour(cr, Bytes(255, 255, 255));
  cairo_fill(cr);
  EditorText(cr, "Glass Vector Pad", ox + kSaveName.x + 4, oy + kSaveName.y + 4, 8, Bytes(0, 0, 0));
  Put(cr, set, "SaveUpBut.png", ox + kSaveSave.x, oy + kSaveSave.y);
  Put(cr, set, "CancelUpBut.png", ox + kSaveCancel.x, oy + kSaveCancel.y);
}

}  // namespace

Canvas Dialogs(const ImageSet& set) {
  Canvas c(1100, 1180);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, c.width(), c.height());
  SetColour(cr, Bytes(70, 74, 82));
  cairo_fill(cr);
  Browser(cr, set, 20, 20);
  SaveDialog(cr, set, 500, 20);
  WaveEditor(cr, set, 20, 350);
  TimelineDialog(cr, set, 610, 350, true);
  TimelineDialog(cr, set, 610, 690, false);
  return c;
}

Canvas Sheet(const ImageSet& set) {
  constexpr int kCell = 190, kColumns = 6, kScale = 2;
  std::vector<const ImageSet::Entry*> small;
  for (const ImageSet::Entry& e : set.entries()) {
    if (e.canvas->width() <= 90 && e.canvas->height() <= 100) small.push_back(&e);
  }
  std::vector<int> rowHeights;
  for (std::size_t i = 0; i < small.size(); i += kColumns) {
    int h = 0;
    for (std::size_t j = i; j < std::min(small.size(), i + kColumns); ++j) h = std::max(h, small[j]->canvas->height());
    rowHeights.push_back(h * kScale + 24);
  }
  int total = 10;
  for (int h : rowHeights) total += h;
  Canvas c(kCell * kColumns, total);
  cairo_t* cr = c.cr();
  cairo_rectangle(cr, 0, 0, c.width(), c.height());
  SetColour(cr, Bytes(38, 41, 49));
  cairo_fill(cr);
  double y = 10;
  for (std::size_t i = 0; i < small.size(); ++i) {
    const ImageSet::Entry& e = *small[i];
    const double x = (i % kColumns) * kCell + 10;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, kScale, kScale);
    cairo_set_source_surface(cr, e.canvas->surface(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    const int row = static_cast<int>(i / kColumns);
    EditorText(cr, e.name, x, y + rowHeights[row] - 20, 8, Bytes(200, 205, 215));
    if (i % kColumns == kColumns - 1) y += rowHeights[row];
  }
  return c;
}

}  // namespace preview

bool WritePreviews(const ImageSet& set, const std::string& folder) {
  bool ok = true;
  Canvas synth = preview::SynthPage(set);
  ok &= synth.WritePng(folder + "/preview-synth.png");
  ok &= preview::PerformPage(set).WritePng(folder + "/preview-perform.png");
  ok &= preview::PresetPage(set).WritePng(folder + "/preview-preset.png");
  ok &= preview::Dialogs(set).WritePng(folder + "/preview-dialogs.png");
  ok &= preview::Sheet(set).WritePng(folder + "/preview-sheet.png");
  {
    Canvas c = preview::SynthPage(set);
    cairo_t* cr = c.cr();
    preview::Put(cr, set, "MultipleSelection Bar.png", 0, layout::kSelectionBarShownY);
    const double y = layout::kSelectionBarShownY;
    preview::Put(cr, set, "CopyBut Up.png", 15, y + 30);
    preview::Put(cr, set, "PasteBut Down.png", 79, y + 30);
    preview::Put(cr, set, "DeleteMulti Up.png", 15, y + 55);
    preview::Put(cr, set, "UnselectBut Up.png", 260, y + 30);
    preview::Put(cr, set, "RescaleBut Up.png", 170, y + 30);
    preview::Put(cr, set, "GroupToggle Up.png", 480, y + 5);
    preview::Put(cr, set, "GroupToggle Down.png", 480, y + 35);
    preview::Put(cr, set, "GroupToggle Up.png", 480, y + 65);
    ok &= c.WritePng(folder + "/preview-selection.png");
  }
  {
    Canvas c = preview::SynthPage(set);
    preview::Put(c.cr(), set, "ZelvaneSplash.png", 0, 0);
    ok &= c.WritePng(folder + "/preview-about.png");
  }
  return ok;
}

}  // namespace skin
