// Anniversaries into the calendar and loans into the task list: what lands in the files, the
// identifiers kept in the records, replacement, removal, the commands and the uninstall.
#include "outlook/CalendarExport.h"

#include <climits>

#include "outlook/ExportCommands.h"
#include "outlook/TaskExport.h"
#include "outlook/UninstallCleanup.h"
#include "pin/PinLock.h"
#include "platform/sys/OleAuto.h"
#include "store/AnniversariesTable.h"
#include "store/LoansTable.h"
#include "tests/outlook/OutlookFixture.h"

using namespace pellucard;
using outlooktest::date;

namespace {

class ExportTest : public outlooktest::OutlookFixture {
 protected:
  void SetUp() override {
    OutlookFixture::SetUp();
    getSettings().setAnniversariesAutoExport(false);
    getSettings().setLoansAutoExport(false);
  }

  icalcomponent* firstEvent(outlooktest::Ical& root) {
    return icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
  }
  int alarmMinutes(icalcomponent* item) {
    icalcomponent* alarm = icalcomponent_get_first_component(item, ICAL_VALARM_COMPONENT);
    if (!alarm) return -1;
    icaltriggertype t = icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
    return -icaldurationtype_as_int(t.duration) / 60;
  }
  CalendarExport calendar() { return CalendarExport(getOutlookConnection()); }
  TaskExport tasks() { return TaskExport(getOutlookConnection()); }
};

}  // namespace

TEST_F(ExportTest, ReminderArithmetic) {
  EXPECT_EQ(CalendarExport::reminderMinutes(1, 2304), 900) << "9:00 on the day before";
  EXPECT_EQ(CalendarExport::reminderMinutes(0, 2304), 0);
  EXPECT_EQ(CalendarExport::reminderMinutes(0, 3072), 0);
  EXPECT_EQ(CalendarExport::reminderMinutes(1, 3072), 720);
  EXPECT_EQ(CalendarExport::reminderMinutes(7, 1830), 7 * 1440 - 7 * 60 - 38);
}

TEST_F(ExportTest, ReminderArithmeticTakesAnyValueWithoutOverflow) {
  EXPECT_EQ(CalendarExport::reminderMinutes(INT_MAX, INT_MAX), 364 * 1440 + 1);
  EXPECT_EQ(CalendarExport::reminderMinutes(INT_MAX, INT_MIN), 365 * 1440);
  EXPECT_EQ(CalendarExport::reminderMinutes(INT_MIN, 2304), 0);
  EXPECT_EQ(CalendarExport::reminderMinutes(1, 9 * 256 + 255), 1440 - 10 * 60) << "minute 255 counts as 10:00";
}

// A settings file edited by hand: the export uses the nearest valid reminder and the file keeps
// what was written.
TEST_F(ExportTest, HandEditedRemindersAreExportedAsTheNearestValidOnes) {
  getSettings().setAnniversariesReminder(INT_MAX);
  getSettings().setAnniversariesReminderTime(INT_MAX);
  getSettings().setLoansReminder(INT_MAX);
  Anniversary* a = addAnniversary(u"Birthday", 0, date(1990, 5, 10));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  auto root = parsed("calendar.ics");
  EXPECT_EQ(alarmMinutes(firstEvent(root)), 364 * 1440 + 1) << "365 days before, at 23:59";

  Loan* l = addLoan(u"Ladder", kLoanTo, 0, date(2026, 4, 1, 12));
  ASSERT_TRUE(tasks().exportLoan(*l));
  auto item = std::dynamic_pointer_cast<platform::pim::Task>(getOutlookConnection().itemFromOid(l->outlookItemId()));
  ASSERT_TRUE(item);
  SYSTEMTIME st{};
  ASSERT_TRUE(::VariantTimeToSystemTime(item->ReminderTime(), &st));
  EXPECT_EQ(st.wYear * 10000 + st.wMonth * 100 + st.wDay, 20250401) << "365 days before the return date";

  getSettings().setLoansReminder(INT_MIN);
  ASSERT_TRUE(tasks().exportLoan(*l));
  item = std::dynamic_pointer_cast<platform::pim::Task>(getOutlookConnection().itemFromOid(l->outlookItemId()));
  ASSERT_TRUE(item);
  EXPECT_FALSE(item->ReminderSet()) << "below -1 counts as no reminder";

  getSettings().load();
  EXPECT_EQ(getSettings().anniversariesReminder(), INT_MAX);
  EXPECT_EQ(getSettings().anniversariesReminderTime(), INT_MAX);
  EXPECT_EQ(getSettings().loansReminder(), INT_MIN);
}

