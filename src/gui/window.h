// Every visible element of the editor: a rectangle in its parent with an
// opacity, children drawn over it, and overridable paint and mouse
// operations. Windows are lightweight views: a tree of them is drawn into one
// native window (a TopLevel) per top-level, parents first, each clipped to
// its parent, so nothing flickers. Windows do not own their children.
//
// Thread: the user-interface thread, except Repaint, which any thread may
// call (a parameter changed by the host's automation or a MIDI controller):
// off that thread it only marks the window, and the next pump repaints it.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "gui/event.h"
#include "gui/graphics_context.h"
#include "platform/platform.h"

namespace gui {

class TopLevel;

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

class Window : public EventHandler {
 public:
  Window();
  ~Window() override;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Places the window in its parent (the parent's coordinates) and appends it
  // to the parent's children, on top of them.
  virtual void Create(Window* parent, int width, int height, int x, int y);
  virtual void Paint(GraphicsContext& /*g*/) {}
  virtual void Repaint();
  virtual void OnLeftDown(int /*x*/, int /*y*/) {}
  virtual void OnLeftUp(int /*x*/, int /*y*/) {}
  virtual void OnRightDown(int /*x*/, int /*y*/) {}
  virtual void OnRightUp(int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(int /*x*/, int /*y*/) {}
  virtual void OnLeftDoubleClick(int /*x*/, int /*y*/) {}
  virtual void OnRightDoubleClick(int /*x*/, int /*y*/) {}
  // delta: the platform's wheel delta negated, positive towards the user.
  virtual void OnMouseWheel(int /*delta*/, int /*x*/, int /*y*/) {}
  virtual Point GetMousePosition() const { return {mouseX, mouseY}; }
  // Handles every pending platform event (long actions keep the editor alive).
  virtual void PumpMessages();
  virtual void SetFocus();
  // The paint procedure: Paint, then the paint event's targets.
  virtual void OnPaint(GraphicsContext& g);
  // Keys while this window has the keyboard focus.
  virtual void OnKey(const platform::KeyEvent& /*key*/) {}
  virtual void OnFocusLost() {}

  // Geometry; moving or resizing repaints what the window covered and covers.
  void Move(int x, int y);
  void Resize(int width, int height);
  void SetAlpha(float alpha);
  float EffectiveAlpha() const;
  bool created() const { return created_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // This window's origin in the top-level's coordinates, and on the screen.
  Point OriginInTopLevel() const;
  Point ClientToScreen(Point p) const;
  TopLevel* topLevel() const;
  platform::Platform* platform() const;

  // The mouse keeps coming here until released, wherever it goes.
  void CaptureMouse();
  void ReleaseMouse();
  bool captured = false;

  // Leaves the parent's children (its own stay with it).
  void RemoveFromParent();
  // Becomes the root of a native window (the editor, a frame, a menu).
  void AttachToTopLevel(TopLevel* top);
  // A window standing for one not created here (the host's): destroying it
  // leaves the native window alone.
  bool attachedToHost = false;

  // Called by the top-level on the user-interface thread.
  bool TakeRepaintRequest() { return repaintRequested_.exchange(false, std::memory_order_acq_rel); }
  const std::vector<Window*>& children() const { return children_; }

  std::string name;
  Event<void(GraphicsContext&)> paintEvent;
  Event<void(Window*)> windowEvent;
  int mouseX = 0, mouseY = 0;
  Window* parent = nullptr;
  int width = 0, height = 0, x = 0, y = 0;
  float alpha = 1.0f;
  bool controlDown = false, shiftDown = false, extraButtonDown = false;

 private:
  void InvalidateArea();

  std::vector<Window*> children_;
  TopLevel* root_ = nullptr;  // set only on a top-level's root window
  bool created_ = false;
  std::atomic<bool> repaintRequested_{false};
};

// True on the thread that runs the editors (the first to open one).
bool OnUserInterfaceThread();
void SetUserInterfaceThread();

}  // namespace gui
