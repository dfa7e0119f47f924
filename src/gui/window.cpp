#include "gui/window.h"

#include <algorithm>
#include <thread>

#include "gui/top_level.h"

namespace gui {
namespace {

std::atomic<std::thread::id> uiThread{};

}  // namespace

bool OnUserInterfaceThread() { return std::this_thread::get_id() == uiThread.load(); }

void SetUserInterfaceThread() { uiThread.store(std::this_thread::get_id()); }

Window::Window() { name.reserve(128); }

Window::~Window() {
  if (TopLevel* top = topLevel()) top->Forget(this);
  if (parent != nullptr) {
    InvalidateArea();
    std::erase(parent->children_, this);
  }
  // Children are not owned: they stay, cut loose from the tree.
  for (Window* child : children_) child->parent = nullptr;
}

void Window::Create(Window* p, int w, int h, int px, int py) {
  if (parent != nullptr) std::erase(parent->children_, this);
  parent = p;
  width = w;
  height = h;
  x = px;
  y = py;
  created_ = true;
  if (parent != nullptr) parent->children_.push_back(this);
  Repaint();
}

void Window::RemoveFromParent() {
  if (parent == nullptr) return;
  InvalidateArea();
  if (TopLevel* top = topLevel()) top->Forget(this);
  std::erase(parent->children_, this);
  parent = nullptr;
}

void Window::AttachToTopLevel(TopLevel* top) {
  root_ = top;
  created_ = top != nullptr;
}

TopLevel* Window::topLevel() const {
  const Window* w = this;
  while (w->parent != nullptr) w = w->parent;
  return w->root_;
}

platform::Platform* Window::platform() const {
  TopLevel* top = topLevel();
  return top != nullptr ? &top->platform() : nullptr;
}

float Window::EffectiveAlpha() const {
  float a = alpha;
  for (const Window* w = parent; w != nullptr; w = w->parent) a *= w->alpha;
  return a;
}

Point Window::OriginInTopLevel() const {
  Point p{0, 0};
  for (const Window* w = this; w->parent != nullptr; w = w->parent) {
    p.x += w->x;
    p.y += w->y;
  }
  return p;
}

Point Window::ClientToScreen(Point p) const {
  const Point o = OriginInTopLevel();
  int sx = 0, sy = 0;
  if (TopLevel* top = topLevel()) top->native().ScreenOrigin(sx, sy);
  return {p.x + o.x + sx, p.y + o.y + sy};
}

void Window::InvalidateArea() {
  TopLevel* top = topLevel();
  if (top == nullptr) return;
  const Point o = OriginInTopLevel();
  top->Invalidate({o.x, o.y, width, height});
}

void Window::Repaint() {
  if (!created_) return;
  if (!OnUserInterfaceThread()) {
    // The next pump of the user-interface thread picks it up.
    repaintRequested_.store(true, std::memory_order_release);
    return;
  }
  InvalidateArea();
}

void Window::Move(int px, int py) {
  InvalidateArea();
  x = px;
  y = py;
  InvalidateArea();
}

void Window::Resize(int w, int h) {
  InvalidateArea();
  width = w;
  height = h;
  if (root_ != nullptr) root_->native().Resize(w, h);
  InvalidateArea();
}

void Window::SetAlpha(float a) {
  alpha = std::clamp(a, 0.0f, 1.0f);
  Repaint();
}

void Window::OnPaint(GraphicsContext& g) {
  Paint(g);
  paintEvent.Fire(g);
}

void Window::PumpMessages() {
  if (platform::Platform* p = platform()) p->Pump();
}

void Window::SetFocus() {
  if (TopLevel* top = topLevel()) top->SetFocus(this);
}

void Window::CaptureMouse() {
  if (TopLevel* top = topLevel()) top->SetCapture(this);
  captured = true;
}

void Window::ReleaseMouse() {
  if (TopLevel* top = topLevel()) top->ReleaseCapture(this);
  captured = false;
}

}  // namespace gui
