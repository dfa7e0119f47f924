#include "platform/headless_platform.h"

#include <algorithm>

namespace platform {

HeadlessPlatform::HeadlessPlatform() { SetManualClock(true); }

HeadlessPlatform::~HeadlessPlatform() { SetManualClock(false); }

std::unique_ptr<NativeWindow> HeadlessPlatform::CreateWindow(WindowKind kind, std::uintptr_t /*parent*/,
                                                             NativeWindow* owner, const Rect& bounds,
                                                             NativeWindowClient* client) {
  auto w = std::make_unique<HeadlessWindow>(*this, kind, static_cast<HeadlessWindow*>(owner), bounds,
                                            client);
  windows_.push_back(w.get());
  return w;
}

void HeadlessPlatform::Forget(HeadlessWindow* w) {
  std::erase(windows_, w);
  if (focus_ == w) focus_ = nullptr;
  if (capture_ == w) capture_ = nullptr;
}

void HeadlessPlatform::Capture(HeadlessWindow* w, bool on) {
  if (on) {
    capture_ = w;
  } else if (capture_ == w) {
    capture_ = nullptr;
  }
}

void HeadlessPlatform::Raised(HeadlessWindow* w) {
  auto it = std::find(windows_.begin(), windows_.end(), w);
  if (it == windows_.end()) return;
  windows_.erase(it);
  windows_.push_back(w);
}

HeadlessWindow* HeadlessPlatform::Topmost(WindowKind kind) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->kind() == kind) return *it;
  }
  return nullptr;
}

void HeadlessPlatform::Pump() {
  if (pumping_) return;  // a client's work started another pump
  pumping_ = true;
  // Copies: a client may open or close windows while it works.
  std::vector<HeadlessWindow*> live = windows_;
  for (HeadlessWindow* w : live) {
    if (std::find(windows_.begin(), windows_.end(), w) != windows_.end()) w->client()->NativeIdle();
  }
  RunTimerTick();
  live = windows_;
  for (HeadlessWindow* w : live) {
    if (std::find(windows_.begin(), windows_.end(), w) != windows_.end()) w->Paint();
  }
  pumping_ = false;
}

void HeadlessPlatform::Wait(int timeoutMs) {
  const int step = std::clamp(timeoutMs, 1, 10);
  AdvanceManualClock(step);
  Pump();
  const std::size_t before = windows_.size();
  if (modalStep_) modalStep_();
  Pump();
  if (windows_.size() != before) {
    idleSteps_ = 0;
  } else if (++idleSteps_ > (modalStep_ ? kMaxIdleSteps : kUnattendedSteps)) {
    // Nobody answers: close the innermost window so the loop ends.
    idleSteps_ = 0;
    modalGaveUp_ = true;
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
      if ((*it)->kind() != WindowKind::kEmbedded) {
        (*it)->client()->NativeCloseRequested();
        break;
      }
    }
  }
}

void HeadlessPlatform::Advance(int ms) {
  for (int done = 0; done < ms; done += 10) {
    AdvanceManualClock(std::min(10, ms - done));
    Pump();
  }
  Pump();
}

void HeadlessPlatform::Deliver(NativeWindow* w, MouseEvent e) {
  idleSteps_ = 0;
  auto* target = static_cast<HeadlessWindow*>(w);
  if (capture_ != nullptr && capture_ != target) {
    // A captured pointer reports to the capturing window, in its coordinates.
    int tx = 0, ty = 0, cx = 0, cy = 0;
    target->ScreenOrigin(tx, ty);
    capture_->ScreenOrigin(cx, cy);
    e.x += tx - cx;
    e.y += ty - cy;
    target = capture_;
  }
  target->client()->NativeMouse(e);
  Pump();
}

void HeadlessPlatform::MouseDown(NativeWindow* w, int x, int y, int button, bool control, bool shift) {
  MouseEvent e;
  e.kind = MouseEvent::kDown;
  e.button = button;
  e.x = x;
  e.y = y;
  e.control = control;
  e.shift = shift;
  Deliver(w, e);
}

void HeadlessPlatform::MouseUp(NativeWindow* w, int x, int y, int button) {
  MouseEvent e;
  e.kind = MouseEvent::kUp;
  e.button = button;
  e.x = x;
  e.y = y;
  Deliver(w, e);
}

