// The single-line text field inside a dialog frame: focus by click, typing
// and editing keys, the length limit, Return and Escape.
#include "control_fixture.h"
#include "gui/frame.h"
#include "gui/text_field.h"
#include "gui/text_metrics.h"

namespace {

using platform::KeyEvent;

struct Heard : gui::TextFieldListener {
  std::vector<std::string> events;
  void TextEntered(int id) override { events.push_back("enter " + std::to_string(id)); }
  void TextCancelled(int id) override { events.push_back("cancel " + std::to_string(id)); }
  void TextChanged(int id) override { events.push_back("change " + std::to_string(id)); }
};

class TextFieldTest : public ControlTest {
 protected:
  TextFieldTest() {
    frame.Create(&root, 100, 100, 240, 80);
    name.Create(&frame, 10, 10, 150, 20, 8, &heard, 1000);
    other.Create(&frame, 10, 40, 150, 20, 20, &heard, 2);
  }
  platform::HeadlessWindow* dialog() { return headless.Topmost(platform::WindowKind::kFloating); }
  void ClickField(const gui::TextField& f, int x) {
    const gui::Point o = f.OriginInTopLevel();
    headless.Click(dialog(), o.x + x, o.y + 10);
  }

  gui::Frame frame;
  Heard heard;
  gui::TextField name, other;
};

TEST_F(TextFieldTest, TypingAndEditingKeysChangeTheTextAtTheCaret) {
  headless.Type("ignored");  // nothing has the focus yet
  EXPECT_EQ(name.text(), "");
  ClickField(name, 5);
  EXPECT_TRUE(name.focused());
  headless.Type("hello");
  EXPECT_EQ(name.text(), "hello");
  EXPECT_EQ(name.caret(), 5u);
  headless.Key(KeyEvent::kLeft);
  headless.Key(KeyEvent::kLeft);
  headless.Type("X");
  EXPECT_EQ(name.text(), "helXlo");
  headless.Key(KeyEvent::kBackspace);
  EXPECT_EQ(name.text(), "hello");
  headless.Key(KeyEvent::kDelete);
  EXPECT_EQ(name.text(), "helo");
  headless.Key(KeyEvent::kHome);
  headless.Key(KeyEvent::kBackspace);  // nothing before the start
  headless.Type("<");
  headless.Key(KeyEvent::kEnd);
  headless.Key(KeyEvent::kDelete);  // nothing after the end
  headless.Type(">");
  EXPECT_EQ(name.text(), "<helo>");
  headless.Key(KeyEvent::kRight);
  EXPECT_EQ(name.caret(), 6u);

  // Eight characters at most; a two-byte character counts once and goes
  // with one Backspace.
  headless.Type("\xC3\xA9zzz");
  EXPECT_EQ(name.text(), "<helo>\xC3\xA9z");
  headless.Key(KeyEvent::kLeft);
  headless.Key(KeyEvent::kBackspace);
  EXPECT_EQ(name.text(), "<helo>z");
  // Control characters are not text.
  headless.Type("\t");
  EXPECT_EQ(name.text(), "<helo>z");

  headless.Key(KeyEvent::kReturn);
  headless.Key(KeyEvent::kEscape);
  ASSERT_GE(heard.events.size(), 2u);
  EXPECT_EQ(heard.events[heard.events.size() - 2], "enter 1000");
  EXPECT_EQ(heard.events.back(), "cancel 1000");
  EXPECT_EQ(heard.events.front(), "change 1000");
}

TEST_F(TextFieldTest, AClickMovesTheFocusAndPlacesTheCaret) {
  name.SetText("<untitled>");
  EXPECT_EQ(name.text(), "<untitle") << "cut to eight";
  other.SetText("abcdef");
  ClickField(name, 5);
  ClickField(other, 1);  // before the first character
  EXPECT_FALSE(name.focused());
  EXPECT_TRUE(other.focused());
  EXPECT_EQ(other.caret(), 0u);
  headless.Type("x");
  EXPECT_EQ(other.text(), "xabcdef");
  EXPECT_EQ(name.text(), "<untitle");

  ClickField(other, 145);  // past the end of the text
  EXPECT_EQ(other.caret(), other.text().size());
  // Between characters the caret lands on the nearest boundary.
  ClickField(other, gui::TextField::kInset + gui::MeasureTextWidth("xab") + 1);
  EXPECT_EQ(other.caret(), 3u);

  // A white field with dark text.
  const gui::Point o = other.OriginInTopLevel();
  EXPECT_EQ(headless.Pixel(dialog(), o.x + 148, o.y + 10), Rgb(255, 255, 255));
  int darkest = 255;
  for (int x = 3; x < 40; ++x) darkest = std::min(darkest, Red(headless.Pixel(dialog(), o.x + x, o.y + 10)));
  EXPECT_LT(darkest, 100);
}

}  // namespace
