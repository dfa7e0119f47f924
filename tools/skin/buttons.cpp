// The buttons and switches of the top bar, the synth page, the perform page
// and the selection bar.
#include <cmath>
#include <string>

#include "button_parts.h"
#include "layout.h"

namespace skin {
namespace {

struct Accent {
  const char* name;
  Rgb colour;
};
const Accent kLineAccents[] = {{"Red", palette::kRed},
                               {"Blue", palette::kBlue},
                               {"Green", palette::kGreen},
                               {"Cyan", palette::kCyan},
                               {"Yellow", palette::kYellow}};

// The top bar's buttons are taller than the rest and sit on the bar's own
// gradient.
void TopBar(ImageSet& set) {
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "Help But Down.png" : "Help But Up.png", 24, 22);
    ButtonFace(c.cr(), 24, 22, pressed, 11);
    const double dy = pressed ? 1 : 0;
    DrawText(c.cr(), "?", 12, 11 + dy, Font{12, true}, LabelColour(pressed), Align::kCentre);
  }
  TextButtonPair(set, "AboutButUp.png", "AboutButDown.png", 35, 30, "About", {fonts::kButton});
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "FileButDown.png" : "FileButUp.png", 38, 30);
    ButtonFace(c.cr(), 38, 30, pressed);
    const double dy = pressed ? 1 : 0;
    DrawEmbossedText(c.cr(), "File", 7, 15 + dy, fonts::kButton, LabelColour(pressed));
    ArrowGlyph(c.cr(), 30, 15.5 + dy, 6, 2, LabelColour(pressed));
  }
  for (int dir : {0, 1}) {
    for (bool pressed : {false, true}) {
      const std::string base = dir == 0 ? "PresetPreviousBut" : "PresetNextBut";
      Canvas& c = set.Add(base + (pressed ? "Down.png" : "Up.png"), 22, 26);
      ButtonFace(c.cr(), 22, 26, pressed);
      ArrowGlyph(c.cr(), 11, 13 + (pressed ? 1 : 0), 9, dir, LabelColour(pressed));
    }
  }
}

// One tab per voice: the selected voice (down) is lit, the others recede.
void VoiceTabs(ImageSet& set) {
  for (int v = 1; v <= 4; ++v) {
    const std::string label = "VOICE " + std::to_string(v);
    for (bool selected : {false, true}) {
      Canvas& c = set.Add("Voice" + std::to_string(v) + (selected ? "Down.png" : "Up.png"), 70, 20);
      cairo_t* cr = c.cr();
      if (selected) {
        FillRoundRect(cr, 0, 0, 70, 20, 3, palette::kEdgeDark);
        FillGradient(cr, 1, 1, 68, 18, 2, Bytes(92, 98, 114), Bytes(60, 64, 76));
        HLine(cr, 3, 67, 1, Rgb{1, 1, 1, 0.25});
        FillRoundRect(cr, 6, 16, 58, 2, 1, palette::kLit);
        Glow(cr, 35, 17, 20, palette::kLit.WithAlpha(0.25));
        DrawText(cr, label, 35, 9, fonts::kButtonBold, palette::kWhite, Align::kCentre);
      } else {
        FillRoundRect(cr, 0, 0, 70, 20, 3, palette::kEdgeDark);
        FillGradient(cr, 1, 1, 68, 18, 2, Bytes(40, 43, 52), Bytes(30, 33, 40));
        HLine(cr, 3, 67, 1, Rgb{1, 1, 1, 0.07});
        DrawEmbossedText(cr, label, 35, 9.5, fonts::kButtonBold, palette::kDim, Align::kCentre);
      }
    }
  }
}