TEST_F(ExportTest, AnniversaryBecomesAYearlyAllDayAppointment) {
  getSettings().setAnniversariesReminder(1);
  getSettings().setAnniversariesReminderTime(2304);
  Friend* ann = addFriend(u"Ann", u"Lee");
  Anniversary* a = addAnniversary(u"Birthday", static_cast<LONG>(ann->recordId()), date(1990, 5, 10));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  EXPECT_NE(a->outlookItemId(), 0);

  auto root = parsed("calendar.ics");
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_count_errors(root.get()), 0);
  icalcomponent* e = firstEvent(root);
  ASSERT_TRUE(e);
  EXPECT_STREQ(icalcomponent_get_summary(e), "Ann Lee: Birthday");
  EXPECT_STREQ(icalcomponent_get_description(e), "notes");
  EXPECT_STREQ(icalproperty_get_categories(icalcomponent_get_first_property(e, ICAL_CATEGORIES_PROPERTY)), "Pellucard");
  icaltimetype start = icalcomponent_get_dtstart(e);
  EXPECT_TRUE(start.is_date);
  EXPECT_EQ(start.year * 10000 + start.month * 100 + start.day, 19900510);
  icalrecurrencetype rule = icalproperty_get_rrule(icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY));
  EXPECT_EQ(rule.freq, ICAL_YEARLY_RECURRENCE);
  EXPECT_EQ(rule.by_month[0], 5);
  EXPECT_EQ(rule.by_month_day[0], 10);
  EXPECT_EQ(alarmMinutes(e), 900);
  EXPECT_EQ(icalproperty_get_transp(icalcomponent_get_first_property(e, ICAL_TRANSP_PROPERTY)),
            ICAL_TRANSP_TRANSPARENT);

  const RecordId id = a->recordId();
  restart();
  Anniversary* stored = getAnniversaryCollection().find(id);
  ASSERT_TRUE(stored);
  EXPECT_NE(stored->outlookItemId(), 0) << "the appointment's identifier is written to the record";
}

TEST_F(ExportTest, ReminderChoicesAndAnAnniversaryWithoutFriend) {
  getSettings().setAnniversariesReminder(0);
  getSettings().setAnniversariesReminderTime(2304);
  Anniversary* a = addAnniversary(u"Wedding", 4242, date(2010, 6, 18));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  auto root = parsed("calendar.ics");
  EXPECT_STREQ(icalcomponent_get_summary(firstEvent(root)), "Wedding") << "no friend, no name prefix";
  EXPECT_EQ(alarmMinutes(firstEvent(root)), 0);

  getSettings().setAnniversariesReminder(-1);
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  root = parsed("calendar.ics");
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 1) << "the earlier one is replaced";
  EXPECT_EQ(alarmMinutes(firstEvent(root)), -1) << "no reminder";
}

TEST_F(ExportTest, YearlessAnniversaryRepeatsOnItsDay) {
  Anniversary* a = addAnniversary(u"Birthday", 0, date(1604, 2, 29));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  auto root = parsed("calendar.ics");
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_count_errors(root.get()), 0);
  icaltimetype start = icalcomponent_get_dtstart(firstEvent(root));
  EXPECT_EQ(start.year * 10000 + start.month * 100 + start.day, 16040229);
  icalrecurrencetype rule =
      icalproperty_get_rrule(icalcomponent_get_first_property(firstEvent(root), ICAL_RRULE_PROPERTY));
  EXPECT_EQ(rule.by_month[0], 2);
  EXPECT_EQ(rule.by_month_day[0], -1) << "the last day of February, so common years keep it too";
}

