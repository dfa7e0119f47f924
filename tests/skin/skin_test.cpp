// The skin the build draws: every image the editor loads is there, at a size
// that fits where its screen puts it, and the two faces of every button or
// switch differ visibly.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kImages = ZELVANE_SKIN_IMAGES;

struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;  // premultiplied, as cairo keeps it
  std::uint32_t At(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
  int Alpha(int x, int y) const { return static_cast<int>(At(x, y) >> 24); }
};

// Loaded once for all tests; an image that does not load is absent.
const std::map<std::string, Pixels>& Skin() {
  static const std::map<std::string, Pixels> skin = [] {
    std::map<std::string, Pixels> m;
    if (!std::filesystem::is_directory(kImages)) return m;
    for (const auto& entry : std::filesystem::directory_iterator(kImages)) {
      if (entry.path().extension() != ".png") continue;
      std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> s(
          cairo_image_surface_create_from_png(entry.path().c_str()), &cairo_surface_destroy);
      if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) continue;
      cairo_surface_flush(s.get());
      Pixels p;
      p.width = cairo_image_surface_get_width(s.get());
      p.height = cairo_image_surface_get_height(s.get());
      const int stride = cairo_image_surface_get_stride(s.get());
      const unsigned char* data = cairo_image_surface_get_data(s.get());
      const bool hasAlpha = cairo_image_surface_get_format(s.get()) == CAIRO_FORMAT_ARGB32;
      for (int y = 0; y < p.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < p.width; ++x) p.argb.push_back(hasAlpha ? row[x] : (row[x] | 0xFF000000u));
      }
      m.emplace(entry.path().filename().string(), std::move(p));
    }
    return m;
  }();
  return skin;
}

// Brightness of a pixel over the editor's dark page, 0..255.
double Luminance(std::uint32_t px) {
  const double a = (px >> 24) / 255.0;
  const double r = ((px >> 16) & 0xFF) + (1 - a) * 30, g = ((px >> 8) & 0xFF) + (1 - a) * 33,
               b = (px & 0xFF) + (1 - a) * 40;
  return 0.2126 * r + 0.7152 * g + 0.0722 * b;
}

double MeanLuminance(const Pixels& p, int x0, int y0, int w, int h) {
  double sum = 0;
  for (int y = y0; y < y0 + h; ++y) {
    for (int x = x0; x < x0 + w; ++x) sum += Luminance(p.At(x, y));
  }
  return sum / (w * h);
}

double PeakLuminance(const Pixels& p) {
  double peak = 0;
  for (std::uint32_t px : p.argb) peak = std::max(peak, Luminance(px));
  return peak;
}

// The centre of an image's opaque part, weighted by alpha.
std::pair<double, double> Centroid(const Pixels& p) {
  double sx = 0, sy = 0, sum = 0;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const double a = p.Alpha(x, y);
      sx += a * (x + 0.5);
      sy += a * (y + 0.5);
      sum += a;
    }
  }
  return {sx / sum, sy / sum};
}

const Pixels* Find(const std::string& name) {
  const auto it = Skin().find(name);
  return it == Skin().end() ? nullptr : &it->second;
}

// Width and height ranges an image must fall in: exact where its screen
// takes its size from it, bounded by the neighbours it must not cover.
struct Fit {
  int minW, maxW, minH, maxH;
};
constexpr Fit Exactly(int w, int h) { return {w, w, h, h}; }
constexpr Fit Within(int w, int h) { return {4, w, 4, h}; }