void Switches(ImageSet& set) {
  LedButton(set.Add("OnBut.png", 40, 18), "ON", true, palette::kLit);
  LedButton(set.Add("OffBut.png", 40, 18), "OFF", false, palette::kLit);
  LedButton(set.Add("LoopButOn.png", 46, 18), "LOOP", true, palette::kLit);
  LedButton(set.Add("LoopButOff.png", 46, 18), "LOOP", false, palette::kLit);
  LedButton(set.Add("TimeFreezeOn.png", 60, 20), "FREEZE", true, palette::kFreeze);
  LedButton(set.Add("TimeFreezeOff.png", 60, 20), "FREEZE", false, palette::kFreeze);
  LedButton(set.Add("StereoBut On.png", 36, 15), "Stereo", true, palette::kLit, fonts::kSmall);
  LedButton(set.Add("StereoBut Off.png", 36, 15), "Stereo", false, palette::kLit, fonts::kSmall);
  LedButton(set.Add("SyncBut On.png", 36, 15), "Sync", true, palette::kLit, fonts::kSmall);
  LedButton(set.Add("SyncBut Off.png", 36, 15), "Sync", false, palette::kLit, fonts::kSmall);
  for (bool on : {false, true}) {
    Canvas& c = set.Add(on ? "SmallOn.png" : "SmallOff.png", 13, 13);
    ButtonFace(c.cr(), 13, 13, on, 3);
    Led(c.cr(), 6.5, 6.5 + (on ? 0.5 : 0), 2.5, palette::kLit, on);
  }
  // Positive only: a lit "+" when on, a dim "+/-" when the LFO swings both ways.
  for (bool on : {false, true}) {
    Canvas& c = set.Add(on ? "PositiveOnlyOn.png" : "PositiveOnlyOff.png", 24, 15);
    cairo_t* cr = c.cr();
    ButtonFace(cr, 24, 15, on);
    if (on) {
      Glow(cr, 12, 8, 9, palette::kLit.WithAlpha(0.35));
      PlusGlyph(cr, 12, 8, 7, 1.6, palette::kLit.Mix(palette::kWhite, 0.3));
    } else {
      PlusGlyph(cr, 12, 5.5, 5, 1.2, palette::kLabel);
      MinusGlyph(cr, 12, 10.5, 5, 1.2, palette::kLabel);
    }
  }
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "MIDILearn Small Down.png" : "MIDILearn Small Up.png", 24, 18);
    ButtonFace(c.cr(), 24, 18, pressed);
    DrawText(c.cr(), "MIDI", 12, 9 + (pressed ? 1 : 0), Font{7, true}, LabelColour(pressed), Align::kCentre);
  }
}

// Menu buttons carry the colour of what they open a menu for.
void MenuButton(Canvas& c, const Rgb& accent, bool pressed) {
  cairo_t* cr = c.cr();
  const double w = c.width(), h = c.height(), dy = pressed ? 1 : 0;
  ButtonFace(cr, w, h, pressed);
  Led(cr, 7, h / 2 + dy, 2, accent, true);
  const Rgb text = LabelColour(pressed);
  DrawText(cr, "MENU", 23, h / 2 + dy, Font{7, true, 0.2}, text, Align::kCentre);
  ArrowGlyph(cr, w - 6, h / 2 + dy + 0.5, 5, 2, text);
}

void LineButtons(ImageSet& set) {
  for (const Accent& a : kLineAccents) {
    for (bool pressed : {false, true}) {
      MenuButton(set.Add(std::string("Menu") + a.name + (pressed ? "Down.png" : "Up.png"), 44, 16), a.colour,
                 pressed);
      Canvas& p = set.Add(std::string("Paste") + a.name + (pressed ? "Down.png" : "Up.png"), 44, 15);
      TextButton(p, "PASTE", pressed, {Font{7.5, true, 0.5}, a.colour});
    }
  }
  for (bool pressed : {false, true}) {
    MenuButton(set.Add(pressed ? "MenuGreyDown.png" : "MenuGreyUp.png", 44, 16), palette::kGrey, pressed);
  }
  for (int dir : {0, 1}) {
    for (bool pressed : {false, true}) {
      Canvas& c = set.Add(std::string(dir == 0 ? "PrevBut" : "NextBut") + (pressed ? "Down.png" : "Up.png"), 16, 15);
      cairo_t* cr = c.cr();
      ButtonFace(cr, 16, 15, pressed);
      const double dy = pressed ? 1 : 0;
      const Rgb t = LabelColour(pressed);
      // A bar beside the arrow: "to the previous / next point".
      ArrowGlyph(cr, dir == 0 ? 9 : 7, 7.5 + dy, 7, dir, t);
      cairo_rectangle(cr, dir == 0 ? 4 : 11, 4 + dy, 1.5, 7);
      SetColour(cr, t);
      cairo_fill(cr);
    }
  }
  // Copy all spans the five rows; a tick in each line's colour sits level
  // with its row.
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "CopyAllButDown.png" : "CopyAllButUp.png", 34, 94);
    cairo_t* cr = c.cr();
    ButtonFace(cr, 34, 94, pressed);
    const double dy = pressed ? 1 : 0;
    for (int i = 0; i < 5; ++i) {
      const double y = layout::kLineRowY[i] - 351 + 7.5 + dy;
      FillRoundRect(cr, 4, y - 2, 5, 4, 1, pressed ? kLineAccents[i].colour : kLineAccents[i].colour.Scaled(0.75));
    }
    cairo_save(cr);
    cairo_translate(cr, 21 + (pressed ? 0.5 : 0), 47 + dy);
    cairo_rotate(cr, -M_PI / 2);
    DrawText(cr, "COPY ALL", 0, 0, Font{8, true, 1.0}, LabelColour(pressed), Align::kCentre);
    cairo_restore(cr);
  }
  for (bool pressed : {false, true}) {
    Canvas& c = set.Add(pressed ? "PasteAllButDown.png" : "PasteAllButUp.png", 76, 17);
    cairo_t* cr = c.cr();
    ButtonFace(cr, 76, 17, pressed);
    const double dy = pressed ? 1 : 0;
    for (int i = 0; i < 5; ++i) {
      FillRoundRect(cr, 5 + 3 * i, 5 + dy, 2, 7, 0.5, kLineAccents[i].colour);
    }
    DrawText(cr, "PASTE ALL", 46, 8.5 + dy, Font{7.5, true, 0.5}, LabelColour(pressed), Align::kCentre);
  }
  TextButtonPair(set, "WaveLoadUp.png", "WaveLoadDown.png", 40, 14, "Load", {fonts::kButtonSmall});
  TextButtonPair(set, "WaveEditUp.png", "WaveEditDown.png", 40, 14, "Edit", {fonts::kButtonSmall});
}

