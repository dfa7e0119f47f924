// The buttons of the library screens and dialogs: one size for every list
// action, so the preset page, the save dialog, the wave browser and the
// timeline preset dialog line their buttons up the same way.
#include "button_parts.h"
#include "layout.h"

namespace skin {
namespace {

constexpr int kW = layout::kLibButtonWidth;
constexpr int kH = layout::kLibButtonHeight;

void FolderGlyph(cairo_t* cr, double x, double y, const Rgb& c) {
  FillRoundRect(cr, x, y, 5, 3, 1, c);
  FillRoundRect(cr, x, y + 2, 11, 7, 1, c);
  FillRoundRect(cr, x + 1, y + 4, 9, 4, 0.5, c.Scaled(0.7));
}

// A row of the timeline preset dialog: the check box at the left, a plate
// for the label the dialog prints at (25, 3).
void ItemToggle(Canvas& c, int state) {  // 0 unavailable, 1 off, 2 on
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height();
  // The whole row changes with the state, not only its box: lit when on,
  // plain when off, dark and struck through when the preset lacks the item.
  if (state == 2) {
    FillRoundRect(cr, 0, 0, w, h, 3, Rgb{0, 0, 0, 0.3});
    FillGradient(cr, 0, 0, w, h, 3, palette::kLit.WithAlpha(0.26), palette::kLit.WithAlpha(0.12));
    StrokeRoundRect(cr, 0, 0, w, h, 3, palette::kLit.WithAlpha(0.35));
  } else if (state == 1) {
    FillRoundRect(cr, 0, 0, w, h, 3, Rgb{0, 0, 0, 0.25});
    FillGradient(cr, 0, 0, w, h, 3, Rgb{1, 1, 1, 0.05}, Rgb{1, 1, 1, 0.01});
    StrokeRoundRect(cr, 0, 0, w, h, 3, Rgb{1, 1, 1, 0.06});
  } else {
    FillRoundRect(cr, 0, 0, w, h, 3, Rgb{0, 0, 0, 0.5});
    cairo_save(cr);
    RoundRectPath(cr, 0, 0, w, h, 3);
    cairo_clip(cr);
    SetColour(cr, Bytes(150, 40, 40, 0.18));
    cairo_set_line_width(cr, 1);
    for (double x = -h; x < w; x += 6) {
      cairo_move_to(cr, x, h);
      cairo_line_to(cr, x + h, 0);
    }
    cairo_stroke(cr);
    cairo_restore(cr);
  }
  const double bx = 4, by = 3, bs = 13;
  FillRoundRect(cr, bx, by + 1, bs, bs, 2.5, Rgb{1, 1, 1, 0.08});
  FillRoundRect(cr, bx, by, bs, bs, 2.5, palette::kEdgeDark);
  FillGradient(cr, bx + 1, by + 1, bs - 2, bs - 2, 2, Bytes(20, 22, 27), Bytes(33, 36, 43));
  if (state == 2) {
    Glow(cr, bx + bs / 2, by + bs / 2, 10, palette::kLit.WithAlpha(0.35));
    SetColour(cr, palette::kLit.Mix(palette::kWhite, 0.25));
    cairo_set_line_width(cr, 2);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, bx + 3.2, by + 6.8);
    cairo_line_to(cr, bx + 5.6, by + 9.4);
    cairo_line_to(cr, bx + 10, by + 3.6);
    cairo_stroke(cr);
  } else if (state == 0) {
    SetColour(cr, Bytes(150, 40, 40));
    cairo_set_line_width(cr, 1.5);
    cairo_move_to(cr, bx + 3, by + bs - 3);
    cairo_line_to(cr, bx + bs - 3, by + 3);
    cairo_stroke(cr);
  }
}

}  // namespace

void DrawLibraryButtons(ImageSet& set) {
  struct Pair {
    const char* up;
    const char* down;
    const char* label;
  };
  const Pair pairs[] = {{"AddUpBut.png", "AddDownBut.png", "Add"},
                        {"DeleteUpBut.png", "DeleteDownBut.png", "Delete"},
                        {"RenameUpBut.png", "RenameDownBut.png", "Rename"},
                        {"SaveUpBut.png", "SaveDownBut.png", "Save"},
                        {"LoadUpBut.png", "LoadDownBut.png", "Load"},
                        {"ImportUpBut.png", "ImportDownBut.png", "Import"},
                        {"CancelUpBut.png", "CancelDownBut.png", "Cancel"},
                        {"CloseUp.png", "CloseDown.png", "Close"}};
  for (const Pair& p : pairs) TextButtonPair(set, p.up, p.down, kW, kH, p.label, {fonts::kButtonSmall});
  DisabledButton(set.Add("DeleteDisabledBut.png", kW, kH), "Delete", fonts::kButtonSmall);
  DisabledButton(set.Add("RenameDisabledBut.png", kW, kH), "Rename", fonts::kButtonSmall);
  TextButtonPair(set, "Ok But Up.png", "Ok But Down.png", 56, 20, "OK");
  TextButtonPair(set, "Cancel But Up.png", "Cancel But Down.png", 56, 20, "Cancel");

  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "CloseSmallBut Down.png" : "CloseSmallBut Up.png", 14, 14);
    ButtonFace(c.cr(), 14, 14, pressed, 3);
    CrossGlyph(c.cr(), 7, 7 + (pressed ? 1 : 0), 5, 1.5, pressed ? Bytes(255, 120, 110) : palette::kButtonText);
  }
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "ShowFolder But Down.png" : "ShowFolder But Up.png", 80, kH);
    ButtonFace(c.cr(), 80, kH, pressed);
    const double dy = pressed ? 1 : 0;
    FolderGlyph(c.cr(), 7, 4.5 + dy, pressed ? Bytes(255, 200, 120) : Bytes(214, 180, 110));
    if (pressed) {
      DrawText(c.cr(), "Show folder", 47, kH / 2.0 + dy, fonts::kButtonSmall, LabelColour(true), Align::kCentre);
    } else {
      DrawEmbossedText(c.cr(), "Show folder", 47, kH / 2.0, fonts::kButtonSmall, LabelColour(false), Align::kCentre);
    }
  }
  ItemToggle(set.Add("Toggle On.png", 140, 19), 2);
  ItemToggle(set.Add("Toggle Off.png", 140, 19), 1);
  ItemToggle(set.Add("Toggle Unavailable.png", 140, 19), 0);
}

}  // namespace skin
