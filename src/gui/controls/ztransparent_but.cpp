#include "gui/controls/ztransparent_but.h"

namespace gui {

void ZTransparentBut::Create(Window* parent, int x, int y, int w, int h, ButtonListener* buttonListener,
                             int buttonId) {
  listener = buttonListener;
  id = buttonId;
  Window::Create(parent, w, h, x, y);
}

void ZTransparentBut::SetCovered(bool on) {
  covered = on;
  Repaint();
}

void ZTransparentBut::Paint(GraphicsContext& g) {
  if (!covered) return;
  g.SetColour(0, 0, 0, 1, 255);
  g.FillRect(0, 0, width, height);
}

void ZTransparentBut::OnLeftDown(int /*x*/, int /*y*/) { AnnounceClick(); }

void ZTransparentBut::OnLeftDoubleClick(int /*x*/, int /*y*/) { AnnounceClick(); }

}  // namespace gui
