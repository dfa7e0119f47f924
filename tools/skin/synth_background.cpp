// The synth page: top bar, then the page's sections drawn around the
// positions its controls take (layout.h), each in the accent of the
// timeline line it edits — voice red, vector blue, filter green, modulation
// cyan, sends and effects yellow, amplitude white.
#include <cmath>
#include <string>

#include "button_parts.h"
#include "image_set.h"
#include "page_parts.h"

namespace skin {
namespace {

using layout::kFaders;
using layout::kHorizontalSliders;
using layout::kKnobs;

// Centre of a knob's cap, from the point the page places the knob at.
double KnobX(const layout::Point& p) { return p.x - 3 + 15; }
double KnobY(const layout::Point& p) { return p.y - 4 + 16; }

// The groove of a horizontal slider: along the pointer window's bottom row.
double SliderTrackY(const layout::Slider& s) { return s.y + 10; }

void HorizontalTrack(cairo_t* cr, const layout::Slider& s, int ticks, bool centreMark) {
  const double y = SliderTrackY(s);
  Groove(cr, s.x, y, s.x + s.length, y);
  if (ticks > 1) Ticks(cr, s.x, s.x + s.length, y + 3, ticks);
  if (centreMark) VLine(cr, s.x + s.length / 2.0, y + 3, y + 6, Rgb{1, 1, 1, 0.35});
}

void VerticalTrack(cairo_t* cr, double x, double y0, double y1) { Groove(cr, x, y0, x, y1); }

// The track the knob's value arc fills: the arc is a pie of radius 15 under
// the knob, so only its outer ring shows; this groove marks the whole sweep.
void KnobTrack(cairo_t* cr, const layout::Point& knob) {
  const double cx = KnobX(knob), cy = KnobY(knob);
  const double a0 = 135 * M_PI / 180, a1 = 405 * M_PI / 180;
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy + 0.7, 13.4, a0, a1);
  SetColour(cr, Rgb{1, 1, 1, 0.06});
  cairo_set_line_width(cr, 3.4);
  cairo_stroke(cr);
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, 13.4, a0, a1);
  SetColour(cr, Rgb{0, 0, 0, 0.5});
  cairo_set_line_width(cr, 3.2);
  cairo_stroke(cr);
  for (double a : {a0, a1}) {
    const double c = std::cos(a), s = std::sin(a);
    SetColour(cr, Rgb{1, 1, 1, 0.3});
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, cx + 15.5 * c, cy + 15.5 * s);
    cairo_line_to(cr, cx + 17.5 * c, cy + 17.5 * s);
    cairo_stroke(cr);
  }
}

void KnobCaption(cairo_t* cr, const layout::Point& knob, const std::string& text, double dy = 20) {
  Caption(cr, text, KnobX(knob) + 0.5, KnobY(knob) + dy);
}

void VoiceStrip(cairo_t* cr) {
  Panel(cr, 262, 2, 502, 33);
  for (int v = 0; v < 4; ++v) {
    // A faint socket behind each voice's on switch and tab.
    FillRoundRect(cr, 266 + 100 * v, 6, 101, 26, 4, Rgb{0, 0, 0, 0.16});
  }
  Caption(cr, "VOICES", 756, 18.5, Align::kRight, palette::kDim, fonts::kHeader);
}

void VoiceSection(cairo_t* cr) {
  Panel(cr, 3, 2, 98, 236, "VOICE", Soft(palette::kRed));
  ValueWell(cr, layout::kValueDisplays[0]);
  Caption(cr, "semi", 38, 65, Align::kLeft, palette::kDim, fonts::kSmall);
  KnobCaption(cr, kKnobs[0], "Pitch");
  KnobCaption(cr, kKnobs[1], "Fine");
  const layout::Slider& pan = kHorizontalSliders[0];
  Caption(cr, "Pan", pan.x + pan.length / 2.0, 130);
  Caption(cr, "L", pan.x, 130, Align::kCentre, palette::kDim, fonts::kSmall);
  Caption(cr, "R", pan.x + pan.length, 130, Align::kCentre, palette::kDim, fonts::kSmall);
  HorizontalTrack(cr, pan, 0, true);
  const layout::Slider& unison = kHorizontalSliders[1];
  Caption(cr, "Unison", unison.x + unison.length / 2.0, 159);
  Caption(cr, "1", unison.x, 159, Align::kCentre, palette::kDim, fonts::kSmall);
  Caption(cr, "4", unison.x + unison.length, 159, Align::kCentre, palette::kDim, fonts::kSmall);
  HorizontalTrack(cr, unison, 4, false);
  KnobCaption(cr, kKnobs[2], "Detune");
  KnobCaption(cr, kKnobs[3], "Spread");
}

