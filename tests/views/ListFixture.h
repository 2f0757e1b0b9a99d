// A headless handheld with the string table, settings, skin images and an empty store in a
// temporary application folder, and a parent window that owns one list control, reflects its
// notifications and records the private messages it receives in the message log as "parent".
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/AppPaths.h"
#include "device/DeviceKeyMap.h"
#include "device/DeviceProfile.h"
#include "device/PrivateMessages.h"
#include "platform/base/Clock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"
#include "platform/win/WindowBase.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "skin/ImageCache.h"
#include "store/AnniversaryCollection.h"
#include "store/ExportService.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"
#include "views/ItemListCtrl.h"

namespace pellucard::testing {

inline SYSTEMTIME date(int y, int m, int d, int h = 12, int mi = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  return st;
}

inline std::string shortDate(const SYSTEMTIME& st) {
  WCHAR buffer[64] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 64);
  return platform::toUtf8(buffer);
}

struct Drawn {
  std::string text;
  RECT rect;
  COLORREF colour;
};

class ListParent : public platform::WindowImpl<ListParent> {
 public:
  static const platform::MessageMap<ListParent>& messageMap() {
    static const auto map = platform::MessageMap<ListParent>()
                                .on(UM_SELCHANGED, &ListParent::onSelChanged)
                                .on(UM_RELOADLIST, &ListParent::onReloadList)
                                .on(UM_ITEMCHOSEN, &ListParent::onItemChosen)
                                .on<WM_NOTIFY>(&ListParent::onNotify)
                                .reflectNotifications();
    return map;
  }

 private:
  LRESULT onSelChanged(WPARAM wParam, LPARAM lParam) {
    platform::testing::MessageLog::instance().record(hwnd(), UM_SELCHANGED, wParam, lParam);
    return 0;
  }
  LRESULT onReloadList(WPARAM wParam, LPARAM lParam) {
    platform::testing::MessageLog::instance().record(hwnd(), UM_RELOADLIST, wParam, lParam);
    return 0;
  }
  // Recorded, then reflected to the list that sent it.
  LRESULT onNotify(NMHDR& header) {
    platform::testing::MessageLog::instance().record(hwnd(), WM_NOTIFY, header.idFrom,
                                                     reinterpret_cast<LPARAM>(&header));
    passOn();
    return 0;
  }
  LRESULT onItemChosen(WPARAM wParam, LPARAM lParam) {
    platform::testing::MessageLog::instance().record(hwnd(), UM_ITEMCHOSEN, wParam, lParam);
    return 0;
  }
};

class ListFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    boot(platform::Edition::PocketPc, 240, 320);
  }

  void TearDown() override {
    list.reset();
    parent.reset();
    device.reset();
    RecordStore::closeAll();
    setExportService(nullptr);
    deleteSettings();
    deleteAppPaths();
    deleteDeviceKeyMap();
    platform::DeviceConfig::current().oemInfo.clear();
    platform::Clock::instance().useReal();
  }

  // A device of this edition and size with settings, images and the store of the test's folder.
  void boot(platform::Edition edition, int width, int height) {
    list.reset();
    parent.reset();
    device.reset();
    RecordStore::closeAll();
    device = std::make_unique<platform::testing::TestDevice>(edition, width, height);
    platform::DeviceConfig::current().appDir = dir_;
    deleteAppPaths();
    deleteSettings();
    deleteDeviceKeyMap();
    registerStringTable();
    setExportService(nullptr);
    connectStoreToSettings();
    getSettings().load();
    ImageCache::instance().setUpRoles(getSettings().deviceProfile().layout());
    ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }

  // The parent over the whole screen, recording the private messages it receives as "parent".
  void makeParent() {
    parent = std::make_unique<ListParent>();
    ASSERT_NE(parent->create(nullptr, screenRect(), u"Parent", WS_VISIBLE), nullptr);
    platform::testing::MessageLog::instance().name(parent->hwnd(), "parent");
  }
  static RECT screenRect() { return RECT{0, 0, platform::gdi::screenWidth(), platform::gdi::screenHeight()}; }

  // The parent and a list of this kind filling it (or `rect`).
  void makeList(ListKind kind, RECT rect = RECT{0, 0, 0, 0}) {
    makeParent();
    if (rect.right == 0) rect = screenRect();
    list = std::make_unique<ItemListCtrl>();
    const UINT ids[] = {kFriendListId, kGiftListId, kLoanListId, kAnniversaryListId};
    ASSERT_NE(list->create(parent->hwnd(), rect, kind, ids[static_cast<int>(kind)]), nullptr);
    SetFocus(list->hwnd());
    device->runUntilIdle();
  }

  RecordId addFriend(const std::u16string& first, const std::u16string& last, LONG avatar = 0) {
    auto f = std::make_unique<Friend>(first, last, u"", avatar);
    Friend* raw = f.get();
    getFriendCollection().add(std::move(f));
    return raw->recordId();
  }
  RecordId addGift(const std::u16string& name, LONG direction, RecordId friendId) {
    auto g = std::make_unique<Gift>(name, direction, static_cast<LONG>(friendId), date(2024, 12, 24), u"");
    Gift* raw = g.get();
    getGiftCollection().add(std::move(g));
    return raw->recordId();
  }
  RecordId addLoan(const std::u16string& item, LONG direction, RecordId friendId, const SYSTEMTIME& due) {
    auto l = std::make_unique<Loan>(item, direction, static_cast<LONG>(friendId), date(2024, 11, 1), due, u"", 0);
    Loan* raw = l.get();
    getLoanCollection().add(std::move(l));
    return raw->recordId();
  }
  RecordId addAnniversary(const std::u16string& name, RecordId friendId, const SYSTEMTIME& when) {
    auto a = std::make_unique<Anniversary>(name, static_cast<LONG>(friendId), when, u"", 0);
    Anniversary* raw = a.get();
    getAnniversaryCollection().add(std::move(a));
    return raw->recordId();
  }

  // Fills the list from the collection of its kind, in the collection's order; loan and
  // anniversary rows carry the item's name, as the main screen's do.
  void fillFromStore() {
    const auto noText = [](const auto&) { return std::u16string_view(); };
    switch (list->kind()) {
      case ListKind::Friends:
        list->fill(getFriendCollection().snapshot(), noText);
        break;
      case ListKind::Gifts:
        list->fill(getGiftCollection().snapshot(), noText);
        break;
      case ListKind::Loans:
        list->fill(getLoanCollection().snapshot(), [](const Loan& l) { return l.item(); });
        break;
      case ListKind::Anniversaries:
        list->fill(getAnniversaryCollection().snapshot(), [](const Anniversary& a) { return a.name(); });
        break;
    }
    device->runUntilIdle();
  }

  // What the list drew in its last paints, top to bottom, left to right.
  std::vector<Drawn> drawn() const { return drawnBy(list->hwnd()); }
  // The same of any window.
  static std::vector<Drawn> drawnBy(HWND hwnd) {
    std::vector<Drawn> out;
    for (const auto& t : platform::gdi::capturedTexts(hwnd)) {
      out.push_back({platform::toUtf8(t.text), t.screenRect, t.color});
    }
    std::stable_sort(out.begin(), out.end(), [](const Drawn& a, const Drawn& b) {
      return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    return out;
  }
  std::vector<std::string> drawnTexts() const {
    std::vector<std::string> out;
    for (const auto& d : drawn()) out.push_back(d.text);
    return out;
  }
  // The texts of the pieces on one line joined, one entry per line of text.
  std::vector<std::string> drawnLines() const {
    std::vector<std::string> out;
    LONG top = -100000;
    for (const auto& d : drawn()) {
      if (d.rect.top != top) {
        out.emplace_back();
        top = d.rect.top;
      }
      out.back() += d.text;
    }
    return out;
  }
  std::optional<Drawn> find(const std::string& text) const {
    for (const auto& d : drawn()) {
      if (d.text == text) return d;
    }
    return std::nullopt;
  }

  void typeChar(char16_t ch) {
    PostMessageW(list->hwnd(), WM_CHAR, ch, 0);
    device->runUntilIdle();
  }
  void typeChars(const std::u16string& text) {
    for (char16_t ch : text) typeChar(ch);
  }
  std::vector<RecordId> rowIds() const {
    std::vector<RecordId> ids;
    for (int i = 0; i < list->count(); ++i) ids.push_back(list->recordIdAt(i));
    return ids;
  }

  platform::testing::TempFolder folder_;
  std::string dir_ = folder_.path().string();
  std::unique_ptr<platform::testing::TestDevice> device;
  std::unique_ptr<ListParent> parent;
  std::unique_ptr<ItemListCtrl> list;
};

}  // namespace pellucard::testing