TEST_F(ExportTest, ExportingTwiceAcrossARestartLeavesOneItem) {
  Friend* bo = addFriend(u"Bo", u"");
  Anniversary* a = addAnniversary(u"Birthday", static_cast<LONG>(bo->recordId()), date(1985, 1, 2));
  Loan* l = addLoan(u"Ladder", kLoanTo, static_cast<LONG>(bo->recordId()), date(2026, 4, 1, 12));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  ASSERT_TRUE(tasks().exportLoan(*l));
  const LONG firstAppointment = a->outlookItemId();
  const RecordId aId = a->recordId();
  const RecordId lId = l->recordId();
  restart();
  Anniversary* a2 = getAnniversaryCollection().find(aId);
  Loan* l2 = getLoanCollection().find(lId);
  ASSERT_TRUE(a2 && l2);
  ASSERT_TRUE(calendar().exportAnniversary(*a2));
  ASSERT_TRUE(tasks().exportLoan(*l2));
  EXPECT_EQ(events(), 1);
  EXPECT_EQ(todos(), 1);
  EXPECT_NE(a2->outlookItemId(), firstAppointment);
  EXPECT_FALSE(getOutlookConnection().itemFromOid(firstAppointment));
}

TEST_F(ExportTest, LoanTasksSubjectsDueDatesAndReminders) {
  getSettings().setLoansReminder(2);
  Friend* ann = addFriend(u"Ann", u"Lee");
  const LONG annId = static_cast<LONG>(ann->recordId());
  Loan* borrowed = addLoan(u"Hammer", kLoanFrom, annId, date(2026, 4, 10, 12));
  ASSERT_TRUE(tasks().exportLoan(*borrowed));
  auto item =
      std::dynamic_pointer_cast<platform::pim::Task>(getOutlookConnection().itemFromOid(borrowed->outlookItemId()));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Subject(), u"Return Hammer To Ann Lee");
  EXPECT_EQ(item->Categories(), u"Pellucard");
  EXPECT_TRUE(item->ReminderSet());
  SYSTEMTIME st{};
  ASSERT_TRUE(::VariantTimeToSystemTime(item->DueDate(), &st));
  EXPECT_EQ(st.wDay, 10);
  EXPECT_EQ(st.wHour, 12);
  ASSERT_TRUE(::VariantTimeToSystemTime(item->ReminderTime(), &st));
  EXPECT_EQ(st.wMonth, 4);
  EXPECT_EQ(st.wDay, 8) << "two days before the return date, at its time";
  EXPECT_EQ(st.wHour, 12);

  Loan* open = addLoan(u"Book", kLoanTo, annId, SYSTEMTIME{});
  ASSERT_TRUE(tasks().exportLoan(*open));
  item = std::dynamic_pointer_cast<platform::pim::Task>(getOutlookConnection().itemFromOid(open->outlookItemId()));
  ASSERT_TRUE(item);
  EXPECT_EQ(item->Subject(), u"Retrieve Book From Ann Lee");
  EXPECT_EQ(item->DueDate(), 0) << "no return date: subject, body and category only";
  EXPECT_FALSE(item->ReminderSet());

  getSettings().setLoansReminder(-1);
  ASSERT_TRUE(tasks().exportLoan(*borrowed));
  item = std::dynamic_pointer_cast<platform::pim::Task>(getOutlookConnection().itemFromOid(borrowed->outlookItemId()));
  EXPECT_EQ(item->DueDate(), 0) << "without a reminder the task carries no due date either";

  Loan* odd = addLoan(u"Thing", 7, annId, SYSTEMTIME{});
  EXPECT_TRUE(tasks().exportLoan(*odd));
  EXPECT_EQ(TaskExport::subjectOf(*odd), u"");
}

