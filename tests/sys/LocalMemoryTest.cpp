#include <gtest/gtest.h>

#include <cstring>

#include "platform/sys/WinBase.h"

namespace {

TEST(LocalMemoryTest, FixedBlocksAreTheirAddressAndMoveableOnesLock) {
  HLOCAL fixed = LocalAlloc(LPTR, 16);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(LocalLock(fixed), fixed);
  EXPECT_EQ(static_cast<const unsigned char*>(fixed)[15], 0) << "LPTR zeroes";
  EXPECT_EQ(LocalSize(fixed), 16u);
  EXPECT_EQ(LocalFree(fixed), nullptr);

  HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, 5);
  ASSERT_NE(moveable, nullptr);
  void* bytes = GlobalLock(moveable);
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(bytes, moveable);
  std::memcpy(bytes, "abcd", 5);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(moveable)), "abcd");
  EXPECT_TRUE(GlobalUnlock(moveable)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(moveable));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GlobalFree(moveable), nullptr);
}

TEST(LocalMemoryTest, UnknownHandlesFailCleanly) {
  int onTheStack = 0;
  EXPECT_EQ(LocalFree(&onTheStack), &onTheStack);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LocalLock(&onTheStack), nullptr);
  EXPECT_EQ(LocalSize(&onTheStack), 0u);
  EXPECT_EQ(LocalFree(nullptr), nullptr);
  HLOCAL block = LocalAlloc(LMEM_FIXED, 4);
  LocalFree(block);
  EXPECT_EQ(LocalFree(block), block) << "freed twice";
  EXPECT_EQ(LocalAlloc(0x8000, 4), nullptr) << "unknown flags";
  HLOCAL empty = LocalAlloc(LMEM_MOVEABLE, 0);
  EXPECT_NE(empty, nullptr);
  EXPECT_EQ(LocalSize(empty), 0u);
  LocalFree(empty);
}

}  // namespace
