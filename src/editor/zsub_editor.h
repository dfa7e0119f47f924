// The base of the editor's three pages: a window below the top bar that the
// editor root builds anew whenever its page is chosen.
// Thread: user-interface thread.
#pragma once

#include "gui/window.h"

class Zelvane;

class ZSubEditor : public gui::Window {
 public:
  // The root's idle: a page refreshes what follows the instrument.
  virtual void Idle() = 0;
  // After a patch load or a restored state.
  virtual void RefreshPage() { Repaint(); }
};
