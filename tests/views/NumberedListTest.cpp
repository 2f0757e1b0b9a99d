// The numbered list: entries shown a page at a time with their numbers, "More ..." to the next
// page, digits and Enter that choose, Up and Down that wrap around the page, Backspace to the
// previous page and "0" that removes an entry; a chosen entry is reported to the parent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/ListFixture.h"
#include "views/NumberedList.h"

namespace pellucard::testing {
namespace {

using platform::testing::MessageLog;
using ::testing::ElementsAre;
using Rows = std::vector<std::string>;

constexpr UINT kNumberedId = 1300;

class Numbered : public ListFixture {
 protected:
  void TearDown() override {
    numbered.reset();
    ListFixture::TearDown();
  }

  // A list of `count` entries "Entry 0", "Entry 1", ... with the data 500 + index, `rows` rows
  // high (the whole screen when 0).
  void makeNumbered(int count, int rows = 0) {
    numbered.reset();
    makeParent();
    numbered = std::make_unique<NumberedList>();
    ASSERT_NE(numbered->create(parent->hwnd(), screenRect(), kNumberedId), nullptr);
    if (rows > 0) {
      SetWindowPos(numbered->hwnd(), nullptr, 0, 0, platform::gdi::screenWidth(), rows * rowHeight(),
                   SWP_NOZORDER | SWP_NOMOVE);
    }
    std::vector<NumberedList::Entry> entries;
    for (int i = 0; i < count; ++i) {
      entries.push_back({u"Entry " + platform::toUtf16(std::to_string(i)), static_cast<LPARAM>(500 + i)});
    }
    numbered->setEntries(std::move(entries));
    SetFocus(numbered->hwnd());
    device->runUntilIdle();
    MessageLog::instance().clear();
  }

  int rowHeight() const { return HIWORD(ListView_ApproximateViewRect(numbered->hwnd(), -1, -1, 1)); }

  // Each row of the page as "number|text", read from the list view's columns 1 and 2.
  Rows page() const {
    Rows out;
    const int rows = ListView_GetItemCount(numbered->hwnd());
    for (int i = 0; i < rows; ++i) out.push_back(cell(i, 1) + "|" + cell(i, 2));
    return out;
  }
  std::string cell(int row, int column) const {
    WCHAR buffer[64] = {};
    ListView_GetItemText(numbered->hwnd(), row, column, buffer, 64);
    return platform::toUtf8(buffer);
  }
  // What the parent was told was chosen, as (index, data) pairs.
  std::vector<std::pair<WPARAM, LPARAM>> chosen() const {
    std::vector<std::pair<WPARAM, LPARAM>> out;
    for (const auto& m : MessageLog::instance().messages(UM_ITEMCHOSEN)) out.emplace_back(m.wParam, m.lParam);
    return out;
  }
  void tapRow(int row) { device->tap(100, row * rowHeight() + rowHeight() / 2); }

  std::unique_ptr<NumberedList> numbered;
};

TEST_F(Numbered, ColumnsNumbersAndTextsFollowTheScreen) {
  makeNumbered(3);
  // 240 wide: a 30-pixel number column, the text over the rest; column 0 is never seen.
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 0), 0);
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 1), 30);
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 2), 210);
  EXPECT_EQ(numbered->rowsPerPage(), 320 / rowHeight());
  EXPECT_EQ(numbered->numberedRows(), 10);
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 1", "3|Entry 2"));
  EXPECT_EQ(numbered->selectedRow(), 0);
  EXPECT_EQ(GetWindowLongW(numbered->hwnd(), GWL_STYLE) & 0xFFFF, static_cast<LONG>(NumberedList::kStyle & 0xFFFF));
  EXPECT_NE(ListView_GetExtendedListViewStyle(numbered->hwnd()) & LVS_EX_FULLROWSELECT, 0u);
  // Numbers and texts side by side in the dump.
  const std::string dump = device->dump();
  EXPECT_NE(dump.find("text \"2\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("text \"Entry 1\""), std::string::npos) << dump;
  const std::optional<Drawn> number = [&]() -> std::optional<Drawn> {
    for (const Drawn& d : drawnBy(numbered->hwnd())) {
      if (d.text == "2") return d;
    }
    return std::nullopt;
  }();
  ASSERT_TRUE(number);
  EXPECT_LT(number->rect.left, 30);

  // Any other width: 20 pixels, and at most nine numbered rows.
  numbered.reset();
  boot(platform::Edition::Smartphone, 176, 220);
  makeNumbered(3);
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 1), 20);
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 2), 156);
  EXPECT_EQ(numbered->numberedRows(), std::min(numbered->rowsPerPage(), 9));
}

