// A whole program state in a temporary folder: store, settings, registry and PIM folder, with the
// connection logged on, local time in UTC and the clock virtual.
#pragma once

#include <gtest/gtest.h>
#include <libical/ical.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "device/AppPaths.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/Clock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/sys/WinBase.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

namespace outlooktest {

namespace fs = std::filesystem;

inline SYSTEMTIME date(int y, int m, int d, int h = 0, int mi = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  return st;
}

struct IcalFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Ical = std::unique_ptr<icalcomponent, IcalFree>;

class OutlookFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    icalerror_set_errors_are_fatal(0);
    platform::DeviceConfig::current().appDir = dir_.string();
    platform::DeviceConfig::current().pimDir = (dir_ / "pim").string();
    pellucard::deleteAppPaths();
    pellucard::deleteSettings();
    pellucard::registerStringTable();
    pellucard::connectStoreToSettings();
    platform::Clock::instance().useVirtual(1772357400000LL);  // 2026-03-01 09:30 UTC
    ASSERT_EQ(pellucard::getOutlookConnection().start(), S_OK);
    ASSERT_TRUE(pellucard::RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }

  void TearDown() override {
    pellucard::RecordStore::closeAll();
    pellucard::deleteOutlookConnection();
    pellucard::deleteSettings();
    pellucard::deleteAppPaths();
    platform::Clock::instance().useReal();
  }

  // As after a restart of the program: the store and the connection come back from their files.
  void restart() {
    pellucard::RecordStore::closeAll();
    pellucard::deleteOutlookConnection();
    ASSERT_EQ(pellucard::getOutlookConnection().start(), S_OK);
    ASSERT_TRUE(pellucard::RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }

  void addCard(const std::string& name, const std::string& text) {
    fs::create_directories(dir_ / "pim" / "contacts");
    std::ofstream(dir_ / "pim" / "contacts" / name, std::ios::binary) << text;
  }

  pellucard::Friend* addFriend(const std::u16string& first, const std::u16string& last) {
    auto f = std::make_unique<pellucard::Friend>(first, last, u"", 0);
    pellucard::Friend* raw = f.get();
    pellucard::getFriendCollection().add(std::move(f));
    return raw;
  }

  pellucard::Anniversary* addAnniversary(const std::u16string& name, LONG friendId, const SYSTEMTIME& when) {
    auto a = std::make_unique<pellucard::Anniversary>(name, friendId, when, u"notes", 0);
    pellucard::Anniversary* raw = a.get();
    pellucard::getAnniversaryCollection().add(std::move(a));
    return raw;
  }

  pellucard::Loan* addLoan(const std::u16string& item, LONG direction, LONG friendId, const SYSTEMTIME& returnDate) {
    auto l = std::make_unique<pellucard::Loan>(item, direction, friendId, date(2026, 2, 1, 12), returnDate, u"", 0);
    pellucard::Loan* raw = l.get();
    pellucard::getLoanCollection().add(std::move(l));
    return raw;
  }

  std::string fileText(const std::string& name) const {
    std::ifstream in(dir_ / "pim" / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  Ical parsed(const std::string& name) const {
    std::string text = fileText(name);
    if (text.empty()) return Ical(icalcomponent_new_vcalendar());
    return Ical(icalparser_parse_string(text.c_str()));
  }
  int count(const std::string& name, icalcomponent_kind kind) const {
    Ical root = parsed(name);
    return root ? icalcomponent_count_components(root.get(), kind) : -1;
  }
  int events() const { return count("calendar.ics", ICAL_VEVENT_COMPONENT); }
  int todos() const { return count("tasks.ics", ICAL_VTODO_COMPONENT); }

  platform::testing::TempFolder folder_;
  fs::path dir_ = folder_.path();
  platform::testing::ScratchRegistry registry_;
};

}  // namespace outlooktest