TEST_F(ExportTest, LoanOfARemovedFriendHasNoFromPart) {
  Friend* gone = addFriend(u"Gone", u"Away");
  Loan* l = addLoan(u"Ladder", kLoanTo, static_cast<LONG>(gone->recordId()), SYSTEMTIME{});
  getFriendCollection().remove(gone->recordId());
  EXPECT_EQ(TaskExport::subjectOf(*l), u"Retrieve Ladder");
  Loan* b = addLoan(u"Saw", kLoanFrom, 999, SYSTEMTIME{});
  EXPECT_EQ(TaskExport::subjectOf(*b), u"Return Saw");
}

TEST_F(ExportTest, AutoExportOnSaveAndDeletionOnRemoval) {
  getSettings().setAnniversariesAutoExport(true);
  getSettings().setLoansAutoExport(true);
  Friend* ann = addFriend(u"Ann", u"Lee");
  const LONG annId = static_cast<LONG>(ann->recordId());
  Anniversary* a = addAnniversary(u"Birthday", annId, date(1990, 5, 10));
  Loan* l = addLoan(u"Hammer", kLoanFrom, annId, date(2026, 4, 10, 12));
  EXPECT_EQ(events(), 1);
  EXPECT_EQ(todos(), 1);
  a->assign(u"Birthday!", annId, date(1990, 5, 11), u"");
  getAnniversaryCollection().update(*a);
  EXPECT_EQ(events(), 1) << "an update replaces the exported appointment";
  auto root = parsed("calendar.ics");
  EXPECT_STREQ(icalcomponent_get_summary(firstEvent(root)), "Ann Lee: Birthday!");

  getAnniversaryCollection().remove(a->recordId());
  getLoanCollection().remove(l->recordId());
  EXPECT_EQ(events(), 0);
  EXPECT_EQ(todos(), 0);
}

TEST_F(ExportTest, UnreadableCalendarFailsTheExportAndStaysUntouched) {
  Anniversary* a = addAnniversary(u"Birthday", 0, date(1990, 5, 10));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  const LONG before = a->outlookItemId();
  const std::string broken = "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:theirs\nnot a property line\n";
  std::ofstream(dir_ / "pim" / "calendar.ics", std::ios::binary | std::ios::trunc) << broken;
  EXPECT_FALSE(calendar().exportAnniversary(*a));
  EXPECT_EQ(a->outlookItemId(), before) << "the record keeps its identifier";
  EXPECT_EQ(fileText("calendar.ics"), broken);
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::SomeFailed);
  EXPECT_EQ(fileText("calendar.ics"), broken);

  std::ofstream(dir_ / "pim" / "tasks.ics", std::ios::binary | std::ios::trunc) << "garbage";
  Loan* l = addLoan(u"Hammer", kLoanFrom, 0, SYSTEMTIME{});
  EXPECT_FALSE(tasks().exportLoan(*l)) << "a task that was not stored is not reported as exported";
  EXPECT_EQ(l->outlookItemId(), 0);
  EXPECT_EQ(fileText("tasks.ics"), "garbage");
}

TEST_F(ExportTest, WithoutAConnectionExportsFailAndRemovalStillClearsTheLink) {
  Anniversary* a = addAnniversary(u"Birthday", 0, date(1990, 5, 10));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  getOutlookConnection().stop();
  EXPECT_FALSE(calendar().exportAnniversary(*a));
  Loan* l = addLoan(u"Hammer", kLoanFrom, 0, SYSTEMTIME{});
  EXPECT_FALSE(tasks().exportLoan(*l));
  calendar().deleteExportedAppointment(*a);
  EXPECT_EQ(a->outlookItemId(), 0);
  EXPECT_EQ(events(), 1) << "nothing could be deleted without the connection";
}