const std::map<std::string, Fit>& Expected() {
  static const std::map<std::string, Fit> expected = [] {
    std::map<std::string, Fit> e;
    auto pair = [&](const std::string& a, const std::string& b, Fit f) {
      e[a] = f;
      e[b] = f;
    };
    // Backgrounds: the editor, the about box over it, the dialogs.
    for (const char* n : {"ZelvaneBackground.png", "PerformBackground.png", "PresetBackground.png",
                          "ZelvaneSplash.png"}) {
      e[n] = Exactly(767, 638);
    }
    e["WaveEditorBackground.png"] = Exactly(573, 503);
    e["TimelinePresetBackground.png"] = Exactly(490, 320);  // the save dialog shows its left 300
    e["MultipleSelection Bar.png"] = Exactly(727, 91);
    e["WaveformBrowser.png"] = {442, 767, 300, 638};        // holds a close button at (428, 5), close at (357, 280)
    e["SaveDialog.png"] = {200, 767, 150, 638};
    // Top bar: each button stops short of the next one.
    pair("Help But Up.png", "Help But Down.png", Within(32, 30));
    pair("AboutButUp.png", "AboutButDown.png", Within(38, 34));
    pair("FileButUp.png", "FileButDown.png", Within(41, 34));
    pair("PresetPreviousButUp.png", "PresetPreviousButDown.png", Within(26, 32));
    pair("PresetNextButUp.png", "PresetNextButDown.png", Within(40, 32));
    // Synth page.
    for (int v = 1; v <= 4; ++v) {
      pair("Voice" + std::to_string(v) + "Up.png", "Voice" + std::to_string(v) + "Down.png", Within(74, 30));
    }
    pair("SmallOn.png", "SmallOff.png", Within(17, 19));       // beside each voice tab, 26 to its left
    pair("OnBut.png", "OffBut.png", Within(70, 30));
    pair("WaveLoadUp.png", "WaveLoadDown.png", Within(44, 15));  // edit sits 15 below load
    pair("WaveEditUp.png", "WaveEditDown.png", Within(44, 15));
    pair("PositiveOnlyOn.png", "PositiveOnlyOff.png", Within(30, 20));
    pair("LoopButOn.png", "LoopButOff.png", Within(80, 25));
    pair("TimeFreezeOn.png", "TimeFreezeOff.png", Within(63, 25));  // MIDI learn at x 80
    pair("MIDILearn Small Up.png", "MIDILearn Small Down.png", Within(25, 25));  // the timeline at x 105
    pair("StereoBut On.png", "StereoBut Off.png", Within(45, 17));  // sync 17 below
    pair("SyncBut On.png", "SyncBut Off.png", Within(45, 17));
    for (const char* colour : {"Red", "Blue", "Green", "Cyan", "Yellow"}) {
      pair(std::string("Paste") + colour + "Up.png", std::string("Paste") + colour + "Down.png", Within(46, 19));
      pair(std::string("Menu") + colour + "Up.png", std::string("Menu") + colour + "Down.png", Within(60, 19));
    }
    pair("MenuGreyUp.png", "MenuGreyDown.png", Within(60, 19));
    pair("PrevButUp.png", "PrevButDown.png", Within(17, 19));  // next is 17 to the right
    pair("NextButUp.png", "NextButDown.png", Within(19, 19));
    pair("CopyAllButUp.png", "CopyAllButDown.png", Within(36, 100));
    pair("PasteAllButUp.png", "PasteAllButDown.png", Within(79, 21));
    e["Knob.png"] = {20, 29, 20, 29};      // drawn at (2, 3) of a 31 x 32 knob
    e["KnobPointer.png"] = Within(10, 11);  // at most at (21, 21) of it
    e["Fader.png"] = Within(20, 20);        // the voice level faders stand 20 apart
    e["SliderDownPointer.png"] = Within(20, 20);
    e["SliderLeftPointer.png"] = Within(20, 20);
    e["BowlDot.png"] = Within(30, 30);
    e["ModulationOn.png"] = Within(10, 14);  // the on box of a 16-pixel matrix row
    // Selectors: arrows at 2 and 33, the icon at 14 between them.
    e["WaveBackground.png"] = {45, 60, 10, 30};
    for (const char* n : {"WaveLeft.png", "WaveLeftPressed.png"}) e[n] = Within(12, 30);
    for (const char* n : {"WaveRight.png", "WaveRightPressed.png"}) e[n] = Within(27, 30);
    for (const char* n : {"WaveSine.png", "WaveSquare.png", "WaveRamp.png", "WaveRandom.png", "FilterLP.png",
                          "FilterBP.png", "FilterHP.png"}) {
      e[n] = Within(19, 30);
    }
    // Perform page: X assign at (13, 117) left of the value at (67, 120).
    pair("AssignXUp.png", "AssignXDown.png", Within(54, 20));
    pair("AssignYUp.png", "AssignYDown.png", Within(55, 20));
    e["MIDILearnImg.png"] = Exactly(60, 23);
    // Selection bar.
    pair("CopyBut Up.png", "CopyBut Down.png", Within(64, 25));  // paste 64 to the right
    pair("PasteBut Up.png", "PasteBut Down.png", Within(91, 25));
    pair("DeleteMulti Up.png", "DeleteMulti Down.png", Within(155, 36));
    pair("RescaleBut Up.png", "RescaleBut Down.png", Within(90, 30));  // unselect at 260
    pair("UnselectBut Up.png", "UnselectBut Down.png", Within(220, 30));
    pair("GroupToggle Up.png", "GroupToggle Down.png", Within(30, 30));
    // Library screens and dialogs.
    for (const char* n : {"Add", "Delete", "Rename", "Save", "Load", "Import", "Cancel"}) {
      pair(std::string(n) + "UpBut.png", std::string(n) + "DownBut.png", Within(80, 30));
    }
    e["DeleteDisabledBut.png"] = Within(80, 30);
    e["RenameDisabledBut.png"] = Within(80, 30);
    pair("CloseUp.png", "CloseDown.png", Within(60, 28));  // save at 60 to its right in the wave editor
    pair("CloseSmallBut Up.png", "CloseSmallBut Down.png", Within(18, 18));  // at (555, 3) of a 573 dialog
    pair("ShowFolder But Up.png", "ShowFolder But Down.png", Within(150, 30));
    pair("Ok But Up.png", "Ok But Down.png", Within(100, 30));
    pair("Cancel But Up.png", "Cancel But Down.png", Within(100, 30));
    for (const char* n : {"Toggle On.png", "Toggle Off.png", "Toggle Unavailable.png"}) e[n] = Within(150, 24);
    // Wave editor: minus at 180 and plus at 195, the label at 165.
    pair("Minus.png", "MinusPressed.png", Within(15, 16));
    pair("Plus.png", "PlusPressed.png", Within(15, 16));
    e["ZoomLabel.png"] = Within(35, 16);
    e["PartialScrollBar.png"] = {512, 513, 8, 10};  // the thumb runs from x 0 to 512, 7 high at 1
    return e;
  }();
  return expected;
}