TEST_F(Numbered, LongListsArePagedWithMore) {
  makeNumbered(10, 4);
  ASSERT_EQ(numbered->rowsPerPage(), 4);
  // Pages of three entries, each but the last ending with "More ..." under the number 4.
  EXPECT_EQ(numbered->pageCount(), 3);
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 1", "3|Entry 2", "4|More ..."));
  EXPECT_TRUE(platform::testing::TestDevice::drew(numbered->hwnd(), u"More ..."));
  device->key('4');
  EXPECT_EQ(numbered->page(), 1);
  EXPECT_THAT(page(), ElementsAre("1|Entry 3", "2|Entry 4", "3|Entry 5", "4|More ..."));
  EXPECT_EQ(numbered->selectedRow(), 0);
  // The last page holds the rest whole: four entries and no "More ...".
  device->key(VK_DOWN);
  device->key(VK_DOWN);
  device->key(VK_DOWN);
  device->key(VK_RETURN);
  EXPECT_THAT(page(), ElementsAre("1|Entry 6", "2|Entry 7", "3|Entry 8", "4|Entry 9"));
  EXPECT_TRUE(chosen().empty()) << "\"More ...\" is no entry";

  // Backspace goes back a page at a time and does nothing on the first.
  device->type(u"\b");
  EXPECT_EQ(numbered->page(), 1);
  device->type(u"\b");
  device->type(u"\b");
  EXPECT_EQ(numbered->page(), 0);
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 1", "3|Entry 2", "4|More ..."));

  // A tap on the selected "More ..." shows the next page too.
  numbered->showPage(0, 3);
  device->runUntilIdle();
  tapRow(3);
  EXPECT_EQ(numbered->page(), 1);
}

TEST_F(Numbered, AFullPageThatHoldsEveryEntryNeedsNoMore) {
  makeNumbered(4, 4);
  EXPECT_EQ(numbered->pageCount(), 1);
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 1", "3|Entry 2", "4|Entry 3"));
  makeNumbered(5, 4);
  EXPECT_EQ(numbered->pageCount(), 2);
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 1", "3|Entry 2", "4|More ..."));
}

TEST_F(Numbered, DigitsAndEnterChooseAndTellTheParent) {
  makeNumbered(10, 4);
  device->key('4');
  ASSERT_EQ(numbered->page(), 1);
  // The digit moves the selection to its row first, then the parent hears the entry's index in
  // the whole array and its data.
  device->key('2');
  EXPECT_EQ(numbered->selectedRow(), 1);
  EXPECT_THAT(chosen(), ElementsAre(std::make_pair(WPARAM{4}, LPARAM{504})));
  MessageLog::instance().clear();
  device->key(VK_DOWN);
  device->key(VK_RETURN);
  EXPECT_THAT(chosen(), ElementsAre(std::make_pair(WPARAM{5}, LPARAM{505})));
  MessageLog::instance().clear();
  // A tap on the selected row chooses it; on another row it only selects.
  tapRow(0);
  EXPECT_EQ(numbered->selectedRow(), 0);
  EXPECT_TRUE(chosen().empty());
  device->advance(1000);
  tapRow(0);
  EXPECT_THAT(chosen(), ElementsAre(std::make_pair(WPARAM{3}, LPARAM{503})));
  MessageLog::instance().clear();

  // Digits past the page's numbers, 0 and typed letters choose nothing.
  device->key('5');
  device->key('9');
  device->type(u"a");
  EXPECT_TRUE(chosen().empty());
  EXPECT_EQ(numbered->page(), 1);
  EXPECT_EQ(numbered->entries().size(), 10u);
}

TEST_F(Numbered, UpAndDownWrapAroundThePage) {
  makeNumbered(10, 4);
  device->key(VK_UP);
  EXPECT_EQ(numbered->selectedRow(), 3);
  device->key(VK_DOWN);
  EXPECT_EQ(numbered->selectedRow(), 0);
  device->key(VK_DOWN);
  EXPECT_EQ(numbered->selectedRow(), 1);
  device->key(VK_UP);
  EXPECT_EQ(numbered->selectedRow(), 0);
  EXPECT_EQ(numbered->page(), 0) << "the wrap stays on the page";
  // One row alone wraps onto itself.
  makeNumbered(1, 4);
  device->key(VK_DOWN);
  EXPECT_EQ(numbered->selectedRow(), 0);
}

TEST_F(Numbered, ZeroRemovesTheSelectedEntry) {
  makeNumbered(5, 4);
  device->key(VK_DOWN);
  device->type(u"0");
  // Entry 1 goes; the rest move up and now fit one page.
  EXPECT_THAT(page(), ElementsAre("1|Entry 0", "2|Entry 2", "3|Entry 3", "4|Entry 4"));
  EXPECT_EQ(numbered->selectedRow(), 1);
  EXPECT_EQ(numbered->entries()[1].data, 502);
  EXPECT_TRUE(chosen().empty());
  device->key('2');
  EXPECT_THAT(chosen(), ElementsAre(std::make_pair(WPARAM{1}, LPARAM{502})));

  // "More ..." is not removed; the last entry of a page can be, and the list may end empty.
  makeNumbered(5, 4);
  numbered->showPage(0, 3);
  device->type(u"0");
  EXPECT_EQ(numbered->entries().size(), 5u);
  makeNumbered(1, 4);
  device->type(u"0");
  EXPECT_TRUE(numbered->entries().empty());
  EXPECT_TRUE(page().empty());
  device->type(u"0");
  device->key(VK_RETURN);
  device->key('1');
  EXPECT_TRUE(chosen().empty());
}

