// A single-line text field (the name prompts): text with a caret, typing,
// Backspace, Delete, Left, Right, Home and End, a maximum length in
// characters, the keyboard focus on a click; Return and Escape go to its
// listener. Keys reach it through its top-level's focus (Window::OnKey).
// Thread: user-interface thread.
#pragma once

#include <cstddef>
#include <string>

#include "gui/window.h"

namespace gui {

class TextFieldListener {
 public:
  virtual ~TextFieldListener() = default;
  virtual void TextEntered(int id) = 0;    // Return
  virtual void TextCancelled(int id) = 0;  // Escape
  virtual void TextChanged(int /*id*/) {}
};

class TextField : public Window {
 public:
  static constexpr int kInset = 3;  // between the border and the text
  static constexpr int kFontSize = 8;

  using Window::Create;
  void Create(Window* parent, int x, int y, int w, int h, std::size_t maxCharacters,
              TextFieldListener* fieldListener = nullptr, int fieldId = -1);

  // Cut to the maximum length; the caret goes to the end.
  void SetText(const std::string& text);
  const std::string& text() const { return text_; }
  // In bytes, always at the start of a character.
  std::size_t caret() const { return caret_; }
  void SetCaret(std::size_t byteOffset);
  std::size_t maxLength() const { return maxLength_; }
  void SetMaxLength(std::size_t maxCharacters);
  bool focused() const;

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;
  void OnKey(const platform::KeyEvent& key) override;
  void OnFocusLost() override { Repaint(); }

  TextFieldListener* listener = nullptr;
  int id = -1;

 private:
  std::size_t Characters() const;
  std::size_t Previous(std::size_t at) const;
  std::size_t Next(std::size_t at) const;
  void Insert(const std::string& typed);
  void Changed();
  // Keeps the caret inside the visible part of the field.
  void ScrollToCaret();

  std::string text_;
  std::size_t caret_ = 0;
  std::size_t maxLength_ = 255;
  int scroll_ = 0;  // pixels of text hidden at the left
};

}  // namespace gui
