#include "gui/dialog_chrome.h"

namespace gui::dialog_chrome {

void Paint(GraphicsContext& g, int width, int height, const std::string& title) {
  g.SetColour(50, 50, 50, 1, 255);
  g.FillRect(0, 0, width, height);
  g.SetColour(30, 30, 30, 1, 255);
  g.FillRect(0, 0, width, kTitleHeight);
  g.SetColour(110, 110, 110, 1, 255);
  g.DrawRect(0, 0, width - 1, height - 1);
  g.SetColour(235, 235, 235, 1, 255);
  g.SetFont(8, GraphicsContext::kDefaultFamily, true);
  g.DrawString(title, kMargin, (kTitleHeight - g.TextHeight()) / 2);
  g.SetFont(8);
}

}  // namespace gui::dialog_chrome