void PerformButtons(ImageSet& set) {
  for (const char* axis : {"X", "Y"}) {
    for (bool pressed : {false, true}) {
      Canvas& c = set.Add(std::string("Assign") + axis + (pressed ? "Down.png" : "Up.png"), 50, 16);
      cairo_t* cr = c.cr();
      ButtonFace(cr, 50, 16, pressed);
      const double dy = pressed ? 1 : 0;
      const Rgb t = LabelColour(pressed);
      DrawText(cr, std::string("Assign ") + axis, 22, 8 + dy, fonts::kButtonSmall, t, Align::kCentre);
      ArrowGlyph(cr, 43, 8.5 + dy, 5, 2, t);
    }
  }
  // The learn area: a socket and its caption, drawn by the block itself
  // whatever the learn state, so it is a plate rather than a button.
  Canvas& c = set.Add("MIDILearnImg.png", 60, 23);
  cairo_t* cr = c.cr();
  ButtonFace(cr, 60, 23, false, 4);
  FillCircle(cr, 12, 11.5, 7, palette::kEdgeDark);
  FillCircle(cr, 12, 11.5, 6, Bytes(58, 62, 72));
  FillCircle(cr, 12, 11.5, 4.6, Bytes(18, 19, 23));
  for (int i = 0; i < 5; ++i) {
    const double a = M_PI * (0.75 + 0.375 * i) + M_PI / 2;
    FillCircle(cr, 12 + 3 * std::cos(a), 11.5 - 3 * std::sin(a), 0.7, Bytes(190, 195, 205));
  }
  FillRoundRect(cr, 10.5, 6.5, 3, 1.5, 0.5, Bytes(58, 62, 72));
  DrawEmbossedText(cr, "MIDI", 38, 7.5, Font{7.5, true, 0.5}, palette::kButtonText, Align::kCentre);
  DrawEmbossedText(cr, "learn", 38, 15.5, fonts::kSmall, palette::kLabel, Align::kCentre);
}

void SelectionBarButtons(ImageSet& set) {
  TextButtonPair(set, "CopyBut Up.png", "CopyBut Down.png", 60, 20, "Copy");
  TextButtonPair(set, "PasteBut Up.png", "PasteBut Down.png", 60, 20, "Paste");
  TextButtonPair(set, "DeleteMulti Up.png", "DeleteMulti Down.png", 60, 20, "Delete", {fonts::kButton, palette::kRed});
  TextButtonPair(set, "UnselectBut Up.png", "UnselectBut Down.png", 80, 20, "Unselect");
  LedButton(set.Add("RescaleBut Up.png", 80, 20), "RESCALE", false, palette::kLit);
  LedButton(set.Add("RescaleBut Down.png", 80, 20), "RESCALE", true, palette::kLit);
  for (bool on : {false, true}) {
    Canvas& c = set.Add(on ? "GroupToggle Down.png" : "GroupToggle Up.png", 18, 18);
    cairo_t* cr = c.cr();
    FillCircle(cr, 9, 9.5, 8.5, Rgb{1, 1, 1, 0.08});
    FillCircle(cr, 9, 9, 8.5, palette::kEdgeDark);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 1, 0, 17);
    const Rgb top = on ? Bytes(24, 26, 31) : Bytes(78, 84, 98), bottom = on ? Bytes(38, 41, 49) : Bytes(48, 52, 62);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    cairo_arc(cr, 9, 9, 7.5, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    Led(cr, 9, 9, 3.5, palette::kLit, on);
  }
}

}  // namespace

void DrawButtons(ImageSet& set) {
  TopBar(set);
  VoiceTabs(set);
  Switches(set);
  LineButtons(set);
  PerformButtons(set);
  SelectionBarButtons(set);
}

}  // namespace skin
