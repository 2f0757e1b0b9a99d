// Resources built into the program: the string table, menus, soft-key menubars,
// accelerator tables and images, each by numeric id. The program registers its
// tables at start-up; the platform's loaders (LoadStringW, SHCreateMenuBar,
// LoadAcceleratorsW, SHLoadImageResource ...) read them from here.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {

struct StringResource {
  UINT id;
  const char16_t* text;
};

// One entry of a menu resource, as a menu script writes it.
struct MenuItemResource {
  enum class Kind { Command, Separator, Popup };
  Kind kind = Kind::Command;
  std::u16string text;
  UINT id = 0;  // command id; 0 for separators and popups
  bool grayed = false;
  bool checked = false;
  std::vector<MenuItemResource> items;  // the submenu of a popup

  static MenuItemResource command(UINT id, std::u16string text) {
    MenuItemResource item;
    item.id = id;
    item.text = std::move(text);
    return item;
  }
  static MenuItemResource separator() {
    MenuItemResource item;
    item.kind = Kind::Separator;
    return item;
  }
  static MenuItemResource popup(std::u16string text, std::vector<MenuItemResource> items) {
    MenuItemResource item;
    item.kind = Kind::Popup;
    item.text = std::move(text);
    item.items = std::move(items);
    return item;
  }
};

// A menu resource: its top-level entries, normally popups whose items the menubar buttons open.
struct MenuResource {
  std::vector<MenuItemResource> items;
};

// One button of a soft-key menubar resource, in the handheld's menubar script order:
// image, command, state, style, string id, sub-menu index (0xFFFF: none).
struct MenuBarButtonResource {
  int image = -2;  // no image
  UINT command = 0;
  BYTE state = 0x04;  // enabled
  BYTE style = 0x10;  // autosize button; 0x18 for a button that drops a menu down
  UINT stringId = 0;  // the button's text in the string table; 0: no text
  UINT subMenu = 0xFFFF;
};

struct MenuBarResource {
  UINT menuId = 0;  // the menu resource whose popups the buttons open; 0: none
  std::vector<MenuBarButtonResource> buttons;
};

struct AcceleratorResource {
  BYTE virtFlags;  // FVIRTKEY, FSHIFT, FCONTROL, FALT, as the accelerator table keeps them
  WORD key;
  WORD command;
};

class ResourceTable {
 public:
  static ResourceTable& instance();

  // Strings are copied; a later registration of an id replaces the text.
  void addString(UINT id, std::u16string text);
  void addStrings(std::span<const StringResource> strings);
  // The stored text; the pointer stays valid until the id is registered again or the table cleared.
  const std::u16string* findString(UINT id) const;

  void addMenu(UINT id, MenuResource menu);
  const MenuResource* findMenu(UINT id) const;
  void addMenuBar(UINT id, MenuBarResource menuBar);
  const MenuBarResource* findMenuBar(UINT id) const;
  void addAccelerators(UINT id, std::vector<AcceleratorResource> table);
  const std::vector<AcceleratorResource>* findAccelerators(UINT id) const;

  // Image bytes (PNG) by resource type ("GIF" for skin images, "ICON" for icons) and id.
  // The bytes are not copied: they are the program's own static data.
  void addImage(std::u16string_view type, UINT id, std::span<const std::uint8_t> bytes);
  std::span<const std::uint8_t> findImage(std::u16string_view type, UINT id) const;
  // The lowest id of that type (the program's first icon is its application icon); 0 for none.
  UINT firstImageId(std::u16string_view type) const;

  // Forgets everything (tests).
  void clear();

 private:
  ResourceTable() = default;
  mutable std::mutex mutex_;
  std::map<UINT, std::u16string> strings_;
  std::map<UINT, MenuResource> menus_;
  std::map<UINT, MenuBarResource> menuBars_;
  std::map<UINT, std::vector<AcceleratorResource>> accelerators_;
  std::map<std::pair<std::u16string, UINT>, std::span<const std::uint8_t>> images_;
};

// The string of that id, empty when the table has none.
std::u16string loadString(UINT id);

}  // namespace platform

// Copies the string into the buffer (truncated, always terminated) and returns its length.
// With cchBufferMax 0 the buffer receives a read-only pointer to the string itself.
// A missing string returns 0 with ERROR_RESOURCE_NAME_NOT_FOUND. Every instance
// handle names the program itself.
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);
