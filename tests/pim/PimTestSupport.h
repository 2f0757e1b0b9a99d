// A private PIM folder per test, and small conversions for assertions.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/pim/PimStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace pimtest {

namespace fs = std::filesystem;

inline fs::path sourceData() {
  const char* src = std::getenv("PELLUCARD_SOURCE_DIR");
  return fs::path(src ? src : ".") / "tests/pim/data";
}

using platform::testing::readBytes;
using platform::testing::writeBytes;

class PimFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPimDir_ = platform::DeviceConfig::current().pimDir;
    platform::DeviceConfig::current().pimDir = dir_.string();
  }
  void TearDown() override { platform::DeviceConfig::current().pimDir = savedPimDir_; }

  fs::path contactsDir() const { return dir_ / "contacts"; }
  void addCard(const std::string& fileName, const std::string& bytes) {
    fs::create_directories(contactsDir());
    writeBytes(contactsDir() / fileName, bytes);
  }
  void copyCorpus() {
    fs::create_directories(contactsDir());
    for (const auto& entry : fs::directory_iterator(sourceData()))
      if (entry.path().extension() == ".vcf") fs::copy_file(entry.path(), contactsDir() / entry.path().filename());
  }
  std::shared_ptr<platform::pim::Application> logon() {
    auto app = platform::pim::Application::create();
    EXPECT_EQ(app->Logon(nullptr), S_OK);
    return app;
  }

  platform::testing::TempFolder folder_;
  fs::path root_ = folder_.path();
  fs::path dir_ = root_ / "pim";
  std::string savedPimDir_;
};

inline SYSTEMTIME st(WORD y, WORD m, WORD d, WORD h = 0, WORD mi = 0, WORD s = 0) {
  SYSTEMTIME t{};
  t.wYear = y;
  t.wMonth = m;
  t.wDay = d;
  t.wHour = h;
  t.wMinute = mi;
  t.wSecond = s;
  return t;
}

inline DATE variant(WORD y, WORD m, WORD d, WORD h = 0, WORD mi = 0) {
  DATE v = 0;
  platform::pim::Application::create()->SystemTimeToVariantTime(st(y, m, d, h, mi), v);
  return v;
}

// "YYYY-MM-DD hh:mm" of an automation date, or "none" for 0.
inline std::string show(DATE value) {
  if (value == 0) return "none";
  SYSTEMTIME t{};
  if (FAILED(platform::pim::Application::create()->VariantTimeToSystemTime(value, t))) return "invalid";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  return buf;
}

}  // namespace pimtest
