// What the shell looks like in both editions at both zooms: the title bar, a list, the
// menubar, an open menu and a message box. Set PELLUCARD_SCREENSHOT_DIR to keep the pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/controls/CommCtrl.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/Shell.h"
#include "platform/shell/TitleBar.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::Edition;
using platform::testing::createLogWindow;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;

namespace {

struct Look {
  Edition edition;
  int width;
  int height;
  const char* name;
};

std::uint16_t pixelAt(int x, int y) { return platform::gdi::screenPixels()[y * platform::gdi::screenWidth() + x]; }

std::uint16_t to565(COLORREF c) {
  return static_cast<std::uint16_t>(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3));
}

void keep(const std::string& name) {
  const char* dir = std::getenv("PELLUCARD_SCREENSHOT_DIR");
  if (dir == nullptr || *dir == 0) return;
  const std::string path = std::string(dir) + "/" + name + ".png";
  EXPECT_TRUE(platform::gdi::writePng(path, platform::gdi::screenPixels(), platform::gdi::screenWidth(),
                                      platform::gdi::screenHeight(), platform::gdi::screenWidth()));
}

class LookTest : public ::testing::TestWithParam<Look> {};

TEST_P(LookTest, ShellWindowsSitWhereTheHandheldHasThem) {
  const Look look = GetParam();
  ShellDevice device(look.edition, look.width, look.height);
  const int scale = look.width >= 480 ? 2 : 1;
  const int bar = 26 * scale;
  HWND frame = createLogWindow("frame", WS_POPUP | WS_VISIBLE, 0, bar, look.width, look.height - 2 * bar);
  SetWindowTextW(frame, u"Pellucard");
  SetActiveWindow(frame);
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"FriendList",
                              WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER, 0, 0, look.width,
                              look.height - 2 * bar, frame, reinterpret_cast<HMENU>(1015), nullptr, nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = look.width;
  ListView_InsertColumn(list, 0, &column);
  const char16_t* names[] = {u"Anna Berg", u"Bo Lind", u"Carl Holm", u"Dana Ek", u"Eva Sund"};
  for (int i = 0; i < 5; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<LPWSTR>(names[i]);
    ListView_InsertItem(list, &item);
  }
  SetFocus(list);
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ASSERT_NE(ShellDevice::createMenuBar(frame, ShellDevice::kBarWithMenu), nullptr);
  device.runUntilIdle();
  keep(std::string(look.name) + "-list");

  EXPECT_EQ(pixelAt(look.width / 2, 1), to565(GetSysColor(COLOR_ACTIVECAPTION))) << "title bar";
  EXPECT_EQ(pixelAt(2, look.height - 2), to565(GetSysColor(COLOR_ACTIVECAPTION))) << "menubar";
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  ListView_GetItemRect(list, 1, &row, LVIR_BOUNDS);
  EXPECT_EQ(pixelAt(look.width - 3, bar + row.top + 1), to565(GetSysColor(COLOR_HIGHLIGHT))) << "selected row";
  EXPECT_EQ(pixelAt(look.width - 3, bar + row.bottom + 1), to565(GetSysColor(COLOR_WINDOW)));

  // The menu, opened by the right soft key, and a message box.
  RECT menuRect{};
  device.addStep([&] {
    keep(std::string(look.name) + "-menu");
    GetWindowRect(ShellDevice::popupMenu(), &menuRect);
  });
  device.addStep([] { TestDevice::postKey(VK_ESCAPE); });
  device.key(VK_F2);
  EXPECT_EQ(menuRect.bottom, look.height - bar) << "the menu stands on the menubar";
  EXPECT_EQ(menuRect.right, look.width);

  device.addStep([&] { keep(std::string(look.name) + "-question"); });
  device.addStep([] { TestDevice::postKey(VK_RETURN); });
  EXPECT_EQ(MessageBoxW(frame, u"Permanently delete this item?", u"Pellucard", MB_YESNO | MB_ICONQUESTION), IDYES);
  device.addStep([&] { keep(std::string(look.name) + "-error"); });
  device.addStep([] { TestDevice::postKey(VK_RETURN); });
  MessageBoxW(frame, u"Failed to create Pellucard database backup.", u"Pellucard", MB_OK | MB_ICONERROR);

  if (look.edition == Edition::PocketPc) {
    // The Done button and the input panel.
    SHDoneButton(frame, SHDB_SHOW);
    SHSipPreference(frame, SIP_UP);
    device.runUntilIdle();
    keep(std::string(look.name) + "-keyboard");
    SIPINFO sip{};
    sip.cbSize = sizeof(sip);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
    EXPECT_EQ(pixelAt(0, sip.rcSipRect.top + 3), to565(GetSysColor(COLOR_BTNSHADOW))) << "key outlines";
    EXPECT_EQ(pixelAt(3, sip.rcSipRect.top + 3), to565(GetSysColor(COLOR_BTNFACE))) << "keys";
    const RECT done = TestDevice::textRect(platform::shell::titleBarWindow(), u"ok");
    EXPECT_GT(done.left, look.width * 3 / 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Editions, LookTest,
                         ::testing::Values(Look{Edition::PocketPc, 240, 320, "pocketpc-1x"},
                                           Look{Edition::PocketPc, 480, 640, "pocketpc-2x"},
                                           Look{Edition::Smartphone, 240, 320, "smartphone-1x"},
                                           Look{Edition::Smartphone, 480, 640, "smartphone-2x"}),
                         [](const auto& testInfo) {
                           std::string name = testInfo.param.name;
                           for (char& c : name) {
                             if (c == '-') c = '_';
                           }
                           return name;
                         });

}  // namespace
