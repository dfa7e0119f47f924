// Message boxes in the editor: answered by their buttons and keys, centred
// over the editor with the text wrapped, and ShowMessageBox routed to the
// newest open editor while any is open.
#include <thread>

#include "control_fixture.h"
#include "gui/editor_message_boxes.h"
#include "gui/message_box_frame.h"
#include "gui/text_metrics.h"

namespace {

using platform::KeyEvent;
using platform::WindowKind;

class MessageBoxTest : public ControlTest {
 protected:
  ~MessageBoxTest() override { headless.SetModalStep(nullptr); }

  static gui::MessageBoxFrame* BoxOf(platform::HeadlessWindow* w) {
    auto* top = dynamic_cast<gui::TopLevel*>(w->client());
    return top != nullptr ? dynamic_cast<gui::MessageBoxFrame*>(&top->root()) : nullptr;
  }
  // Answers the next box by act (given its native window and frame).
  void AnswerWith(std::function<void(platform::HeadlessWindow*, gui::MessageBoxFrame&)> act) {
    headless.SetModalStep([this, act] {
      platform::HeadlessWindow* w = headless.Topmost(WindowKind::kFloating);
      if (w == nullptr) return;
      if (gui::MessageBoxFrame* box = BoxOf(w)) act(w, *box);
    });
  }
  void ClickButton(platform::HeadlessWindow* w, gui::MessageBoxFrame& box, std::size_t i) {
    const gui::SimpleTextButton& b = *box.buttons().at(i);
    const gui::Point o = b.OriginInTopLevel();
    headless.Click(w, o.x + b.width / 2, o.y + b.height / 2);
  }
};

TEST_F(MessageBoxTest, AQuestionIsAnsweredYesOrNoByItsButtonsAndKeys) {
  std::vector<std::string> labels;
  AnswerWith([&](platform::HeadlessWindow* w, gui::MessageBoxFrame& box) {
    for (gui::SimpleTextButton* b : box.buttons()) labels.push_back(b->text);
    ClickButton(w, box, 0);
  });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Delete the category?", "", MessageBoxButtons::kYesNo),
            MessageBoxAnswer::kYes);
  EXPECT_EQ(labels, (std::vector<std::string>{"Yes", "No"}));
  EXPECT_EQ(headless.Topmost(WindowKind::kFloating), nullptr) << "closed";

  AnswerWith([&](platform::HeadlessWindow* w, gui::MessageBoxFrame& box) { ClickButton(w, box, 1); });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Delete?", "", MessageBoxButtons::kYesNo), MessageBoxAnswer::kNo);
  AnswerWith([&](platform::HeadlessWindow*, gui::MessageBoxFrame&) { headless.Key(KeyEvent::kReturn); });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Delete?", "", MessageBoxButtons::kYesNo), MessageBoxAnswer::kYes);
  AnswerWith([&](platform::HeadlessWindow*, gui::MessageBoxFrame&) { headless.Key(KeyEvent::kEscape); });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Delete?", "", MessageBoxButtons::kYesNo), MessageBoxAnswer::kNo);
  AnswerWith([&](platform::HeadlessWindow* w, gui::MessageBoxFrame&) { w->client()->NativeCloseRequested(); });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Delete?", "", MessageBoxButtons::kYesNo), MessageBoxAnswer::kNo);

  // A plain box: one OK, Escape answers it too; the editor took no input.
  struct Counter : gui::Window {
    int presses = 0;
    void OnLeftDown(int, int) override { ++presses; }
  } under;
  under.Create(&root, 400, 300, 0, 0);
  AnswerWith([&](platform::HeadlessWindow*, gui::MessageBoxFrame& box) {
    EXPECT_EQ(box.buttons().size(), 1u);
    EXPECT_EQ(box.buttons()[0]->text, "OK");
    headless.Click(&native(), 5, 5);
    headless.Key(KeyEvent::kEscape);
  });
  EXPECT_EQ(gui::ShowWindowMessageBox(root, "Please enter a name for the preset", "", MessageBoxButtons::kOk),
            MessageBoxAnswer::kOk);
  EXPECT_EQ(under.presses, 0) << "modal";