void Bowl(cairo_t* cr) {
  const layout::Rect b = layout::kBowl;
  const double cx = b.x + b.w / 2.0, cy = b.y + b.h / 2.0, r = b.w / 2.0;
  // Bezel, then the well, then the guides the dot moves over.
  FillCircle(cr, cx, cy + 1.5, r + 3, Rgb{1, 1, 1, 0.08});
  FillCircle(cr, cx, cy, r + 3, palette::kEdgeDark);
  cairo_pattern_t* bezel = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
  cairo_pattern_add_color_stop_rgb(bezel, 0, 0.30, 0.32, 0.38);
  cairo_pattern_add_color_stop_rgb(bezel, 1, 0.12, 0.13, 0.16);
  cairo_arc(cr, cx, cy, r + 2, 0, 2 * M_PI);
  cairo_set_source(cr, bezel);
  cairo_fill(cr);
  cairo_pattern_destroy(bezel);
  cairo_pattern_t* well = cairo_pattern_create_radial(cx, cy - 10, 4, cx, cy, r);
  cairo_pattern_add_color_stop_rgb(well, 0, 0.07, 0.11, 0.19);
  cairo_pattern_add_color_stop_rgb(well, 1, 0.025, 0.03, 0.045);
  cairo_arc(cr, cx, cy, r - 0.5, 0, 2 * M_PI);
  cairo_set_source(cr, well);
  cairo_fill(cr);
  cairo_pattern_destroy(well);
  const Rgb guide = palette::kBlue.WithAlpha(0.22);
  cairo_set_line_width(cr, 1);
  for (double rr : {r - 6.0, (r - 6.0) / 2}) {
    SetColour(cr, guide);
    cairo_arc(cr, cx, cy, rr, 0, 2 * M_PI);
    cairo_stroke(cr);
  }
  HLine(cr, cx - r + 4, cx + r - 4, cy - 0.5, guide);
  VLine(cr, cx - 0.5, cy - r + 4, cy + r - 4, guide);
  // Corner numbers at the rim, nearest the wave they stand for: corner 1
  // at (-1, 0), 2 at (0, -1), 3 at (1, 0), 4 at (0, 1).
  const Font f{7.5, true};
  const Rgb c = palette::kBlue.Mix(palette::kWhite, 0.35).WithAlpha(0.7);
  DrawText(cr, "1", cx - r + 9, cy - 6, f, c, Align::kCentre);
  DrawText(cr, "2", cx + 7, cy - r + 9, f, c, Align::kCentre);
  DrawText(cr, "3", cx + r - 9, cy - 6, f, c, Align::kCentre);
  DrawText(cr, "4", cx + 7, cy + r - 9, f, c, Align::kCentre);
}

void VectorSection(cairo_t* cr) {
  Panel(cr, 105, 2, 241, 236, "VECTOR", Soft(palette::kBlue));
  Bowl(cr);
  for (const layout::Rect& m : layout::kMiniWaves) {
    Screen(cr, m.x - 1, m.y - 1, m.w + 2, m.h + 2, 3);
    HLine(cr, m.x + 1, m.x + m.w - 1, m.y + 17, Rgb{1, 1, 1, 0.06});
  }
  const layout::Slider& balance = kHorizontalSliders[2];
  Caption(cr, "Noise", balance.x - 5, 209, Align::kLeft);
  Caption(cr, "Osc", balance.x + balance.length + 5, 209, Align::kRight);
  HorizontalTrack(cr, balance, 3, false);
}

