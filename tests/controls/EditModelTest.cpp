// The edit control's text model and line breaking, without windows.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/controls/EditLayout.h"
#include "platform/controls/EditText.h"
#include "platform/controls/KeypadEntry.h"
#include "platform/controls/MultiTap.h"

using platform::controls::EditLayout;
using platform::controls::EditLine;
using platform::controls::EditText;
using platform::controls::KeypadEntry;
using platform::controls::KeypadMode;
using platform::controls::MultiTap;
using platform::controls::TextChange;

namespace {

// Every character 6 pixels, a space 3.
EditLayout layoutOf(int wrap, bool singleLine = false) {
  EditLayout layout;
  layout.setAdvance([](char32_t cp) { return cp == U' ' ? 3 : 6; }, 24);
  layout.setWrap(wrap, singleLine);
  return layout;
}

std::vector<std::u16string> linesOf(const EditLayout& layout, const std::u16string& text) {
  std::vector<std::u16string> out;
  for (int i = 0; i < layout.lineCount(); ++i) {
    const EditLine& l = layout.line(i);
    out.push_back(text.substr(static_cast<std::size_t>(l.start), static_cast<std::size_t>(l.end - l.start)));
  }
  return out;
}

using Lines = std::vector<std::u16string>;

TEST(EditLayoutTest, WrapsAfterSpacesAndBreaksLongWords) {
  EditLayout layout = layoutOf(38);  // six characters and a bit
  const std::u16string text = u"ab cd efghijklmno p\r\n\r\nq";
  layout.rebuild(text);
  EXPECT_EQ(linesOf(layout, text), (Lines{u"ab cd ", u"efghij", u"klmno ", u"p", u"", u"q"}));
  EXPECT_EQ(layout.lineOf(3), 0);
  EXPECT_EQ(layout.lineOf(6), 1) << "a position at a wrap shows at the start of the next line";
  EXPECT_EQ(layout.xOf(text, 4), 6 + 6 + 3 + 6);
  EXPECT_EQ(layout.positionAt(text, 1, 14), 8) << "nearest boundary";
  EXPECT_EQ(layout.positionAt(text, 1, 999), 11) << "a wrapped line stops before its last character";
  EXPECT_EQ(layout.positionAt(text, 3, 999), 19) << "a line that ends with a break takes the caret at its end";
}

TEST(EditLayoutTest, LineBreaksOfEveryKindAndTheEmptyLastLine) {
  EditLayout layout = layoutOf(0);
  const std::u16string text = u"a\nb\rc\r\n";
  layout.rebuild(text);
  EXPECT_EQ(linesOf(layout, text), (Lines{u"a", u"b", u"c", u""}));
  EXPECT_EQ(layout.line(3).start, 7);
  layout.rebuild(u"");
  EXPECT_EQ(layout.lineCount(), 1);
  EditLayout single = layoutOf(0, true);
  single.rebuild(text);
  EXPECT_EQ(single.lineCount(), 1) << "a single line holds everything";
}

TEST(EditLayoutTest, TabsStopAtTheirColumns) {
  EditLayout layout = layoutOf(0);
  EXPECT_EQ(layout.measure(u"a\tb"), 24 + 6);
  EXPECT_EQ(layout.measure(u"\t"), 24);
  EXPECT_EQ(layout.measure(u"\t", 10), 14);
}

TEST(EditLayoutTest, UpdatingAfterAnEditBreaksAsAFreshLayout) {
  std::mt19937 random(1234);
  const std::u16string pieces[] = {u"a", u"bb ", u" ", u"\r\n", u"longerword", u"x y z ", u"\n", u"\xD83C\xDF81"};
  for (int wrap : {0, 30, 47, 200}) {
    EditLayout layout = layoutOf(wrap);
    std::u16string text = u"start text with a few words\r\nand a second paragraph";
    layout.rebuild(text);
    for (int step = 0; step < 400; ++step) {
      const int at = static_cast<int>(random() % (text.size() + 1));
      const int removed = static_cast<int>(random() % 4 == 0 ? random() % (text.size() - at + 1) % 12 : 0);
      const std::u16string inserted = random() % 3 == 0 ? u"" : pieces[random() % std::size(pieces)];
      const Lines before = linesOf(layout, text);
      text.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(removed), inserted);
      const EditLayout::Damage damage = layout.update(text, TextChange{at, removed, static_cast<int>(inserted.size())});
      EditLayout fresh = layoutOf(wrap);
      fresh.rebuild(text);
      ASSERT_EQ(layout.lineCount(), fresh.lineCount()) << "wrap " << wrap << " step " << step;
      for (int i = 0; i < fresh.lineCount(); ++i) {
        ASSERT_EQ(layout.line(i).start, fresh.line(i).start) << "wrap " << wrap << " step " << step << " line " << i;
        ASSERT_EQ(layout.line(i).end, fresh.line(i).end);
        ASSERT_EQ(layout.line(i).next, fresh.line(i).next);
        ASSERT_EQ(layout.line(i).width, fresh.line(i).width);
      }
      // Lines outside the damage show what they showed; when the count changes, all below move.
      const Lines after = linesOf(layout, text);
      if (after.size() == before.size()) {
        for (std::size_t i = 0; i < after.size(); ++i) {
          if (after[i] != before[i]) {
            ASSERT_GE(static_cast<int>(i), damage.first) << "wrap " << wrap << " step " << step;
            ASSERT_LE(static_cast<int>(i), damage.last) << "wrap " << wrap << " step " << step;
          }
        }
      }
      ASSERT_LE(damage.first, layout.lineOf(at));
    }
  }
}

