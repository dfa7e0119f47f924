#include "gui/popup_menu.h"

#include "gui/menu_session.h"
#include "gui/window.h"

namespace gui {

void PopupMenu::AddItem(const std::string& text, int id, std::intptr_t data, unsigned flags,
                        std::unique_ptr<PopupMenu> submenu) {
  Item item;
  item.text = text;
  item.id = id;
  item.data = data;
  item.flags = flags;
  item.submenu = std::move(submenu);
  items_.push_back(std::move(item));
}

PopupMenu& PopupMenu::AddSubmenu(const std::string& text, unsigned flags) {
  AddItem(text, 0, 0, flags, std::make_unique<PopupMenu>());
  return *items_.back().submenu;
}

void PopupMenu::AddSeparator() {
  Item item;
  item.separator = true;
  items_.push_back(std::move(item));
}

std::optional<PopupMenu::Choice> PopupMenu::Show(Window& window, int x, int y) const {
  if (window.topLevel() == nullptr || items_.empty()) return std::nullopt;
  MenuSession session(*this, window, window.ClientToScreen({x, y}));
  return session.Run();
}

}  // namespace gui
