#include "platform/base/Utf.h"

#include <gtest/gtest.h>

using platform::toUtf16;
using platform::toUtf8;

TEST(Utf, RoundTripsAccentedPolishAndAstralText) {
  const std::u16string text = u"Zażółć gęślą jaźń – Ünïcödé 😀";
  EXPECT_EQ(toUtf16(toUtf8(text)), text);
  EXPECT_EQ(toUtf8(u"😀"), "\xF0\x9F\x98\x80");
}

TEST(Utf, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(toUtf16("a\xFF"
                    "b"),
            u"a\uFFFDb");
  EXPECT_EQ(toUtf16("\xE2\x82"), u"\uFFFD");                        // truncated sequence
  EXPECT_EQ(toUtf16("\xC0\xAF"), u"\uFFFD");                        // overlong slash
  EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");  // lone surrogate
}
