// The headless device of tests/controls with the shell running and a few resources of its own.
#pragma once

#include <string>

#include "platform/base/ResourceTable.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/Shell.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/controls/DeviceHarness.h"

namespace testing_device {

inline constexpr UINT kBarWithMenu = 1500;
inline constexpr UINT kBarDoneOnly = 1523;
inline constexpr UINT kBarGreyed = 1599;
inline constexpr UINT kMenu = 1501;

// Menu 1501: "Add" (1010), "Edit" (1011, greyed), separator, "Sort By" > "Name" (1046),
// "Date" (1047); "Export" (1050); separator; "Exit" (1001).
inline void registerTestResources() {
  using platform::MenuBarButtonResource;
  using platform::MenuItemResource;
  auto& table = platform::ResourceTable::instance();
  table.addString(2001, u"Done");
  table.addString(2006, u"Menu");
  table.addString(2008, u"Details");
  MenuItemResource edit = MenuItemResource::command(1011, u"Edit");
  edit.grayed = true;
  platform::MenuResource menu;
  menu.items.push_back(MenuItemResource::popup(
      u"Main", {MenuItemResource::command(1010, u"Add"), edit, MenuItemResource::separator(),
                MenuItemResource::popup(
                    u"Sort By", {MenuItemResource::command(1046, u"Name"), MenuItemResource::command(1047, u"Date")}),
                MenuItemResource::command(1050, u"Export"), MenuItemResource::separator(),
                MenuItemResource::command(1001, u"Exit")}));
  table.addMenu(kMenu, menu);

  platform::MenuBarResource withMenu;
  withMenu.menuId = kMenu;
  MenuBarButtonResource left;
  left.command = 1014;
  left.stringId = 2008;
  MenuBarButtonResource right;
  right.command = 1000;
  right.stringId = 2006;
  right.style = 0x18;
  right.subMenu = 0;
  withMenu.buttons = {left, right};
  table.addMenuBar(kBarWithMenu, withMenu);

  platform::MenuBarResource doneOnly;
  MenuBarButtonResource done;
  done.command = IDOK;
  done.stringId = 2001;
  MenuBarButtonResource empty;
  empty.command = 0;
  empty.state = 0;
  doneOnly.buttons = {done, empty};
  table.addMenuBar(kBarDoneOnly, doneOnly);

  platform::MenuBarResource greyed = doneOnly;
  greyed.buttons[0].state = 0;
  table.addMenuBar(kBarGreyed, greyed);
}

class ShellDevice : public Device {
 public:
  ShellDevice(platform::Edition edition, int width, int height) : Device(edition, width, height) {
    registerTestResources();
    platform::shell::startShell();
  }
  ~ShellDevice() { platform::shell::stopShell(); }

  HWND createMenuBar(HWND owner, UINT id, DWORD flags = 0) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof(info);
    info.hwndParent = owner;
    info.nToolBarId = id;
    info.dwFlags = flags;
    return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
  }

  // Screen rectangle of a text a window drew, empty when it drew none.
  static RECT textRect(HWND hwnd, const std::u16string& text) {
    for (const auto& t : platform::gdi::capturedTexts(hwnd)) {
      if (t.text == text) return t.screenRect;
    }
    return RECT{};
  }
  static void tapText(HWND hwnd, const std::u16string& text) {
    const RECT r = textRect(hwnd, text);
    tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

}  // namespace testing_device