TEST_F(Numbered, RemovingOnTheLastPageFallsBackAPage) {
  makeNumbered(8, 4);
  device->key('4');
  device->key('4');
  ASSERT_EQ(numbered->page(), 2);
  ASSERT_THAT(page(), ElementsAre("1|Entry 6", "2|Entry 7"));
  device->type(u"0");
  // Seven entries are two pages: the last page goes and the next entry is selected on the page
  // before.
  EXPECT_EQ(numbered->page(), 1);
  EXPECT_THAT(page(), ElementsAre("1|Entry 3", "2|Entry 4", "3|Entry 5", "4|Entry 7"));
  EXPECT_EQ(numbered->selectedEntry(), 6);
  device->type(u"0");
  // Six entries are two pages still.
  EXPECT_EQ(numbered->pageCount(), 2);
  EXPECT_EQ(numbered->page(), 1);
  EXPECT_THAT(page(), ElementsAre("1|Entry 3", "2|Entry 4", "3|Entry 5"));
  EXPECT_EQ(numbered->selectedEntry(), 5) << "the selection stays next to the removed entry";
}

TEST_F(Numbered, MorePagesThanDigitsKeepEveryNumberOnce) {
  // Twelve rows on a screen not 240 wide: nine numbers, "More ..." carrying the ninth.
  boot(platform::Edition::PocketPc, 480, 640);
  makeNumbered(30, 12);
  ASSERT_EQ(numbered->rowsPerPage(), 12);
  ASSERT_EQ(numbered->numberedRows(), 9);
  const Rows rows = page();
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_EQ(rows[7], "8|Entry 7");
  EXPECT_EQ(rows[8], "|Entry 8");
  EXPECT_EQ(rows[10], "|Entry 10");
  EXPECT_EQ(rows[11], "9|More ...");
  device->key('8');
  EXPECT_THAT(chosen(), ElementsAre(std::make_pair(WPARAM{7}, LPARAM{507})));
  device->key('9');
  EXPECT_EQ(numbered->page(), 1);
  EXPECT_EQ(page()[0], "1|Entry 11");
}

TEST_F(Numbered, AnotherHeightRepagesAroundTheSelectedEntry) {
  makeNumbered(10, 4);
  device->key('4');
  device->key(VK_DOWN);
  ASSERT_EQ(numbered->selectedEntry(), 4);
  SetWindowPos(numbered->hwnd(), nullptr, 0, 0, 240, 3 * rowHeight(), SWP_NOZORDER | SWP_NOMOVE);
  device->runUntilIdle();
  // Pages of two entries now: entry 4 opens the third page.
  EXPECT_EQ(numbered->page(), 2);
  EXPECT_EQ(numbered->selectedEntry(), 4);
  EXPECT_THAT(page(), ElementsAre("1|Entry 4", "2|Entry 5", "3|More ..."));
}

// Every layout of both editions: the page fills the list's height and is drawn.
class NumberedLayouts : public Numbered,
                        public ::testing::WithParamInterface<std::tuple<platform::Edition, int, int>> {};

TEST_P(NumberedLayouts, APageFillsTheListAndIsDrawn) {
  const auto [edition, width, height] = GetParam();
  boot(edition, width, height);
  makeNumbered(40);
  const int rows = numbered->rowsPerPage();
  ASSERT_GE(rows, 2);
  EXPECT_EQ(rows, height / rowHeight());
  EXPECT_EQ(ListView_GetItemCount(numbered->hwnd()), rows);
  EXPECT_EQ(ListView_GetColumnWidth(numbered->hwnd(), 1), width == 240 ? 30 : 20);
  EXPECT_EQ(page().back(), std::to_string(numbered->numberedRows()) + "|More ...");
  EXPECT_TRUE(platform::testing::TestDevice::drew(numbered->hwnd(), u"Entry 0"));
  EXPECT_TRUE(platform::testing::TestDevice::drew(numbered->hwnd(), u"More ..."));
  // Every row is seen: the last one ends inside the list.
  RECT last{};
  ListView_GetItemRect(numbered->hwnd(), rows - 1, &last, LVIR_BOUNDS);
  EXPECT_LE(last.bottom, height);
}

INSTANTIATE_TEST_SUITE_P(Screens, NumberedLayouts,
                         ::testing::Values(std::make_tuple(platform::Edition::PocketPc, 240, 320),
                                           std::make_tuple(platform::Edition::PocketPc, 320, 240),
                                           std::make_tuple(platform::Edition::PocketPc, 240, 240),
                                           std::make_tuple(platform::Edition::PocketPc, 480, 640),
                                           std::make_tuple(platform::Edition::Smartphone, 176, 220),
                                           std::make_tuple(platform::Edition::Smartphone, 320, 240)));

}  // namespace
}  // namespace pellucard::testing