// Every pair of faces one control switches between.
std::vector<std::pair<std::string, std::string>> Faces() {
  std::vector<std::pair<std::string, std::string>> faces;
  const std::set<std::string> names = [] {
    std::set<std::string> s;
    for (const auto& [n, f] : Expected()) s.insert(n);
    return s;
  }();
  auto add = [&](const std::string& a, const std::string& b) {
    if (names.count(a) != 0 && names.count(b) != 0) faces.emplace_back(a, b);
  };
  for (const std::string& n : names) {
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"Up", "Down"}, {"On", "Off"}}) {
      const auto at = n.rfind(from);
      if (at != std::string::npos) add(n, n.substr(0, at) + to + n.substr(at + from.size()));
    }
    const auto png = n.rfind(".png");
    add(n, n.substr(0, png) + "Pressed.png");
  }
  add("Toggle On.png", "Toggle Unavailable.png");
  add("DeleteUpBut.png", "DeleteDisabledBut.png");
  add("RenameUpBut.png", "RenameDisabledBut.png");
  return faces;
}

TEST(Skin, HoldsEveryImageTheEditorLoadsAtASizeThatFitsItsPlace) {
  ASSERT_FALSE(Skin().empty()) << "no skin drawn into " << kImages;
  EXPECT_EQ(Expected().size(), 148u);
  for (const auto& [name, fit] : Expected()) {
    const auto it = Skin().find(name);
    if (it == Skin().end()) {
      ADD_FAILURE() << name << " is missing from " << kImages;
      continue;
    }
    const Pixels& p = it->second;
    EXPECT_TRUE(p.width >= fit.minW && p.width <= fit.maxW && p.height >= fit.minH && p.height <= fit.maxH)
        << name << " is " << p.width << " x " << p.height << ", expected " << fit.minW << ".." << fit.maxW
        << " x " << fit.minH << ".." << fit.maxH;
  }
  for (const auto& [name, p] : Skin()) {
    EXPECT_EQ(Expected().count(name), 1u) << name << " is drawn but no screen loads it (a misspelt name?)";
  }
}

