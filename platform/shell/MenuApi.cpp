// user32 menu calls over the menu table.
#include <algorithm>
#include <cstring>

#include "platform/base/WinError.h"
#include "platform/shell/MenuTable.h"
#include "platform/shell/WinMenu.h"

using platform::shell::Menu;
using platform::shell::MenuItem;
using platform::shell::MenuTable;

namespace {

MenuTable& table() { return MenuTable::instance(); }

constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED;

bool makeItem(UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text, MenuItem& item) {
  item.flags = flags & (kStateBits | MF_SEPARATOR | MF_POPUP | MF_DEFAULT);
  if (flags & MF_SEPARATOR) return true;
  if (flags & MF_POPUP) {
    item.subMenu = reinterpret_cast<HMENU>(idOrSubMenu);
    if (table().find(item.subMenu) == nullptr) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return false;
    }
  } else {
    item.id = static_cast<UINT>(idOrSubMenu);
  }
  if (!(flags & (MF_BITMAP | MF_OWNERDRAW)) && text != nullptr) item.text = text;
  return true;
}

int copyText(const std::u16string& text, LPWSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return static_cast<int>(text.size());
  const int n = std::min(static_cast<int>(text.size()), size - 1);
  if (n > 0) std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(WCHAR));
  buffer[n] = 0;
  return n;
}

}  // namespace

HMENU CreateMenu() { return table().create(false); }
HMENU CreatePopupMenu() { return table().create(true); }

