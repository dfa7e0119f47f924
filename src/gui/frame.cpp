#include "gui/frame.h"

#include <algorithm>

#include "gui/listeners.h"

namespace gui {

void RunLoopUntil(platform::Platform& platform, const std::function<bool()>& done) {
  while (!done() && platform.ok()) {
    platform.Pump();
    if (done()) break;
    const int next = timers::MillisecondsToNext();
    platform.Wait(next < 0 ? 20 : std::min(next, 20));
  }
}

Frame::~Frame() {
  if (modal) EndModal();
  host_.reset();
}

void Frame::Create(Window* owner, int x, int y, int w, int h) {
  modal = false;
  dragging = false;
  width = w;
  height = h;
  TopLevel* ownerTop = owner != nullptr ? owner->topLevel() : nullptr;
  owner_ = ownerTop;
  if (ownerTop == nullptr) return;  // nothing to float over
  host_ = std::make_unique<TopLevel>(ownerTop->platform(), platform::WindowKind::kFloating, 0, ownerTop,
                                     *this, x, y);
  host_->OnCloseRequested([this] { OnClose(); });
  host_->native().Raise();
  host_->native().TakeFocus();
  Repaint();
}

void Frame::RunModal() {
  if (host_ == nullptr) return;
  modal = true;
  if (owner_ != nullptr) owner_->SetEnabled(false);
  RunLoopUntil(host_->platform(), [this] { return !modal; });
  if (modal) EndModal();  // the connection failed
}

void Frame::EndModal() {
  modal = false;
  if (host_ != nullptr && owner_ != nullptr) owner_->SetEnabled(true);
}

void Frame::OnLeftDown(int px, int py) {
  if (!draggable || host_ == nullptr) return;
  CaptureMouse();
  dragStart_ = ClientToScreen({px, py});
  const platform::Rect b = host_->native().bounds();
  hostStart_ = {b.x, b.y};
  dragging = true;
}

void Frame::OnMouseMove(int px, int py) {
  if (!dragging || host_ == nullptr) return;
  const Point now = ClientToScreen({px, py});
  host_->native().Move(hostStart_.x + now.x - dragStart_.x, hostStart_.y + now.y - dragStart_.y);
}

void Frame::OnLeftUp(int /*x*/, int /*y*/) {
  if (!dragging) return;
  ReleaseMouse();
  captured = false;
  dragging = false;
}

}  // namespace gui