TEST(Skin, ImagesShowSomethingAndBackgroundsCoverTheirWindows) {
  for (const auto& [name, p] : Skin()) {
    int visible = 0;
    for (std::uint32_t px : p.argb) visible += (px >> 24) > 0;
    EXPECT_GT(visible, static_cast<int>(p.argb.size()) / 10) << name << " is mostly empty";
  }
  // A page or dialog background with holes would show whatever the host
  // leaves behind the editor.
  for (const char* name : {"ZelvaneBackground.png", "PerformBackground.png", "PresetBackground.png",
                           "WaveEditorBackground.png", "TimelinePresetBackground.png", "WaveformBrowser.png",
                           "SaveDialog.png"}) {
    const auto it = Skin().find(name);
    if (it == Skin().end()) continue;
    int holes = 0;
    for (std::uint32_t px : it->second.argb) holes += (px >> 24) != 0xFF;
    EXPECT_EQ(holes, 0) << name;
  }
  // Pointers and the bowl's dot are drawn over the page: their corners must
  // let it show through.
  for (const char* name : {"Knob.png", "KnobPointer.png", "BowlDot.png", "SliderDownPointer.png",
                           "SliderLeftPointer.png", "GroupToggle Up.png"}) {
    const auto it = Skin().find(name);
    if (it == Skin().end()) continue;
    const Pixels& p = it->second;
    EXPECT_EQ(p.Alpha(0, 0) + p.Alpha(p.width - 1, 0) + p.Alpha(0, p.height - 1) +
                  p.Alpha(p.width - 1, p.height - 1) < 4 * 40,
              true)
        << name << " has opaque corners";
  }
}

TEST(Skin, EachControlsFacesDifferVisibly) {
  const auto faces = Faces();
  EXPECT_GE(faces.size(), 60u);
  for (const auto& [a, b] : faces) {
    const auto ia = Skin().find(a), ib = Skin().find(b);
    if (ia == Skin().end() || ib == Skin().end()) continue;  // reported as missing above
    const Pixels &p = ia->second, &q = ib->second;
    ASSERT_TRUE(p.width == q.width && p.height == q.height) << a << " and " << b << " differ in size";
    // A pixel counts as changed when a channel moves by more than 24 levels.
    int changed = 0;
    for (std::size_t i = 0; i < p.argb.size(); ++i) {
      for (int shift = 0; shift < 32; shift += 8) {
        const int d = static_cast<int>((p.argb[i] >> shift) & 0xFF) - static_cast<int>((q.argb[i] >> shift) & 0xFF);
        if (std::abs(d) > 24) {
          ++changed;
          break;
        }
      }
    }
    EXPECT_GT(changed, static_cast<int>(p.argb.size()) / 20) << a << " and " << b << " look alike";
  }
}

// Switches whose down (or on) face means "on" rather than "being pressed".
bool IsSwitch(const std::string& up) {
  for (const char* s : {"Voice", "GroupToggle", "RescaleBut", "Toggle "}) {
    if (up.rfind(s, 0) == 0) return true;
  }
  return up.find("On") != std::string::npos;
}

TEST(Skin, PressedFacesSinkAndSwitchedOnFacesLightUp) {
  int pushes = 0, switches = 0;
  for (auto [a, b] : Faces()) {
    const Pixels *p = Find(a), *q = Find(b);
    if (p == nullptr || q == nullptr || p->width != q->width || p->height != q->height) continue;
    if (b.find("Disabled") != std::string::npos || b.find("Unavailable") != std::string::npos) continue;
    if (IsSwitch(a)) {
      // Name the "on" face first: the Up faces of the radio and the rescale
      // toggle are their off faces.
      if (a.find("Up") != std::string::npos) std::swap(a, b), std::swap(p, q);
      if (a.rfind("Voice", 0) == 0) {
        EXPECT_GT(MeanLuminance(*p, 0, 0, p->width, p->height), MeanLuminance(*q, 0, 0, q->width, q->height) + 8)
            << "the selected voice's tab " << a << " stands out from " << b;
      } else {
        EXPECT_GT(PeakLuminance(*p), PeakLuminance(*q) + 25) << a << " shows no light that " << b << " lacks";
      }
      ++switches;
    } else {
      EXPECT_LT(MeanLuminance(*q, 0, 0, q->width, q->height), MeanLuminance(*p, 0, 0, p->width, p->height) - 4)
          << b << " does not look pressed next to " << a;
      ++pushes;
    }
  }
  EXPECT_GE(pushes, 40);
  EXPECT_GE(switches, 12);
}

