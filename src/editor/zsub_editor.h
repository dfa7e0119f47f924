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
  Zelvane* instrument() const { return instrument_; }

 protected:
  using gui::Window::Create;
  // The page's window at its place in the editor.
  void CreatePage(gui::Window* editor, Zelvane* instrument, int x, int y, int width, int height) {
    instrument_ = instrument;
    Create(editor, width, height, x, y);
  }

 private:
  Zelvane* instrument_ = nullptr;
};
