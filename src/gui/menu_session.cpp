#include "gui/menu_session.h"

#include "gui/frame.h"
#include "gui/menu_level.h"
#include "gui/top_level.h"

namespace gui {

MenuSession::MenuSession(const PopupMenu& menu, Window& window, Point screen)
    : menu_(menu), owner_(*window.topLevel()), origin_(screen) {}

MenuSession::~MenuSession() {
  // Deepest first: each submenu's native window is owned by its parent's.
  while (!levels_.empty()) levels_.pop_back();
  closed_.clear();
}

std::optional<PopupMenu::Choice> MenuSession::Run() {
  levels_.push_back(std::make_unique<MenuLevel>(*this, menu_, owner_, origin_, -1));
  MenuLevel& first = *levels_.front();
  // The first level holds the pointer and the keyboard for every level.
  first.CaptureMouse();
  first.SetFocus();
  RunLoopUntil(owner_.platform(), [this] {
    closed_.clear();
    return done_;
  });
  CloseLevelsAfter(0);
  first.ReleaseMouse();
  levels_.clear();
  closed_.clear();
  // The keyboard goes back where the menu was opened.
  owner_.native().TakeFocus();
  return result_;
}

int MenuSession::LevelAt(Point screen) const {
  for (std::size_t i = levels_.size(); i-- > 0;) {
    if (levels_[i]->HoldsScreenPoint(screen)) return static_cast<int>(i);
  }
  return -1;
}

void MenuSession::Mouse(MouseAction action, Point screen) {
  if (done_) return;
  const int found = LevelAt(screen);
  if (found < 0) {
    if (action == kPress) {
      Dismiss();
    } else if (action == kMove) {
      levels_.back()->SetHover(-1);
    }
    return;
  }
  const auto level = static_cast<std::size_t>(found);
  MenuLevel& l = *levels_[level];
  const Point o = l.ScreenOrigin();
  const int row = l.RowAt(screen.x - o.x, screen.y - o.y);
  switch (action) {
    case kPress:
      armed_ = true;
      Hover(level, row);
      break;
    case kMove:
      Hover(level, row);
      break;
    case kRelease:
      if (armed_ && row >= 0) {
        const PopupMenu::Item& item = l.menu().items()[static_cast<std::size_t>(row)];
        if (item.Selectable()) Choose(item);
      }
      break;
  }
}

void MenuSession::Hover(std::size_t level, int row) {
  MenuLevel& l = *levels_[level];
  const PopupMenu::Item* item = row >= 0 ? &l.menu().items()[static_cast<std::size_t>(row)] : nullptr;
  if (item != nullptr && item->separator) {
    row = -1;
    item = nullptr;
  }
  l.SetHover(row);
  if (item != nullptr) armed_ = true;
  // Over the item whose submenu is open: that submenu stays.
  if (level + 1 < levels_.size() && levels_[level + 1]->parentRow() == row && row >= 0) return;
  CloseLevelsAfter(level);
  if (item != nullptr && item->submenu != nullptr && !item->submenu->empty() &&
      (item->flags & PopupMenu::kDisabled) == 0) {
    OpenSubmenu(level, row);
  }
}

void MenuSession::OpenSubmenu(std::size_t level, int row) {
  MenuLevel& l = *levels_[level];
  const Point o = l.ScreenOrigin();
  const Point at{o.x + l.width - 3, o.y + l.RowTop(row) - MenuLevel::kPadding};
  const PopupMenu& sub = *l.menu().items()[static_cast<std::size_t>(row)].submenu;
  levels_.push_back(std::make_unique<MenuLevel>(*this, sub, l.top(), at, row));
}

void MenuSession::CloseLevelsAfter(std::size_t level) {
  while (levels_.size() > level + 1) {
    closed_.push_back(std::move(levels_.back()));
    levels_.pop_back();
  }
}

void MenuSession::Key(const platform::KeyEvent& key) {
  if (done_) return;
  if (key.key == platform::KeyEvent::kEscape) {
    Dismiss();
  } else if (key.key == platform::KeyEvent::kReturn) {
    const MenuLevel& deepest = *levels_.back();
    if (deepest.hover() >= 0) {
      const PopupMenu::Item& item = deepest.menu().items()[static_cast<std::size_t>(deepest.hover())];
      if (item.Selectable()) Choose(item);
    }
  }
}

void MenuSession::Dismiss() {
  result_.reset();
  done_ = true;
}

void MenuSession::Choose(const PopupMenu::Item& item) {
  result_ = PopupMenu::Choice{item.id, item.data};
  done_ = true;
}

}  // namespace gui
