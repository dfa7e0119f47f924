// Finding and working an open popup menu in headless tests.
#pragma once

#include "gui/menu_level.h"
#include "gui/popup_menu.h"
#include "platform/headless_platform.h"

// The vertical centre of a row of a menu level.
inline int RowCentre(const gui::PopupMenu& menu, int row) {
  int y = gui::MenuLevel::kPadding;
  for (int i = 0; i < row; ++i) {
    y += menu.items()[static_cast<std::size_t>(i)].separator ? gui::MenuLevel::kSeparatorHeight
                                                             : gui::MenuLevel::kRowHeight;
  }
  return y + gui::MenuLevel::kRowHeight / 2;
}

inline int MenuWindowCount(const platform::HeadlessPlatform& headless) {
  int n = 0;
  for (const platform::HeadlessWindow* w : headless.windows()) n += w->kind() == platform::WindowKind::kMenu;
  return n;
}
