#include <gtest/gtest.h>

#include "platform/base/TextCase.h"
#include "platform/sys/WinBase.h"

namespace {

using namespace platform;

TEST(TextCase, UpperCaseCoversMoreThanAscii) {
  EXPECT_EQ(upperCase(u"zoë łukasz ñ ß 123"), u"ZOË ŁUKASZ Ñ ß 123");
  EXPECT_EQ(lowerCase(u'Ą'), u'ą');
  EXPECT_EQ(upperCase(char16_t{0xD83D}), char16_t{0xD83D}) << "surrogates stay as they are";
  EXPECT_TRUE(equalsIgnoringCase(u"Pellucard.CDB", u"pellucard.cdb"));
  EXPECT_FALSE(equalsIgnoringCase(u"abc", u"abcd"));
  EXPECT_LT(compareIgnoringCase(u"apple", u"Banana"), 0);
  EXPECT_GT(compareIgnoringCase(u"b", u"A"), 0);
}

TEST(StringCalls, BehaveAsTheHandheldsDo) {
  WCHAR buffer[16];
  EXPECT_EQ(lstrlenW(u"Pellucard"), 9);
  EXPECT_EQ(lstrlenW(nullptr), 0);
  lstrcpyW(buffer, u"Pell");
  lstrcatW(buffer, u"ucard");
  EXPECT_EQ(std::u16string(buffer), u"Pellucard");
  lstrcpynW(buffer, u"Pellucard", 5);
  EXPECT_EQ(std::u16string(buffer), u"Pell") << "the count includes the terminator";
  EXPECT_EQ(lstrcmpW(u"a", u"b"), -1);
  EXPECT_EQ(lstrcmpW(u"B", u"a"), -1) << "case counts";
  EXPECT_EQ(lstrcmpiW(u"Ärger", u"ärger"), 0);
  EXPECT_EQ(lstrcmpiW(nullptr, u""), 0);
}

}  // namespace
