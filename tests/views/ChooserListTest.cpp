// The chooser list: rows in the system colours with check boxes that taps toggle, the keypad
// search that keeps the full rows aside so that check states survive it, the Back key that
// edits the search, and the arrow keys.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/ListFixture.h"
#include "views/ChooserList.h"

namespace pellucard::testing {
namespace {

using platform::testing::MessageLog;
using ::testing::ElementsAre;
using Seq = std::vector<std::string>;

constexpr UINT kChooserId = 1200;

class Chooser : public ListFixture {
 protected:
  void TearDown() override {
    chooser.reset();
    ListFixture::TearDown();
  }

  void makeChooser(const std::vector<std::u16string>& texts, bool checkBoxes, RECT rect = RECT{0, 0, 0, 0}) {
    makeParent();
    chooser = std::make_unique<ChooserList>();
    ASSERT_NE(chooser->create(parent->hwnd(), rect.right == 0 ? screenRect() : rect, u"Items", kChooserId), nullptr);
    chooser->setCheckBoxes(checkBoxes);
    for (std::size_t i = 0; i < texts.size(); ++i) chooser->addRow(texts[i], static_cast<LPARAM>(100 + i));
    chooser->select(0);
    SetFocus(chooser->hwnd());
    device->runUntilIdle();
  }

  int rowHeight() const {
    RECT row{};
    ListView_GetItemRect(chooser->hwnd(), 0, &row, LVIR_BOUNDS);
    return row.bottom - row.top;
  }
  // A tap in the middle of a row's height, x pixels from the left.
  void tapRow(int row, int x) {
    const int top = ListView_GetTopIndex(chooser->hwnd());
    device->tap(x, (row - top) * rowHeight() + rowHeight() / 2);
  }
  std::vector<std::u16string> rowTexts() const {
    std::vector<std::u16string> texts;
    for (int i = 0; i < chooser->count(); ++i) texts.push_back(chooser->textAt(i));
    return texts;
  }
  std::vector<bool> checks() const {
    std::vector<bool> states;
    for (int i = 0; i < chooser->count(); ++i) states.push_back(chooser->isChecked(i));
    return states;
  }
  // The Back key as the owner hands it on: true when the list took it.
  bool back(bool release) {
    const WORD modifiers = release ? MOD_KEYUP : 0;
    const LRESULT taken = SendMessageW(chooser->hwnd(), WM_HOTKEY, 0, MAKELPARAM(modifiers, VK_TBACK));
    device->runUntilIdle();
    return taken != 0;
  }
  std::vector<Drawn> drawnRows() const { return drawnBy(chooser->hwnd()); }
  std::optional<Drawn> drawnText(const std::string& text) const {
    for (const Drawn& d : drawnRows()) {
      if (d.text == text) return d;
    }
    return std::nullopt;
  }

