// The search index on its own: words, key forms, levels.
#include "views/KeypadSearch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellucard {
namespace {

std::vector<std::u16string> topWords(const KeypadSearch& search) {
  std::vector<std::u16string> words;
  for (std::size_t i = 0; i < search.topSize(); ++i) words.emplace_back(search.topEntry(i).word);
  return words;
}

TEST(KeypadSearch, TextsAreTrimmedAndCutAtEverySpaceKeepingEmptyPieces) {
  KeypadSearch search;
  search.addText(1, u"  Red  wool scarf ");
  search.addText(2, u"");
  search.addText(3, u"   ");
  EXPECT_EQ(search.levelCount(), 1);
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Red", u"", u"wool", u"scarf", u""}));
  EXPECT_EQ(search.topEntry(2).key, u"WOOL");
  EXPECT_EQ(search.topEntry(4).recordId, 3u);
}

TEST(KeypadSearch, NothingHappensBeforeAnyText) {
  KeypadSearch search;
  EXPECT_FALSE(search.type(u'2'));
  EXPECT_FALSE(search.type(8));
  EXPECT_EQ(search.levelCount(), 0);
  EXPECT_EQ(search.typedKeys(), 0);
}

TEST(KeypadSearch, DigitsMatchTheirLettersAndDigitAtTheTypedPosition) {
  KeypadSearch search;
  search.addText(1, u"Cat");
  search.addText(2, u"Bat 2nd");
  search.addText(3, u"Dog");
  ASSERT_TRUE(search.type(u'2'));
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Cat", u"Bat", u"2nd"}));
  ASSERT_TRUE(search.type(u'2'));  // second character A
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Cat", u"Bat"}));
  EXPECT_EQ(search.typedKeys(), 2);
  ASSERT_TRUE(search.type(u'1'));  // any third character
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Cat", u"Bat"}));
  ASSERT_TRUE(search.type(u'1'));  // no fourth character: an empty level is still pushed
  EXPECT_TRUE(topWords(search).empty());
  EXPECT_FALSE(search.type(u'2'));  // nothing to narrow further
  EXPECT_EQ(search.typedKeys(), 4);
  ASSERT_TRUE(search.type(8));
  EXPECT_EQ(search.typedKeys(), 3);
  ASSERT_TRUE(search.type(3));
  EXPECT_EQ(search.typedKeys(), 0);
  EXPECT_EQ(search.topSize(), 4u);
  EXPECT_TRUE(search.type(8));  // counts as a change even at level 0
  EXPECT_EQ(search.levelCount(), 1);
}

TEST(KeypadSearch, LettersMatchCaseInsensitivelyAndOtherCharactersDoNothing) {
  KeypadSearch search;
  search.addText(1, u"apple Banana");
  ASSERT_TRUE(search.type(u'b'));
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Banana"}));
  ASSERT_TRUE(search.type(u'A'));
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"Banana"}));
  EXPECT_FALSE(search.type(u'0'));
  EXPECT_FALSE(search.type(u'*'));
  EXPECT_FALSE(search.type(u' '));
  EXPECT_EQ(search.typedKeys(), 2);
}

TEST(KeypadSearch, ExtendedLatinLettersFoldButLatinOneLettersDoNot) {
  KeypadSearch search;
  search.addText(1, u"\u0104gata");   // A with ogonek
  search.addText(2, u"\u00C9mile");   // E with acute
  search.addText(3, u"\u0141ukasz");  // L with stroke
  ASSERT_TRUE(search.type(u'2'));
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"\u0104gata"}));
  search.type(3);
  search.type(u'a');
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"\u0104gata"}));
  search.type(3);
  search.type(u'3');
  EXPECT_TRUE(topWords(search).empty());
  search.type(3);
  search.type(u'e');
  EXPECT_TRUE(topWords(search).empty());
  search.type(3);
  search.type(u'\u00E9');  // the accented letter itself finds it
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"\u00C9mile"}));
  search.type(3);
  search.type(u'\u0142');  // a typed extended letter folds like the words
  EXPECT_EQ(topWords(search), (std::vector<std::u16string>{u"\u0141ukasz"}));
}

TEST(KeypadSearch, KeypadTable) {
  EXPECT_EQ(KeypadSearch::keypadLetters(u'7'), u"PQRS7");
  EXPECT_EQ(KeypadSearch::keypadLetters(u'9'), u"WXYZ9");
  EXPECT_TRUE(KeypadSearch::keypadLetters(u'0').empty());
  EXPECT_TRUE(KeypadSearch::keypadLetters(u'a').empty());
}

}  // namespace
}  // namespace pellucard