void FilterSection(cairo_t* cr) {
  Panel(cr, 349, 38, 90, 200, "FILTER", Soft(palette::kGreen));
  Caption(cr, "Cutoff", 392, KnobY(kKnobs[4]), Align::kLeft);
  Caption(cr, "Reso", 392, KnobY(kKnobs[5]), Align::kLeft);
  Caption(cr, "Key track", 394, 206.5, Align::kLeft);
}

void ModulationSection(cairo_t* cr) {
  // The title sits tighter than other panels' to leave room for the
  // column heads over the first row.
  Panel(cr, 442, 38, 245, 200);
  const double captionY = PanelTitleMiddle(38);
  FillRoundRect(cr, 447, captionY - 3.5, 3, 7, 1, Soft(palette::kCyan));
  DrawEmbossedText(cr, "LFO", 453, captionY, Font{9, true, 0.6}, palette::kTitle);
  const Font f = Font{8};
  Caption(cr, "Rate", KnobX(kKnobs[6]) + 6, captionY, Align::kCentre, palette::kLabel, f);
  Caption(cr, "Shape", 523.5, captionY, Align::kCentre, palette::kLabel, f);
  Caption(cr, "Sync", 557.5, captionY, Align::kCentre, palette::kLabel, f);
  Caption(cr, "Cont.", 591.5, captionY, Align::kCentre, palette::kLabel, f);
  Caption(cr, "+ only", 631, captionY, Align::kCentre, palette::kLabel, f);
  const Rgb cyan = palette::kCyan.Mix(palette::kWhite, 0.2);
  for (int i = 0; i < 2; ++i) {
    const double y = KnobY(kKnobs[6 + i]);
    FillCircle(cr, 455, y, 6.5, palette::kEdgeDark);
    FillCircle(cr, 455, y, 5.5, Bytes(20, 36, 40));
    DrawText(cr, std::to_string(i + 1), 455.5, y, Font{8.5, true}, cyan, Align::kCentre);
  }
  // The matrix: its column heads, then a well with a socket for each row's
  // on light and a depth scale from -1 to 1.
  const layout::Rect m = layout::kModDisplay;
  const double headY = 139;
  Caption(cr, "Source", m.x + 13, headY, Align::kLeft, palette::kLabel, f);
  Caption(cr, "Target", m.x + 73, headY, Align::kLeft, palette::kLabel, f);
  Caption(cr, "Depth", m.x + 170, headY, Align::kCentre, palette::kLabel, f);
  Screen(cr, m.x - 2, m.y - 1, m.w + 4, m.h + 3, 3);
  for (int r = 0; r < 5; ++r) {
    const double y0 = m.y + 16 * r;
    if (r > 0) HLine(cr, m.x, m.x + m.w, y0, Rgb{1, 1, 1, 0.05});
    if (r % 2 == 1) {
      cairo_rectangle(cr, m.x, y0 + 1, m.w, 15);
      SetColour(cr, Rgb{1, 1, 1, 0.02});
      cairo_fill(cr);
    }
    StrokeRoundRect(cr, m.x, y0 + 2, 10, 12, 2, Rgb{1, 1, 1, 0.14});
    const double mid = y0 + 8;
    HLine(cr, m.x + 140, m.x + 200, mid - 0.5, Rgb{1, 1, 1, 0.07});
    VLine(cr, m.x + 170, y0 + 3, y0 + 13, Rgb{1, 1, 1, 0.12});
  }
  for (double x : {10.0, 70.0, 130.0, 210.0}) VLine(cr, m.x + x, m.y + 1, m.y + m.h - 1, Rgb{1, 1, 1, 0.06});
}

void SendsSection(cairo_t* cr) {
  Panel(cr, 690, 38, 74, 200, "SENDS", Soft(palette::kYellow));
  Caption(cr, "this voice's", 727, 62, Align::kCentre, palette::kDim, fonts::kSmall);
  Caption(cr, "share of each", 727, 71, Align::kCentre, palette::kDim, fonts::kSmall);
  Caption(cr, "effect", 727, 80, Align::kCentre, palette::kDim, fonts::kSmall);
  const char* names[] = {"Delay", "Reverb", "Distortion"};
  for (int i = 0; i < 3; ++i) {
    const layout::Slider& s = kHorizontalSliders[3 + i];
    Caption(cr, names[i], s.x + s.length / 2.0, s.y - 7);
    HorizontalTrack(cr, s, 5, false);
  }
}

