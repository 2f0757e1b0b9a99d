// A store in a temporary application folder, with the clock virtual and local time in UTC.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <string>

#include "device/AppPaths.h"
#include "platform/base/Clock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/sys/WinBase.h"
#include "resources/StringTable.h"
#include "store/ExportService.h"
#include "store/RecordStore.h"
#include "store/StorePreferences.h"
#include "tests/support/TempFolder.h"

inline SYSTEMTIME makeDate(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  return st;
}

// Local time is UTC in these tests, so the virtual clock is set from the local date directly.
inline void setNow(const SYSTEMTIME& local) {
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&local, &ft));
  const std::int64_t value = (static_cast<std::int64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  platform::Clock::instance().useVirtual((value - 116444736000000000LL) / 10000);
}

class StoreFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    platform::DeviceConfig::current().appDir = dir_;
    pellucard::deleteAppPaths();
    pellucard::registerStringTable();
    pellucard::setExportService(nullptr);
    pellucard::setStorePreferences({});
    setNow(makeDate(2026, 3, 1, 9, 30));
  }

  void TearDown() override {
    pellucard::RecordStore::closeAll();
    pellucard::setExportService(nullptr);
    pellucard::setStorePreferences({});
    pellucard::deleteAppPaths();
    platform::Clock::instance().useReal();
  }

  std::string volumePath() const { return dir_ + "/Pellucard.cdb"; }

  // Closes and reopens everything, so that what is in memory comes from the file.
  void reopen() {
    pellucard::RecordStore::closeAll();
    ASSERT_TRUE(pellucard::RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }

  platform::testing::TempFolder folder_;
  std::string dir_ = folder_.path().string();
};
