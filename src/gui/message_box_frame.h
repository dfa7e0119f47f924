// A plain message box in the editor: a floating frame centred over the
// editor with the caption as its title line, the text wrapped to lines and
// OK or Yes and No buttons. Return answers OK or Yes, Escape (or the window
// manager's close) OK or No.
// Thread: user-interface thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gui/controls/simple_text_button.h"
#include "gui/dialog_chrome.h"
#include "gui/frame.h"
#include "shell/message_box.h"

namespace gui {

class MessageBoxFrame : public Frame, public ButtonListener {
 public:
  static constexpr int kMargin = dialog_chrome::kMargin;
  static constexpr int kTitleHeight = dialog_chrome::kTitleHeight;
  static constexpr int kButtonWidth = 72;
  static constexpr int kButtonHeight = 22;
  static constexpr int kButtonGap = 10;
  static constexpr int kMinWidth = 240;
  static constexpr int kMaxTextWidth = 380;
  enum ButtonId { kFirstButton = 0, kSecondButton = 1 };

  MessageBoxFrame(std::string text, std::string caption, MessageBoxButtons buttons);

  using Frame::Create;
  // Centred over owner's top-level window (the editor).
  void Create(Window& owner);

  void Paint(GraphicsContext& g) override;
  void OnKey(const platform::KeyEvent& key) override;
  void OnClose() override;
  void ButtonClicked(int id) override;

  MessageBoxAnswer answer() const { return answer_; }
  const std::vector<std::string>& lines() const { return lines_; }
  // OK, or Yes then No.
  std::vector<SimpleTextButton*> buttons();

 private:
  void Answer(MessageBoxAnswer a);
  MessageBoxAnswer Declined() const;

  std::string text_, caption_;
  MessageBoxButtons kind_;
  std::vector<std::string> lines_;
  int lineHeight_ = 14;
  SimpleTextButton first_, second_;
  MessageBoxAnswer answer_;
};

// Shows text in a modal message box over owner's editor and answers the
// button pressed. Without a screen to show it on, the text goes to stderr
// and the answer is OK, or No for a question.
MessageBoxAnswer ShowWindowMessageBox(Window& owner, const std::string& text, const std::string& caption,
                                      MessageBoxButtons buttons);

}  // namespace gui
