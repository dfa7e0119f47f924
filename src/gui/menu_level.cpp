#include "gui/menu_level.h"

#include <algorithm>

#include "gui/menu_session.h"
#include "gui/text_metrics.h"

namespace gui {

MenuLevel::MenuLevel(MenuSession& session, const PopupMenu& menu, TopLevel& owner, Point screen, int parentRow)
    : session_(session), menu_(menu), parentRow_(parentRow) {
  int w = kMinWidth;
  int y = kPadding;
  for (const PopupMenu::Item& item : menu.items()) {
    rowTops_.push_back(y);
    y += item.separator ? kSeparatorHeight : kRowHeight;
    if (!item.separator) w = std::max(w, kTextLeft + MeasureTextWidth(item.text) + kTextRight);
  }
  rowTops_.push_back(y);
  width = w;
  height = y + kPadding;
  top_ = std::make_unique<TopLevel>(owner.platform(), platform::WindowKind::kMenu, 0, &owner, *this,
                                    std::max(screen.x, 0), std::max(screen.y, 0));
  top_->OnCloseRequested([this] { session_.Dismiss(); });
  top_->native().Raise();
}

MenuLevel::~MenuLevel() { top_.reset(); }

int MenuLevel::RowAt(int px, int py) const {
  if (px < 0 || px >= width) return -1;
  for (std::size_t i = 0; i + 1 < rowTops_.size(); ++i) {
    if (py >= rowTops_[i] && py < rowTops_[i + 1]) return static_cast<int>(i);
  }
  return -1;
}

Point MenuLevel::ScreenOrigin() const {
  int sx = 0, sy = 0;
  top_->native().ScreenOrigin(sx, sy);
  return {sx, sy};
}

bool MenuLevel::HoldsScreenPoint(Point p) const {
  const Point o = ScreenOrigin();
  return Contains(p.x - o.x, p.y - o.y);
}

void MenuLevel::SetHover(int row) {
  if (row == hover_) return;
  hover_ = row;
  Repaint();
}

void MenuLevel::Paint(GraphicsContext& g) {
  g.SetColour(45, 45, 45, 1, 255);
  g.FillRect(0, 0, width, height);
  g.SetColour(95, 95, 95, 1, 255);
  g.DrawRect(0, 0, width - 1, height - 1);
  const auto& items = menu_.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    PaintItem(g, items[i], rowTops_[i], static_cast<int>(i) == hover_);
  }
}

void MenuLevel::PaintItem(GraphicsContext& g, const PopupMenu::Item& item, int top, bool hovered) {
  if (item.separator) {
    g.SetColour(90, 90, 90, 1, 255);
    g.MoveTo(4, top + kSeparatorHeight / 2);
    g.LineTo(width - 5, top + kSeparatorHeight / 2);
    return;
  }
  const bool disabled = (item.flags & PopupMenu::kDisabled) != 0;
  if (hovered && !disabled) {
    g.SetColour(70, 100, 160, 1, 255);
    g.FillRect(2, top, width - 4, kRowHeight);
  }
  const int light = disabled ? 120 : 225;
  g.SetColour(light, light, light, 1, 255);
  g.DrawString(item.text, kTextLeft, top + (kRowHeight - g.TextHeight()) / 2);
  const int mid = top + kRowHeight / 2;
  if ((item.flags & PopupMenu::kChecked) != 0) {
    g.SetColour(light, light, light, 2, 255);
    g.MoveTo(6, mid);
    g.LineTo(9, mid + 3);
    g.LineTo(14, mid - 4);
  }
  if (item.submenu != nullptr) {
    const int x = width - 12;
    g.SetColour(light, light, light, 1, 255);
    for (int d = 0; d <= 3; ++d) {
      g.MoveTo(x + d, mid - 3 + d);
      g.LineTo(x + d, mid + 3 - d);
    }
  }
}

void MenuLevel::OnLeftDown(int px, int py) { session_.Mouse(MenuSession::kPress, ClientToScreen({px, py})); }
void MenuLevel::OnLeftDoubleClick(int px, int py) { OnLeftDown(px, py); }
void MenuLevel::OnRightDown(int px, int py) { OnLeftDown(px, py); }
void MenuLevel::OnRightDoubleClick(int px, int py) { OnLeftDown(px, py); }
void MenuLevel::OnLeftUp(int px, int py) { session_.Mouse(MenuSession::kRelease, ClientToScreen({px, py})); }
void MenuLevel::OnRightUp(int px, int py) { OnLeftUp(px, py); }
void MenuLevel::OnMouseMove(int px, int py) { session_.Mouse(MenuSession::kMove, ClientToScreen({px, py})); }
void MenuLevel::OnKey(const platform::KeyEvent& key) { session_.Key(key); }

}  // namespace gui
