// The test device with the shell running (title bar, soft keys, input panel) and a few menus
// and menubars of its own in the resource table.
#pragma once

#include "platform/shell/AygShell.h"
#include "tests/support/TestDevice.h"

namespace platform::testing {

class ShellDevice : public TestDevice {
 public:
  // Menubar 1500: "Details" (1014) on the left, "Menu" (1000) with menu 1501 on the right.
  static constexpr UINT kBarWithMenu = 1500;
  // Menubar 1523: "Done" (IDOK) and an empty, disabled right button; 1599 has "Done" greyed.
  static constexpr UINT kBarDoneOnly = 1523;
  static constexpr UINT kBarGreyed = 1599;
  // Menu 1501: "Add" (1010), "Edit" (1011, greyed), separator, "Sort By" > "Name" (1046),
  // "Date" (1047); "Export" (1050); separator; "Exit" (1001).
  static constexpr UINT kMenu = 1501;

  ShellDevice(Edition edition, int width, int height);
  ~ShellDevice() override;

  // Adds the menus and menubars above to the resource table.
  static void registerResources();
  // The menubar of this resource for the owner, or nullptr when SHCreateMenuBar fails.
  static HWND createMenuBar(HWND owner, UINT id, DWORD flags = 0);
  // The innermost open popup menu, or nullptr.
  static HWND popupMenu();
};

}  // namespace platform::testing
