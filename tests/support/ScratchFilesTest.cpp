// The scratch folders and registries every folder's tests stand on: nothing may stay behind,
// and nothing may reach the user's own registry.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/sys/Registry.h"
#include "platform/sys/WinReg.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform::sys::Registry;
using platform::testing::readBytes;
using platform::testing::ScratchRegistry;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

TEST(TempFolder, IsNewAndEmptyAndGoesWithWhatATestLockedInside) {
  fs::path kept;
  {
    TempFolder folder;
    TempFolder other;
    EXPECT_NE(folder.path(), other.path());
    EXPECT_TRUE(fs::is_empty(folder.path()));
    kept = folder.path();
    fs::create_directories(folder.file("locked/inner"));
    ASSERT_TRUE(writeBytes(folder.file("locked/inner/data.bin"), std::string("a\0b", 3)));
    EXPECT_EQ(readBytes(folder.file("locked/inner/data.bin")), std::string("a\0b", 3));
    // A test that takes its folders' permissions away to make writes fail.
    ASSERT_EQ(::chmod(folder.file("locked/inner").c_str(), 0), 0);
    ASSERT_EQ(::chmod(folder.file("locked").c_str(), 0500), 0);
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(FileBytes, MissingFilesReadEmptyAndFailedWritesSaySo) {
  TempFolder folder;
  EXPECT_EQ(readBytes(folder.file("absent")), "");
  EXPECT_FALSE(writeBytes(folder.file("no/such/folder/file"), "x"));
  ASSERT_TRUE(writeBytes(folder.file("f"), "longer content"));
  ASSERT_TRUE(writeBytes(folder.file("f"), "short"));
  EXPECT_EQ(readBytes(folder.file("f")), "short") << "the file is replaced, not overwritten in place";
}

void store(const char16_t* name) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Test", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD value = 1;
  EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

bool has(const char16_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Test", 0, 0, &key) != ERROR_SUCCESS) return false;
  DWORD value = 0;
  DWORD size = sizeof value;
  const bool found =
      RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

// The test program runs on a scratch registry of its own (pellucard_test_scratch_registry), the
// outermost here.
TEST(ScratchRegistry, WritesStayInItsFolderAndNestedOnesGiveTheOuterBack) {
  const std::string usual = Registry::instance().folder();
  {
    ScratchRegistry outer;
    ASSERT_EQ(Registry::instance().folder(), outer.folder());
    EXPECT_FALSE(has(u"Outer")) << "a scratch registry starts empty";
    store(u"Outer");
    EXPECT_TRUE(fs::exists(fs::path(outer.folder()) / "registry"));
    {
      ScratchRegistry inner;
      ASSERT_EQ(Registry::instance().folder(), inner.folder());
      EXPECT_NE(inner.folder(), outer.folder());
      EXPECT_FALSE(has(u"Outer"));
      store(u"Inner");
    }
    ASSERT_EQ(Registry::instance().folder(), outer.folder());
    EXPECT_TRUE(has(u"Outer")) << "the outer registry's file is read again";
    EXPECT_FALSE(has(u"Inner"));
    store(u"Again");
    outer.restart();
    EXPECT_TRUE(has(u"Again"));
  }
  EXPECT_EQ(Registry::instance().folder(), usual);
}

}  // namespace
