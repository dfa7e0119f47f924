// Buttons and labels: clicks on release inside only, drawing pressed and
// released, a missing skin image reported and survived, press-time hot
// areas, and labels that hand their clicks to what lies under them.
#include <memory>

#include "control_fixture.h"
#include "gui/controls/close_but.h"
#include "gui/controls/label.h"
#include "gui/controls/simple_text_button.h"
#include "gui/controls/zbutton.h"
#include "gui/controls/ztransparent_but.h"

namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u;

struct Clicks : gui::ButtonListener, gui::EventHandler {
  std::vector<int> ids;
  int events = 0;
  void ButtonClicked(int id) override { ids.push_back(id); }
  void Count() { ++events; }
};

// Paints itself one colour; records the mouse.
struct Surface : gui::Window {
  std::vector<std::string> heard;
  void Paint(gui::GraphicsContext& g) override {
    g.SetColour(200, 0, 0, 1, 255);
    g.FillRect(0, 0, width, height);
  }
  void Note(const char* what, int x, int y) {
    heard.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnLeftDown(int x, int y) override { Note("down", x, y); }
  void OnLeftUp(int x, int y) override { Note("up", x, y); }
  void OnRightDown(int x, int y) override { Note("rdown", x, y); }
  void OnRightUp(int x, int y) override { Note("rup", x, y); }
};

TEST_F(ControlTest, AButtonClicksOnlyWhenReleasedOverItselfAndIsDrawnUpAfterwards) {
  skin.Write("Up.png", 20, 10, kRed);
  skin.Write("Down.png", 20, 10, kGreen);
  Clicks clicks;
  gui::ZButton button;
  button.Create(&root, 50, 40, "Up.png", "Down.png", &clicks, 7);
  button.clicked.Connect(&clicks, &Clicks::Count);
  EXPECT_EQ(button.width, 20);
  EXPECT_EQ(button.height, 10);
  EXPECT_TRUE(MessageBoxRecorder::Seen().empty());
  EXPECT_EQ(PixelOf(button, 5, 5), Rgb(255, 0, 0));

  // Pressed: drawn down while the mouse is held, even outside.
  const gui::Point in = At(button, 5, 5), out = At(button, 60, 60);
  headless.MouseDown(&native(), in.x, in.y);
  EXPECT_EQ(PixelOf(button, 5, 5), Rgb(0, 255, 0));
  headless.MouseMove(&native(), out.x, out.y);
  headless.MouseUp(&native(), out.x, out.y);
  EXPECT_TRUE(clicks.ids.empty()) << "released outside: no click";
  EXPECT_EQ(clicks.events, 0);
  EXPECT_EQ(PixelOf(button, 5, 5), Rgb(255, 0, 0)) << "drawn up again";
  EXPECT_FALSE(button.captured);

  headless.Advance(1000);
  ClickOn(button, 19, 9);  // the last pixel is still inside
  EXPECT_EQ(clicks.ids, std::vector<int>{7});
  EXPECT_EQ(clicks.events, 1);

  // A release over the button after a press elsewhere is no click.
  const gui::Point away = At(root, 300, 250);
  headless.MouseDown(&native(), away.x, away.y);
  headless.MouseUp(&native(), in.x, in.y);
  EXPECT_EQ(clicks.ids.size(), 1u);

  // A double click is two clicks, not three.
  headless.Advance(1000);
  headless.DoubleClick(&native(), in.x, in.y);
  EXPECT_EQ(clicks.ids.size(), 3u);
}

TEST_F(ControlTest, AMissingButtonImageIsReportedOnceAndTheButtonGoesOn) {
  skin.Write("Up.png", 12, 6, kRed);
  Clicks clicks;
  gui::ZButton onlyUp, nothing;
  onlyUp.Create(&root, 0, 0, "Up.png", "Missing Down.png", &clicks, 1);
  ASSERT_EQ(MessageBoxRecorder::Seen().size(), 1u);
  EXPECT_EQ(MessageBoxRecorder::Seen()[0].first, "Zelvane Error in ZButton::Create");
  EXPECT_EQ(MessageBoxRecorder::Seen()[0].second,
            "Error in Image::LoadFromFile.. Could not find image file: " + skin.Path("Missing Down.png"));
  EXPECT_EQ(onlyUp.width, 12) << "sized by the up image";
  // Without its down image the pressed button shows the up image.
  const gui::Point p = At(onlyUp, 3, 3);
  headless.MouseDown(&native(), p.x, p.y);
  EXPECT_EQ(Pixel(p.x, p.y), Rgb(255, 0, 0));
  headless.MouseUp(&native(), p.x, p.y);
  EXPECT_EQ(clicks.ids, std::vector<int>{1});

  // Both missing: one box, an empty button, and the screen goes on.
  nothing.Create(&root, 100, 0, "No Up.png", "No Down.png", &clicks, 2);
  ASSERT_EQ(MessageBoxRecorder::Seen().size(), 2u);
  EXPECT_NE(MessageBoxRecorder::Seen()[1].second.find("No Up.png"), std::string::npos);
  EXPECT_EQ(nothing.width, 0);
  EXPECT_EQ(Pixel(100, 0), Rgb(0, 0, 0));

  // The close button brings its own images.
  skin.Write(gui::CloseBut::kUpFile, 9, 9, kGreen);
  skin.Write(gui::CloseBut::kDownFile, 9, 9, kRed);
  gui::CloseBut close;
  close.Create(&root, 200, 100, &clicks, 3);
  EXPECT_EQ(close.width, 9);
  EXPECT_EQ(PixelOf(close, 4, 4), Rgb(0, 255, 0));
  ClickOn(close, 4, 4);
  EXPECT_EQ(clicks.ids, (std::vector<int>{1, 3}));
  EXPECT_EQ(MessageBoxRecorder::Seen().size(), 2u);
}

TEST_F(ControlTest, AButtonMayBeDestroyedByItsOwnListener) {
  struct Closer : gui::ButtonListener, gui::EventHandler {
    std::unique_ptr<gui::SimpleTextButton> button;
    int events = 0;
    void ButtonClicked(int) override { button.reset(); }
    void Count() { ++events; }
  } closer;
  closer.button = std::make_unique<gui::SimpleTextButton>();
  closer.button->Create(&root, 10, 10, 60, 20, "OK", &closer, 0);
  closer.button->clicked.Connect(&closer, &Closer::Count);
  closer.button->SetBackground(0, 0, 200);
  EXPECT_EQ(Pixel(11, 11), Rgb(0, 0, 200));
  bool sawWhite = false;
  for (int x = 10; x < 70; ++x) {
    for (int y = 10; y < 30; ++y) sawWhite = sawWhite || Red(Pixel(x, y)) > 200;
  }
  EXPECT_TRUE(sawWhite) << "the label is drawn in white";
  Click(30, 20);
  EXPECT_EQ(closer.button, nullptr);
  EXPECT_EQ(closer.events, 0) << "the clicked event of a destroyed button stays quiet";
  EXPECT_EQ(Pixel(11, 11), Rgb(0, 0, 0));
}

TEST_F(ControlTest, AHotAreaClicksOnThePressAndCoversInBlackWhenAsked) {
  Surface under;
  under.Create(&root, 100, 100, 0, 0);
  Clicks clicks;
  gui::ZTransparentBut hot;
  hot.Create(&root, 20, 20, 30, 30, &clicks, 4);
  EXPECT_EQ(Pixel(30, 30), Rgb(200, 0, 0)) << "invisible";
  headless.MouseDown(&native(), 30, 30);
  EXPECT_EQ(clicks.ids, std::vector<int>{4}) << "on the press, before any release";
  headless.MouseUp(&native(), 30, 30);
  EXPECT_EQ(clicks.ids.size(), 1u);
  EXPECT_TRUE(under.heard.empty());
  hot.SetCovered(true);
  EXPECT_EQ(Pixel(30, 30), Rgb(0, 0, 0));
  EXPECT_EQ(Pixel(55, 55), Rgb(200, 0, 0));
}

TEST_F(ControlTest, ALabelHandsEveryClickToItsParentAtTheSamePoint) {
  Surface parent;
  parent.Create(&root, 200, 150, 10, 10);
  gui::Label label;
  label.Create(&parent, 30, 40, 80, 14, "1/4");
  ClickOn(label, 5, 3);
  headless.MouseDown(&native(), At(label, 6, 4).x, At(label, 6, 4).y, 3);
  headless.MouseUp(&native(), At(label, 6, 4).x, At(label, 6, 4).y, 3);
  EXPECT_EQ(parent.heard, (std::vector<std::string>{"down 35,43", "up 35,43", "rdown 36,44", "rup 36,44"}));
  EXPECT_EQ(parent.mouseX, 36);
  EXPECT_EQ(parent.mouseY, 44);

  // White text at first; the colour follows SetColour.
  auto brightest = [&](auto channel) {
    int best = 0;
    for (int x = 0; x < 30; ++x) {
      for (int y = 0; y < 14; ++y) best = std::max(best, channel(PixelOf(label, x, y)));
    }
    return best;
  };
  EXPECT_GT(brightest(Green), 150);
  label.SetColour(0, 0, 255);
  EXPECT_LT(brightest(Green), 100);
  EXPECT_GT(brightest(Blue), 150);

  // Texts are cut to 255 bytes, never inside a character.
  std::string longText(254, 'a');
  longText += "\xC3\xA9\xC3\xA9";
  label.SetText(longText);
  EXPECT_EQ(label.text().size(), 254u);
}

}  // namespace
