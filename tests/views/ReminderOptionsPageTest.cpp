// The Anniversaries and Loans pages of the options: their rows on both editions, the reminder
// time in the locale's format, and what Done stores, also when the file held something the
// rows cannot show.
#include "views/ReminderOptionsPage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/WindowText.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinListBox.h"
#include "platform/sys/LocaleFormats.h"
#include "settings/ReminderTime.h"
#include "settings/Settings.h"
#include "tests/views/FormScreenFixture.h"
#include "views/AnniversaryOptionsPage.h"
#include "views/LoanOptionsPage.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;
using Row = ReminderOptionsPage::Row;

class ReminderOptionsPageTest : public ::testing::TestWithParam<Edition> {
 protected:
  ReminderOptionsPageTest() {
    locale_ = platform::sys::LocaleFormats::instance().current();
    useTimeFormat(u"H:mm");
  }
  ~ReminderOptionsPageTest() override { platform::sys::LocaleFormats::instance().set(locale_); }

  static void useTimeFormat(const std::u16string& format) {
    platform::sys::LocaleData data = platform::sys::LocaleFormats::instance().current();
    data.time = format;
    platform::sys::LocaleFormats::instance().set(data);
  }
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }

  template <class Page>
  std::unique_ptr<Page> open() {
    auto page = std::make_unique<Page>();
    EXPECT_NE(page->open(device.owner(), u"Page"), nullptr);
    device.runUntilIdle();
    return page;
  }
  HWND field(const ReminderOptionsPage& page, Row row) const { return page.builder().row(row)->field; }
  std::u16string label(const ReminderOptionsPage& page, Row row) const {
    return windowText(page.builder().row(row)->label);
  }
  std::vector<std::u16string> items(const ReminderOptionsPage& page, Row row) const {
    const HWND list = field(page, row);
    std::vector<std::u16string> out;
    const LRESULT count = SendMessageW(list, pocketPc() ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
      WCHAR text[64] = {};
      SendMessageW(list, pocketPc() ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(text));
      out.emplace_back(text);
    }
    return out;
  }
  // The user picks the item at this place.
  void pick(const ReminderOptionsPage& page, Row row, int index) const {
    SendMessageW(field(page, row), pocketPc() ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void pickTime(const ReminderOptionsPage& page, int hour, int minute) const {
    SYSTEMTIME t = page.builder().date(ReminderOptionsPage::kReminderTimeRow);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    DateTime_SetSystemtime(field(page, ReminderOptionsPage::kReminderTimeRow), GDT_VALID, &t);
  }
  void press(const ReminderOptionsPage& page, WORD command) {
    SendMessageW(page.hwnd(), WM_COMMAND, command, 0);
    device.runUntilIdle();
  }

  FormScreenDevice device{GetParam(), 240, 320};

 private:
  platform::sys::LocaleData locale_;
};

TEST_P(ReminderOptionsPageTest, RowsShowTheStoredExportReminderAndTime) {
  auto page = open<AnniversaryOptionsPage>();
  EXPECT_EQ(page->menuBarId(), 1522u);
  EXPECT_EQ(label(*page, ReminderOptionsPage::kAutoExportRow),
            pocketPc() ? u"Auto Export:" : u"Auto Export to Calendar:");
  EXPECT_EQ(label(*page, ReminderOptionsPage::kReminderRow), u"Reminder:");
  EXPECT_EQ(label(*page, ReminderOptionsPage::kReminderTimeRow), u"Reminder Time:");
  EXPECT_EQ(items(*page, ReminderOptionsPage::kAutoExportRow), (std::vector<std::u16string>{u"Enabled", u"Disabled"}));
  EXPECT_EQ(
      items(*page, ReminderOptionsPage::kReminderRow),
      (std::vector<std::u16string>{u"Disabled", u"1 Day", u"2 Days", u"3 Days", u"4 Days", u"1 Week", u"2 Weeks"}));
  EXPECT_EQ(page->builder().choiceValue(ReminderOptionsPage::kAutoExportRow), 1);
  EXPECT_EQ(page->builder().choiceValue(ReminderOptionsPage::kReminderRow), 1);
  // 3072 is noon, on today's date.
  const SYSTEMTIME shown = page->builder().date(ReminderOptionsPage::kReminderTimeRow);
  EXPECT_EQ(shown.wYear, 2025);
  EXPECT_EQ(shown.wMonth, 1);
  EXPECT_EQ(shown.wDay, 15);
  EXPECT_EQ(shown.wHour, 12);
  EXPECT_EQ(shown.wMinute, 0);
  EXPECT_EQ(shown.wSecond, 0);
  EXPECT_TRUE(TestDevice::drew(field(*page, ReminderOptionsPage::kReminderTimeRow), u"12:00"));
  DestroyWindow(page->hwnd());

  auto loans = open<LoanOptionsPage>();
  EXPECT_EQ(label(*loans, ReminderOptionsPage::kAutoExportRow),
            pocketPc() ? u"Auto Export:" : u"Auto Export to Tasks:");
  DestroyWindow(loans->hwnd());
}

TEST_P(ReminderOptionsPageTest, DoneStoresEachRowAtOnce) {
  auto page = open<AnniversaryOptionsPage>();
  pick(*page, ReminderOptionsPage::kAutoExportRow, 1);
  pick(*page, ReminderOptionsPage::kReminderRow, 6);
  pickTime(*page, 7, 5);
  press(*page, IDOK);
  EXPECT_EQ(page->result(), IDOK);
  Settings& settings = getSettings();
  EXPECT_FALSE(settings.anniversariesAutoExport());
  EXPECT_EQ(settings.anniversariesReminder(), 14) << "two weeks";
  EXPECT_EQ(settings.anniversariesReminderTime(), 1797) << "07:05";
  EXPECT_TRUE(settings.loansAutoExport()) << "the loans keep theirs";
  EXPECT_EQ(settings.loansReminder(), 1);
  EXPECT_EQ(settings.loansReminderTime(), 3072);

  auto loans = open<LoanOptionsPage>();
  pick(*loans, ReminderOptionsPage::kReminderRow, 0);
  pickTime(*loans, 23, 59);
  press(*loans, IDOK);
  EXPECT_EQ(settings.loansReminder(), -1) << "Disabled";
  EXPECT_EQ(settings.loansReminderTime(), 23 * 256 + 59);
  EXPECT_EQ(settings.anniversariesReminder(), 14);

  Settings reread(settings.filePath());
  reread.load();
  EXPECT_EQ(reread.anniversariesReminderTime(), 1797) << "the file holds what Done stored";
  EXPECT_EQ(reread.loansReminder(), -1);
}

TEST_P(ReminderOptionsPageTest, CancelStoresNothing) {
  auto page = open<LoanOptionsPage>();
  pick(*page, ReminderOptionsPage::kAutoExportRow, 1);
  pick(*page, ReminderOptionsPage::kReminderRow, 3);
  pickTime(*page, 8, 30);
  press(*page, IDCANCEL);
  EXPECT_EQ(page->result(), IDCANCEL);
  EXPECT_TRUE(getSettings().loansAutoExport());
  EXPECT_EQ(getSettings().loansReminder(), 1);
  EXPECT_EQ(getSettings().loansReminderTime(), 3072);
}

TEST_P(ReminderOptionsPageTest, ALocaleFormatWithSecondsShowsWithoutThem) {
  useTimeFormat(u"h:mm:ss tt");
  getSettings().setLoansReminderTime(ReminderTime::pack(19, 5));
  auto page = open<LoanOptionsPage>();
  EXPECT_TRUE(TestDevice::drew(field(*page, ReminderOptionsPage::kReminderTimeRow), u"7:05 PM"))
      << "hours, minutes and the day-half marker, no seconds";
  DestroyWindow(page->hwnd());

  useTimeFormat(u"HH.mm.ss");
  auto dotted = open<LoanOptionsPage>();
  EXPECT_TRUE(TestDevice::drew(field(*dotted, ReminderOptionsPage::kReminderTimeRow), u"19.05"));
  DestroyWindow(dotted->hwnd());
}

TEST_P(ReminderOptionsPageTest, AValueTheRowsCannotShowStaysUnlessTheUserChoosesAnother) {
  // A hand-edited file: five days and a time of day that is none.
  Settings& settings = getSettings();
  settings.setAnniversariesReminder(5);
  settings.setAnniversariesReminderTime(30 * 256 + 99);
  auto page = open<AnniversaryOptionsPage>();
  pick(*page, ReminderOptionsPage::kAutoExportRow, 1);
  press(*page, IDOK);
  EXPECT_FALSE(settings.anniversariesAutoExport()) << "what the user changed is stored";
  EXPECT_EQ(settings.anniversariesReminder(), 5);
  EXPECT_EQ(settings.anniversariesReminderTime(), 30 * 256 + 99);

  auto again = open<AnniversaryOptionsPage>();
  pick(*again, ReminderOptionsPage::kReminderRow, 2);
  pickTime(*again, 6, 0);
  press(*again, IDOK);
  EXPECT_EQ(settings.anniversariesReminder(), 2);
  EXPECT_EQ(settings.anniversariesReminderTime(), 6 * 256);
}

INSTANTIATE_TEST_SUITE_P(Editions, ReminderOptionsPageTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
