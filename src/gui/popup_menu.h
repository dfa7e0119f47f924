// A popup menu: items (text, id, data, flags, optionally a submenu) and
// separators, shown at a point of a window and tracked in a modal loop
// until the user chooses an item or dismisses the menu.
// Thread: user-interface thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gui {

class Window;

class PopupMenu {
 public:
  enum Flags : unsigned {
    kChecked = 1u << 0,   // a tick before the text
    kDisabled = 1u << 1,  // drawn dim, cannot be chosen
  };

  struct Item {
    std::string text;
    int id = 0;
    std::intptr_t data = 0;
    unsigned flags = 0;
    bool separator = false;
    std::unique_ptr<PopupMenu> submenu;  // opens beside the item; the item itself is not chosen

    bool Selectable() const { return !separator && submenu == nullptr && (flags & kDisabled) == 0; }
  };

  struct Choice {
    int id = 0;
    std::intptr_t data = 0;
    bool operator==(const Choice&) const = default;
  };

  PopupMenu() = default;
  PopupMenu(PopupMenu&&) = default;
  PopupMenu& operator=(PopupMenu&&) = default;

  void AddItem(const std::string& text, int id, std::intptr_t data = 0, unsigned flags = 0,
               std::unique_ptr<PopupMenu> submenu = nullptr);
  // An item opening a new, empty submenu; answers the submenu to fill.
  PopupMenu& AddSubmenu(const std::string& text, unsigned flags = 0);
  void AddSeparator();

  // (x, y) in window's client coordinates: the menu's top-left corner. The
  // chosen item, from whichever submenu it is in, or none when dismissed
  // (a click outside, Escape, the pointer grab lost) or when window is not
  // on screen.
  std::optional<Choice> Show(Window& window, int x, int y) const;

  const std::vector<Item>& items() const { return items_; }
  bool empty() const { return items_.empty(); }

 private:
  std::vector<Item> items_;
};

}  // namespace gui