  // A box asked for by a modal dialog leaves the editor disabled for it.
  gui::Frame dialog;
  dialog.Create(&root, 50, 50, 200, 100);
  bool editorEnabledAfterBox = true;
  bool asked = false;
  headless.SetModalStep([&] {
    platform::HeadlessWindow* w = headless.Topmost(WindowKind::kFloating);
    if (w != nullptr && BoxOf(w) != nullptr) {
      headless.Key(KeyEvent::kReturn);
    } else if (!asked) {
      asked = true;
      gui::ShowWindowMessageBox(root, "File error", "", MessageBoxButtons::kOk);
      editorEnabledAfterBox = top->enabled();
      dialog.EndModal();
    }
  });
  dialog.RunModal();
  headless.SetModalStep(nullptr);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(editorEnabledAfterBox);
  EXPECT_TRUE(top->enabled()) << "until the dialog ends";
}

TEST_F(MessageBoxTest, TheBoxIsCentredOverTheEditorWithItsTextWrapped) {
  const std::string text =
      "Error in Image::LoadFromFile.. Could not find image file: /a/rather/long/folder/name/that/goes/on/Knob.png"
      "\nSecond paragraph.";
  platform::Rect bounds;
  std::vector<std::string> lines;
  AnswerWith([&](platform::HeadlessWindow* w, gui::MessageBoxFrame& box) {
    bounds = w->bounds();
    lines = box.lines();
    headless.Key(KeyEvent::kReturn);
  });
  gui::Window deep;  // any window of the editor owns the box
  deep.Create(&root, 10, 10, 300, 200);
  gui::ShowWindowMessageBox(deep, text, "Zelvane Error in ZButton::Create", MessageBoxButtons::kOk);
  EXPECT_NEAR(bounds.x + bounds.width / 2, 200, 1);
  EXPECT_NEAR(bounds.y + bounds.height / 2, 150, 1);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.back(), "Second paragraph.");
  std::string joined;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_LE(gui::MeasureTextWidth(lines[i]), gui::MessageBoxFrame::kMaxTextWidth);
    joined += lines[i];
  }
  EXPECT_EQ(joined.size() + lines.size() - 2, text.find('\n')) << "only the breaking spaces are dropped";

  // Wrapping by itself: blank lines kept, an overlong word cut.
  EXPECT_EQ(gui::WrapText("a\n\nb", 100), (std::vector<std::string>{"a", "", "b"}));
  const auto cut = gui::WrapText(std::string(200, 'w'), 60);
  EXPECT_GT(cut.size(), 2u);
  for (const std::string& l : cut) EXPECT_LE(gui::MeasureTextWidth(l), 60);
}

TEST_F(MessageBoxTest, ShowMessageBoxGoesToTheNewestOpenEditor) {
  gui::Window second;
  second.width = 300;
  second.height = 200;
  gui::TopLevel secondTop(headless, WindowKind::kEmbedded, 0, nullptr, second, 600, 500);

  platform::HeadlessWindow* owner = nullptr;
  AnswerWith([&](platform::HeadlessWindow* w, gui::MessageBoxFrame&) {
    owner = w->owner();
    headless.Key(KeyEvent::kReturn);
  });
  gui::RegisterEditorForMessageBoxes(root);
  gui::RegisterEditorForMessageBoxes(second);
  EXPECT_EQ(ShowMessageBox("Overwrite?", "Zelvane", MessageBoxButtons::kYesNo), MessageBoxAnswer::kYes);
  EXPECT_EQ(owner, &secondTop.native());
  EXPECT_TRUE(MessageBoxRecorder::Seen().empty());

  // Off the user-interface thread no window may open: the earlier handler.
  MessageBoxAnswer fromThread = MessageBoxAnswer::kYes;
  std::thread([&] { fromThread = ShowMessageBox("busy", "Zelvane", MessageBoxButtons::kYesNo); }).join();
  EXPECT_EQ(fromThread, MessageBoxAnswer::kOk) << "the recorder's answer";
  ASSERT_EQ(MessageBoxRecorder::Seen().size(), 1u);

  gui::UnregisterEditorForMessageBoxes(second);
  owner = nullptr;
  ShowMessageBox("Saved", "");
  EXPECT_EQ(owner, &native()) << "the one still open";

  {
    gui::EditorMessageBoxes scoped(second);
    ShowMessageBox("Saved", "");
    EXPECT_EQ(owner, &secondTop.native());
  }
  gui::UnregisterEditorForMessageBoxes(root);
  owner = nullptr;
  ShowMessageBox("No editor", "Zelvane error");
  EXPECT_EQ(owner, nullptr);
  ASSERT_EQ(MessageBoxRecorder::Seen().size(), 2u) << "back to the handler from before";
  EXPECT_EQ(MessageBoxRecorder::Seen()[1].second, "No editor");
}

}  // namespace
