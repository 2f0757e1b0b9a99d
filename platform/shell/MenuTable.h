// The menus behind HMENU handles: items with text, command id or submenu, and state. Handles
// are keys into this table; destroying a menu destroys its submenus.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/shell/WinMenu.h"

namespace platform::shell {

struct MenuItem {
  UINT flags = 0;  // MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT id = 0;
  HMENU subMenu = nullptr;
  std::u16string text;
  ULONG_PTR data = 0;

  bool separator() const { return (flags & MF_SEPARATOR) != 0; }
  bool popup() const { return subMenu != nullptr; }
  bool enabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0; }
  bool checked() const { return (flags & MF_CHECKED) != 0; }
};

struct Menu {
  std::vector<MenuItem> items;
  bool popup = true;
};

class MenuTable {
 public:
  static MenuTable& instance();

  HMENU create(bool popup);
  Menu* find(HMENU menu);
  // Sets ERROR_INVALID_MENU_HANDLE when the handle is not a live menu.
  Menu* get(HMENU menu);
  // Destroys the menu and, recursively, its submenus.
  bool destroy(HMENU menu);

  // The item an id or position names (MF_BYPOSITION in flags), searching submenus by command.
  // `owner` receives the menu that holds it and `index` its position there.
  MenuItem* locate(HMENU menu, UINT position, UINT flags, HMENU* owner = nullptr, int* index = nullptr);

  // Builds a menu from a menu resource of the program; nullptr when there is none.
  HMENU load(UINT resourceId);

  std::size_t size() const { return menus_.size(); }

 private:
  MenuTable() = default;
  std::unordered_map<HMENU, std::unique_ptr<Menu>> menus_;
  std::uintptr_t next_ = 0x20000;
};

}  // namespace platform::shell
