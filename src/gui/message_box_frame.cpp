#include "gui/message_box_frame.h"

#include <algorithm>
#include <cstdio>

#include "gui/text_metrics.h"

namespace gui {

MessageBoxFrame::MessageBoxFrame(std::string text, std::string caption, MessageBoxButtons buttons)
    : text_(std::move(text)), caption_(std::move(caption)), kind_(buttons), answer_(Declined()) {}

MessageBoxAnswer MessageBoxFrame::Declined() const {
  return kind_ == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kNo : MessageBoxAnswer::kOk;
}

void MessageBoxFrame::Create(Window& owner) {
  lines_ = WrapText(text_, kMaxTextWidth);
  lineHeight_ = MeasureLineHeight() + 2;
  int textWidth = MeasureTextWidth(caption_, 8, GraphicsContext::kDefaultFamily, true);
  for (const std::string& line : lines_) textWidth = std::max(textWidth, MeasureTextWidth(line));
  const int count = kind_ == MessageBoxButtons::kYesNo ? 2 : 1;
  const int buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
  const int w = std::max({kMinWidth, textWidth + 2 * kMargin, buttonsWidth + 2 * kMargin});
  const int textBottom = kTitleHeight + kMargin + static_cast<int>(lines_.size()) * lineHeight_;
  const int h = textBottom + kMargin + kButtonHeight + kMargin;

  // Centred over the editor, whichever of its windows owns the box.
  int cx = 0, cy = 0;
  if (TopLevel* top = owner.topLevel()) {
    const Window& editor = top->root();
    const Point centre = editor.ClientToScreen({editor.width / 2, editor.height / 2});
    cx = centre.x;
    cy = centre.y;
  }
  Frame::Create(&owner, std::max(cx - w / 2, 0), std::max(cy - h / 2, 0), w, h);
  draggable = true;

  const int bx = (w - buttonsWidth) / 2, by = h - kMargin - kButtonHeight;
  if (kind_ == MessageBoxButtons::kYesNo) {
    first_.Create(this, bx, by, kButtonWidth, kButtonHeight, "Yes", this, kFirstButton);
    second_.Create(this, bx + kButtonWidth + kButtonGap, by, kButtonWidth, kButtonHeight, "No", this, kSecondButton);
  } else {
    first_.Create(this, bx, by, kButtonWidth, kButtonHeight, "OK", this, kFirstButton);
  }
  // Return and Escape reach the box wherever the mouse is.
  SetFocus();
}

std::vector<SimpleTextButton*> MessageBoxFrame::buttons() {
  if (kind_ == MessageBoxButtons::kYesNo) return {&first_, &second_};
  return {&first_};
}

void MessageBoxFrame::Paint(GraphicsContext& g) {
  dialog_chrome::Paint(g, width, height, caption_);
  g.SetColour(225, 225, 225, 1, 255);
  int y = kTitleHeight + kMargin;
  for (const std::string& line : lines_) {
    g.DrawString(line, kMargin, y);
    y += lineHeight_;
  }
}

void MessageBoxFrame::Answer(MessageBoxAnswer a) {
  answer_ = a;
  EndModal();
}

void MessageBoxFrame::ButtonClicked(int id) {
  if (id == kSecondButton) {
    Answer(MessageBoxAnswer::kNo);
  } else {
    Answer(kind_ == MessageBoxButtons::kYesNo ? MessageBoxAnswer::kYes : MessageBoxAnswer::kOk);
  }
}

void MessageBoxFrame::OnKey(const platform::KeyEvent& key) {
  if (key.key == platform::KeyEvent::kReturn) {
    ButtonClicked(kFirstButton);
  } else if (key.key == platform::KeyEvent::kEscape) {
    Answer(Declined());
  }
}

void MessageBoxFrame::OnClose() { Answer(Declined()); }

MessageBoxAnswer ShowWindowMessageBox(Window& owner, const std::string& text, const std::string& caption,
                                      MessageBoxButtons buttons) {
  MessageBoxFrame box(text, caption, buttons);
  if (owner.topLevel() == nullptr) {
    std::fprintf(stderr, "Zelvane: %s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return box.answer();
  }
  // A box over a dialog that is itself modal must leave the editor disabled
  // when it ends, as the dialog wants it.
  TopLevel* ownerTop = owner.topLevel();
  const bool wasEnabled = ownerTop->enabled();
  box.Create(owner);
  box.RunModal();
  ownerTop->SetEnabled(wasEnabled);
  return box.answer();
}

}  // namespace gui
