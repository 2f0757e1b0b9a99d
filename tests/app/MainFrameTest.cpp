// The main frame in this process: screen switches and the history, the Back key of both
// editions, menubar requests, rotation, Exit and Help.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/HelpFile.h"
#include "device/AppPaths.h"
#include "platform/base/Utf.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/Shell.h"
#include "resources/HelpFile.h"
#include "tests/app/AppHarness.h"

namespace pellucard::testing {
namespace {

RECT windowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

void showRecord(AppHarness& app, RecordId id, int kind) {
  SendMessageW(app.frame().hwnd(), UM_SHOWRECORD, id, kind);
  app.device().runUntilIdle();
}

TEST(MainFrame, BackWalksTheHistoryAndAnItemViewIsNotKept) {
  AppHarness app(platform::Edition::Smartphone, 240, 320);
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId gift = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  ASSERT_EQ(app.frame().currentScreenId(), kMainScreenId);
  EXPECT_TRUE(app.frame().history().empty());

  showRecord(app, gift, kRecordGift);
  EXPECT_EQ(app.frame().currentScreenId(), kItemViewScreenId);
  EXPECT_EQ(app.frame().menuBarId(), IDR_ITEM_VIEW_BAR);
  EXPECT_EQ(app.frame().history(), std::vector<UINT>{kMainScreenId});
  EXPECT_TRUE(IsWindowVisible(app.frame().screenWindow(kItemViewScreenId)));
  EXPECT_FALSE(IsWindowVisible(app.frame().screenWindow(kMainScreenId)));

  // The friend of the item: the item view is left out of the history.
  showRecord(app, anna, kRecordFriend);
  EXPECT_EQ(app.frame().currentScreenId(), kFriendDetailsScreenId);
  EXPECT_EQ(app.frame().history(), std::vector<UINT>{kMainScreenId});

  app.device().key(VK_ESCAPE);
  EXPECT_EQ(app.frame().currentScreenId(), kMainScreenId);
  EXPECT_TRUE(app.frame().history().empty());
  EXPECT_TRUE(IsWindowVisible(app.frame().screenWindow(kMainScreenId)));
  EXPECT_EQ(app.frame().menuBarId(), IDR_FRIENDS_BAR);

  // Back with an empty history leaves the program running in the background.
  const int before = platform::shell::backgroundCount();
  app.device().key(VK_ESCAPE);
  EXPECT_EQ(platform::shell::backgroundCount(), before + 1);
  EXPECT_TRUE(IsWindow(app.frame().hwnd()));
  EXPECT_FALSE(app.device().quitReceived());
}

TEST(MainFrame, FriendAfterFriendDetailsKeepsOneEntryAndUnknownKindsDoNothing) {
  AppHarness app;
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.start();
  showRecord(app, anna, kRecordFriend);
  showRecord(app, anna, kRecordFriend);
  EXPECT_EQ(app.frame().history(), std::vector<UINT>{kMainScreenId});
  showRecord(app, anna, 7);
  EXPECT_EQ(app.frame().currentScreenId(), kFriendDetailsScreenId);
  // Screens ask for the main screen with command 1500, which empties the history.
  app.command(kMainScreenId);
  EXPECT_EQ(app.frame().currentScreenId(), kMainScreenId);
  EXPECT_TRUE(app.frame().history().empty());
}

TEST(MainFrame, OnlyTheVisibleScreenChangesTheMenubar) {
  AppHarness app;
  app.addFriend(u"Anna", u"Berg");
  app.start();
  const HWND details = app.frame().screenWindow(kFriendDetailsScreenId);
  const HWND main = app.frame().screenWindow(kMainScreenId);
  SendMessageW(app.frame().hwnd(), UM_SETMENUBAR, IDR_LOANS_BAR, reinterpret_cast<LPARAM>(details));
  EXPECT_EQ(app.frame().menuBarId(), IDR_FRIENDS_BAR);
  SendMessageW(app.frame().hwnd(), UM_SETMENUBAR, IDR_LOANS_BAR, reinterpret_cast<LPARAM>(main));
  EXPECT_EQ(app.frame().menuBarId(), IDR_LOANS_BAR);
  // The frame ends where the menubar begins.
  EXPECT_EQ(windowRect(app.frame().hwnd()).bottom, windowRect(app.frame().menuBar()).top);
}

TEST(MainFrame, MenuRequestsActOnTheRightHandMenu) {
  AppHarness app;
  app.start();
  const HMENU menu = app.menu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuState(menu, ID_FRIEND_ADD, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED), 0u);
  SendMessageW(app.frame().hwnd(), UM_CHECKMENUITEM, ID_FRIEND_ADD, 1);
  SendMessageW(app.frame().hwnd(), UM_ENABLEMENUITEM, ID_IMPORT_CONTACTS, 0);
  EXPECT_TRUE(app.checked(ID_FRIEND_ADD));
  EXPECT_TRUE(app.greyed(ID_IMPORT_CONTACTS));
  SendMessageW(app.frame().hwnd(), UM_CHECKMENUITEM, ID_FRIEND_ADD, 0);
  SendMessageW(app.frame().hwnd(), UM_ENABLEMENUITEM, ID_IMPORT_CONTACTS, 1);
  EXPECT_FALSE(app.checked(ID_FRIEND_ADD));
  EXPECT_FALSE(app.greyed(ID_IMPORT_CONTACTS));
  // The application submenu stands at the bottom of every screen menu.
  EXPECT_NE(GetMenuState(menu, ID_APP_EXIT, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(menu, ID_APP_HELP, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(MainFrame, RotationResizesEveryScreenAndKeepsScreenAndMenubar) {
  AppHarness app;
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  app.showTab(kGiftListId);
  app.command(ID_GIFT_FILTER_IDEAS);
  ASSERT_EQ(app.frame().menuBarId(), IDR_GIFTS_BAR);

  app.device().rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(app.frame().currentScreenId(), kMainScreenId);
  EXPECT_EQ(app.frame().menuBarId(), IDR_GIFTS_BAR);
  EXPECT_EQ(app.currentTab(), kGiftListId);
  EXPECT_TRUE(app.checked(ID_GIFT_FILTER_IDEAS)) << "sort and filter survive a relayout";
  EXPECT_TRUE(app.showsText("Gifts (F)"));
  RECT client{};
  GetClientRect(app.frame().hwnd(), &client);
  EXPECT_EQ(client.right, 320);
  for (UINT id : {kMainScreenId, kFriendDetailsScreenId, kItemViewScreenId}) {
    const RECT r = windowRect(app.frame().screenWindow(id));
    EXPECT_EQ(r.right - r.left, 320) << id;
    EXPECT_EQ(r.bottom - r.top, client.bottom) << id;
  }
  EXPECT_EQ(windowRect(app.frame().hwnd()).bottom, windowRect(app.frame().menuBar()).top);
  const RECT list = windowRect(app.listWindow(ListKind::Gifts));
  EXPECT_EQ(list.right - list.left, 320);
  EXPECT_TRUE(IsWindowVisible(app.listWindow(ListKind::Gifts)));
  // The rebuilt strip holds each tab once: Right goes round them back to the gifts.
  std::vector<UINT> round;
  for (int i = 0; i < 4; ++i) {
    app.device().key(VK_RIGHT);
    round.push_back(app.currentTab());
  }
  EXPECT_EQ(round, (std::vector<UINT>{kAnniversaryListId, kLoanListId, kFriendListId, kGiftListId}));
}

TEST(MainFrame, TheListsEndAboveTheInputPanelWhileItIsUp) {
  AppHarness app;
  app.addFriend(u"Anna", u"Berg");
  app.start();
  const HWND list = app.listWindow(ListKind::Friends);
  const LONG fullBottom = windowRect(list).bottom;
  SIPINFO sip{};
  sip.cbSize = sizeof(sip);
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  sip.fdwFlags |= SIPF_ON;
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0));
  app.device().runUntilIdle();
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  ASSERT_TRUE(sip.fdwFlags & SIPF_ON);
  EXPECT_EQ(windowRect(list).bottom, sip.rcVisibleDesktop.bottom);
  EXPECT_LT(windowRect(list).bottom, fullBottom);
  sip.fdwFlags &= ~static_cast<DWORD>(SIPF_ON);
  ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0));
  app.device().runUntilIdle();
  EXPECT_EQ(windowRect(list).bottom, fullBottom);
}

TEST(MainFrame, ExitClosesTheFrameAndEndsTheLoop) {
  AppHarness app;
  app.start();
  app.command(ID_APP_EXIT);
  EXPECT_FALSE(IsWindow(app.frame().hwnd()));
  EXPECT_TRUE(app.device().quitReceived());
  EXPECT_EQ(app.device().quitCode(), 1);
}

TEST(MainFrame, HelpOpensTheGuideByItsFileUrl) {
  AppHarness app;
  // The folder name holds blanks: the path goes after "file://" unaltered.
  const std::string folder = app.folder().file("my help");
  std::filesystem::create_directories(folder);
  const std::u16string path = platform::toUtf16(folder) + u"\\PellucardHelp.htm";
  EXPECT_EQ(HelpFile::url(path), u"file://" + path);
  ASSERT_TRUE(HelpFile::install(path, helpFileText()));
  std::ifstream in(folder + "/PellucardHelp.htm", std::ios::binary);
  std::ostringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), std::string(helpFileText()));
  EXPECT_NE(written.str().find("<h2 id=\"search\">"), std::string::npos);
  // A file already there is the user's: it stays as it is.
  std::ofstream(folder + "/PellucardHelp.htm") << "mine";
  ASSERT_TRUE(HelpFile::install(path, helpFileText()));
  std::ifstream again(folder + "/PellucardHelp.htm");
  std::string text;
  std::getline(again, text);
  EXPECT_EQ(text, "mine");

  const std::string record = app.folder().file("opened.txt");
  const std::string opener = app.folder().file("opener.sh");
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record << ".part' && mv '" << record << ".part' '"
                        << record << "'\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  setenv("PELLUCARD_OPENER", opener.c_str(), 1);
  app.start();
  ASSERT_TRUE(HelpFile::install(getAppPaths().helpPath(), helpFileText()));
  app.command(ID_APP_HELP);
  unsetenv("PELLUCARD_OPENER");
  for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream opened(record);
  std::string url;
  std::getline(opened, url);
  EXPECT_EQ(url.rfind("file:///", 0), 0u) << url;
  EXPECT_NE(url.find("PellucardHelp.htm"), std::string::npos) << url;
}

TEST(Startup, AnErrorTextIsFramedByTheApplicationErrorLines) {
  registerStringTable();
  const std::u16string message = Startup::errorMessage(u"Failed to create XML Parser");
  EXPECT_EQ(message.rfind(u"Application error occured.\r\nFailed to create XML Parser\r\n", 0), 0u);
  EXPECT_GT(message.size(), std::u16string(u"Application error occured.\r\nFailed to create XML Parser\r\n").size());
}

}  // namespace
}  // namespace pellucard::testing
