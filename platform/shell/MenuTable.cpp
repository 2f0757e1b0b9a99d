#include "platform/shell/MenuTable.h"

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"

namespace platform::shell {
namespace {

MenuItem* locateIn(MenuTable& table, HMENU menu, UINT id, HMENU* owner, int* index, int depth) {
  Menu* m = table.find(menu);
  if (m == nullptr || depth > 16) return nullptr;
  for (std::size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& item = m->items[i];
    if (!item.popup() && !item.separator() && item.id == id) {
      if (owner) *owner = menu;
      if (index) *index = static_cast<int>(i);
      return &item;
    }
    if (item.popup()) {
      if (MenuItem* found = locateIn(table, item.subMenu, id, owner, index, depth + 1)) return found;
    }
  }
  return nullptr;
}

void fill(MenuTable& table, HMENU menu, const std::vector<MenuItemResource>& items) {
  for (const MenuItemResource& r : items) {
    MenuItem item;
    item.text = r.text;
    switch (r.kind) {
      case MenuItemResource::Kind::Separator:
        item.flags = MF_SEPARATOR;
        break;
      case MenuItemResource::Kind::Popup:
        item.flags = MF_POPUP;
        item.subMenu = table.create(true);
        fill(table, item.subMenu, r.items);
        break;
      case MenuItemResource::Kind::Command:
        item.id = r.id;
        break;
    }
    if (r.grayed) item.flags |= MF_GRAYED;
    if (r.checked) item.flags |= MF_CHECKED;
    table.find(menu)->items.push_back(std::move(item));
  }
}

}  // namespace

MenuTable& MenuTable::instance() {
  static MenuTable table;
  return table;
}

HMENU MenuTable::create(bool popup) {
  auto handle = reinterpret_cast<HMENU>(next_);
  next_ += 4;
  auto menu = std::make_unique<Menu>();
  menu->popup = popup;
  menus_.emplace(handle, std::move(menu));
  return handle;
}

Menu* MenuTable::find(HMENU menu) {
  auto it = menus_.find(menu);
  return it == menus_.end() ? nullptr : it->second.get();
}

Menu* MenuTable::get(HMENU menu) {
  Menu* m = find(menu);
  if (m == nullptr) SetLastError(ERROR_INVALID_MENU_HANDLE);
  return m;
}

bool MenuTable::destroy(HMENU menu) {
  auto it = menus_.find(menu);
  if (it == menus_.end()) return false;
  std::unique_ptr<Menu> owned = std::move(it->second);
  menus_.erase(it);
  for (const MenuItem& item : owned->items) {
    if (item.popup()) destroy(item.subMenu);
  }
  return true;
}

MenuItem* MenuTable::locate(HMENU menu, UINT position, UINT flags, HMENU* owner, int* index) {
  Menu* m = find(menu);
  if (m == nullptr) return nullptr;
  if (flags & MF_BYPOSITION) {
    if (position >= m->items.size()) return nullptr;
    if (owner) *owner = menu;
    if (index) *index = static_cast<int>(position);
    return &m->items[position];
  }
  return locateIn(*this, menu, position, owner, index, 0);
}

HMENU MenuTable::load(UINT resourceId) {
  const MenuResource* resource = ResourceTable::instance().findMenu(resourceId);
  if (resource == nullptr) return nullptr;
  HMENU menu = create(false);
  fill(*this, menu, resource->items);
  return menu;
}

}  // namespace platform::shell