  std::unique_ptr<ChooserList> chooser;
};

TEST_F(Chooser, RowsAreDrawnInTheSystemColoursAndAppearInTheDump) {
  makeChooser({u"Ann Baker", u"Bob Clark"}, false);
  const std::optional<Drawn> selected = drawnText("Ann Baker");
  const std::optional<Drawn> other = drawnText("Bob Clark");
  ASSERT_TRUE(selected && other);
  EXPECT_EQ(selected->colour, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(other->colour, GetSysColor(COLOR_WINDOWTEXT));
  // Without check boxes the text starts at the row's left edge.
  EXPECT_LT(selected->rect.left, 4);
  EXPECT_LT(other->rect.top, rowHeight() + rowHeight());
  const std::string dump = device->dump();
  EXPECT_NE(dump.find("window \"SysListView32\" \"Items\" id=1200"), std::string::npos) << dump;
  EXPECT_NE(dump.find("text \"Ann Baker\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("text \"Bob Clark\""), std::string::npos) << dump;

  // The selection bar follows the keys; below the rows lies the window's background.
  const COLORREF bar = device->pixel(100, rowHeight() / 2);
  const COLORREF plain = device->pixel(100, rowHeight() + rowHeight() / 2);
  EXPECT_NE(bar, plain);
  EXPECT_EQ(device->pixel(100, 5 * rowHeight()), plain);
  device->key(VK_DOWN);
  EXPECT_EQ(device->pixel(100, rowHeight() + rowHeight() / 2), bar);
  EXPECT_EQ(device->pixel(100, rowHeight() / 2), plain);
}

TEST_F(Chooser, CheckBoxesSitInTheRowsLeftSquareAndShowTheirTick) {
  makeChooser({u"Ann Baker", u"Bob Clark"}, true);
  chooser->select(1);
  chooser->setChecked(0, true);
  device->runUntilIdle();
  const int h = rowHeight();
  ASSERT_GT(h, 12);
  // The text moves right of the box column.
  EXPECT_GE(drawnText("Ann Baker")->rect.left, h);
  // Pocket PC: the outline is drawn 1 + 2 pixels inside the row's left square.
  const COLORREF ink = device->pixel(3, h / 2);
  const COLORREF paper = device->pixel(2, h / 2);
  EXPECT_NE(ink, paper);
  EXPECT_EQ(device->pixel(3, h + h / 2), ink) << "the unchecked row has the same outline";
  // Only the checked box has ink inside its outline.
  auto inkInside = [&](int row) {
    int count = 0;
    for (int y = row * h + 4; y < row * h + h - 4; ++y) {
      for (int x = 4; x < h - 4; ++x) count += device->pixel(x, y) == ink;
    }
    return count;
  };
  EXPECT_GT(inkInside(0), 4);
  EXPECT_EQ(inkInside(1), 0);

  // On a Smartphone the outline sits a pixel further in.
  chooser.reset();
  boot(platform::Edition::Smartphone, 176, 220);
  makeChooser({u"Ann Baker"}, true);
  const int sh = rowHeight();
  EXPECT_EQ(device->pixel(3, sh / 2), device->pixel(2, sh / 2));
  EXPECT_NE(device->pixel(4, sh / 2), device->pixel(2, sh / 2));
}

TEST_F(Chooser, TapsToggleInTheBoxColumnOrOnTheSelectedRow) {
  makeChooser({u"Ann Baker", u"Bob Clark", u"Dan Evans"}, true);
  ASSERT_EQ(chooser->selectedIndex(), 0);
  MessageLog& log = MessageLog::instance();
  log.keepOnly({WM_NOTIFY});
  log.skipNotifications({LVN_ODCACHEHINT, NM_CLICK, NM_SETFOCUS, NM_KILLFOCUS});
  log.clear();

  // The box column of an unselected row: its box flips, then the list selects it.
  tapRow(1, rowHeight() / 2);
  EXPECT_THAT(checks(), ElementsAre(false, true, false));
  EXPECT_EQ(chooser->selectedIndex(), 1);
  const Seq expected = {"parent:LVN_ITEMCHANGING", "parent:LVN_ITEMCHANGED",  // box of row 1
                        "parent:LVN_ITEMCHANGING", "parent:LVN_ITEMCHANGED",  // row 0 deselected
                        "parent:LVN_ITEMCHANGING", "parent:LVN_ITEMCHANGING", "parent:LVN_ITEMCHANGED",
                        "parent:LVN_ITEMCHANGED"};  // row 1 selected and focused, row 0 loses the focus
  EXPECT_EQ(log.sequence(), expected);
  ASSERT_FALSE(log.entries().empty());
  EXPECT_EQ(log.entries()[0].item, 1);
  EXPECT_EQ(log.entries()[0].newState & LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));

  // The text of an unselected row only selects it; a second tap there toggles it.
  tapRow(2, 150);
  EXPECT_THAT(checks(), ElementsAre(false, true, false));
  EXPECT_EQ(chooser->selectedIndex(), 2);
  device->advance(1000);  // not a double tap
  tapRow(2, 150);
  EXPECT_THAT(checks(), ElementsAre(false, true, true));
  device->advance(1000);
  tapRow(2, 150);
  EXPECT_THAT(checks(), ElementsAre(false, true, false));
  // Below the last row nothing changes.
  device->tap(rowHeight() / 2, 5 * rowHeight());
  EXPECT_THAT(checks(), ElementsAre(false, true, false));
}

TEST_F(Chooser, WithoutCheckBoxesTapsOnlySelect) {
  makeChooser({u"Ann Baker", u"Bob Clark"}, false);
  tapRow(1, 3);
  device->advance(1000);
  tapRow(1, 3);
  EXPECT_EQ(chooser->selectedIndex(), 1);
  EXPECT_EQ(ListView_GetItemState(chooser->hwnd(), 1, LVIS_STATEIMAGEMASK), 0u);
}

TEST_F(Chooser, KeysNarrowTheRowsWhichShowTheirFullTextsAndOwnersValues) {
  makeChooser({u"Ann Baker", u"Bob Clark", u"Dan Evans", u"Eve Dale"}, false);
  device->type(u"3");
  // "Dan" and "Dale"/"Evans"/"Eve" match D, E or F: each row once, in list order.
  EXPECT_EQ(chooser->count(), 2);
  EXPECT_THAT(rowTexts(), ElementsAre(u"Dan Evans", u"Eve Dale"));
  EXPECT_EQ(chooser->dataAt(0), 102);
  EXPECT_EQ(chooser->dataAt(1), 103);
  EXPECT_TRUE(chooser->isSearching());
  EXPECT_EQ(chooser->selectedIndex(), 0);
  device->type(u"2");
  EXPECT_THAT(rowTexts(), ElementsAre(u"Dan Evans", u"Eve Dale"));
  device->type(u"6");
  EXPECT_THAT(rowTexts(), ElementsAre(u"Dan Evans"));
  device->type(u"9");
  EXPECT_EQ(chooser->count(), 0);

  chooser->clearSearch();
  EXPECT_FALSE(chooser->isSearching());
  EXPECT_THAT(rowTexts(), ElementsAre(u"Ann Baker", u"Bob Clark", u"Dan Evans", u"Eve Dale"));
  EXPECT_EQ(chooser->dataAt(3), 103);
  EXPECT_EQ(chooser->selectedIndex(), 0);
}

TEST_F(Chooser, TheTypedPartIsHighlightedInTheOtherColourPair) {
  makeChooser({u"Ann Baker", u"Bob Clark", u"Dan Evans"}, false);
  device->type(u"32");
  // Row 0 (selected): "Da" stands out in the window's colours, the rest in the selection's.
  const std::optional<Drawn> lit = drawnText("Da");
  const std::optional<Drawn> rest = drawnText("n Evans");
  ASSERT_TRUE(lit && rest);
  EXPECT_EQ(lit->colour, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(rest->colour, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_LE(lit->rect.right, rest->rect.left + 1);
  EXPECT_LT(lit->rect.left, 4) << "left-aligned: the format has no DT_CENTER";

  // On an unselected row the typed part takes the selection's colours.
  chooser->clearSearch();
  chooser->addRow(u"Daisy Fox", 7);
  chooser->select(0);
  device->type(u"32");
  ASSERT_EQ(chooser->count(), 2);
  device->runUntilIdle();
  std::vector<Drawn> pieces;
  for (const Drawn& d : drawnRows()) {
    if (d.text == "Da") pieces.push_back(d);
  }
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[1].colour, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(drawnText("isy Fox")->colour, GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(Chooser, ChecksMadeWhileNarrowedSurviveClearingTheSearch) {
  makeChooser({u"Ann Baker", u"Bob Clark", u"Dan Evans", u"Eve Moss"}, true);
  chooser->setChecked(0, true);
  device->type(u"3");
  ASSERT_THAT(rowTexts(), ElementsAre(u"Dan Evans", u"Eve Moss"));
  EXPECT_THAT(checks(), ElementsAre(false, false));
  // Checked among the matches with the stylus, then the narrowing goes on and comes back.
  tapRow(1, rowHeight() / 2);
  EXPECT_THAT(checks(), ElementsAre(false, true));
  device->type(u"2");
  ASSERT_THAT(rowTexts(), ElementsAre(u"Dan Evans"));
  EXPECT_THAT(checks(), ElementsAre(false));
  chooser->setChecked(0, true);
  device->type(u"\b");
  EXPECT_THAT(rowTexts(), ElementsAre(u"Dan Evans", u"Eve Moss"));
  EXPECT_THAT(checks(), ElementsAre(true, true)) << "the check made at the narrower level holds";
  chooser->select(1);

  chooser->clearSearch();
  EXPECT_THAT(rowTexts(), ElementsAre(u"Ann Baker", u"Bob Clark", u"Dan Evans", u"Eve Moss"));
  EXPECT_THAT(checks(), ElementsAre(true, false, true, true));
  EXPECT_EQ(chooser->dataAt(3), 103);
  EXPECT_EQ(chooser->selectedIndex(), 3) << "the selected match stays selected";
}

TEST_F(Chooser, RemovingEveryKeyBringsBackAllRowsWithTheirChecks) {
  // A row without any word and one longer than a row's text buffer come back whole.
  const std::u16string longText = u"Zed " + std::u16string(300, u'x');
  makeChooser({u"Ann Baker", u"", longText}, true);
  chooser->setChecked(2, true);
  device->type(u"9");
  ASSERT_THAT(rowTexts(), ElementsAre(longText));
  EXPECT_THAT(checks(), ElementsAre(true));
  device->type(u"\b");
  EXPECT_FALSE(chooser->isSearching());
  EXPECT_THAT(rowTexts(), ElementsAre(u"Ann Baker", u"", longText));
  EXPECT_THAT(checks(), ElementsAre(false, false, true));
  EXPECT_EQ(chooser->dataAt(1), 101);
  EXPECT_EQ(chooser->selectedIndex(), 2);
  // Backspace with nothing typed changes nothing.
  device->type(u"\b");
  EXPECT_EQ(chooser->count(), 3);
}

TEST_F(Chooser, AnOwnerRefillingTheListDropsWhatTheSearchKeptAside) {
  makeChooser({u"Ann Baker", u"Bob Clark"}, false);
  device->type(u"2");
  ASSERT_TRUE(chooser->isSearching());
  ListView_DeleteAllItems(chooser->hwnd());
  EXPECT_FALSE(chooser->isSearching());
  chooser->addRow(u"Carl Dunn", 5);
  chooser->clearSearch();
  EXPECT_THAT(rowTexts(), ElementsAre(u"Carl Dunn"));
  // A row added during a search joins the full list.
  device->type(u"3");
  ASSERT_THAT(rowTexts(), ElementsAre(u"Carl Dunn"));
  chooser->addRow(u"Abe Ash", 6);
  EXPECT_FALSE(chooser->isSearching());
  EXPECT_THAT(rowTexts(), ElementsAre(u"Carl Dunn", u"Abe Ash"));
}

TEST_F(Chooser, ShortBackRemovesOneKeyLongBackClearsThemAll) {
  makeChooser({u"Ann Baker", u"Bob Clark", u"Dan Evans"}, false);
  // Without a typed key the owner keeps the Back key.
  EXPECT_FALSE(back(false));
  EXPECT_FALSE(back(true));

  device->type(u"32");
  ASSERT_EQ(chooser->typedKeys(), 2);
  EXPECT_TRUE(back(false));
  device->advance(400);
  EXPECT_TRUE(back(true));
  EXPECT_EQ(chooser->typedKeys(), 1);
  EXPECT_THAT(rowTexts(), ElementsAre(u"Dan Evans"));

  // Held: after a second every key is gone; the repeats and the release remove nothing more.
  device->type(u"2");
  EXPECT_TRUE(back(false));
  device->advance(999);
  EXPECT_EQ(chooser->typedKeys(), 2);
  device->advance(1);
  EXPECT_FALSE(chooser->isSearching());
  EXPECT_THAT(rowTexts(), ElementsAre(u"Ann Baker", u"Bob Clark", u"Dan Evans"));
  EXPECT_TRUE(back(false));
  device->advance(1500);
  EXPECT_TRUE(back(true));
  EXPECT_THAT(rowTexts(), ElementsAre(u"Ann Baker", u"Bob Clark", u"Dan Evans"));
  EXPECT_FALSE(back(false)) << "with the search gone, Back is the owner's again";
  EXPECT_FALSE(back(true));
}

TEST_F(Chooser, OneBackTimerServesEveryListAndGoesWithItsList) {
  makeChooser({u"Ann Baker", u"Dan Evans"}, false);
  device->type(u"3");
  ASSERT_TRUE(back(false));
  // The list goes while Back is held; the next list's long press still works.
  chooser.reset();
  device->advance(2000);
  makeChooser({u"Ann Baker", u"Dan Evans"}, false);
  device->type(u"3");
  EXPECT_TRUE(back(false));
  device->advance(1000);
  EXPECT_FALSE(chooser->isSearching());
  EXPECT_TRUE(back(true));
  EXPECT_EQ(chooser->count(), 2);
}

TEST_F(Chooser, ArrowsWrapOnAFreshPressAndJumpByPagesWhenHeld) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < 60; ++i) texts.push_back(u"Row " + platform::toUtf16(std::to_string(100 + i)));
  makeChooser(texts, false);
  device->key(VK_UP);
  EXPECT_EQ(chooser->selectedIndex(), 59);
  EXPECT_TRUE(drawnText("Row 159"));
  device->key(VK_DOWN);
  EXPECT_EQ(chooser->selectedIndex(), 0);
  device->key(VK_DOWN);
  EXPECT_EQ(chooser->selectedIndex(), 1);

  const int page = ListView_GetCountPerPage(chooser->hwnd());
  ASSERT_GT(page, 2);
  device->keyDown(VK_DOWN);
  for (int i = 0; i < 25; ++i) {
    device->advance(100);
    device->keyDown(VK_DOWN, true);
  }
  EXPECT_EQ(chooser->selectedIndex(), 27) << "a row per repeat for 2.5 seconds";
  const DWORD before = GetTickCount();
  device->advance(100);
  device->keyDown(VK_DOWN, true);
  EXPECT_EQ(chooser->selectedIndex(), 27 + page);
  EXPECT_EQ(GetTickCount() - before, 100u + 150u);
  for (int i = 0; i < 10; ++i) device->keyDown(VK_DOWN, true);
  EXPECT_EQ(chooser->selectedIndex(), 59) << "held, the selection stops at the end";
  device->keyUp(VK_DOWN);
  device->key(VK_DOWN);
  EXPECT_EQ(chooser->selectedIndex(), 0);
}

// Every layout of both editions: rows with boxes are drawn whole and searched the same way.
class ChooserLayouts : public Chooser, public ::testing::WithParamInterface<std::tuple<platform::Edition, int, int>> {};

TEST_P(ChooserLayouts, RowsWithBoxesAreDrawnAndSearched) {
  const auto [edition, width, height] = GetParam();
  boot(edition, width, height);
  std::vector<std::u16string> texts;
  for (int i = 0; i < 40; ++i) texts.push_back(u"Row " + platform::toUtf16(std::to_string(100 + i)));
  texts.push_back(u"Zoe Quill");
  makeChooser(texts, true);
  const int h = rowHeight();
  ASSERT_GT(h, 8);
  const std::optional<Drawn> first = drawnText("Row 100");
  ASSERT_TRUE(first);
  EXPECT_GE(first->rect.left, h) << "right of the box column";
  EXPECT_LE(first->rect.bottom, h + 1);
  // The box outline: ink two or three pixels inside the row's left square, paper at its edge.
  const int in = edition == platform::Edition::PocketPc ? 3 : 4;
  EXPECT_NE(device->pixel(in, h + h / 2), device->pixel(1, h + h / 2));
  EXPECT_TRUE(drawnText("Row " + std::to_string(100 + height / h - 1))) << "the page is drawn to its foot";
  EXPECT_NE(device->dump().find("text \"Row 101\""), std::string::npos);

  device->type(u"9");
  EXPECT_THAT(rowTexts(), ElementsAre(u"Zoe Quill"));
  chooser->setChecked(0, true);
  chooser->clearSearch();
  EXPECT_EQ(chooser->count(), 41);
  EXPECT_TRUE(chooser->isChecked(40));
  EXPECT_EQ(chooser->selectedIndex(), 40);
}

INSTANTIATE_TEST_SUITE_P(Screens, ChooserLayouts,
                         ::testing::Values(std::make_tuple(platform::Edition::PocketPc, 240, 320),
                                           std::make_tuple(platform::Edition::PocketPc, 320, 240),
                                           std::make_tuple(platform::Edition::PocketPc, 240, 240),
                                           std::make_tuple(platform::Edition::PocketPc, 480, 640),
                                           std::make_tuple(platform::Edition::Smartphone, 176, 220),
                                           std::make_tuple(platform::Edition::Smartphone, 320, 240)));

}  // namespace
}  // namespace pellucard::testing
