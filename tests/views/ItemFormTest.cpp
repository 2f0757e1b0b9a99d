// The gift, loan and anniversary forms: their rows and items, the Friend row with a fixed friend
// and, on the Smartphone, its "Select an Item" page, filling when editing, what Done stores
// (the loan's reminder time, the anniversary's noon), Cancel, and a save the database refuses.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <memory>
#include <string>
#include <vector>

#include "forms/WindowText.h"
#include "platform/base/Clock.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/controls/WinUpDown.h"
#include "settings/Settings.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "tests/views/FormScreenFixture.h"
#include "views/AnniversaryForm.h"
#include "views/GiftForm.h"
#include "views/ItemChooser.h"
#include "views/ItemForms.h"
#include "views/LoanForm.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::FaultInjection;
using platform::testing::TestDevice;

SYSTEMTIME day(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(m);
  t.wDay = static_cast<WORD>(d);
  t.wHour = static_cast<WORD>(h);
  t.wMinute = static_cast<WORD>(mi);
  t.wSecond = static_cast<WORD>(s);
  return t;
}

// Milliseconds since 1970 of a UTC date-time.
std::int64_t utc(int y, int m, int d, int h, int mi, int s = 0) {
  std::tm t{};
  t.tm_year = y - 1900;
  t.tm_mon = m - 1;
  t.tm_mday = d;
  t.tm_hour = h;
  t.tm_min = mi;
  t.tm_sec = s;
  return static_cast<std::int64_t>(timegm(&t)) * 1000;
}

std::u16string joined(const SeenBox& box) {
  std::u16string all;
  for (const std::u16string& text : box.texts) all += text + u" ";
  return all;
}

class ItemFormTest : public ::testing::TestWithParam<Edition> {
 protected:
  void SetUp() override {
    anna = addFriend(u"Anna", u"Zorn");
    bert = addFriend(u"Bert", u"Adler");
    carl = addFriend(u"Carl", u"Meier");
  }

  RecordId addFriend(const std::u16string& first, const std::u16string& last) {
    auto person = std::make_unique<Friend>(first, last, u"", 0);
    Friend* raw = person.get();
    EXPECT_TRUE(getFriendCollection().add(std::move(person)));
    return raw->recordId();
  }

