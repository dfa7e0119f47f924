// The editor root: building, the page tabs, the splash, the File menu, the
// patch name, refresh requests from other threads, a skin with holes.
#include <thread>

#include "editor/pages.h"
#include "editor_fixture.h"
#include "gui/listeners.h"

namespace {

TEST_F(EditorTest, OpensOnTheSynthPageAndSwitchesPagesByRebuildingThem) {
  PutTopBar();
  Open();
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  EXPECT_EQ(editor->page(), GUI::kSynthPage);
  EXPECT_TRUE(z->editor() != nullptr && z->editor()->IsSynthPageShowing());
  EXPECT_EQ(Pixel(700, 600), Rgb(25, 25, 76));  // the synth page's background
  ZSubEditor* synth = editor->currentPage();
  editor->SelectPage(GUI::kSynthPage);
  EXPECT_EQ(editor->currentPage(), synth) << "the page shown is kept";

  Click(290, 20);  // the perform tab
  EXPECT_EQ(editor->page(), GUI::kPerformPage);
  EXPECT_NE(dynamic_cast<PerformGUI*>(editor->currentPage()), nullptr);
  EXPECT_FALSE(z->editor()->IsSynthPageShowing());
  EXPECT_EQ(Pixel(700, 600), Rgb(25, 76, 25));
  Click(220, 20);  // the preset tab
  EXPECT_NE(dynamic_cast<PresetGUI*>(editor->currentPage()), nullptr);
  Click(150, 20);
  EXPECT_NE(dynamic_cast<SynthGUI*>(editor->currentPage()), nullptr);

  // Closed and opened again: page 0 whatever was shown before.
  editor->SelectPage(GUI::kPresetPage);
  editor->Close();
  EXPECT_EQ(z->editor(), nullptr);
  ASSERT_TRUE(editor->OpenHeadless());
  headless = editor->headless();
  EXPECT_EQ(editor->page(), GUI::kSynthPage);
}

TEST_F(EditorTest, TheSplashFadesInAndOutOnceHoweverQuicklyItIsClicked) {
  PutTopBar();
  Open();
  Click(45, 10);  // About: fades in, blocking
  ASSERT_NE(editor->splash(), nullptr);
  EXPECT_FLOAT_EQ(editor->splash()->alpha, 1.0f);
  EXPECT_EQ(Pixel(200, 200), Rgb(255, 255, 0));
  Click(45, 10);  // a second About while it shows changes nothing
  // Two quick clicks: the second comes while the first fades.
  int clicks = 0;
  headless->SetModalStep([&] {
    if (clicks++ == 2) {
      headless->MouseDown(native(), 100, 100);
      headless->MouseUp(native(), 100, 100);
    }
  });
  headless->MouseDown(native(), 100, 100);
  headless->MouseUp(native(), 100, 100);
  headless->SetModalStep(nullptr);
  editor->Idle();
  EXPECT_EQ(editor->splash(), nullptr);
  EXPECT_EQ(Pixel(200, 200), Rgb(25, 25, 76)) << "the background again";
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EditorTest, TheFileMenusResetAsksAndResetsOnlyOnYes) {
  PutTopBar();
  Open();
  z->masterVolume().SetValue(0.3f);
  z->SetPatchName("Mine");
  editor->Idle();
  EXPECT_EQ(editor->patchName().text(), "Mine");
  // The menu opens at (75, 16): choose its third row.
  auto chooseReset = [&] {
    if (auto* menu = headless->Topmost(platform::WindowKind::kMenu)) {
      const platform::Rect b = menu->bounds();
      headless->Click(menu, b.width / 2, b.height * 5 / 6);
    }
  };
  headless->SetModalStep(chooseReset);
  reply = MessageBoxAnswer::kNo;
  Click(85, 12);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Reset Patch|Sure you want clear this patch?");
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 0.3f);
  reply = MessageBoxAnswer::kYes;
  Click(85, 12);
  headless->SetModalStep(nullptr);
  EXPECT_FLOAT_EQ(z->masterVolume().GetValue(), 1.0f);
  editor->Idle();
  EXPECT_EQ(editor->patchName().text(), "<untitled>");
}

TEST_F(EditorTest, RequestsFromOtherThreadsReachTheEditorAtItsIdle) {
  PutTopBar();
  Open();
  std::thread host([&] { z->SetPatchName("From the host"); });
  host.join();
  EXPECT_EQ(editor->patchName().text(), "<untitled>") << "nothing touched off its thread";
  editor->Idle();
  EXPECT_EQ(editor->patchName().text(), "From the host");
}

TEST_F(EditorTest, AMissingSkinImageIsReportedOverTheEditorAndTheRestIsBuilt) {
  PutTopBar();
  std::filesystem::remove(images_ / "AboutButUp.png");
  // The box is a window of the editor's, read and answered while it waits.
  OpenAnsweringBoxWindows();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Could not find image file:"), std::string::npos) << boxes[0];
  EXPECT_NE(boxes[0].find("AboutButUp.png"), std::string::npos) << boxes[0];
  EXPECT_FALSE(headless->modalGaveUp());
  EXPECT_EQ(headless->Topmost(platform::WindowKind::kFloating), nullptr) << "the box has gone";
  Click(290, 20);  // the tabs after it still work
  EXPECT_EQ(editor->page(), GUI::kPerformPage);
}

TEST_F(EditorTest, HelpWithoutTheManualSaysWhereItLooked) {
  PutTopBar();
  Open();
  Click(15, 15);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Could not find the help file in the expected place:\n\n"), std::string::npos);
  EXPECT_NE(boxes[0].find("Tarvenn Audio/Zelvane/Zelvane 1.0 User Manual.pdf"), std::string::npos);
}

TEST_F(EditorTest, NextAndPreviousWalkThePatchLibrary) {
  PutTopBar();
  Open();
  for (const char* name : {"A", "B"}) ASSERT_TRUE(z->SavePatch("Keys", name));
  z->SetPatchName("<untitled>");
  z->SetCategory("");
  Click(525, 15);  // next from an untitled patch: the first
  EXPECT_EQ(z->patchName(), "A(User)");
  Click(525, 15);
  EXPECT_EQ(z->patchName(), "B(User)");
  Click(345, 15);
  EXPECT_EQ(z->patchName(), "A(User)");
  EXPECT_EQ(editor->patchName().text(), "A(User)");
}

}  // namespace

namespace {

TEST_F(EditorTest, WithoutAnySkinTheEditorSaysSoOnceAndStillWorks) {
  OpenAnsweringBoxWindows();  // an empty images folder
  ASSERT_EQ(boxes.size(), 1u) << "one box for the whole skin";
  EXPECT_NE(boxes[0].find("Error in Image::LoadFromFile.. Could not find image file: "), std::string::npos)
      << boxes[0];
  EXPECT_NE(boxes[0].find("more skin images are missing as well"), std::string::npos) << boxes[0];
  Click(290, 20);
  EXPECT_EQ(editor->page(), GUI::kPerformPage);
}

}  // namespace
