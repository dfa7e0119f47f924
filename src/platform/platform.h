// The windowing platform the editor is drawn on: native windows with a
// double-buffered cairo backing image, mouse and key input, a clock, and the
// event pump. Two back ends implement it: X11 (through XCB) for a person at a
// display, and a headless one over in-memory images for tests and
// screenshots.
//
// Thread: the user-interface thread only (the host's editor thread). A
// Platform is made when an editor opens and owns that editor's connection.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
  bool Empty() const { return width <= 0 || height <= 0; }
  Rect Intersect(const Rect& o) const;
  Rect Union(const Rect& o) const;
};

struct MouseEvent {
  enum Kind { kDown, kUp, kMove, kWheel };
  Kind kind = kMove;
  int button = 1;  // 1 left, 2 middle, 3 right, 8 the first extra button
  int x = 0, y = 0;  // in the native window
  int wheelDelta = 0;  // platform units, 120 a notch, positive away from the user
  bool control = false, shift = false, extraButton = false;
};

struct KeyEvent {
  enum Key { kCharacter, kBackspace, kDelete, kLeft, kRight, kHome, kEnd, kReturn, kEscape, kTab, kOther };
  Key key = kOther;
  std::string text;  // UTF-8 of a character key
  bool control = false, shift = false;
};

// What a native window tells the object drawn in it.
class NativeWindowClient {
 public:
  virtual ~NativeWindowClient() = default;
  // Paints the region (window coordinates) into cr, which is clipped to it
  // and draws into the window's backing image.
  virtual void NativePaint(cairo_t* cr, const Rect& region) = 0;
  virtual void NativeMouse(const MouseEvent& event) = 0;
  virtual void NativeKey(const KeyEvent& /*event*/) {}
  // The window manager's close button, or a pointer grab lost (menus).
  virtual void NativeCloseRequested() {}
  // Once per pump, before painting: work deferred from other threads.
  virtual void NativeIdle() {}
};

enum class WindowKind {
  kEmbedded,  // a child of the host's window (the editor)
  kFloating,  // a top-level window transient for the editor (dialogs, message boxes)
  kMenu,      // an override-redirect window holding the pointer (popup menus)
};

class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual WindowKind kind() const = 0;
  // The parent's coordinates for an embedded window, the screen's otherwise.
  virtual void Move(int x, int y) = 0;
  virtual void Resize(int width, int height) = 0;
  virtual Rect bounds() const = 0;
  // Top-left corner of the window on the screen.
  virtual void ScreenOrigin(int& x, int& y) const = 0;
  // Marks a region for painting at the next pump.
  virtual void Invalidate(const Rect& region) = 0;
  virtual void Show() = 0;
  virtual void Raise() = 0;
  // While captured, every mouse event of the platform's pointer comes here.
  virtual void SetCapture(bool on) = 0;
  // The keyboard goes to this window (floating windows).
  virtual void TakeFocus() = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  // The window's backing image as last painted (ARGB32, premultiplied).
  virtual cairo_surface_t* backing() const = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // parent: the host's window id for an embedded window (the X11 Window);
  // owner: the window a floating window or menu belongs to. The client must
  // outlive the window.
  virtual std::unique_ptr<NativeWindow> CreateWindow(WindowKind kind, std::uintptr_t parent,
                                                     NativeWindow* owner, const Rect& bounds,
                                                     NativeWindowClient* client) = 0;
  // Handles every pending event, runs the clients' idle work, fires due
  // timers and paints what is invalid. Never blocks.
  virtual void Pump() = 0;
  // Blocks for at most timeoutMs or until an event arrives (the headless
  // back end moves its clock on instead).
  virtual void Wait(int timeoutMs) = 0;
  // False once the display connection has failed.
  virtual bool ok() const = 0;
  virtual std::string name() const = 0;
};

// The process's millisecond clock for timers and animation: steady time, or
// a clock a test moves by hand.
std::int64_t NowMs();
void SetManualClock(bool manual);
void AdvanceManualClock(std::int64_t ms);
bool ManualClock();

// The timer table's tick, run by every pump before painting (the GUI
// framework installs it).
void SetTimerTick(void (*tick)());
void RunTimerTick();

// Runs xdg-open on a path or address without waiting; false when it could
// not be started (no xdg-open).
bool OpenWithDesktop(const std::string& target);

}  // namespace platform