void LineRows(cairo_t* cr) {
  const layout::Rect t = layout::kTimeline;
  Screen(cr, t.x, t.y, t.w, t.h, 3);
  const double left = t.x + 10, right = t.x + 410;
  // Ruler band and amplitude guides.
  cairo_rectangle(cr, left, t.y + 18, 400, 14);
  SetColour(cr, Rgb{1, 1, 1, 0.025});
  cairo_fill(cr);
  for (int i = 0; i <= 4; ++i) {
    const double y = std::floor(t.y + 97 - 57 * i / 4.0);
    HLine(cr, left, right, y, Rgb{1, 1, 1, (i == 0 || i == 4) ? 0.08 : 0.04});
  }
  const Rgb colours[] = {palette::kRed, palette::kBlue, palette::kGreen, palette::kCyan, palette::kYellow};
  for (int i = 0; i < 5; ++i) {
    const double y = t.y + layout::kLineRowTop + layout::kLineRowHeight * i;
    cairo_rectangle(cr, left, y, 400, layout::kLineRowHeight);
    SetColour(cr, colours[i].WithAlpha(i % 2 == 0 ? 0.05 : 0.035));
    cairo_fill(cr);
    FillRoundRect(cr, t.x + 3, y + 3, 3, layout::kLineRowHeight - 6, 1, colours[i].WithAlpha(0.8));
  }
  // The loop markers' band.
  cairo_rectangle(cr, left, t.y + 204, 400, 14);
  SetColour(cr, Rgb{1, 1, 1, 0.02});
  cairo_fill(cr);
}

void TimelineSection(cairo_t* cr) {
  Panel(cr, 3, 241, 761, 251, "TIMELINE", palette::kGrey);
  LineRows(cr);
  const layout::Rect t = layout::kTimeline;
  Caption(cr, "Amplitude", 97, t.y + 68, Align::kRight, palette::kTitle);
  Caption(cr, "level 0 - 1", 97, t.y + 80, Align::kRight, palette::kDim, fonts::kSmall);
  const char* names[] = {"Voice", "Wave", "Filter", "Modulation", "Effects"};
  const Rgb colours[] = {palette::kRed, palette::kBlue, palette::kGreen, palette::kCyan, palette::kYellow};
  for (int i = 0; i < 5; ++i) {
    const double y = t.y + layout::kLineRowTop + layout::kLineRowHeight * (i + 0.5);
    Caption(cr, names[i], 97, y, Align::kRight, Soft(colours[i]).Mix(palette::kWhite, 0.25));
  }
  // Right of the display: view, amplitude and line tools.
  Caption(cr, "ZOOM", 569, 255, Align::kCentre, palette::kLabel, Font{7.5, true, 0.8});
  for (const layout::Rect& z : {layout::kZoomOut, layout::kZoomIn}) {
    cairo_save(cr);
    cairo_translate(cr, z.x, z.y);
    ButtonFace(cr, z.w, z.h, false, 3);
    cairo_restore(cr);
  }
  MinusGlyph(cr, layout::kZoomOut.x + 6.5, layout::kZoomOut.y + 6.5, 7, 1.4, palette::kButtonText);
  PlusGlyph(cr, layout::kZoomIn.x + 6.5, layout::kZoomIn.y + 6.5, 7, 1.4, palette::kButtonText);
  Caption(cr, "Sync", 671, 256.5, Align::kRight);
  Caption(cr, "Grid", 737, 262, Align::kLeft);
  const layout::Rect g = layout::kGridLabel;
  Screen(cr, g.x - 4, g.y - 2, g.w + 6, g.h + 4, 2);
  const layout::Slider& release = kHorizontalSliders[6];
  HorizontalTrack(cr, release, 5, false);
  Caption(cr, "Release", release.x, SliderTrackY(release) + 10, Align::kLeft);
  Caption(cr, "Amplitude", 612, 282, Align::kCentre, palette::kLabel, Font{8});
  Caption(cr, "Loop in release", 576, 314.5, Align::kLeft);
  Caption(cr, "Voice", 705, 315, Align::kLeft);
  Caption(cr, "Step", 534.5, 340, Align::kCentre, palette::kLabel, Font{8});
  Caption(cr, "Follow", 696, 466.5, Align::kRight);
}

