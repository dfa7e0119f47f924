// Tracks one showing of a popup menu: opens its first level at a point of
// the screen, holds the pointer, opens submenus beside their items on hover,
// and runs a modal loop until an item is chosen or the menu is dismissed (a
// press outside every level, Escape, the grab lost). Every level routes its
// mouse and keys here, in screen coordinates.
// Thread: user-interface thread.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "gui/popup_menu.h"
#include "gui/window.h"

namespace gui {

class MenuLevel;
class TopLevel;

class MenuSession {
 public:
  enum MouseAction { kPress, kRelease, kMove };

  MenuSession(const PopupMenu& menu, Window& window, Point screen);
  ~MenuSession();
  MenuSession(const MenuSession&) = delete;
  MenuSession& operator=(const MenuSession&) = delete;

  std::optional<PopupMenu::Choice> Run();

  void Mouse(MouseAction action, Point screen);
  void Key(const platform::KeyEvent& key);
  void Dismiss();

 private:
  // The deepest open level under the point, or -1.
  int LevelAt(Point screen) const;
  void Hover(std::size_t level, int row);
  void OpenSubmenu(std::size_t level, int row);
  void CloseLevelsAfter(std::size_t level);
  void Choose(const PopupMenu::Item& item);

  const PopupMenu& menu_;
  TopLevel& owner_;
  Point origin_;
  std::vector<std::unique_ptr<MenuLevel>> levels_;
  // Closed levels wait here until no event handler of theirs can be running.
  std::vector<std::unique_ptr<MenuLevel>> closed_;
  std::optional<PopupMenu::Choice> result_;
  bool done_ = false;
  // The release that follows the press opening the menu chooses nothing;
  // a press inside the menu, or the pointer over an item, arms releases.
  bool armed_ = false;
};

}  // namespace gui
