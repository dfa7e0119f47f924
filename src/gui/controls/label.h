// A line of text on a screen. It takes no clicks: every mouse event goes on
// to its parent at the same point in the parent's coordinates.
// Thread: user-interface thread.
#pragma once

#include <string>

#include "gui/window.h"

namespace gui {

class Label : public Window {
 public:
  static constexpr std::size_t kMaxLength = 255;

  using Window::Create;
  void Create(Window* parent, int x, int y, int w, int h, const std::string& text);
  // Longer texts are cut to kMaxLength bytes, never inside a character.
  void SetText(const std::string& text);
  const std::string& text() const { return text_; }
  void SetColour(int r, int g, int b, int a = 255);
  void SetFont(int size, bool bold = false, bool italic = false);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftUp(int x, int y) override;
  void OnRightDown(int x, int y) override;
  void OnRightUp(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;
  void OnRightDoubleClick(int x, int y) override;
  // The wheel's point is the top-level's already: it goes on unchanged.
  void OnMouseWheel(int delta, int x, int y) override;

  int red = 255, green = 255, blue = 255, textAlpha = 255;
  int fontSize = 8;
  bool bold = false, italic = false;

 private:
  // Moves the point into the parent's coordinates and hands the parent the
  // mouse state; null without a parent.
  Window* Forward(int& px, int& py);

  std::string text_;
};

}  // namespace gui
