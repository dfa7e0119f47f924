#include "gui/text_field.h"

#include <algorithm>
#include <cstdlib>

#include "gui/text_metrics.h"
#include "gui/top_level.h"

namespace gui {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Printable text only: control characters would draw as boxes or worse.
bool Printable(const std::string& s) {
  if (s.empty()) return false;
  return std::none_of(s.begin(), s.end(), [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
  });
}

}  // namespace

void TextField::Create(Window* parent, int px, int py, int w, int h, std::size_t maxCharacters,
                       TextFieldListener* fieldListener, int fieldId) {
  maxLength_ = maxCharacters;
  listener = fieldListener;
  id = fieldId;
  Window::Create(parent, w, h, px, py);
}

std::size_t TextField::Characters() const {
  return static_cast<std::size_t>(std::count_if(text_.begin(), text_.end(), [](char c) { return !IsContinuation(c); }));
}

std::size_t TextField::Previous(std::size_t at) const {
  if (at == 0) return 0;
  --at;
  while (at > 0 && IsContinuation(text_[at])) --at;
  return at;
}

std::size_t TextField::Next(std::size_t at) const {
  if (at >= text_.size()) return text_.size();
  ++at;
  while (at < text_.size() && IsContinuation(text_[at])) ++at;
  return at;
}

void TextField::SetText(const std::string& text) {
  text_.clear();
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size() && count < maxLength_; ++count) {
    const std::size_t n = std::min(Utf8SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
    text_.append(text, i, n);
    i += n;
  }
  caret_ = text_.size();
  ScrollToCaret();
  Repaint();
}

void TextField::SetMaxLength(std::size_t maxCharacters) {
  maxLength_ = maxCharacters;
  if (Characters() > maxLength_) SetText(text_);
}

void TextField::SetCaret(std::size_t byteOffset) {
  byteOffset = std::min(byteOffset, text_.size());
  while (byteOffset > 0 && byteOffset < text_.size() && IsContinuation(text_[byteOffset])) --byteOffset;
  caret_ = byteOffset;
  ScrollToCaret();
  Repaint();
}

bool TextField::focused() const {
  const TopLevel* top = topLevel();
  return top != nullptr && top->focus() == this;
}

void TextField::Changed() {
  ScrollToCaret();
  Repaint();
  if (listener != nullptr) listener->TextChanged(id);
}

void TextField::Insert(const std::string& typed) {
  if (!Printable(typed) || Characters() >= maxLength_) return;
  text_.insert(caret_, typed);
  caret_ += typed.size();
  Changed();
}

void TextField::ScrollToCaret() {
  const int room = std::max(width - 2 * kInset, 1);
  const int at = MeasureTextWidth(text_.substr(0, caret_), kFontSize);
  if (at - scroll_ > room - 1) scroll_ = at - (room - 1);
  if (at < scroll_) scroll_ = at;
  // No empty room at the right while text is hidden at the left.
  const int full = MeasureTextWidth(text_, kFontSize);
  scroll_ = std::max(std::min(scroll_, full - (room - 1)), 0);
}

void TextField::OnLeftDown(int px, int /*y*/) {
  SetFocus();
  // The caret goes to the character boundary nearest the click.
  const int target = px - kInset + scroll_;
  std::size_t best = 0;
  int bestDistance = std::abs(target);
  for (std::size_t at = 0;;) {
    const int d = std::abs(MeasureTextWidth(text_.substr(0, at), kFontSize) - target);
    if (d < bestDistance) {
      best = at;
      bestDistance = d;
    }
    if (at >= text_.size()) break;
    at = Next(at);
  }
  SetCaret(best);
}

void TextField::OnLeftDoubleClick(int px, int py) { OnLeftDown(px, py); }

void TextField::OnKey(const platform::KeyEvent& key) {
  using K = platform::KeyEvent;
  switch (key.key) {
    case K::kCharacter:
      Insert(key.text);
      break;
    case K::kBackspace:
      if (caret_ > 0) {
        const std::size_t from = Previous(caret_);
        text_.erase(from, caret_ - from);
        caret_ = from;
        Changed();
      }
      break;
    case K::kDelete:
      if (caret_ < text_.size()) {
        text_.erase(caret_, Next(caret_) - caret_);
        Changed();
      }
      break;
    case K::kLeft:
      SetCaret(Previous(caret_));
      break;
    case K::kRight:
      SetCaret(Next(caret_));
      break;
    case K::kHome:
      SetCaret(0);
      break;
    case K::kEnd:
      SetCaret(text_.size());
      break;
    case K::kReturn:
      if (listener != nullptr) listener->TextEntered(id);
      break;
    case K::kEscape:
      if (listener != nullptr) listener->TextCancelled(id);
      break;
    default:
      break;
  }
}

void TextField::Paint(GraphicsContext& g) {
  g.SetColour(255, 255, 255, 1, 255);
  g.FillRect(0, 0, width, height);
  g.SetColour(focused() ? 70 : 130, focused() ? 100 : 130, focused() ? 160 : 130, 1, 255);
  g.DrawRect(0, 0, width - 1, height - 1);
  g.SetFont(kFontSize);
  cairo_t* cr = g.cairo();
  cairo_save(cr);
  cairo_rectangle(cr, 1, 1, std::max(width - 2, 0), std::max(height - 2, 0));
  cairo_clip(cr);
  const int textTop = (height - g.TextHeight()) / 2;
  g.SetColour(0, 0, 0, 1, 255);
  g.DrawString(text_, kInset - scroll_, textTop);
  if (focused()) {
    const int cx = kInset - scroll_ + g.TextWidth(text_.substr(0, caret_));
    g.MoveTo(cx, textTop);
    g.LineTo(cx, textTop + g.TextHeight());
  }
  cairo_restore(cr);
}

}  // namespace gui
