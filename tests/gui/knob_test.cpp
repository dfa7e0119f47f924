// The knob: drags over the range in 125 pixels with the parameter's own
// rounding read back, the pie and dot drawings at known values, the images
// in their places, and notifications from other threads.
#include <atomic>
#include <cmath>
#include <memory>
#include <thread>

#include "control_fixture.h"
#include "gui/controls/zpot.h"

namespace {

constexpr std::uint32_t kYellow = 0xFFFFFF00u;

// Background black (0) under one layer of colour c at alpha a, then another.
int Over(int below, int colour, int alpha) {
  return static_cast<int>(std::lround(colour * alpha / 255.0 + below * (1.0 - alpha / 255.0)));
}

struct Values : gui::ControlListener {
  std::vector<std::pair<int, float>> heard;
  void ControlChanged(int id, float value) override { heard.emplace_back(id, value); }
};

class KnobTest : public ControlTest {
 protected:
  KnobTest() {
    // A knob image that hides nothing, and a 2 x 2 yellow pointer.
    skin.Write(gui::ZPot::kKnobFile, 1, 1, 0x00000000u);
    skin.Write(gui::ZPot::kPointerFile, 2, 2, kYellow);
  }
  void ExpectColour(const gui::Window& w, int x, int y, int r, int g, int b) {
    const std::uint32_t p = PixelOf(w, x, y);
    EXPECT_NEAR(Red(p), r, 3) << "at " << x << "," << y;
    EXPECT_NEAR(Green(p), g, 3) << "at " << x << "," << y;
    EXPECT_NEAR(Blue(p), b, 3) << "at " << x << "," << y;
  }
  void ExpectRing(const gui::Window& w, int x, int y, int alpha) {
    const int c = Over(0, 50, alpha);
    ExpectColour(w, x, y, c, c, c);
  }
  void ExpectValue(const gui::Window& w, int x, int y) { ExpectColour(w, x, y, 110, 140, 255); }
};

TEST_F(KnobTest, ADragCoversTheRangeIn125PixelsAndShowsTheParametersRounding) {
  Parameter amount("Amount", 0.0f, 1.0f);
  amount.SetValue(0.5f);
  gui::ZPot knob;
  knob.Create(&root, 103, 104, &amount);
  EXPECT_EQ(knob.x, 100);
  EXPECT_EQ(knob.y, 100);
  EXPECT_EQ(knob.width, 31);
  EXPECT_EQ(knob.height, 32);
  EXPECT_EQ(knob.id, -1);
  EXPECT_FLOAT_EQ(knob.value(), 0.5f);
  EXPECT_TRUE(MessageBoxRecorder::Seen().empty());

  DragOn(knob, 15, 16, 15, 16 - 200);
  EXPECT_FLOAT_EQ(amount.GetValue(), 1.0f);
  EXPECT_FLOAT_EQ(knob.value(), 1.0f);
  EXPECT_FALSE(knob.dragging);

  amount.SetValue(0.5f);
  Values values;
  knob.listener = &values;
  knob.id = 9;
  DragOn(knob, 15, 16, 15, 16 + 62);
  EXPECT_NEAR(amount.GetValue(), 0.004f, 1e-5f);
  EXPECT_NEAR(knob.value(), 0.004f, 1e-5f);
  ASSERT_FALSE(values.heard.empty());
  EXPECT_EQ(values.heard.back().first, 9);
  EXPECT_NEAR(values.heard.back().second, 0.004f, 1e-5f);

  // Unbound, the same travel on the knob's own value.
  gui::ZPot own;
  own.Create(&root, 203, 104, nullptr);
  own.SetValue(0.5f);
  DragOn(own, 15, 16, 15, 16 - 200);
  EXPECT_FLOAT_EQ(own.value(), 1.0f);
  own.SetValue(0.5f);
  DragOn(own, 15, 16, 15, 16 + 62);
  EXPECT_NEAR(own.value(), 0.004f, 1e-5f);

  // A disabled knob does not move.
  own.enabled = false;
  DragOn(own, 15, 16, 15, 16 - 50);
  EXPECT_NEAR(own.value(), 0.004f, 1e-5f);

  // An integer parameter rounds: 20 pixels from 0 ask for 0.64 of 0..4.
  Parameter voices("Voices", 0.0f, 4.0f, Parameter::kInteger);
  gui::ZPot steps;
  steps.Create(&root, 303, 104, &voices);
  DragOn(steps, 15, 16, 15, 16 - 20);
  EXPECT_FLOAT_EQ(voices.GetValue(), 1.0f);
  EXPECT_FLOAT_EQ(steps.value(), 0.25f);

  // Inverted, up still turns the knob up and the parameter down.
  Parameter depth("Depth", 0.0f, 1.0f);
  depth.SetValue(0.2f);
  gui::ZPot reverse;
  reverse.SetInverted(true);
  reverse.Create(&root, 103, 204, &depth);
  EXPECT_FLOAT_EQ(reverse.value(), 0.8f);
  DragOn(reverse, 15, 16, 15, 16 - 10);
  EXPECT_NEAR(depth.GetValue(), 0.12f, 1e-5f);
  EXPECT_NEAR(reverse.value(), 0.88f, 1e-5f);
}

TEST_F(KnobTest, AContinuousKnobDrawsItsValueAsAPieOverTheRing) {
  Parameter amount("Amount", 0.0f, 1.0f);
  amount.SetValue(0.5f);
  gui::ZPot knob;
  knob.Create(&root, 103, 104, &amount);
  // The square of 30 at (0, 1): centre (15, 16), radius 15.
  const int ring = Over(0, 50, 50);
  ExpectColour(knob, 5, 16, Over(ring, 110, 180), Over(ring, 140, 180), Over(ring, 255, 180));  // 180 degrees
  ExpectRing(knob, 25, 16, 50);                   // 0 degrees: ring only
  ExpectRing(knob, 22, 9, 50);                    // 315 degrees
  EXPECT_EQ(PixelOf(knob, 15, 28), Rgb(0, 0, 0));  // the gap at the bottom
  // The pointer at trunc(13 + 8 cos a), trunc(13 + 8 sin a), a = 270:
  // cos 270 is a hair below 0, so x truncates to 12.
  EXPECT_EQ(PixelOf(knob, 12, 5), kYellow);
  EXPECT_EQ(PixelOf(knob, 13, 6), kYellow);
  EXPECT_NE(PixelOf(knob, 14, 5), kYellow);

  amount.SetValue(0.25f);  // a = 202.5: the pointer at (5, 9)
  EXPECT_EQ(PixelOf(knob, 5, 9), kYellow);
  EXPECT_EQ(PixelOf(knob, 6, 10), kYellow);
  EXPECT_NE(PixelOf(knob, 4, 9), kYellow);
  ExpectRing(knob, 9, 8, 50);  // above the value now

  // A range below 0 fills from the angle of 0 (270) back to the value.
  Parameter pan("Pan", -1.0f, 1.0f);
  pan.SetValue(-0.5f);  // position 0.25: 202.5 degrees
  gui::ZPot bipolar;
  bipolar.Create(&root, 203, 104, &pan);
  ExpectColour(bipolar, 9, 8, Over(ring, 110, 180), Over(ring, 140, 180), Over(ring, 255, 180));  // 236 degrees
  ExpectRing(bipolar, 5, 16, 50);   // 180: before the value
  ExpectRing(bipolar, 20, 7, 50);   // 300: past 0
  // The colours a screen sets are used, their alpha set by each step.
  bipolar.valueColour = {200, 70, 70, 255};
  bipolar.Repaint();
  ExpectColour(bipolar, 9, 8, Over(ring, 200, 180), Over(ring, 70, 180), Over(ring, 70, 180));
  EXPECT_EQ(bipolar.valueColour[3], 180);
}

TEST_F(KnobTest, AnIntegerKnobDrawsDotsForItsWholeValues) {
  // Dot corners for positions 0, 1/4, 1/2, 3/4, 1 of the 31 x 32 knob.
  const gui::Point at[5] = {{4, 26}, {1, 10}, {14, 1}, {28, 10}, {25, 26}};
  Parameter voices("Voices", 0.0f, 4.0f, Parameter::kInteger);
  voices.SetValue(2.0f);
  gui::ZPot knob;
  knob.Create(&root, 103, 104, &voices);
  for (int v = 0; v <= 2; ++v) {  // 2 x 2 value dots up to the value
    ExpectValue(knob, at[v].x, at[v].y);
    ExpectValue(knob, at[v].x + 1, at[v].y + 1);
  }
  for (int v = 3; v <= 4; ++v) {  // then ring dots
    ExpectRing(knob, at[v].x, at[v].y, 200);
    ExpectRing(knob, at[v].x + 1, at[v].y + 1, 200);
  }
  EXPECT_EQ(PixelOf(knob, 5, 16), Rgb(0, 0, 0)) << "no pie";

  // Below 0: 1 x 1 ring dots everywhere, value dots from the value to 0.
  Parameter bend("Bend", -2.0f, 2.0f, Parameter::kInteger);
  bend.SetValue(-1.0f);
  gui::ZPot bipolar;
  bipolar.Create(&root, 203, 104, &bend);
  ExpectRing(bipolar, at[0].x, at[0].y, 200);
  ExpectValue(bipolar, at[1].x, at[1].y);
  ExpectValue(bipolar, at[2].x, at[2].y);
  ExpectRing(bipolar, at[3].x, at[3].y, 200);
  ExpectRing(bipolar, at[4].x, at[4].y, 200);
  EXPECT_EQ(PixelOf(bipolar, at[0].x + 1, at[0].y + 1), Rgb(0, 0, 0)) << "one pixel each";

  // With a step of 2 a negative value first goes towards 0 onto the grid:
  // -3 of -6..6 lights -2 and 0, and -3 itself is no dot at all.
  Parameter coarse("Coarse", -6.0f, 6.0f, Parameter::kInteger);
  coarse.SetValue(-3.0f);
  gui::ZPot stepped;
  stepped.step = 2;
  stepped.Create(&root, 303, 104, &coarse);
  ExpectValue(stepped, 4, 5);  // -2: 225 degrees
  ExpectValue(stepped, at[2].x, at[2].y);
  EXPECT_EQ(PixelOf(stepped, at[1].x, at[1].y), Rgb(0, 0, 0));

  // Mode 2 draws the pie whatever the type.
  knob.mode = gui::ZPot::kPie;
  knob.Repaint();
  const int ring = Over(0, 50, 50);
  ExpectColour(knob, 5, 16, Over(ring, 110, 180), Over(ring, 140, 180), Over(ring, 255, 180));
}

TEST_F(KnobTest, MissingKnobImagesAreReportedAndTheKnobStillWorks) {
  SkinFolder empty;  // no images in this one
  Parameter amount("Amount", 0.0f, 1.0f);
  gui::ZPot knob;
  knob.Create(&root, 103, 104, &amount);
  ASSERT_EQ(MessageBoxRecorder::Seen().size(), 1u);
  EXPECT_EQ(MessageBoxRecorder::Seen()[0].first, "Zelvane Error in ZPot::Create");
  DragOn(knob, 15, 16, 15, 16 - 25);
  EXPECT_NEAR(amount.GetValue(), 0.2f, 1e-5f);
}

TEST_F(KnobTest, AKnobNotifiedFromAnotherThreadRepaintsAtTheNextPump) {
  Parameter amount("Amount", 0.0f, 1.0f);
  gui::ZPot knob;
  knob.Create(&root, 103, 104, &amount);
  ExpectRing(knob, 5, 16, 50);
  std::thread([&] { amount.SetValue(1.0f); }).join();
  const gui::Point left = At(knob, 5, 16);
  EXPECT_NEAR(Red(headless.Pixel(&native(), left.x, left.y)), Over(0, 50, 50), 3) << "not before the pump";
  const int ring = Over(0, 50, 50);
  ExpectColour(knob, 5, 16, Over(ring, 110, 180), Over(ring, 140, 180), Over(ring, 255, 180));
  EXPECT_FLOAT_EQ(knob.value(), 1.0f);

  // Knobs come and go while another thread keeps changing their parameter.
  std::atomic<bool> stop{false};
  std::thread automation([&] {
    for (int i = 0; !stop.load(); ++i) {
      amount.SetValue(static_cast<float>(i % 100) / 100.0f);
      std::this_thread::yield();
    }
  });
  for (int round = 0; round < 200; ++round) {
    auto k = std::make_unique<gui::ZPot>();
    k->Create(&root, 203, 104, &amount);
    headless.Pump();
  }
  stop = true;
  automation.join();
  headless.Pump();
  EXPECT_EQ(amount.listeners().size(), 1u) << "only the first knob is still bound";
}

}  // namespace