void EffectsRow(cairo_t* cr) {
  const double top = 496, h = 94;
  const Rgb fx = Soft(palette::kYellow);
  Panel(cr, 3, top, 116, h, "DELAY", fx);
  Panel(cr, 122, top, 100, h, "REVERB", fx);
  Panel(cr, 225, top, 110, h, "DISTORTION", fx);
  Panel(cr, 338, top, 108, h, "FILTERS", palette::kGrey);
  Panel(cr, 449, top, 98, h, "LEVELS", palette::kGrey);
  Panel(cr, 550, top, 115, h);
  Panel(cr, 668, top, 96, h, "OUTPUT", palette::kGrey);
  const char* knobNames[] = {"Time", "Fdbk", "Mix", "Time", "Size", "Mix", "Crunch", "Drive", "Hi cut"};
  for (int i = 0; i < 9; ++i) {
    KnobCaption(cr, kKnobs[8 + i], knobNames[i], 21);
  }
  // The effects' and master filters' on switches.
  for (const layout::Point& t : {layout::Point{52, 517}, layout::Point{162, 517}, layout::Point{272, 517}}) {
    Caption(cr, "On", t.x - 3, t.y + 6.5, Align::kRight, palette::kDim, fonts::kSmall);
  }
  KnobCaption(cr, kKnobs[17], "Low cut", -20);
  KnobCaption(cr, kKnobs[18], "High cut", -20);
  // Voice levels and the master volume: grooves the fader caps ride.
  for (int i = 0; i < 5; ++i) {
    const layout::Slider& f = kFaders[i];
    VerticalTrack(cr, f.x + 7, f.y, f.y + f.length);
    if (i < 4) {
      Caption(cr, std::to_string(i + 1), f.x + 7.5, f.y - 10, Align::kCentre, palette::kLabel, Font{8, true});
      for (int t = 0; t <= 4; ++t) {
        const double y = f.y + f.length * t / 4.0;
        HLine(cr, f.x + 17, f.x + 20, std::round(y), Rgb{1, 1, 1, t == 0 ? 0.3 : 0.16});
      }
    }
  }
  Caption(cr, "Master", 762, 581, Align::kRight);
  // Key mode: three stops on a track at the pointer's left edge.
  const layout::Slider& k = layout::kKeyMode;
  VerticalTrack(cr, k.x, k.y, k.y + k.length);
  const char* modes[] = {"Poly", "Mono", "Legato"};
  for (int i = 0; i < 3; ++i) {
    const double y = k.y + k.length * i / 2.0;
    Caption(cr, modes[i], k.x - 4, y, Align::kRight, palette::kLabel, fonts::kSmall);
  }
  ValueWell(cr, layout::kValueDisplays[2]);
  Caption(cr, "Voices", 602.5, 508, Align::kCentre, palette::kLabel, Font{8});
  KnobCaption(cr, kKnobs[20], "Glide", 21);
  ValueWell(cr, layout::kValueDisplays[1]);
  KnobCaption(cr, kKnobs[19], "Bend", 20);
}

}  // namespace

void DrawSynthBackground(ImageSet& set) {
  Canvas& c = set.Add("ZelvaneBackground.png", layout::kEditorWidth, layout::kEditorHeight);
  cairo_t* cr = c.cr();
  PageFill(cr, c.width(), c.height());
  TopBar(cr, PageTab::kSynth);
  cairo_save(cr);
  cairo_translate(cr, 0, layout::kSynthTop);
  VoiceStrip(cr);
  VoiceSection(cr);
  VectorSection(cr);
  FilterSection(cr);
  ModulationSection(cr);
  SendsSection(cr);
  TimelineSection(cr);
  EffectsRow(cr);
  for (const layout::Point& k : kKnobs) KnobTrack(cr, k);
  cairo_restore(cr);
}

}  // namespace skin