  const FieldRow& row(const ItemForm& form, UINT id) const {
    const FieldRow* found = form.rows().row(id);
    EXPECT_NE(found, nullptr) << "row " << id;
    static const FieldRow none{};
    return found != nullptr ? *found : none;
  }
  std::vector<std::u16string> labels(const ItemForm& form) const {
    std::vector<std::u16string> texts;
    for (const FieldRow& r : form.rows().rows()) texts.push_back(windowText(r.label));
    return texts;
  }
  // The items of a choice row, in order.
  std::vector<std::u16string> items(const ItemForm& form, UINT id) const {
    const HWND list = row(form, id).field;
    const bool pocketPc = device.pocketPc();
    const auto count = static_cast<int>(SendMessageW(list, pocketPc ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    std::vector<std::u16string> texts;
    for (int i = 0; i < count; ++i) {
      WCHAR buffer[256] = {};
      SendMessageW(list, pocketPc ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(buffer));
      texts.emplace_back(buffer);
    }
    return texts;
  }
  void setText(const ItemForm& form, UINT id, const std::u16string& text) {
    SetWindowTextW(row(form, id).field, text.c_str());
  }
  void selectIndex(const ItemForm& form, UINT id, int index) {
    SendMessageW(row(form, id).field, device.pocketPc() ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void setDate(const ItemForm& form, UINT id, const SYSTEMTIME& date) {
    SYSTEMTIME copy = date;
    DateTime_SetSystemtime(row(form, id).field, GDT_VALID, &copy);
  }
  // Opens a form over the owner as the user sees it.
  void open(ItemForm& form) {
    ASSERT_NE(form.open(device.owner(), u"Pellucard"), nullptr);
    device.runUntilIdle();
  }

  FormScreenDevice device{GetParam(), 240, 320};
  RecordId anna = 0;
  RecordId bert = 0;
  RecordId carl = 0;
};

TEST_P(ItemFormTest, TheGiftFormListsItsRowsItemsAndFriendsAndStartsToday) {
  GiftForm form;
  open(form);
  EXPECT_EQ(form.menuBarId(), 1522u) << "Done and Cancel";
  EXPECT_EQ(labels(form), (std::vector<std::u16string>{u"Name:", u"Category:", u"Friend:", u"Date:", u"Notes:"}));
  EXPECT_EQ(items(form, GiftForm::kCategoryRow), (std::vector<std::u16string>{u"From", u"For", u"Ideas"}));
  EXPECT_EQ(form.rows().choiceValue(GiftForm::kCategoryRow), kGiftFrom);
  // "None", then the friends in the friend list's order (by name, first name first).
  EXPECT_EQ(items(form, GiftForm::kFriendRow),
            (std::vector<std::u16string>{u"None", u"Anna Zorn", u"Bert Adler", u"Carl Meier"}));
  EXPECT_EQ(form.rows().choiceValue(GiftForm::kFriendRow), 0);
  EXPECT_TRUE(IsWindowEnabled(row(form, GiftForm::kFriendRow).field));
  const SYSTEMTIME date = form.rows().date(GiftForm::kDateRow);
  EXPECT_EQ(date.wYear, 2025);
  EXPECT_EQ(date.wMonth, 1);
  EXPECT_EQ(date.wDay, 15);
  EXPECT_EQ(GetFocus(), row(form, GiftForm::kNameRow).field);
  // The texts take no more than a record holds.
  EXPECT_EQ(SendMessageW(row(form, GiftForm::kNameRow).field, EM_GETLIMITTEXT, 0, 0), ItemForm::kMaxText);
  EXPECT_EQ(SendMessageW(row(form, GiftForm::kNotesRow).field, EM_GETLIMITTEXT, 0, 0), ItemForm::kMaxText);

  // Cancel stores nothing.
  setText(form, GiftForm::kNameRow, u"Scarf");
  device.key(VK_F2);
  EXPECT_EQ(form.result(), IDCANCEL);
  EXPECT_TRUE(getGiftCollection().empty());
}

TEST_P(ItemFormTest, TheLoanAndAnniversaryFormsListTheirRows) {
  LoanForm loan;
  open(loan);
  EXPECT_EQ(labels(loan),
            (std::vector<std::u16string>{u"Item:", u"Direction:", u"Friend:", u"Date:", u"Return Date:", u"Notes:"}));
  EXPECT_EQ(items(loan, LoanForm::kDirectionRow), (std::vector<std::u16string>{u"From", u"To"}));
  EXPECT_EQ(items(loan, LoanForm::kFriendRow).size(), 4u);
  EXPECT_EQ(loan.rows().date(LoanForm::kReturnDateRow).wYear, 0) << "no return date";
  DestroyWindow(loan.hwnd());

  AnniversaryForm anniversary;
  open(anniversary);
  EXPECT_EQ(labels(anniversary), (std::vector<std::u16string>{u"Name:", u"Friend:", u"Date:", u"Notes:"}));
  EXPECT_EQ(items(anniversary, AnniversaryForm::kFriendRow).front(), u"None");
  DestroyWindow(anniversary.hwnd());
}

TEST_P(ItemFormTest, DateStartsOnTheLocalDayNotTheUtcOne) {
  const char* oldZone = getenv("TZ");
  const std::string saved = oldZone != nullptr ? oldZone : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  platform::Clock::instance().setUtcMilliseconds(utc(2025, 1, 15, 20, 30));
  GiftForm form;
  open(form);
  const SYSTEMTIME date = form.rows().date(GiftForm::kDateRow);
  DestroyWindow(form.hwnd());
  if (oldZone != nullptr) {
    setenv("TZ", saved.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  EXPECT_EQ(date.wDay, 16) << "05:30 on the 16th in Tokyo";
  EXPECT_EQ(date.wHour, 5);
}

TEST_P(ItemFormTest, AFriendFixedByTheDetailsScreenIsShownDisabledAndStored) {
  GiftForm gift;
  LoanForm loan;
  AnniversaryForm anniversary;
  const std::vector<std::pair<ItemForm*, UINT>> forms{
      {&gift, GiftForm::kFriendRow}, {&loan, LoanForm::kFriendRow}, {&anniversary, AnniversaryForm::kFriendRow}};
  for (auto [form, friendRow] : forms) {
    form->setPresetFriend(static_cast<LONG>(carl));
    open(*form);
    const FieldRow& r = row(*form, friendRow);
    EXPECT_FALSE(IsWindowEnabled(r.field));
    EXPECT_FALSE(IsWindowEnabled(r.companion));
    EXPECT_EQ(form->rows().choiceValue(friendRow), static_cast<LPARAM>(carl));
    if (device.pocketPc()) {
      EXPECT_TRUE(TestDevice::drew(r.companion, u"Carl Meier"));
    }
    device.key(VK_F1);
    EXPECT_EQ(form->result(), IDOK);
  }
  ASSERT_EQ(getGiftCollection().size(), 1u);
  EXPECT_EQ(getGiftCollection().snapshot()[0]->friendId(), static_cast<LONG>(carl));
  ASSERT_EQ(getLoanCollection().size(), 1u);
  EXPECT_EQ(getLoanCollection().snapshot()[0]->friendId(), static_cast<LONG>(carl));
  ASSERT_EQ(getAnniversaryCollection().size(), 1u);
  EXPECT_EQ(getAnniversaryCollection().snapshot()[0]->friendId(), static_cast<LONG>(carl));
}

TEST_P(ItemFormTest, DoneAddsAGiftWithWhatWasEnteredAndEditingFillsTheRowsBack) {
  GiftForm add;
  open(add);
  setText(add, GiftForm::kNameRow, u"Scarf");
  selectIndex(add, GiftForm::kCategoryRow, 2);
  selectIndex(add, GiftForm::kFriendRow, 2);
  setDate(add, GiftForm::kDateRow, day(2024, 12, 24, 18, 5));
  setText(add, GiftForm::kNotesRow, u"Red\r\nwool");
  device.key(VK_F1);
  ASSERT_EQ(add.result(), IDOK);
  ASSERT_EQ(getGiftCollection().size(), 1u);
  Gift* stored = getGiftCollection().snapshot()[0];
  EXPECT_NE(stored->recordId(), 0u);
  EXPECT_EQ(stored->name(), u"Scarf");
  EXPECT_EQ(stored->direction(), kGiftIdea);
  EXPECT_EQ(stored->friendId(), static_cast<LONG>(bert));
  EXPECT_EQ(stored->date().wYear, 2024);
  EXPECT_EQ(stored->date().wDay, 24);
  EXPECT_EQ(stored->notes(), u"Red\r\nwool");

  GiftForm edit(stored);
  open(edit);
  EXPECT_EQ(windowText(row(edit, GiftForm::kNameRow).field), u"Scarf");
  EXPECT_EQ(edit.rows().choiceValue(GiftForm::kCategoryRow), kGiftIdea);
  EXPECT_EQ(edit.rows().choiceValue(GiftForm::kFriendRow), static_cast<LPARAM>(bert));
  EXPECT_EQ(edit.rows().date(GiftForm::kDateRow).wMonth, 12);
  EXPECT_EQ(windowText(row(edit, GiftForm::kNotesRow).field), u"Red\r\nwool");
  // An empty name is stored as it is.
  setText(edit, GiftForm::kNameRow, u"");
  device.key(VK_F1);
  ASSERT_EQ(edit.result(), IDOK);
  EXPECT_EQ(getGiftCollection().size(), 1u) << "updated, not added";
  EXPECT_EQ(getGiftCollection().snapshot()[0]->name(), u"");
}

TEST_P(ItemFormTest, EditingAGiftWhoseFriendIsGoneStoresNoFriend) {
  auto gift = std::make_unique<Gift>(u"Book", kGiftFor, static_cast<LONG>(anna), day(2024, 5, 1), u"");
  Gift* raw = gift.get();
  ASSERT_TRUE(getGiftCollection().add(std::move(gift)));
  ASSERT_TRUE(getFriendCollection().remove(anna));
  GiftForm form(raw);
  open(form);
  EXPECT_EQ(form.rows().choiceValue(GiftForm::kFriendRow), 0) << "\"None\" stays selected";
  device.key(VK_F1);
  EXPECT_EQ(raw->friendId(), 0);
  EXPECT_EQ(raw->direction(), kGiftFor);
}

TEST_P(ItemFormTest, ALoanIsStoredAtTheReminderTimeAndIsOverdueFromThen) {
  ASSERT_TRUE(getSettings().setLoansReminderTime(18 * 256 + 30));
  LoanForm form;
  open(form);
  setText(form, LoanForm::kItemRow, u"Drill");
  selectIndex(form, LoanForm::kDirectionRow, 1);
  setDate(form, LoanForm::kDateRow, day(2025, 1, 10, 9, 15, 42));
  setDate(form, LoanForm::kReturnDateRow, day(2025, 2, 3, 7, 0));
  device.key(VK_F1);
  ASSERT_EQ(form.result(), IDOK);
  ASSERT_EQ(getLoanCollection().size(), 1u);
  const Loan* loan = getLoanCollection().snapshot()[0];
  EXPECT_EQ(loan->direction(), kLoanTo);
  EXPECT_EQ(loan->loanDate().wDay, 10);
  EXPECT_EQ(loan->loanDate().wHour, 18);
  EXPECT_EQ(loan->loanDate().wMinute, 30);
  EXPECT_EQ(loan->loanDate().wSecond, 0);
  EXPECT_EQ(loan->returnDate().wDay, 3);
  EXPECT_EQ(loan->returnDate().wHour, 18);
  EXPECT_EQ(loan->returnDate().wMinute, 30);
  EXPECT_FALSE(loan->isOverdue(day(2025, 2, 3, 18, 29, 59)));
  EXPECT_TRUE(loan->isOverdue(day(2025, 2, 3, 18, 30, 1)));

  // Without a return date it is never overdue, and the return date stays empty when edited.
  LoanForm edit(getLoanCollection().snapshot()[0]);
  open(edit);
  EXPECT_EQ(edit.rows().date(LoanForm::kReturnDateRow).wDay, 3);
  DateTime_SetSystemtime(row(edit, LoanForm::kReturnDateRow).field, GDT_NONE, nullptr);
  device.key(VK_F1);
  ASSERT_EQ(edit.result(), IDOK);
  const Loan* open = getLoanCollection().snapshot()[0];
  EXPECT_FALSE(open->hasReturnDate());
  EXPECT_FALSE(open->isOverdue(day(2099, 1, 1)));
  EXPECT_EQ(open->item(), u"Drill");
}

TEST_P(ItemFormTest, AnAnniversaryKeeps29FebruaryAtNoonAndMayHaveNoFriend) {
  AnniversaryForm form;
  open(form);
  setText(form, AnniversaryForm::kNameRow, u"Leap day");
  setDate(form, AnniversaryForm::kDateRow, day(2024, 2, 29, 7, 45));
  device.key(VK_F1);
  ASSERT_EQ(form.result(), IDOK);
  const Anniversary* stored = getAnniversaryCollection().snapshot()[0];
  EXPECT_EQ(stored->friendId(), 0);
  EXPECT_EQ(stored->date().wMonth, 2);
  EXPECT_EQ(stored->date().wDay, 29);
  EXPECT_EQ(stored->date().wHour, 12);
  EXPECT_EQ(stored->date().wMinute, 0);
  // 2025 is a common year: the next occurrence falls on 28 February.
  const SYSTEMTIME next = stored->nextOccurrence(day(2025, 1, 15, 10, 0));
  EXPECT_EQ(next.wMonth, 2);
  EXPECT_EQ(next.wDay, 28);
}

TEST_P(ItemFormTest, ASaveTheDiskRefusesIsToldAndTheFormKeepsEverything) {
  std::vector<SeenBox> boxes;
  GiftForm form;
  open(form);
  setText(form, GiftForm::kNameRow, u"Lamp");
  selectIndex(form, GiftForm::kFriendRow, 1);
  {
    FaultInjection::Armed full(
        {.operations = FaultInjection::kChanges, .times = 0, .error = ENOSPC, .pathPattern = "*/Pellucard.cdb*"});
    device.answerBox(boxes);
    device.key(VK_F1);
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(joined(boxes[0]).find(u"could not be saved"), std::u16string::npos) << platform::toUtf8(joined(boxes[0]));
  EXPECT_NE(joined(boxes[0]).find(u"full"), std::u16string::npos);
  EXPECT_TRUE(boxes[0].shows(u"!"));
  EXPECT_EQ(boxes[0].caption, u"Pellucard");
  EXPECT_TRUE(IsWindow(form.hwnd())) << "the form stays open";
  EXPECT_EQ(windowText(row(form, GiftForm::kNameRow).field), u"Lamp");
  EXPECT_EQ(form.rows().choiceValue(GiftForm::kFriendRow), static_cast<LPARAM>(anna));
  EXPECT_TRUE(getGiftCollection().empty()) << "no unsaved gift in the lists";

  // With room again the same Done stores it.
  device.key(VK_F1);
  EXPECT_EQ(form.result(), IDOK);
  ASSERT_EQ(getGiftCollection().size(), 1u);
  Gift* stored = getGiftCollection().snapshot()[0];
  EXPECT_NE(stored->recordId(), 0u);

  // A refused change leaves the stored gift as it was.
  GiftForm edit(stored);
  open(edit);
  setText(edit, GiftForm::kNameRow, u"Lantern");
  {
    FaultInjection::Armed failing(
        {.operations = FaultInjection::kChanges, .times = 0, .error = EIO, .pathPattern = "*/Pellucard.cdb*"});
    device.answerBox(boxes);
    device.key(VK_F1);
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(IsWindow(edit.hwnd()));
  EXPECT_EQ(stored->name(), u"Lamp");
  EXPECT_EQ(windowText(row(edit, GiftForm::kNameRow).field), u"Lantern");
  device.key(VK_F2);
  EXPECT_EQ(stored->name(), u"Lamp");
}

TEST_P(ItemFormTest, OnTheSmartphoneExpandingTheFriendRowOpensSelectAnItem) {
  GiftForm form;
  open(form);
  const FieldRow& friendRow = row(form, GiftForm::kFriendRow);
  NMUPDOWN expand{};
  expand.hdr.hwndFrom = friendRow.companion;
  expand.hdr.code = UDN_EXPANDING;
  if (device.pocketPc()) {
    // The Pocket PC has no such expansion: the notification is left alone.
    EXPECT_EQ(SendMessageW(form.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&expand)), 0);
    EXPECT_EQ(GetActiveWindow(), form.hwnd());
    DestroyWindow(form.hwnd());
    return;
  }
  selectIndex(form, GiftForm::kFriendRow, 1);
  SetFocus(friendRow.field);
  std::u16string title;
  int openedOn = -1;
  device.addStep([&] {
    title = windowText(GetActiveWindow());
    openedOn = ListView_GetNextItem(GetDlgItem(GetActiveWindow(), ItemChooser::kListId), -1, LVNI_SELECTED);
    TestDevice::postKey(VK_DOWN);
    TestDevice::postKey(VK_DOWN);
    TestDevice::postKey(VK_F1);
  });
  // The action key on the field expands it.
  device.key(VK_RETURN);
  EXPECT_EQ(title, u"Select an Item");
  EXPECT_EQ(openedOn, 1) << "on the row's current item";
  EXPECT_EQ(form.rows().choiceValue(GiftForm::kFriendRow), static_cast<LPARAM>(carl));
  EXPECT_EQ(GetActiveWindow(), form.hwnd());
  DestroyWindow(form.hwnd());
}

TEST_P(ItemFormTest, TheEntryPointOpensEachKindOnItsRecord) {
  auto loan = std::make_unique<Loan>(u"Ladder", kLoanFrom, 0, day(2024, 6, 1, 12), SYSTEMTIME{}, u"", 0);
  Loan* raw = loan.get();
  ASSERT_TRUE(getLoanCollection().add(std::move(loan)));
  std::u16string shown;
  device.addStep([&] {
    shown = windowText(GetFocus());
    TestDevice::postKey(VK_F1);
  });
  EXPECT_TRUE(ItemForms::runItemForm(device.owner(), ItemForms::kLoan, raw->recordId(), 0));
  EXPECT_EQ(shown, u"Ladder") << "the loan's item, focused";
  device.addStep([] { TestDevice::postKey(VK_F2); });
  EXPECT_FALSE(ItemForms::runItemForm(device.owner(), ItemForms::kAnniversary, 0, 0)) << "Cancel";
  EXPECT_TRUE(getAnniversaryCollection().empty());
  EXPECT_FALSE(ItemForms::runItemForm(device.owner(), ItemForms::kGift, 4711, 0)) << "no such gift";
  EXPECT_FALSE(ItemForms::runItemForm(device.owner(), 4, 0, 0)) << "no such kind";
}

INSTANTIATE_TEST_SUITE_P(Editions, ItemFormTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