TEST_F(ExportTest, ExportCommandsReportOnceAfterTryingEveryItem) {
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::NothingToExport);
  EXPECT_FALSE(ExportCommands::messageFor(ExportCommands::Outcome::NothingToExport, false));
  Friend* ann = addFriend(u"Ann", u"Lee");
  Friend* bo = addFriend(u"Bo", u"");
  addAnniversary(u"Birthday", static_cast<LONG>(ann->recordId()), date(1990, 5, 10));
  addAnniversary(u"Birthday", static_cast<LONG>(ann->recordId()), date(1991, 6, 11));
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(events(), 2);
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(events(), 2);
  EXPECT_EQ(ExportCommands::exportAnniversaries(static_cast<LONG>(bo->recordId())),
            ExportCommands::Outcome::AllExported)
      << "a friend without anniversaries still reports success";
  addLoan(u"Hammer", kLoanFrom, static_cast<LONG>(bo->recordId()), SYSTEMTIME{});
  EXPECT_EQ(ExportCommands::exportLoans(static_cast<LONG>(ann->recordId())), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(todos(), 0) << "only the friend's loans";
  EXPECT_EQ(ExportCommands::exportLoans(), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(todos(), 1);

  auto ok = ExportCommands::messageFor(ExportCommands::Outcome::AllExported, false);
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->stringId, 2071u);
  EXPECT_EQ(ok->icon, ExportCommands::Icon::Information);
  auto failed = ExportCommands::messageFor(ExportCommands::Outcome::SomeFailed, true);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->stringId, 2074u);
  EXPECT_EQ(failed->icon, ExportCommands::Icon::Exclamation);
}

TEST_F(ExportTest, UninstallDeletesEveryExportedItemAndSwitchesThePinOff) {
  Anniversary* a = addAnniversary(u"Birthday", 0, date(1990, 5, 10));
  addAnniversary(u"Never exported", 0, date(1991, 5, 10));
  Loan* l = addLoan(u"Hammer", kLoanFrom, 0, date(2026, 4, 10, 12));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  ASSERT_TRUE(tasks().exportLoan(*l));
  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  ASSERT_TRUE(getPinLock().isEnabled());
  const RecordId aId = a->recordId();

  pellucard::RecordStore::closeAll();
  pellucard::deleteOutlookConnection();
  UninstallCleanup::run();
  EXPECT_EQ(events(), 0);
  EXPECT_EQ(todos(), 0);
  EXPECT_FALSE(getPinLock().isEnabled());

  restart();
  EXPECT_NE(getAnniversaryCollection().find(aId)->outlookItemId(), 0) << "the records are not written back";
  deletePinLock();
}

TEST_F(ExportTest, ARecordThatCannotBeStoredTakesItsNewItemBackSoARetryMakesNoDuplicate) {
  Friend* bo = addFriend(u"Bo", u"");
  Anniversary* a = addAnniversary(u"Birthday", static_cast<LONG>(bo->recordId()), date(1985, 1, 2));
  Loan* l = addLoan(u"Ladder", kLoanTo, static_cast<LONG>(bo->recordId()), date(2026, 4, 1, 12));
  ASSERT_TRUE(calendar().exportAnniversary(*a));
  ASSERT_TRUE(tasks().exportLoan(*l));
  const LONG appointment = a->outlookItemId();
  const LONG task = l->outlookItemId();

  getAnniversariesTable().refuseWrites(true);
  getLoansTable().refuseWrites(true);
  EXPECT_FALSE(calendar().exportAnniversary(*a));
  EXPECT_FALSE(tasks().exportLoan(*l));
  EXPECT_EQ(a->outlookItemId(), appointment) << "the record keeps the item it had";
  EXPECT_EQ(l->outlookItemId(), task);
  EXPECT_EQ(events(), 1) << "the new appointment is taken back, the old one stays";
  EXPECT_EQ(todos(), 1);
  EXPECT_TRUE(getOutlookConnection().itemFromOid(appointment));
  EXPECT_TRUE(getOutlookConnection().itemFromOid(task));

  getAnniversariesTable().refuseWrites(false);
  getLoansTable().refuseWrites(false);
  const RecordId aId = a->recordId();
  restart();
  Anniversary* again = getAnniversaryCollection().find(aId);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->outlookItemId(), appointment);
  ASSERT_TRUE(calendar().exportAnniversary(*again));
  EXPECT_EQ(events(), 1) << "the retry replaces the appointment";
}
