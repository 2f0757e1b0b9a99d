#include "tests/shell/ShellDevice.h"

#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"

namespace platform::testing {

ShellDevice::ShellDevice(Edition edition, int width, int height) : TestDevice(edition, width, height) {
  registerResources();
  shell::startShell();
}

ShellDevice::~ShellDevice() { shell::stopShell(); }

void ShellDevice::registerResources() {
  auto& table = ResourceTable::instance();
  table.addString(2001, u"Done");
  table.addString(2006, u"Menu");
  table.addString(2008, u"Details");
  MenuItemResource edit = MenuItemResource::command(1011, u"Edit");
  edit.grayed = true;
  MenuResource menu;
  menu.items.push_back(MenuItemResource::popup(
      u"Main", {MenuItemResource::command(1010, u"Add"), edit, MenuItemResource::separator(),
                MenuItemResource::popup(
                    u"Sort By", {MenuItemResource::command(1046, u"Name"), MenuItemResource::command(1047, u"Date")}),
                MenuItemResource::command(1050, u"Export"), MenuItemResource::separator(),
                MenuItemResource::command(1001, u"Exit")}));
  table.addMenu(kMenu, menu);

  MenuBarResource withMenu;
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

  MenuBarResource doneOnly;
  MenuBarButtonResource done;
  done.command = IDOK;
  done.stringId = 2001;
  MenuBarButtonResource empty;
  empty.command = 0;
  empty.state = 0;
  doneOnly.buttons = {done, empty};
  table.addMenuBar(kBarDoneOnly, doneOnly);

  MenuBarResource greyed = doneOnly;
  greyed.buttons[0].state = 0;
  table.addMenuBar(kBarGreyed, greyed);
}

HWND ShellDevice::createMenuBar(HWND owner, UINT id, DWORD flags) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = owner;
  info.nToolBarId = id;
  info.dwFlags = flags;
  return SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
}

HWND ShellDevice::popupMenu() { return FindWindowW(shell::kPopupMenuClass, nullptr); }

}  // namespace platform::testing