TEST(EditTextTest, StepsOverPairsAndLineBreaks) {
  EditText t;
  t.assign(u"a\r\n\xD83C\xDF81z");
  EXPECT_EQ(t.next(0), 1);
  EXPECT_EQ(t.next(1), 3) << "\\r\\n is one step";
  EXPECT_EQ(t.next(3), 5) << "a surrogate pair is one step";
  EXPECT_EQ(t.previous(5), 3);
  EXPECT_EQ(t.previous(3), 1);
  t.select(4, 4);
  EXPECT_EQ(t.caret(), 3) << "never inside a pair";
  t.select(-5, 99);
  EXPECT_EQ(t.selectionStart(), 0);
  EXPECT_EQ(t.selectionEnd(), 6);
}

TEST(EditTextTest, WordsForControlArrowsAndDoubleTaps) {
  EditText t;
  t.assign(u"gift for Anna, today");
  EXPECT_EQ(t.nextWordStart(0), 5);
  EXPECT_EQ(t.nextWordStart(9), 15);
  EXPECT_EQ(t.previousWordStart(15), 9);
  EXPECT_EQ(t.previousWordStart(5), 0);
  EXPECT_EQ(t.wordAround(11), std::make_pair(9, 13));
  EXPECT_EQ(t.wordAround(20), std::make_pair(15, 20)) << "the end belongs to the last word";
}

TEST(EditTextTest, TypingJoinsOneUndoStepThatRedoes) {
  EditText t;
  t.assign(u"ab");
  t.select(2, 2);
  for (char16_t c : std::u16string(u"cde")) t.replaceSelection(std::u16string_view(&c, 1), true, true);
  EXPECT_EQ(t.text(), u"abcde");
  t.undo();
  EXPECT_EQ(t.text(), u"ab");
  t.undo();
  EXPECT_EQ(t.text(), u"abcde");
  EXPECT_EQ(t.selectionStart(), 2);
  EXPECT_EQ(t.selectionEnd(), 5);
  t.select(0, 5);
  t.replaceSelection(u"X");
  t.select(1, 1);
  t.replaceSelection(u"Y", true, true);
  t.undo();
  EXPECT_EQ(t.text(), u"X") << "typing after a replacement is its own step";
}

