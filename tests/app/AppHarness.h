// The program in this process on the headless test device: a scratch application folder, a
// store filled by the test, and the main frame shown as start-up shows it.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/MainScreen.h"
#include "app/Startup.h"
#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "device/PrivateMessages.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/DeviceConfig.h"
#include "platform/shell/WinMenu.h"
#include "platform/win/WinUser.h"
#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "skin/ImageCache.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"
#include "views/FontCache.h"

namespace pellucard::testing {

using platform::testing::TempFolder;

inline SYSTEMTIME date(int year, int month, int day) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = 12;
  return t;
}

class AppHarness {
 public:
  explicit AppHarness(platform::Edition edition = platform::Edition::PocketPc, int width = 240, int height = 320)
      : device_(edition, width, height) {
    std::filesystem::create_directories(folder_.path() / "app");
    std::filesystem::create_directories(folder_.path() / "pim");
    platform::DeviceConfig& config = platform::DeviceConfig::current();
    config.appDir = folder_.file("app");
    config.pimDir = folder_.file("pim");
    config.deviceRoot = folder_.path().string();
    registerStringTable();
    registerMenus();
    connectStoreToSettings();
    RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
    getOutlookConnection().start();
  }

  ~AppHarness() {
    frame_.reset();
    device_.runUntilIdle();
    Startup::shutdown();
  }

  RecordId addFriend(const std::u16string& first, const std::u16string& last) {
    auto person = std::make_unique<Friend>(first, last, u"", 0);
    Friend* raw = person.get();
    getFriendCollection().add(std::move(person));
    return raw->recordId();
  }
  RecordId addGift(const std::u16string& name, LONG direction, RecordId friendId, const SYSTEMTIME& when) {
    auto gift = std::make_unique<Gift>(name, direction, static_cast<LONG>(friendId), when, u"");
    Gift* raw = gift.get();
    getGiftCollection().add(std::move(gift));
    return raw->recordId();
  }
  RecordId addLoan(const std::u16string& item, LONG direction, RecordId friendId, const SYSTEMTIME& lent,
                   const SYSTEMTIME& due) {
    auto loan = std::make_unique<Loan>(item, direction, static_cast<LONG>(friendId), lent, due, u"", 0);
    Loan* raw = loan.get();
    getLoanCollection().add(std::move(loan));
    return raw->recordId();
  }
  RecordId addAnniversary(const std::u16string& name, RecordId friendId, const SYSTEMTIME& when) {
    auto anniversary = std::make_unique<Anniversary>(name, static_cast<LONG>(friendId), when, u"", 0);
    Anniversary* raw = anniversary.get();
    getAnniversaryCollection().add(std::move(anniversary));
    return raw->recordId();
  }

  // Settings, skin and fonts as start-up prepares them, then the frame, shown and active.
  void start() {
    Settings& settings = getSettings();
    settings.load();
    if (!settings.firstStartDone()) settings.setFirstStartDone();
    ImageCache::instance().setUpRoles(settings.deviceProfile().layout(), u"");
    FontCache::instance();
    frame_ = std::make_unique<MainFrame>();
    ASSERT_NE(frame_->create(), nullptr);
    ShowWindow(frame_->hwnd(), SW_SHOW);
    SetForegroundWindow(frame_->hwnd());
    device_.runUntilIdle();
  }

  // A menu command as the menubar sends it to the frame.
  void command(UINT id) {
    SendMessageW(frame_->hwnd(), WM_COMMAND, id, 0);
    device_.runUntilIdle();
  }
  // Runs a command that opens message boxes, answering them with the keys of the script.
  void commandAnswering(UINT id, const std::string& answers) {
    ASSERT_TRUE(device_.script(answers));
    PostMessageW(frame_->hwnd(), WM_COMMAND, id, 0);
    device_.runUntilIdle();
  }
  // The tab as the user reaches it: Right on the tab header until it shows.
  void showTab(UINT tabId) {
    for (int i = 0; i < 4 && currentTab() != tabId; ++i) device_.key(VK_RIGHT);
  }
  // The main screen's tab whose list shows; 0 when none does.
  UINT currentTab() const {
    for (UINT id : {kFriendListId, kGiftListId, kLoanListId, kAnniversaryListId}) {
      if (IsWindowVisible(GetDlgItem(mainScreen(), static_cast<int>(id)))) return id;
    }
    return 0;
  }
  // Whether the dump shows this text drawn somewhere.
  bool showsText(const std::string& text) const {
    return device_.dump().find("text \"" + text + "\"") != std::string::npos;
  }

  HMENU menu() const { return reinterpret_cast<HMENU>(SendMessageW(frame_->hwnd(), UM_GETMENU, 0, 0)); }
  bool checked(UINT id) const { return (GetMenuState(menu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  bool greyed(UINT id) const { return (GetMenuState(menu(), id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

  // Record ids of a list's rows, top to bottom, as its tab shows them.
  std::vector<RecordId> rows(ListKind kind) {
    showTab(listId(kind));
    const HWND list = listWindow(kind);
    std::vector<RecordId> ids;
    for (int i = 0; i < static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); ++i)
      ids.push_back(recordAt(list, i));
    return ids;
  }
  // The record of the list's selected row, 0 without one.
  RecordId selectedRow(ListKind kind) const {
    const HWND list = listWindow(kind);
    const int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 ? recordAt(list, row) : 0;
  }

  // The main screen's windows: its own, its lists' and its tab strip's.
  HWND mainScreen() const { return frame_->screenWindow(kMainScreenId); }
  HWND listWindow(ListKind kind) const { return GetDlgItem(mainScreen(), static_cast<int>(listId(kind))); }
  HWND tabStrip() const { return GetDlgItem(mainScreen(), MainScreen::kTabStripId); }

  MainFrame& frame() { return *frame_; }
  platform::testing::TestDevice& device() { return device_; }
  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
  platform::testing::TestDevice device_;
  std::unique_ptr<MainFrame> frame_;

  static UINT listId(ListKind kind) {
    static constexpr UINT kIds[] = {kFriendListId, kGiftListId, kLoanListId, kAnniversaryListId};
    return kIds[static_cast<int>(kind)];
  }
  static RecordId recordAt(HWND list, int row) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<RecordId>(item.lParam);
  }
};

}  // namespace pellucard::testing