TEST(Skin, EachPageBackgroundHighlightsItsOwnTab) {
  struct Tab {
    const char* page;
    int x, y, w, h;
  };
  // The tabs are transparent hot areas of the top bar: the page's own
  // background shows which one is chosen.
  const Tab tabs[] = {{"ZelvaneBackground.png", 118, 4, 68, 30},
                      {"PresetBackground.png", 187, 4, 68, 30},
                      {"PerformBackground.png", 255, 4, 70, 30}};
  for (const Tab& tab : tabs) {
    for (const Tab& other : tabs) {
      const Pixels *mine = Find(tab.page), *theirs = Find(other.page);
      if (mine == nullptr || theirs == nullptr || tab.page == other.page) continue;
      EXPECT_GT(MeanLuminance(*mine, tab.x, tab.y, tab.w, tab.h),
                MeanLuminance(*theirs, tab.x, tab.y, tab.w, tab.h) + 10)
          << tab.page << " does not mark its tab brighter than " << other.page << " does";
    }
  }
}

TEST(Skin, KnobAndItsPointerCircleTheCentreOfTheValueArc) {
  const Pixels *knob = Find("Knob.png"), *pointer = Find("KnobPointer.png");
  ASSERT_TRUE(knob != nullptr && pointer != nullptr);
  // In the 31 x 32 knob window the arc is centred on (15, 16); the knob is
  // drawn at (2, 3) and the pointer at (trunc(13 + 8 cos a), trunc(13 + 8 sin a)).
  const auto [kx, ky] = Centroid(*knob);
  EXPECT_NEAR(kx + 2, 15.5, 1.0);
  EXPECT_NEAR(ky + 3, 16.5, 1.0);
  const auto [px, py] = Centroid(*pointer);
  for (double degrees = 135; degrees <= 405; degrees += 15) {
    const double a = degrees * M_PI / 180;
    const double x = std::trunc(13 + 8 * std::cos(a)) + px, y = std::trunc(13 + 8 * std::sin(a)) + py;
    const double r = std::hypot(x - (kx + 2), y - (ky + 3));
    EXPECT_TRUE(r > 6.5 && r < 9.5) << "at " << degrees << " degrees the pointer is " << r << " from the centre";
  }
}

TEST(Skin, SliderPointersPointAtTheirCentreAndFadersMarkTheirMiddle) {
  // A slider puts the pointer's centre under the mouse: the tip must be there.
  if (const Pixels* down = Find("SliderDownPointer.png")) {
    int lowest = -1;
    double tipX = 0;
    for (int y = 0; y < down->height; ++y) {
      double sum = 0, n = 0;
      for (int x = 0; x < down->width; ++x) {
        if (down->Alpha(x, y) > 128) sum += x + 0.5, ++n;
      }
      if (n > 0) lowest = y, tipX = sum / n;
    }
    EXPECT_GE(lowest, down->height - 3) << "the tip reaches the track along the bottom";
    EXPECT_NEAR(tipX, down->width / 2.0, 1.0);
  }
  if (const Pixels* left = Find("SliderLeftPointer.png")) {
    double sum = 0, n = 0;
    for (int y = 0; y < left->height; ++y) {
      if (left->Alpha(0, y) > 100 || left->Alpha(1, y) > 100) sum += y + 0.5, ++n;
    }
    ASSERT_GT(n, 0) << "the tip touches the track along the left edge";
    EXPECT_NEAR(sum / n, left->height / 2.0, 1.0);
  }
  if (const Pixels* fader = Find("Fader.png")) {
    int brightest = 0;
    double best = 0;
    for (int y = 0; y < fader->height; ++y) {
      const double l = MeanLuminance(*fader, 1, y, fader->width - 2, 1);
      if (l > best) best = l, brightest = y;
    }
    EXPECT_NEAR(brightest + 0.5, fader->height / 2.0, 1.0) << "the cap's marker line is its middle";
  }
}

}  // namespace