TEST(MultiTapTest, KeysCycleTheirLettersAndWrap) {
  MultiTap tap;
  EXPECT_EQ(tap.press(2, false).character, u'a');
  const MultiTap::Press again = tap.press(2, false);
  EXPECT_EQ(again.character, u'b');
  EXPECT_TRUE(again.replacesShown);
  EXPECT_EQ(tap.press(2, true).character, u'C');
  const std::size_t n = MultiTap::keyCharacters(2).size();
  for (std::size_t i = 3; i < n; ++i) tap.press(2, false);
  EXPECT_EQ(tap.press(2, false).character, u'a') << "after the last comes the first again";
  EXPECT_FALSE(tap.press(3, false).replacesShown);
  tap.commit();
  EXPECT_FALSE(tap.choosing());
  EXPECT_EQ(tap.press(0, false).character, u' ');
  EXPECT_EQ(tap.press(0, false).character, u'0');
  for (int d = 0; d <= 9; ++d) {
    EXPECT_NE(MultiTap::keyCharacters(d).find(static_cast<char16_t>(u'0' + d)), std::u16string_view::npos);
  }
}

TEST(KeypadEntryTest, CapitalsStartTextsLinesAndSentences) {
  KeypadEntry entry;
  EXPECT_EQ(entry.mode(u"", 0), KeypadMode::Capital);
  EXPECT_EQ(entry.mode(u"Anna", 4), KeypadMode::Lower);
  EXPECT_EQ(entry.mode(u"Anna ", 5), KeypadMode::Lower);
  EXPECT_EQ(entry.mode(u"Thanks.", 7), KeypadMode::Lower) << "not before the space";
  EXPECT_EQ(entry.mode(u"Thanks. ", 8), KeypadMode::Capital);
  EXPECT_EQ(entry.mode(u"Wow!  ", 6), KeypadMode::Capital);
  EXPECT_EQ(entry.mode(u"line\r\n", 6), KeypadMode::Capital);
  EXPECT_EQ(entry.press(2, u"Anna ", 5).character, u'a');
  entry.keep();
  entry.toggleCapital();
  EXPECT_EQ(entry.mode(u"Anna ", 5), KeypadMode::Capital);
  EXPECT_EQ(entry.press(7, u"Anna ", 5).character, u'P');
  EXPECT_EQ(entry.press(7, u"Anna P", 5).character, u'Q') << "the capital holds while the letter is chosen";
  entry.keep();
  EXPECT_EQ(entry.mode(u"Anna Q", 6), KeypadMode::Lower) << "one capital only";
  EXPECT_EQ(entry.inputMode(true, u"", 0), EIM_SPELL | EIMMF_SHIFT);
}

TEST(KeypadEntryTest, PoundCyclesAndNumberFieldsStayInNumbers) {
  KeypadEntry entry;
  entry.cycleMode();
  EXPECT_EQ(entry.mode(u"x", 1), KeypadMode::Upper);
  EXPECT_EQ(entry.press(4, u"x", 1).character, u'G');
  entry.keep();
  EXPECT_EQ(entry.inputMode(true, u"x", 1), EIM_SPELL | EIMMF_CAPSLOCK);
  entry.cycleMode();
  EXPECT_FALSE(entry.spelling());
  EXPECT_EQ(entry.inputMode(true, u"x", 1), EIM_NUMBERS);
  entry.cycleMode();
  EXPECT_EQ(entry.mode(u"x", 1), KeypadMode::Lower);
  EXPECT_EQ(entry.inputMode(false, u"x", 1), EIM_TEXT) << "the default mode is the one set";

  KeypadEntry pin;
  pin.setNumbersOnly(true);
  pin.cycleMode();
  pin.toggleCapital();
  EXPECT_FALSE(pin.spelling());
  EXPECT_EQ(pin.mode(u"", 0), KeypadMode::Numbers);
  EXPECT_EQ(pin.inputMode(false, u"", 0), EIM_NUMBERS);

  KeypadEntry set;
  set.setInputMode(EIM_SPELL | EIMMF_SETCLR_CAPSLOCK | EIMMF_CAPSLOCK);
  EXPECT_EQ(set.mode(u"", 0), KeypadMode::Upper);
  set.setInputMode(EIM_NUMBERS);
  EXPECT_FALSE(set.spelling());
}

}  // namespace