void HeadlessPlatform::MouseMove(NativeWindow* w, int x, int y) {
  MouseEvent e;
  e.kind = MouseEvent::kMove;
  e.x = x;
  e.y = y;
  Deliver(w, e);
}

void HeadlessPlatform::Click(NativeWindow* w, int x, int y, int button) {
  MouseDown(w, x, y, button);
  AdvanceManualClock(30);
  MouseUp(w, x, y, button);
  // Past the double-click time, so the next click is a click of its own.
  Advance(500);
}

void HeadlessPlatform::DoubleClick(NativeWindow* w, int x, int y) {
  MouseDown(w, x, y);
  AdvanceManualClock(30);
  MouseUp(w, x, y);
  AdvanceManualClock(60);
  MouseDown(w, x, y);
  AdvanceManualClock(30);
  MouseUp(w, x, y);
  Advance(500);
}

void HeadlessPlatform::Drag(NativeWindow* w, int x0, int y0, int x1, int y1, int steps) {
  MouseDown(w, x0, y0);
  for (int i = 1; i <= steps; ++i) {
    AdvanceManualClock(10);
    MouseMove(w, x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
  }
  MouseUp(w, x1, y1);
  Advance(500);
}

void HeadlessPlatform::Wheel(NativeWindow* w, int x, int y, int notches) {
  MouseEvent e;
  e.kind = MouseEvent::kWheel;
  e.x = x;
  e.y = y;
  e.wheelDelta = 120 * notches;
  Deliver(w, e);
}

void HeadlessPlatform::Type(const std::string& text, NativeWindow* w) {
  auto* target = w != nullptr ? static_cast<HeadlessWindow*>(w) : focus_;
  if (target == nullptr) return;
  for (std::size_t i = 0; i < text.size();) {
    // One UTF-8 sequence per key.
    std::size_t n = 1;
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0xF0) n = 4; else if (c >= 0xE0) n = 3; else if (c >= 0xC0) n = 2;
    KeyEvent k;
    k.key = KeyEvent::kCharacter;
    k.text = text.substr(i, n);
    target->client()->NativeKey(k);
    i += n;
  }
  Pump();
}

void HeadlessPlatform::Key(KeyEvent::Key key, NativeWindow* w) {
  auto* target = w != nullptr ? static_cast<HeadlessWindow*>(w) : focus_;
  if (target == nullptr) return;
  KeyEvent k;
  k.key = key;
  target->client()->NativeKey(k);
  Pump();
}

std::uint32_t HeadlessPlatform::Pixel(const NativeWindow* w, int x, int y) const {
  cairo_surface_t* s = w->backing();
  cairo_surface_flush(s);
  const int width = cairo_image_surface_get_width(s), height = cairo_image_surface_get_height(s);
  if (x < 0 || y < 0 || x >= width || y >= height) return 0;
  const auto* row = cairo_image_surface_get_data(s) + static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
  const std::uint32_t p = reinterpret_cast<const std::uint32_t*>(row)[x];
  const std::uint32_t a = p >> 24;
  if (a == 0) return 0;
  // Undo the premultiplication so callers compare plain colours.
  auto channel = [&](int shift) { return ((((p >> shift) & 0xFFu) * 255u + a / 2) / a) & 0xFFu; };
  return (a << 24) | (channel(16) << 16) | (channel(8) << 8) | channel(0);
}

bool HeadlessPlatform::WritePng(const NativeWindow* w, const std::string& path) const {
  return cairo_surface_write_to_png(w->backing(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

HeadlessWindow::HeadlessWindow(HeadlessPlatform& platform, WindowKind kind, HeadlessWindow* owner,
                               const Rect& bounds, NativeWindowClient* client)
    : platform_(platform), kind_(kind), owner_(owner), bounds_(bounds), client_(client),
      surface_(bounds.width, bounds.height) {}

HeadlessWindow::~HeadlessWindow() { platform_.Forget(this); }

void HeadlessWindow::Move(int x, int y) {
  bounds_.x = x;
  bounds_.y = y;
}

void HeadlessWindow::Resize(int width, int height) {
  bounds_.width = width;
  bounds_.height = height;
  surface_.Resize(width, height);
}

void HeadlessWindow::ScreenOrigin(int& x, int& y) const {
  // An embedded window sits in a host window at the screen's corner.
  x = bounds_.x;
  y = bounds_.y;
}

}  // namespace platform
