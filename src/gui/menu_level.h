// One open level of a popup menu: the menu's items drawn in a native menu
// window of their own, in the skin's dark style. It draws and measures; the
// session it belongs to decides what the mouse and keys do.
// Thread: user-interface thread.
#pragma once

#include <memory>

#include "gui/popup_menu.h"
#include "gui/top_level.h"
#include "gui/window.h"

namespace gui {

class MenuSession;

class MenuLevel : public Window {
 public:
  static constexpr int kRowHeight = 18;
  static constexpr int kSeparatorHeight = 7;
  static constexpr int kPadding = 3;     // above the first row and below the last
  static constexpr int kTextLeft = 20;   // room for a tick
  static constexpr int kTextRight = 24;  // room for a submenu's arrow
  static constexpr int kMinWidth = 80;

  // Opens at a point of the screen; parentRow is the row of the level
  // before that opened it (-1 for the first level).
  MenuLevel(MenuSession& session, const PopupMenu& menu, TopLevel& owner, Point screen, int parentRow);
  ~MenuLevel() override;

  const PopupMenu& menu() const { return menu_; }
  int parentRow() const { return parentRow_; }
  // The item row at a point of this level (separators included), or -1.
  int RowAt(int px, int py) const;
  int RowTop(int row) const { return rowTops_[static_cast<std::size_t>(row)]; }
  Point ScreenOrigin() const;
  bool HoldsScreenPoint(Point p) const;
  void SetHover(int row);
  int hover() const { return hover_; }
  TopLevel& top() { return *top_; }

  void Paint(GraphicsContext& g) override;
  void OnLeftDown(int x, int y) override;
  void OnLeftDoubleClick(int x, int y) override;
  void OnLeftUp(int x, int y) override;
  void OnRightDown(int x, int y) override;
  void OnRightDoubleClick(int x, int y) override;
  void OnRightUp(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnKey(const platform::KeyEvent& key) override;

 private:
  void PaintItem(GraphicsContext& g, const PopupMenu::Item& item, int top, bool hovered);

  MenuSession& session_;
  const PopupMenu& menu_;
  int parentRow_;
  int hover_ = -1;
  std::vector<int> rowTops_;  // one per item, then the end of the last
  std::unique_ptr<TopLevel> top_;
};

}  // namespace gui
