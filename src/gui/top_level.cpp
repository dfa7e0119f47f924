#include "gui/top_level.h"

#include <cmath>

#include "gui/graphics_context.h"
#include "gui/window.h"

namespace gui {

TopLevel::TopLevel(platform::Platform& platform, platform::WindowKind kind, std::uintptr_t parent,
                   TopLevel* owner, Window& root, int x, int y)
    : platform_(platform), root_(root) {
  native_ = platform.CreateWindow(kind, parent, owner != nullptr ? owner->native_.get() : nullptr,
                                  {x, y, root.width, root.height}, this);
  root.x = 0;
  root.y = 0;
  root.AttachToTopLevel(this);
  native_->Invalidate({0, 0, root.width, root.height});
  native_->Show();
}

TopLevel::~TopLevel() {
  if (capture_ != nullptr) native_->SetCapture(false);
  root_.AttachToTopLevel(nullptr);
  native_.reset();
}

void TopLevel::PaintTree(cairo_t* cr, Window& w, int ox, int oy, const platform::Rect& clip, float alpha) {
  const platform::Rect area = platform::Rect{ox, oy, w.width, w.height}.Intersect(clip);
  if (area.Empty()) return;
  cairo_save(cr);
  cairo_rectangle(cr, area.x, area.y, area.width, area.height);
  cairo_clip(cr);
  cairo_translate(cr, ox, oy);
  {
    GraphicsContext g(cr, w.width, w.height, alpha);
    w.OnPaint(g);
  }
  cairo_restore(cr);
  // A copy: painting must not change the tree, but be safe if it does.
  const std::vector<Window*> children = w.children();
  for (Window* child : children) {
    PaintTree(cr, *child, ox + child->x, oy + child->y, area, alpha * child->alpha);
  }
}

void TopLevel::NativePaint(cairo_t* cr, const platform::Rect& region) {
  PaintTree(cr, root_, 0, 0, region, root_.alpha);
}

Window* TopLevel::HitTest(Window& w, int& x, int& y) {
  const std::vector<Window*>& children = w.children();
  // The last child is on top.
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Window* c = *it;
    if (c->created() && x >= c->x && y >= c->y && x < c->x + c->width && y < c->y + c->height) {
      x -= c->x;
      y -= c->y;
      return HitTest(*c, x, y);
    }
  }
  return &w;
}

void TopLevel::NativeMouse(const platform::MouseEvent& e) {
  if (!enabled_) return;
  Window* target = nullptr;
  int x = e.x, y = e.y;
  if (capture_ != nullptr) {
    target = capture_;
    const Point o = target->OriginInTopLevel();
    x -= o.x;
    y -= o.y;
  } else {
    target = HitTest(root_, x, y);
  }
  if (target == nullptr) return;
  target->mouseX = x;
  target->mouseY = y;
  target->controlDown = e.control;
  target->shiftDown = e.shift;
  target->extraButtonDown = e.extraButton;
  // From here on the target may destroy itself: nothing touches it after.
  switch (e.kind) {
    case platform::MouseEvent::kDown: {
      const std::int64_t now = platform::NowMs();
      const bool isDouble = !lastWasDouble_ && e.button == lastDownButton_ &&
                            now - lastDownTime_ <= kDoubleClickMs &&
                            std::abs(e.x - lastDownX_) <= kDoubleClickDistance &&
                            std::abs(e.y - lastDownY_) <= kDoubleClickDistance;
      lastDownTime_ = now;
      lastDownButton_ = e.button;
      lastDownX_ = e.x;
      lastDownY_ = e.y;
      lastWasDouble_ = isDouble;
      if (e.button == 1) {
        isDouble ? target->OnLeftDoubleClick(x, y) : target->OnLeftDown(x, y);
      } else if (e.button == 3) {
        isDouble ? target->OnRightDoubleClick(x, y) : target->OnRightDown(x, y);
      }
      break;
    }
    case platform::MouseEvent::kUp:
      if (e.button == 1) target->OnLeftUp(x, y);
      if (e.button == 3) target->OnRightUp(x, y);
      break;
    case platform::MouseEvent::kMove:
      target->OnMouseMove(x, y);
      break;
    case platform::MouseEvent::kWheel:
      // The position as the platform gives it: the top-level's coordinates.
      target->OnMouseWheel(-e.wheelDelta, e.x, e.y);
      break;
  }
}

void TopLevel::NativeKey(const platform::KeyEvent& e) {
  if (!enabled_) return;
  if (focus_ != nullptr) focus_->OnKey(e);
}

void TopLevel::NativeCloseRequested() {
  if (onClose_) onClose_();
}

void TopLevel::CollectRepaints(Window& w) {
  if (w.TakeRepaintRequest()) w.Repaint();
  for (Window* child : w.children()) CollectRepaints(*child);
}

void TopLevel::NativeIdle() { CollectRepaints(root_); }

void TopLevel::SetCapture(Window* w) {
  capture_ = w;
  native_->SetCapture(true);
}

void TopLevel::ReleaseCapture(Window* w) {
  if (capture_ != w) return;
  capture_ = nullptr;
  native_->SetCapture(false);
}

void TopLevel::SetFocus(Window* w) {
  if (focus_ == w) return;
  Window* old = focus_;
  focus_ = w;
  if (old != nullptr) old->OnFocusLost();
  native_->TakeFocus();
}

void TopLevel::Forget(Window* w) {
  if (capture_ == w) ReleaseCapture(w);
  if (focus_ == w) focus_ = nullptr;
}

}  // namespace gui
