// The synth page preview: every control of the page at its place, knobs and
// sliders at sample values, and sample content in the timeline, the matrix,
// the bowl and the corner wave displays, painted as those windows paint.
#include <cmath>
#include <cstdio>
#include <string>

#include "layout.h"
#include "preview.h"

namespace skin::preview {
namespace {

constexpr int kTop = layout::kSynthTop;

void FillPie(cairo_t* cr, double cx, double cy, double r, double start, double sweep, const Rgb& c) {
  cairo_move_to(cr, cx, cy);
  cairo_arc(cr, cx, cy, r, start * M_PI / 180, (start + sweep) * M_PI / 180);
  cairo_close_path(cr);
  SetColour(cr, c);
  cairo_fill(cr);
}

struct KnobLook {
  Rgb value = Bytes(110, 140, 255);
  bool dots = false;
  int min = 0, max = 1, step = 1;
};

// As the knob paints: the ring and value arc (or the dots of an integer
// parameter), then the knob and its pointer.
void Knob(cairo_t* cr, const ImageSet& set, layout::Point p, double value, const KnobLook& look = {}) {
  const double wx = p.x - 3, wy = p.y - 4 + kTop;
  const double a = 135 + 270 * value;
  if (!look.dots) {
    FillPie(cr, wx + 15, wy + 16, 15, 135, 270, Bytes(50, 50, 50, 50 / 255.0));
    const double zero = look.min < 0 ? 135 + 270 * (0.0 - look.min) / (look.max - look.min) : 135;
    FillPie(cr, wx + 15, wy + 16, 15, std::min(zero, a), std::fabs(a - zero), look.value.WithAlpha(180 / 255.0));
  } else {
    const int current = static_cast<int>(std::lround(look.min + value * (look.max - look.min)));
    auto dot = [&](int v, double size, const Rgb& c) {
      const double th = (135 + 270.0 * (v - look.min) / (look.max - look.min)) * M_PI / 180;
      cairo_rectangle(cr, wx + std::trunc(15 + 15 * std::cos(th)), wy + std::trunc(16 + 15 * std::sin(th)), size,
                      size);
      SetColour(cr, c);
      cairo_fill(cr);
    };
    if (look.min < 0) {
      for (int v = look.min; v <= look.max; v += look.step) dot(v, 1, Bytes(50, 50, 50, 200 / 255.0));
      for (int v = 0; v <= current; v += look.step) dot(v, 1, look.value);
    } else {
      for (int v = look.min; v <= current; v += look.step) dot(v, 2, look.value);
      for (int v = current + 1; v <= look.max; v += look.step) dot(v, 2, Bytes(50, 50, 50, 200 / 255.0));
    }
  }
  Put(cr, set, "Knob.png", wx + 2, wy + 3);
  Put(cr, set, "KnobPointer.png", wx + std::trunc(13 + 8 * std::cos(a * M_PI / 180)),
      wy + std::trunc(13 + 8 * std::sin(a * M_PI / 180)));
}

void HSlider(cairo_t* cr, const ImageSet& set, const layout::Slider& s, double n) {
  Put(cr, set, "SliderDownPointer.png", s.x - 5 + std::trunc(s.length * n), s.y + kTop);
}

void Fader(cairo_t* cr, const ImageSet& set, const layout::Slider& s, double n) {
  Put(cr, set, "Fader.png", s.x, s.y - 4 + kTop + std::trunc(s.length * (1 - n)));
}

void Selector(cairo_t* cr, const ImageSet& set, int x, int y, const std::string& icon) {
  Put(cr, set, "WaveBackground.png", x, y + kTop);
  Put(cr, set, "WaveLeft.png", x + 2, y + kTop);
  Put(cr, set, "WaveRight.png", x + 33, y + kTop);
  Put(cr, set, icon, x + 14, y + kTop);
}

void Controls(cairo_t* cr, const ImageSet& set) {
  const char* voices[] = {"Voice1Down.png", "Voice2Up.png", "Voice3Up.png", "Voice4Up.png"};
  for (int v = 0; v < 4; ++v) {
    Put(cr, set, voices[v], 295 + 100 * v, 8 + kTop);
    Put(cr, set, v < 2 ? "SmallOn.png" : "SmallOff.png", 269 + 100 * v, 10 + kTop);
  }
  struct Placed {
    const char* image;
    int x, y;
  };
  const Placed placed[] = {
      {"OnBut.png", 27, 30},        {"OnBut.png", 367, 60},         {"SmallOff.png", 378, 200},
      {"SmallOn.png", 551, 60},     {"SmallOff.png", 585, 60},      {"PositiveOnlyOff.png", 619, 59},
      {"SmallOff.png", 551, 105},   {"SmallOn.png", 585, 105},      {"PositiveOnlyOn.png", 619, 104},
      {"MenuCyanUp.png", 644, 130}, {"PasteAllButUp.png", 557, 330}, {"CopyAllButUp.png", 554, 351},
      {"MenuGreyUp.png", 657, 307}, {"MenuGreyUp.png", 590, 289},   {"SmallOn.png", 560, 308},
      {"LoopButOn.png", 523, 449},  {"TimeFreezeOff.png", 17, 450}, {"MIDILearn Small Up.png", 80, 451},
      {"SmallOn.png", 675, 250},    {"SmallOff.png", 700, 460},     {"SmallOn.png", 52, 517},
      {"StereoBut On.png", 81, 509}, {"SyncBut Off.png", 81, 526},  {"SmallOff.png", 162, 517},
      {"SmallOn.png", 272, 517},    {"SmallOff.png", 352, 570},     {"SmallOn.png", 412, 570},
      {"WaveLoadUp.png", 116, 149}, {"WaveEditUp.png", 116, 164},   {"WaveLoadUp.png", 245, 43},
      {"WaveEditDown.png", 245, 58}, {"WaveLoadUp.png", 285, 149},  {"WaveEditUp.png", 285, 164},
      {"WaveLoadUp.png", 245, 195}, {"WaveEditUp.png", 245, 210}};
  for (const Placed& p : placed) Put(cr, set, p.image, p.x, p.y + kTop);
  const char* colours[] = {"Red", "Blue", "Green", "Cyan", "Yellow"};
  for (int i = 0; i < 5; ++i) {
    const int y = layout::kLineRowY[i] + kTop;
    Put(cr, set, std::string("Paste") + colours[i] + "Up.png", 590, y);
    Put(cr, set, "PrevButUp.png", 518, y);
    Put(cr, set, i == 2 ? "NextButDown.png" : "NextButUp.png", 535, y);
    Put(cr, set, std::string("Menu") + colours[i] + "Up.png", 636, layout::kLineMenuY[i] + kTop);
  }
  Selector(cr, set, 500, 58, "WaveSine.png");
  Selector(cr, set, 500, 103, "WaveRandom.png");
  Selector(cr, set, 366, 165, "FilterLP.png");

  using layout::kKnobs;
  const KnobLook red{Bytes(200, 70, 70)}, green{Bytes(25, 200, 25)};
  Knob(cr, set, kKnobs[0], 43 / 72.0, {Bytes(200, 70, 70), true, -36, 36, 6});
  Knob(cr, set, kKnobs[1], 0.62, {Bytes(200, 70, 70), false, -1, 1});
  Knob(cr, set, kKnobs[2], 0.3, red);
  Knob(cr, set, kKnobs[3], 0.7, red);
  Knob(cr, set, kKnobs[4], 0.55, green);
  Knob(cr, set, kKnobs[5], 0.2, green);
  Knob(cr, set, kKnobs[6], 0.4, {Bytes(110, 140, 255), true, 0, 5});
  Knob(cr, set, kKnobs[7], 0.35);
  const double fx[] = {0.5, 0.5, 0.3, 0.6, 0.8, 0.4, 0.7, 1.0, 0.65, 0.1, 0.9};
  for (int i = 0; i < 11; ++i) Knob(cr, set, kKnobs[8 + i], fx[i]);
  Knob(cr, set, kKnobs[19], 1 / 11.0, {Bytes(110, 140, 255), true, 1, 12});
  Knob(cr, set, kKnobs[20], 0.25);
  Knob(cr, set, kKnobs[21], 6 / 14.0, {Bytes(110, 140, 255), true, 2, 16});

  const double sliders[] = {0.5, 1 / 3.0, 0.8, 0.3, 0.6, 0.0, 0.45};
  for (int i = 0; i < 7; ++i) HSlider(cr, set, layout::kHorizontalSliders[i], sliders[i]);
  const double faders[] = {0.8, 0.65, 0.0, 0.0, 0.75};
  for (int i = 0; i < 5; ++i) Fader(cr, set, layout::kFaders[i], faders[i]);
  Put(cr, set, "SliderLeftPointer.png", layout::kKeyMode.x, layout::kKeyMode.y - 5 + kTop);
  const layout::Rect bowl = layout::kBowl;
  Put(cr, set, "BowlDot.png", bowl.x + 94 * 0.32, bowl.y + kTop + 94 * 0.64);
}

void Texts(cairo_t* cr) {
  const Rgb white = Bytes(255, 255, 255);
  EditorText(cr, "7", 15, 60 + kTop, 8, white);
  EditorText(cr, "2", 670, 526 + kTop, 8, white);
  EditorText(cr, "8", 595, 517 + kTop, 8, white);
  EditorText(cr, "1/4", 709, 256 + kTop, 8, white);
  EditorText(cr, "Glass Vector Pad", 364, 14, 10, white, true);
}

void MiniWaves(cairo_t* cr) {
  for (int k = 0; k < 4; ++k) {
    const layout::Rect m = layout::kMiniWaves[k];
    SetColour(cr, Bytes(205, 210, 220));
    cairo_set_line_width(cr, 1);
    for (int i = 0; i <= 64; ++i) {
      const double t = i / 64.0;
      double s = 0;
      switch (k) {
        case 0: s = 1 - 2 * t; break;
        case 1: s = t < 0.5 ? 1 : -1; break;
        case 2: s = std::sin(2 * M_PI * t); break;
        default: s = t < 0.5 ? 4 * t - 1 : 3 - 4 * t; break;
      }
      const double x = m.x + 44 * t, y = m.y + kTop + 17 - 10 * s;
      if (i == 0) cairo_move_to(cr, x, y); else cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
  }
}

void Rect(cairo_t* cr, double x, double y, double w, double h, const Rgb& c) {
  cairo_rectangle(cr, x, y, w, h);
  SetColour(cr, c);
  cairo_fill(cr);
}

void Line(cairo_t* cr, double x0, double y0, double x1, double y1, double width, const Rgb& c) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  SetColour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

// The timeline display's paint, back to front, over a five-second view.
void Timeline(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, layout::kTimeline.x, layout::kTimeline.y + kTop);
  auto x = [](double seconds) { return 10 + seconds * 80; };
  Rect(cr, 10, 20, 400, 10, Bytes(150, 150, 150));
  for (int n = 0; n <= 5; ++n) {
    Line(cr, x(n) + 0.5, 20, x(n) + 0.5, 30, 1, Bytes(150, 150, 150));
    if (x(n) < 402) EditorText(cr, std::to_string(n), x(n), 20, 8, Bytes(255, 255, 255));
  }
  Rect(cr, x(0.6), 20, x(3.5) - x(0.6), 200, Bytes(80, 80, 255, 30 / 255.0));
  const Rgb colours[] = {Bytes(255, 0, 0), Bytes(0, 130, 255), Bytes(0, 255, 0), Bytes(0, 200, 210),
                         Bytes(240, 225, 0)};
  for (int i = 0; i < 5; ++i) {
    const double cy = 105 + 19 * i + 9.5;
    Line(cr, 10, cy, 410, cy, 3, colours[i].Scaled(0.5));
  }
  Rect(cr, x(1.2) - 5, 20, 10, 10, Bytes(255, 255, 255, 180 / 255.0));
  Line(cr, x(1.2), 30, x(1.2), 200, 3, Bytes(255, 255, 255, 180 / 255.0));
  const double points[5][4] = {{0, 1.2, 2.5, -1}, {0, 0.6, 1.8, 4.2}, {0, 1.2, 3.1, -1}, {0, 2.2, -1, -1},
                               {0, 0.4, 4.4, -1}};
  for (int i = 0; i < 5; ++i) {
    const double cy = 105 + 19 * i + 9.5;
    for (double t : points[i]) {
      if (t < 0) continue;
      if (t == 1.2) {
        Rect(cr, x(t) - 3, cy - 3, 6, 6, colours[i]);
      } else if (i == 1 && t == 1.8) {
        Rect(cr, x(t) - 3, cy - 3, 6, 6, Bytes(255, 255, 255));
      } else {
        cairo_rectangle(cr, x(t) - 2.5, cy - 2.5, 5, 5);
        SetColour(cr, colours[i]);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
      }
    }
  }
  const double amp[][2] = {{0, 0}, {0.05, 1}, {0.6, 0.72}, {3.5, 0.5}, {4.6, 0}};
  for (int i = 0; i + 1 < 5; ++i) {
    Line(cr, x(amp[i][0]), 97 - 57 * amp[i][1], x(amp[i + 1][0]), 97 - 57 * amp[i + 1][1], 1, Bytes(178, 178, 178));
  }
  for (const auto& p : amp) {
    cairo_rectangle(cr, x(p[0]) - 2.5, 97 - 57 * p[1] - 2.5, 5, 5);
    SetColour(cr, Bytes(255, 255, 255));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  const Rgb loopStart = Bytes(0, 255, 0, 110 / 255.0), loopEnd = Bytes(255, 0, 0, 110 / 255.0);
  Line(cr, x(0.6) + 0.5, 218, x(0.6) + 0.5, 20, 1, loopStart);
  Rect(cr, x(0.6) - 10, 204, 10, 14, loopStart);
  EditorText(cr, "L", x(0.6) - 8, 205, 8, Bytes(255, 255, 255, 110 / 255.0));
  Line(cr, x(3.5) + 0.5, 218, x(3.5) + 0.5, 20, 1, loopEnd);
  Rect(cr, x(3.5), 204, 10, 14, loopEnd);
  EditorText(cr, "R", x(3.5) + 2, 205, 8, Bytes(255, 255, 255, 110 / 255.0));
  cairo_restore(cr);
}

// The modulation display's rows, painted as the display paints them.
void Matrix(cairo_t* cr, const ImageSet& set) {
  struct Row {
    bool on;
    const char* source;
    const char* target;
    double depth;
  };
  const Row rows[] = {{true, "LFO1", "Filter Cutoff", 0.04},
                      {true, "Velocity", "Amplitude", 0.5},
                      {false, "Mod Wheel", "Vector X", -0.3},
                      {false, "<None>", "<No target>", 0},
                      {false, "<None>", "<No target>", 0}};
  const double x0 = layout::kModDisplay.x, y = layout::kModDisplay.y + kTop;
  for (int r = 0; r < 5; ++r) {
    const Row& row = rows[r];
    const double y0 = y + 16 * r;
    const Rgb text = row.on ? Bytes(255, 255, 255) : Bytes(180, 180, 180);
    if (row.on) Put(cr, set, "ModulationOn.png", x0, y0 + 2);
    EditorText(cr, row.source, x0 + 13, y0 + 3, 8, text);
    EditorText(cr, row.target, x0 + 73, y0 + 3, 8, text);
    const double p = std::cbrt(row.depth);
    Rect(cr, x0 + 160 + 29 * p, y0 + 1, 20, 13, row.on ? Bytes(200, 0, 0) : Bytes(100, 0, 0));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.1f", p);
    EditorText(cr, buffer, x0 + 162 + 29 * p, y0 + 3, 8, text);
  }
}

}  // namespace

Canvas SynthPage(const ImageSet& set) {
  Canvas c = PageWithTopBar(set, "ZelvaneBackground.png");
  cairo_t* cr = c.cr();
  MiniWaves(cr);
  Timeline(cr);
  Matrix(cr, set);
  Controls(cr, set);
  Texts(cr);
  return c;
}

}  // namespace skin::preview
