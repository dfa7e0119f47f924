// A floating window of its own (the dialogs and message boxes): a top-level
// native window transient for its owner's, placed at a point of the screen,
// that can run modally and be dragged by its background.
// Thread: user-interface thread.
#pragma once

#include <functional>
#include <memory>

#include "gui/top_level.h"
#include "gui/window.h"

namespace gui {

class Frame : public Window {
 public:
  Frame() = default;
  // Ends a modal run still going, re-enabling the owner, before the native
  // window goes.
  ~Frame() override;

  // owner: any window of the editor; x, y on the screen.
  virtual void Create(Window* owner, int x, int y, int width, int height);
  // Disables the owner's top-level for input and handles events until
  // EndModal; answers at once when the frame could not be created.
  void RunModal();
  void EndModal();
  // The window manager's close button ends a modal run; by default that is
  // all it does.
  virtual void OnClose() { EndModal(); }

  void OnLeftDown(int x, int y) override;
  void OnLeftUp(int x, int y) override;
  void OnMouseMove(int x, int y) override;

  bool modal = false;
  bool draggable = false;
  bool dragging = false;

 private:
  using Window::Create;
  std::unique_ptr<TopLevel> host_;
  TopLevel* owner_ = nullptr;
  Point dragStart_;        // the pointer on the screen
  Point hostStart_;        // the host window's corner at drag start
};

// Handles events (timers included) until done answers true or the
// platform's connection fails.
void RunLoopUntil(platform::Platform& platform, const std::function<bool()>& done);

}  // namespace gui
