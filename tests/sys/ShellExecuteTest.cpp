#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/base/Utf.h"
#include "platform/sys/ShellApi.h"
#include "platform/sys/WinBase.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/sys/EnvGuard.h"

namespace {

using platform::testing::readBytes;
using platform::testing::writeBytes;

class ShellExecuteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir_.file("My Apps/Pellucard"));
    writeBytes(dir_.file("My Apps/Pellucard/PellucardHelp.htm"), "<html></html>");
    // Stands in for xdg-open: notes the address it was given.
    writeBytes(dir_.file("opener"), "#!/bin/sh\nprintf '%s' \"$1\" > \"" + dir_.file("opened.tmp") + "\"\nmv \"" +
                                        dir_.file("opened.tmp") + "\" \"" + dir_.file("opened") + "\"\n");
    ::chmod(dir_.file("opener").c_str(), 0755);
  }

  static SHELLEXECUTEINFOW request(const std::u16string& file) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = 60;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = u"open";
    info.lpFile = file.c_str();
    return info;
  }

  std::string waitForOpened() {
    for (int i = 0; i < 500 && !std::filesystem::exists(dir_.file("opened")); ++i) usleep(10000);
    return readBytes(dir_.file("opened"));
  }

  platform::testing::TempFolder dir_;
};

TEST_F(ShellExecuteTest, OpensTheHelpFileOfAFolderWithBlanks) {
  systest::EnvGuard opener("PELLUCARD_OPENER", dir_.file("opener"));
  // The program writes "file://" and its own path, with the backslash it joins names with.
  const std::u16string file = u"file://" + platform::toUtf16(dir_.file("My Apps/Pellucard")) + u"\\PellucardHelp.htm";
  SHELLEXECUTEINFOW info = request(file);
  ASSERT_TRUE(ShellExecuteExW(&info));
  EXPECT_GT(reinterpret_cast<UINT_PTR>(info.hInstApp), 32u);
  ASSERT_NE(info.hProcess, nullptr);
  EXPECT_TRUE(CloseHandle(info.hProcess));
  EXPECT_EQ(waitForOpened(), "file://" + dir_.path().string() + "/My%20Apps/Pellucard/PellucardHelp.htm");
}

TEST_F(ShellExecuteTest, FailuresAreResultsNotCrashes) {
  systest::EnvGuard opener("PELLUCARD_OPENER", dir_.file("opener"));
  const std::u16string missing = u"file://" + platform::toUtf16(dir_.file("nothing.htm"));
  SHELLEXECUTEINFOW info = request(missing);
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hInstApp), static_cast<UINT_PTR>(SE_ERR_FNF));
  EXPECT_EQ(info.hProcess, nullptr);

  const std::u16string help = platform::toUtf16(dir_.file("My Apps/Pellucard/PellucardHelp.htm"));
  info = request(help);
  info.lpVerb = u"print";
  EXPECT_FALSE(ShellExecuteExW(&info));
  info = request(help);
  info.cbSize = 12;
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(ShellExecuteExW(nullptr));
}

TEST_F(ShellExecuteTest, MissingOpenerIsAFailure) {
  systest::EnvGuard noOpener("PELLUCARD_OPENER", "");
  systest::EnvGuard path("PATH", dir_.file("My Apps"));  // a folder without xdg-open
  const std::u16string help = platform::toUtf16(dir_.file("My Apps/Pellucard/PellucardHelp.htm"));
  SHELLEXECUTEINFOW info = request(help);
  EXPECT_FALSE(ShellExecuteExW(&info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION));
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(info.hInstApp), static_cast<UINT_PTR>(SE_ERR_NOASSOC));
  EXPECT_EQ(info.hProcess, nullptr);
}

}  // namespace