BOOL DestroyMenu(HMENU menu) {
  if (!table().destroy(menu)) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL IsMenu(HMENU menu) { return table().find(menu) != nullptr ? TRUE : FALSE; }

HMENU LoadMenuW(HINSTANCE, LPCWSTR name) {
  if (name == nullptr || !IS_INTRESOURCE(name)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  HMENU menu = table().load(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
  if (menu == nullptr) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return menu;
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
  Menu* m = table().get(menu);
  if (m == nullptr) return FALSE;
  MenuItem item;
  if (!makeItem(flags, idOrSubMenu, text, item)) return FALSE;
  HMENU target = menu;
  int index = static_cast<int>(m->items.size());
  if (flags & MF_BYPOSITION) {
    if (position < m->items.size()) index = static_cast<int>(position);
  } else if (table().locate(menu, position, MF_BYCOMMAND, &target, &index) == nullptr) {
    // No item with that command: the new one goes at the end.
    target = menu;
    index = static_cast<int>(m->items.size());
  }
  Menu* holder = table().find(target);
  holder->items.insert(holder->items.begin() + index, std::move(item));
  return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
  return InsertMenuW(menu, 0xFFFFFFFFu, flags | MF_BYPOSITION, idOrSubMenu, text);
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text) {
  if (table().get(menu) == nullptr) return FALSE;
  MenuItem* item = table().locate(menu, position, flags);
  if (item == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MenuItem replacement;
  if (!makeItem(flags, idOrSubMenu, text, replacement)) return FALSE;
  if (item->popup() && item->subMenu != replacement.subMenu) table().destroy(item->subMenu);
  *item = std::move(replacement);
  return TRUE;
}

namespace {

BOOL removeItem(HMENU menu, UINT position, UINT flags, bool destroySubMenu) {
  if (table().get(menu) == nullptr) return FALSE;
  HMENU owner = nullptr;
  int index = -1;
  MenuItem* item = table().locate(menu, position, flags, &owner, &index);
  if (item == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const HMENU sub = item->subMenu;
  Menu* holder = table().find(owner);
  holder->items.erase(holder->items.begin() + index);
  if (destroySubMenu && sub != nullptr) table().destroy(sub);
  return TRUE;
}

}  // namespace

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return removeItem(menu, position, flags, false); }
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return removeItem(menu, position, flags, true); }

DWORD CheckMenuItem(HMENU menu, UINT idCheckItem, UINT check) {
  if (table().get(menu) == nullptr) return 0xFFFFFFFFu;
  MenuItem* item = table().locate(menu, idCheckItem, check);
  if (item == nullptr) return 0xFFFFFFFFu;
  const DWORD previous = item->flags & MF_CHECKED;
  item->flags = (item->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT idEnableItem, UINT enable) {
  if (table().get(menu) == nullptr) return -1;
  MenuItem* item = table().locate(menu, idEnableItem, enable);
  if (item == nullptr) return -1;
  const UINT previous = item->flags & (MF_GRAYED | MF_DISABLED);
  item->flags = (item->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return static_cast<BOOL>(previous);
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
  Menu* m = table().get(menu);
  if (m == nullptr) return FALSE;
  bool found = false;
  if (flags & MF_BYPOSITION) {
    for (UINT i = first; i <= last && i < m->items.size(); ++i) {
      MenuItem& item = m->items[i];
      const bool on = i == check;
      found = found || on;
      item.flags = on ? (item.flags | MF_CHECKED) : (item.flags & ~static_cast<UINT>(MF_CHECKED));
    }
  } else {
    for (UINT id = first; id <= last; ++id) {
      MenuItem* item = table().locate(menu, id, MF_BYCOMMAND);
      if (item == nullptr) continue;
      const bool on = id == check;
      found = found || on;
      item->flags = on ? (item->flags | MF_CHECKED) : (item->flags & ~static_cast<UINT>(MF_CHECKED));
    }
  }
  return found ? TRUE : FALSE;
}

HMENU GetSubMenu(HMENU menu, int position) {
  Menu* m = table().get(menu);
  if (m == nullptr || position < 0 || position >= static_cast<int>(m->items.size())) return nullptr;
  return m->items[static_cast<std::size_t>(position)].subMenu;
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = table().get(menu);
  return m == nullptr ? -1 : static_cast<int>(m->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  Menu* m = table().get(menu);
  if (m == nullptr || position < 0 || position >= static_cast<int>(m->items.size())) return 0xFFFFFFFFu;
  const MenuItem& item = m->items[static_cast<std::size_t>(position)];
  return item.popup() ? 0xFFFFFFFFu : item.id;
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags) {
  if (table().get(menu) == nullptr) return 0xFFFFFFFFu;
  MenuItem* item = table().locate(menu, id, flags);
  if (item == nullptr) return 0xFFFFFFFFu;
  UINT state = item->flags & (kStateBits | MF_SEPARATOR);
  if (item->popup()) {
    // A popup reports its item count in the high byte, as user32 does.
    const Menu* sub = table().find(item->subMenu);
    state |= MF_POPUP | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
  }
  return state;
}

int GetMenuStringW(HMENU menu, UINT id, LPWSTR buffer, int maxCount, UINT flags) {
  if (table().get(menu) == nullptr) return 0;
  MenuItem* item = table().locate(menu, id, flags);
  if (item == nullptr) return 0;
  return copyText(item->text, buffer, maxCount);
}

BOOL GetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPMENUITEMINFOW info) {
  if (info == nullptr || table().get(menu) == nullptr) return FALSE;
  MenuItem* item = table().locate(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (item == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->fMask & MIIM_STATE) info->fState = item->flags & (MFS_GRAYED | MFS_CHECKED | MF_DEFAULT);
  if (info->fMask & MIIM_ID) info->wID = item->id;
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = item->subMenu;
  if (info->fMask & MIIM_DATA) info->dwItemData = item->data;
  if (info->fMask & MIIM_TYPE) {
    info->fType = item->separator() ? MFT_SEPARATOR : MFT_STRING;
    if (!item->separator()) {
      const int n = copyText(item->text, info->dwTypeData, static_cast<int>(info->cch));
      info->cch = static_cast<UINT>(n);
    }
  }
  return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT position, BOOL byPosition, LPCMENUITEMINFOW info) {
  if (info == nullptr || table().get(menu) == nullptr) return FALSE;
  MenuItem* item = table().locate(menu, position, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
  if (item == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (info->fMask & MIIM_STATE) {
    item->flags = (item->flags & ~static_cast<UINT>(kStateBits | MF_DEFAULT)) |
                  (info->fState & (MFS_GRAYED | MFS_CHECKED | MF_DEFAULT));
  }
  if (info->fMask & MIIM_ID) item->id = info->wID;
  if (info->fMask & MIIM_SUBMENU) {
    if (info->hSubMenu != nullptr && table().find(info->hSubMenu) == nullptr) {
      SetLastError(ERROR_INVALID_MENU_HANDLE);
      return FALSE;
    }
    item->subMenu = info->hSubMenu;
    item->flags = info->hSubMenu ? (item->flags | MF_POPUP) : (item->flags & ~static_cast<UINT>(MF_POPUP));
  }
  if (info->fMask & MIIM_DATA) item->data = info->dwItemData;
  if (info->fMask & MIIM_TYPE) {
    if (info->fType & MFT_SEPARATOR) {
      item->flags |= MF_SEPARATOR;
    } else if (info->dwTypeData != nullptr) {
      item->flags &= ~static_cast<UINT>(MF_SEPARATOR);
      item->text = info->dwTypeData;
    }
  }
  return TRUE;
}

BOOL DrawMenuBar(HWND) { return TRUE; }
