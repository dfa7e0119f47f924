// An invisible hot area over part of a skin image (page tabs, zoom buttons):
// it clicks on the press itself. When covered it hides what lies under it
// behind opaque black.
// Thread: user-interface thread.
#pragma once

#include "gui/controls/button_base.h"
#include "gui/window.h"

namespace gui {

class ZTransparentBut : public Window, public ButtonBase {
 public:
  using Window::Create;
  void Create(Window* parent, int x, int y, int w, int h, ButtonListener* buttonListener, int buttonId);
  void SetCovered(bool on);

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;

  bool covered = false;
};

}  // namespace gui
