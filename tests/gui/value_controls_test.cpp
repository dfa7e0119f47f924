// Sliders, numeric displays, radio buttons, toggles and the scroll bar:
// what they write into their parameters and what they show of them.
#include <cmath>

#include "control_fixture.h"
#include "gui/controls/numeric_display.h"
#include "gui/controls/radio_button.h"
#include "gui/controls/slider.h"
#include "gui/controls/toggle_box.h"
#include "gui/controls/zscroll_bar.h"

namespace {

struct Heard : gui::ControlListener, gui::ToggleListener {
  std::vector<std::pair<int, float>> values;
  std::vector<std::pair<int, bool>> toggles;
  void ControlChanged(int id, float value) override { values.emplace_back(id, value); }
  void Toggled(int id, bool on) override { toggles.emplace_back(id, on); }
};

TEST_F(ControlTest, ASliderPutsThePointersCentreUnderTheMouse) {
  Parameter level("Level", 0.0f, 10.0f);
  gui::Slider slider;
  slider.Create(&root, 50, 100, false, 100, &level, "");  // no image: a red block
  EXPECT_EQ(slider.x, 41);
  EXPECT_EQ(slider.width, 118);
  EXPECT_EQ(slider.height, 18);
  Heard heard;
  slider.listener = &heard;
  slider.id = 3;

  DragOn(slider, 9, 9, 9 + 25, 9);  // the track starts at the half-size
  EXPECT_FLOAT_EQ(level.GetValue(), 2.5f);
  EXPECT_FALSE(slider.dragging);
  ASSERT_FALSE(heard.values.empty());
  EXPECT_EQ(heard.values.back(), std::make_pair(3, 0.25f));
  EXPECT_EQ(PixelOf(slider, 25 + 9, 9), Rgb(255, 0, 0));
  EXPECT_EQ(PixelOf(slider, 20, 9), Rgb(0, 0, 0));

  // The parameter moved elsewhere moves the pointer; beyond the end clamps.
  level.SetValue(10.0f);
  EXPECT_EQ(PixelOf(slider, 100 + 9, 9), Rgb(255, 0, 0));
  DragOn(slider, 50, 9, 500, 9);
  EXPECT_FLOAT_EQ(level.GetValue(), 10.0f);

  // A reversed vertical fader with an image: its top is 1.
  skin.Write("Fader.png", 12, 8, 0xFF00FF00u);
  Parameter volume("MasterVolume", 0.0f, 1.0f);
  gui::Slider fader;
  fader.reversed = true;
  fader.Create(&root, 300, 50, true, 40, &volume, "Fader.png");
  EXPECT_EQ(fader.y, 46);
  EXPECT_EQ(fader.height, 48);
  EXPECT_EQ(fader.halfSize, 4);
  DragOn(fader, 6, 4 + 10, 6, 4 + 10);
  EXPECT_FLOAT_EQ(volume.GetValue(), 0.75f);
  // Pointer at length x (1 - 0.75) = 10.
  EXPECT_EQ(PixelOf(fader, 6, 10), Rgb(0, 255, 0));
  EXPECT_EQ(PixelOf(fader, 6, 9), Rgb(0, 0, 0));

  // Unbound, the slider keeps the value it was dragged to.
  gui::Slider own;
  own.Create(&root, 50, 200, false, 100, nullptr, "");
  DragOn(own, 9, 9, 9 + 60, 9);
  EXPECT_FLOAT_EQ(own.Position(), 0.6f);
  EXPECT_EQ(PixelOf(own, 60 + 9, 9), Rgb(255, 0, 0));
}

TEST_F(ControlTest, ANumericDisplayPrintsByItsMode) {
  Parameter polyphony("Polyphony", 1.0f, 16.0f, Parameter::kInteger);
  Parameter time("Time", 0.0f, 8.0f, Parameter::kContinuous, 1, Parameter::kCubic);
  gui::NumericDisplay automaticInt, automaticFloat, normalised;
  automaticInt.Create(&root, 0, 0, 30, 12, &polyphony);
  automaticFloat.Create(&root, 0, 20, 30, 12, &time);
  normalised.Create(&root, 0, 40, 30, 12, &time, gui::NumericDisplay::kNormalised);
  polyphony.SetValue(7.0f);
  time.SetValue(1.0f);
  EXPECT_EQ(automaticInt.mode, gui::NumericDisplay::kInteger);
  EXPECT_EQ(automaticInt.Format(), "7");
  EXPECT_EQ(automaticFloat.mode, gui::NumericDisplay::kDecimal);
  EXPECT_EQ(automaticFloat.Format(), "1.0");
  normalised.SetDecimals(3);
  EXPECT_EQ(normalised.Format(), "0.500") << "the cube root of 1/8";

  struct Percent : gui::NumericDisplay {
    float Transform(float v) override { return v * 100.0f; }
  } percent;
  percent.Create(&root, 0, 60, 30, 12, &time, gui::NumericDisplay::kNormalised);
  EXPECT_EQ(percent.Format(), "50.0");

  gui::NumericDisplay unbound;
  unbound.Create(&root, 0, 80, 30, 12, nullptr);
  EXPECT_EQ(unbound.Format(), "");

  // Drawn in white by default, in its own colour when given.
  auto lit = [&](const gui::Window& w) {
    int best = 0;
    for (int x = 0; x < 30; ++x) {
      for (int y = 0; y < 12; ++y) best = std::max(best, Green(PixelOf(w, x, y)));
    }
    return best;
  };
  EXPECT_GT(lit(automaticInt), 150);
  automaticInt.SetTextColour(255, 0, 0);
  EXPECT_EQ(lit(automaticInt), 0);
}

TEST_F(ControlTest, RadioButtonsOnOneParameterFormAGroup) {
  skin.Write("On.png", 10, 10, 0xFF00FF00u);
  skin.Write("Off.png", 10, 10, 0xFF0000FFu);
  Parameter mode("Multiple selection mode", 0.0f, 2.0f, Parameter::kInteger);
  gui::RadioButton radios[3];
  for (int i = 0; i < 3; ++i) radios[i].Create(&root, 10, 10 + 20 * i, static_cast<float>(i), "On.png", "Off.png", &mode);
  EXPECT_EQ(PixelOf(radios[0], 5, 5), Rgb(0, 255, 0));
  EXPECT_EQ(PixelOf(radios[1], 5, 5), Rgb(0, 0, 255));
  ClickOn(radios[2], 5, 5);
  EXPECT_FLOAT_EQ(mode.GetValue(), 2.0f);
  EXPECT_EQ(PixelOf(radios[0], 5, 5), Rgb(0, 0, 255));
  EXPECT_EQ(PixelOf(radios[2], 5, 5), Rgb(0, 255, 0));
  ClickOn(radios[1], 5, 5);
  EXPECT_FLOAT_EQ(mode.GetValue(), 1.0f);
  EXPECT_TRUE(radios[1].IsOn());
  EXPECT_FALSE(radios[2].IsOn());

  // Within 0.5 of the choice, both ends included.
  Parameter shade("Shade", 0.0f, 2.0f);
  gui::RadioButton middle;
  middle.Create(&root, 100, 10, 1.0f, "On.png", "Off.png", &shade);
  shade.SetValue(1.5f);
  EXPECT_TRUE(middle.IsOn());
  shade.SetValue(1.51f);
  EXPECT_FALSE(middle.IsOn());
}

TEST_F(ControlTest, AToggleShowsWhatItsParameterHoldsAfterTheWrite) {
  skin.Write("OnBut.png", 8, 8, 0xFF00FF00u);
  skin.Write("OffBut.png", 8, 8, 0xFFFF0000u);
  Heard heard;
  Parameter enabled("DELAY_ENABLED", 0.0f, 1.0f, Parameter::kInteger);
  gui::ToggleBox toggle;
  toggle.Create(&root, 10, 10, "OnBut.png", "OffBut.png", &enabled, &heard, 5);
  EXPECT_FALSE(toggle.on());
  ClickOn(toggle, 4, 4);
  EXPECT_TRUE(toggle.on());
  EXPECT_FLOAT_EQ(enabled.GetValue(), 1.0f);
  EXPECT_EQ(PixelOf(toggle, 4, 4), Rgb(0, 255, 0));
  ClickOn(toggle, 4, 4);
  EXPECT_FALSE(toggle.on());
  EXPECT_FLOAT_EQ(enabled.GetValue(), 0.0f);
  // Changed elsewhere: the toggle follows at its next paint.
  enabled.SetValue(1.0f);
  EXPECT_EQ(PixelOf(toggle, 4, 4), Rgb(0, 255, 0));
  EXPECT_EQ(heard.toggles, (std::vector<std::pair<int, bool>>{{5, true}, {5, false}}));

  // A parameter that keeps its normalised value below 0.5 keeps the toggle off.
  struct Stubborn : Parameter {
    using Parameter::Parameter;
    float SetNormalized(float, ParamUpdateListener*) override { return GetNormalized(); }
  } stubborn("Locked", 0.0f, 1.0f);
  gui::ToggleBox locked;
  locked.Create(&root, 30, 10, "OnBut.png", "OffBut.png", &stubborn, &heard, 6);
  ClickOn(locked, 4, 4);
  EXPECT_FALSE(locked.on());
  EXPECT_EQ(heard.toggles.back(), std::make_pair(6, false));
  EXPECT_EQ(PixelOf(locked, 4, 4), Rgb(255, 0, 0));

  // A range whose top half lies above 1: on from the normalised position.
  Parameter wide("Wide", 0.0f, 4.0f, Parameter::kInteger);
  gui::ToggleBox third;
  third.Create(&root, 50, 10, "OnBut.png", "OffBut.png", &wide);
  wide.SetValue(1.0f);
  EXPECT_FALSE(third.on()) << "1 of 0..4 is a quarter";
  wide.SetValue(3.0f);
  EXPECT_TRUE(third.on());

  // Inverted, a switch reads and writes the other way round, and its
  // read-back agrees with what it wrote.
  Parameter bypass("BYPASS", 0.0f, 1.0f);
  gui::ToggleBox active;
  active.SetInverted(true);
  active.Create(&root, 70, 10, "OnBut.png", "OffBut.png", &bypass);
  EXPECT_TRUE(active.on());
  ClickOn(active, 4, 4);
  EXPECT_FLOAT_EQ(bypass.GetValue(), 1.0f);
  EXPECT_FALSE(active.on());
  ClickOn(active, 4, 4);
  EXPECT_FLOAT_EQ(bypass.GetValue(), 0.0f);
  EXPECT_TRUE(active.on());
}

TEST_F(ControlTest, ScrollBarArrowsStepByOneAndTheThumbDragsTheRange) {
  Parameter rows("Scroll", 0.0f, 10.0f, Parameter::kInteger);
  gui::ZScrollBar bar;
  bar.Create(&root, 390, 100);
  bar.Bind(&rows);
  EXPECT_EQ(bar.x, 390);
  EXPECT_EQ(bar.y, 0);
  EXPECT_EQ(bar.width, 10);
  EXPECT_EQ(bar.travel(), 52);

  ClickOn(bar, 5, 5);  // top arrow at 0: clamped
  EXPECT_FLOAT_EQ(rows.GetValue(), 0.0f);
  ClickOn(bar, 5, 95);  // bottom arrow
  ClickOn(bar, 5, 95);
  EXPECT_FLOAT_EQ(rows.GetValue(), 2.0f);
  EXPECT_FLOAT_EQ(bar.value(), 0.2f);
  // The thumb moved to 15 + 0.2 x 52.
  EXPECT_EQ(bar.thumb().y, 25);
  EXPECT_EQ(PixelOf(bar, 5, 26), Rgb(255, 255, 255));
  EXPECT_EQ(PixelOf(bar, 5, 20), Rgb(0, 0, 0));
  ClickOn(bar, 5, 60);  // the track does nothing
  EXPECT_FLOAT_EQ(rows.GetValue(), 2.0f);

  // The thumb's bottom edge belongs to it: dragging down 26 pixels adds half.
  DragOn(bar, 5, 25 + 18, 5, 25 + 18 + 26);
  EXPECT_FLOAT_EQ(rows.GetValue(), 7.0f);
  EXPECT_FLOAT_EQ(bar.value(), 0.7f);
  EXPECT_EQ(bar.thumb().y, 15 + static_cast<int>(0.7f * 52));
  ClickOn(bar, 5, 75);  // between the thumb's end and the arrow: the track
  EXPECT_FLOAT_EQ(rows.GetValue(), 7.0f);
  DragOn(bar, 5, bar.thumb().y + 2, 5, 300);
  EXPECT_FLOAT_EQ(bar.value(), 1.0f);
  EXPECT_FLOAT_EQ(rows.GetValue(), 10.0f);
}

}  // namespace
