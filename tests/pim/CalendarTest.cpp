// Appointments and tasks in calendar.ics and tasks.ics: what is written must read back,
// through the service and through libical, and a file the service cannot read stays intact.
#include <libical/ical.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "platform/base/Utf.h"
#include "tests/pim/PimTestSupport.h"

using namespace platform::pim;
using pimtest::show;

class PimLogonTest : public pimtest::PimFolderTest {};
using pimtest::variant;

namespace {

struct IcalDeleter {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using IcalPtr = std::unique_ptr<icalcomponent, IcalDeleter>;

IcalPtr parse(const std::string& text) {
  icalerror_set_errors_are_fatal(0);
  return IcalPtr(icalparser_parse_string(text.c_str()));
}

class CalendarTest : public pimtest::PimFolderTest {
 protected:
  void SetUp() override {
    PimFolderTest::SetUp();
    app_ = logon();
  }

  std::shared_ptr<Appointment> newBirthdayAppointment() {
    std::shared_ptr<Item> item;
    EXPECT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
    auto a = std::dynamic_pointer_cast<Appointment>(item);
    EXPECT_EQ(a->SetStart(variant(1990, 4, 12)), S_OK);
    a->SetAllDayEvent(true);
    a->SetSubject(u"Lee, Ann: Birthday");
    a->SetBody(u"Cake\r\nCandles, 36");
    a->SetCategories(u"Pellucard");
    a->SetReminderSet(true);
    EXPECT_EQ(a->SetReminderMinutesBeforeStart(900), S_OK);
    EXPECT_EQ(a->SetBusyStatus(olFree), S_OK);
    EXPECT_EQ(a->Save(), S_OK);
    std::shared_ptr<RecurrencePattern> pattern;
    EXPECT_EQ(a->GetRecurrencePattern(pattern), S_OK);
    EXPECT_EQ(pattern->SetRecurrenceType(olRecursYearly), S_OK);
    EXPECT_EQ(pattern->SetMonthOfYear(4), S_OK);
    EXPECT_EQ(pattern->SetDayOfMonth(12), S_OK);
    EXPECT_EQ(pattern->SetNoEndDate(true), S_OK);
    EXPECT_EQ(a->Save(), S_OK);
    return a;
  }

  std::shared_ptr<Task> newTask(const std::u16string& subject) {
    std::shared_ptr<Item> item;
    EXPECT_EQ(app_->CreateItem(olTaskItem, item), S_OK);
    auto t = std::dynamic_pointer_cast<Task>(item);
    t->SetSubject(subject);
    t->SetCategories(u"Pellucard");
    EXPECT_EQ(t->Save(), S_OK);
    return t;
  }

  std::string calendarText() const { return pimtest::readBytes(dir_ / "calendar.ics"); }
  std::string tasksText() const { return pimtest::readBytes(dir_ / "tasks.ics"); }

  std::shared_ptr<Application> app_;
};

class ScopedTz {
 public:
  explicit ScopedTz(const char* tz) {
    const char* old = std::getenv("TZ");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("TZ", tz, 1);
    tzset();
  }
  ~ScopedTz() {
    if (had_)
      setenv("TZ", old_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  bool had_ = false;
  std::string old_;
};

}  // namespace

TEST_F(CalendarTest, YearlyAllDayAppointmentReadsBackThroughTheService) {
  auto a = newBirthdayAppointment();
  LONG oid = a->Oid();
  EXPECT_NE(oid, 0);

  auto again = logon();  // as after a restart
  std::shared_ptr<Item> item;
  ASSERT_EQ(again->GetItemFromOid(oid, item), S_OK);
  auto b = std::dynamic_pointer_cast<Appointment>(item);
  ASSERT_TRUE(b);
  EXPECT_EQ(show(b->Start()), "1990-04-12 00:00");
  EXPECT_TRUE(b->AllDayEvent());
  EXPECT_EQ(b->Subject(), u"Lee, Ann: Birthday");
  EXPECT_EQ(b->Body(), u"Cake\r\nCandles, 36");
  EXPECT_EQ(b->Categories(), u"Pellucard");
  EXPECT_TRUE(b->ReminderSet());
  EXPECT_EQ(b->ReminderMinutesBeforeStart(), 900);
  EXPECT_EQ(b->BusyStatus(), olFree);
  std::shared_ptr<RecurrencePattern> pattern;
  ASSERT_EQ(b->GetRecurrencePattern(pattern), S_OK);
  EXPECT_EQ(pattern->RecurrenceType(), olRecursYearly);
  EXPECT_EQ(pattern->MonthOfYear(), 4);
  EXPECT_EQ(pattern->DayOfMonth(), 12);
  EXPECT_TRUE(pattern->NoEndDate());
}

TEST_F(CalendarTest, CalendarFileIsCleanICalendarForOtherPrograms) {
  auto a = newBirthdayAppointment();
  std::string text = calendarText();
  auto root = parse(text);
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_isa(root.get()), ICAL_VCALENDAR_COMPONENT);
  EXPECT_EQ(icalcomponent_count_errors(root.get()), 0);
  EXPECT_TRUE(icalcomponent_get_first_property(root.get(), ICAL_PRODID_PROPERTY));
  icalproperty* version = icalcomponent_get_first_property(root.get(), ICAL_VERSION_PROPERTY);
  ASSERT_TRUE(version);
  EXPECT_STREQ(icalproperty_get_version(version), "2.0");
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 1);

  icalcomponent* event = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
  EXPECT_TRUE(icalcomponent_get_uid(event) && *icalcomponent_get_uid(event));
  EXPECT_TRUE(icalcomponent_get_first_property(event, ICAL_DTSTAMP_PROPERTY));
  icaltimetype start = icalcomponent_get_dtstart(event);
  EXPECT_TRUE(start.is_date);
  EXPECT_EQ(start.year * 10000 + start.month * 100 + start.day, 19900412);
  EXPECT_EQ(icaltime_compare_date_only(icalcomponent_get_dtend(event), icaltime_from_string("19900413")), 0);
  icalrecurrencetype rule = icalproperty_get_rrule(icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY));
  EXPECT_EQ(rule.freq, ICAL_YEARLY_RECURRENCE);
  EXPECT_EQ(rule.by_month[0], 4);
  EXPECT_EQ(rule.by_month_day[0], 12);
  EXPECT_EQ(rule.count, 0);
  EXPECT_EQ(icalproperty_get_transp(icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY)),
            ICAL_TRANSP_TRANSPARENT);
  icalcomponent* alarm = icalcomponent_get_first_component(event, ICAL_VALARM_COMPONENT);
  ASSERT_TRUE(alarm);
  icaltriggertype trigger = icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
  EXPECT_EQ(icaldurationtype_as_int(trigger.duration), -900 * 60);
  EXPECT_STREQ(icalcomponent_get_description(event), "Cake\nCandles, 36");

  // What libical writes back from our file is what we wrote.
  char* again = icalcomponent_as_ical_string_r(root.get());
  EXPECT_EQ(std::string(again), text);
  icalmemory_free_buffer(again);
}

TEST_F(CalendarTest, TaskWithDueDateAndReminderRoundTrips) {
  ScopedTz tz("Europe/Berlin");
  std::shared_ptr<Item> item;
  ASSERT_EQ(app_->CreateItem(olTaskItem, item), S_OK);
  auto t = std::dynamic_pointer_cast<Task>(item);
  t->SetSubject(u"Retrieve Ladder From Bo");
  t->SetBody(u"the long one");
  t->SetCategories(u"Pellucard");
  t->SetReminderSet(true);
  ASSERT_EQ(t->SetReminderTime(variant(2026, 5, 9, 12, 0)), S_OK);
  ASSERT_EQ(t->SetDueDate(variant(2026, 5, 10, 12, 0)), S_OK);
  ASSERT_EQ(t->Save(), S_OK);

  auto root = parse(tasksText());
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_count_errors(root.get()), 0);
  icalcomponent* todo = icalcomponent_get_first_component(root.get(), ICAL_VTODO_COMPONENT);
  ASSERT_TRUE(todo);
  icaltimetype due = icalcomponent_get_due(todo);
  EXPECT_EQ(std::string(icaltime_as_ical_string(due)), "20260510T120000");
  icalcomponent* alarm = icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT);
  ASSERT_TRUE(alarm);
  icaltriggertype trigger = icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
  EXPECT_EQ(std::string(icaltime_as_ical_string(trigger.time)), "20260509T100000Z") << "absolute, in UTC";

  std::shared_ptr<Item> back;
  ASSERT_EQ(logon()->GetItemFromOid(t->Oid(), back), S_OK);
  auto u = std::dynamic_pointer_cast<Task>(back);
  ASSERT_TRUE(u);
  EXPECT_EQ(u->Subject(), u"Retrieve Ladder From Bo");
  EXPECT_EQ(u->Body(), u"the long one");
  EXPECT_TRUE(u->ReminderSet());
  EXPECT_EQ(show(u->ReminderTime()), "2026-05-09 12:00");
  EXPECT_EQ(show(u->DueDate()), "2026-05-10 12:00");
}

TEST_F(CalendarTest, TaskWithoutDatesHasNoDueAndNoAlarm) {
  auto t = newTask(u"Return Book");
  auto root = parse(tasksText());
  icalcomponent* todo = icalcomponent_get_first_component(root.get(), ICAL_VTODO_COMPONENT);
  ASSERT_TRUE(todo);
  EXPECT_FALSE(icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY));
  EXPECT_FALSE(icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT));
  std::shared_ptr<Item> back;
  ASSERT_EQ(app_->GetItemFromOid(t->Oid(), back), S_OK);
  EXPECT_EQ(std::dynamic_pointer_cast<Task>(back)->DueDate(), 0);
  EXPECT_FALSE(std::dynamic_pointer_cast<Task>(back)->ReminderSet());
}

TEST_F(CalendarTest, OidsAreUniqueAcrossKindsAndSurviveOtherEditsAndDeletes) {
  auto a1 = newBirthdayAppointment();
  auto a2 = newBirthdayAppointment();
  auto t1 = newTask(u"one");
  auto t2 = newTask(u"two");
  std::set<LONG> oids = {a1->Oid(), a2->Oid(), t1->Oid(), t2->Oid()};
  EXPECT_EQ(oids.size(), 4u);
  EXPECT_EQ(oids.count(0), 0u);

  const LONG gone = a1->Oid();
  const LONG goneTask = t1->Oid();
  EXPECT_EQ(a1->Delete(), S_OK);
  EXPECT_EQ(a1->Oid(), 0);
  EXPECT_EQ(t1->Delete(), S_OK);
  auto app = logon();  // as after a restart
  std::shared_ptr<Item> item;
  EXPECT_TRUE(FAILED(app->GetItemFromOid(gone, item)));
  EXPECT_TRUE(FAILED(app->GetItemFromOid(goneTask, item)));
  ASSERT_EQ(app->GetItemFromOid(a2->Oid(), item), S_OK);
  EXPECT_EQ(item->ItemType(), olAppointmentItem);
  ASSERT_EQ(app->GetItemFromOid(t2->Oid(), item), S_OK);
  EXPECT_EQ(item->ItemType(), olTaskItem);
  EXPECT_EQ(std::dynamic_pointer_cast<Task>(item)->Subject(), u"two");
  auto root = parse(calendarText());
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 1);
  EXPECT_TRUE(FAILED(a1->Delete())) << "a deleted item cannot be deleted again";
}

TEST_F(CalendarTest, UnparseableCalendarIsNeverOverwritten) {
  std::filesystem::create_directories(dir_);
  const std::string garbage =
      "BEGIN:VCALENDAR\nVERSION:2.0\nBEGIN:VEVENT\nSUMMARY:mine\nthis line is broken\nEND:VEVENT\n";
  pimtest::writeBytes(dir_ / "calendar.ics", garbage);
  std::shared_ptr<Item> item;
  ASSERT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
  auto a = std::dynamic_pointer_cast<Appointment>(item);
  a->SetStart(variant(2020, 1, 1));
  EXPECT_TRUE(FAILED(a->Save()));
  EXPECT_EQ(a->Oid(), 0);
  EXPECT_EQ(calendarText(), garbage);

  pimtest::writeBytes(dir_ / "calendar.ics",
                      "BEGIN:VCALENDAR\nBEGIN:VEVENT\nSUMMARY:x\nBOGUS LINE\nEND:VEVENT\nEND:VCALENDAR\n");
  EXPECT_TRUE(FAILED(a->Save())) << "a file libical only half understands would lose lines";
  // The task list is a separate file and still works.
  auto t = newTask(u"still fine");
  EXPECT_NE(t->Oid(), 0);
}

TEST_F(CalendarTest, ItemsOfOtherProgramsAreKeptAndGetStableOids) {
  std::filesystem::create_directories(dir_);
  const std::string theirs =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Calendar//EN\r\n"
      "BEGIN:VEVENT\r\nUID:theirs-1\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260301T090000Z\r\n"
      "DTEND:20260301T100000Z\r\nSUMMARY:Dentist\r\nLOCATION:Main Street 5\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
  pimtest::writeBytes(dir_ / "calendar.ics", theirs);
  newBirthdayAppointment();
  auto root = parse(calendarText());
  ASSERT_TRUE(root);
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 2);
  EXPECT_NE(calendarText().find("LOCATION:Main Street 5"), std::string::npos);
  EXPECT_NE(calendarText().find("PRODID:-//Other//Calendar//EN"), std::string::npos);
}

TEST_F(CalendarTest, NewFilesAndFoldersAreTheUsersAlone) {
  newBirthdayAppointment();
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "calendar.ics").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(dir_.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((dir_ / "contacts").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(CalendarTest, SavesReplaceTheFileWholeAndKeepItsMode) {
  newBirthdayAppointment();
  ASSERT_EQ(::chmod((dir_ / "calendar.ics").c_str(), 0640), 0);
  newBirthdayAppointment();
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "calendar.ics").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "calendar.ics" || name == "contacts") << "left behind: " << name;
  }
}

TEST_F(CalendarTest, FailedWriteLeavesTheOldFileAndTheServiceConsistent) {
  auto kept = newBirthdayAppointment();
  std::string before = calendarText();
  // A file-size limit makes every write fail, for the super-user too, like a full disk.
  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit tight = old;
  tight.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
  std::shared_ptr<Item> item;
  ASSERT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
  auto lost = std::dynamic_pointer_cast<Appointment>(item);
  lost->SetStart(variant(2020, 1, 1));
  lost->SetSubject(u"never stored");
  HRESULT saved = lost->Save();
  HRESULT deleted = kept->Delete();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_TRUE(FAILED(saved));
  EXPECT_EQ(lost->Oid(), 0);
  EXPECT_TRUE(FAILED(deleted));
  EXPECT_EQ(calendarText(), before);
  for (const auto& entry : std::filesystem::directory_iterator(dir_))
    EXPECT_EQ(entry.path().filename().string().find("calendar.ics."), std::string::npos) << "temporary file left";
  std::shared_ptr<Item> found;
  EXPECT_EQ(app_->GetItemFromOid(kept->Oid(), found), S_OK) << "the item whose deletion failed is still there";
  ASSERT_EQ(kept->Delete(), S_OK);
  auto root = parse(calendarText());
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT), 0)
      << "the failed new item did not sneak in with a later save";
}

TEST_F(CalendarTest, ChangesMadeByOtherProgramsBetweenCallsAreSeen) {
  auto mine = newBirthdayAppointment();
  std::string text = calendarText();
  std::size_t end = text.rfind("END:VCALENDAR");
  ASSERT_NE(end, std::string::npos);
  text.insert(end,
              "BEGIN:VEVENT\r\nUID:added-elsewhere\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260505T100000\r\n"
              "SUMMARY:Their meeting\r\nEND:VEVENT\r\n");
  pimtest::writeBytes(dir_ / "calendar.ics", text);
  newBirthdayAppointment();
  EXPECT_NE(calendarText().find("UID:added-elsewhere"), std::string::npos);
  EXPECT_EQ(icalcomponent_count_components(parse(calendarText()).get(), ICAL_VEVENT_COMPONENT), 3);

  std::filesystem::remove(dir_ / "calendar.ics");
  std::shared_ptr<Item> item;
  EXPECT_TRUE(FAILED(app_->GetItemFromOid(mine->Oid(), item))) << "deleted with the file";
}

TEST_F(CalendarTest, CutCalendarFilesAreEitherReadWholeOrLeftAlone) {
  newBirthdayAppointment();
  newBirthdayAppointment();
  const std::string full = calendarText();
  for (std::size_t cut = 0; cut < full.size(); cut += 37) {
    const std::string prefix = full.substr(0, cut);
    pimtest::writeBytes(dir_ / "calendar.ics", prefix);
    std::shared_ptr<Item> item;
    ASSERT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
    auto a = std::dynamic_pointer_cast<Appointment>(item);
    a->SetStart(variant(2021, 3, 4));
    if (SUCCEEDED(a->Save())) {
      auto root = parse(calendarText());
      ASSERT_TRUE(root) << "cut at " << cut;
      EXPECT_EQ(icalcomponent_count_errors(root.get()), 0) << "cut at " << cut;
      EXPECT_GE(calendarText().size(), prefix.size() > 60 ? 60u : 0u);
    } else {
      EXPECT_EQ(calendarText(), prefix) << "cut at " << cut;
    }
  }
}

TEST_F(CalendarTest, UnsupportedValuesAreRefused) {
  std::shared_ptr<Item> item;
  EXPECT_EQ(app_->CreateItem(olContactItem, item), E_INVALIDARG);
  ASSERT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
  auto a = std::dynamic_pointer_cast<Appointment>(item);
  EXPECT_EQ(a->SetBusyStatus(7), E_INVALIDARG);
  EXPECT_EQ(a->SetReminderMinutesBeforeStart(-5), E_INVALIDARG);
  std::shared_ptr<RecurrencePattern> pattern;
  ASSERT_EQ(a->GetRecurrencePattern(pattern), S_OK);
  EXPECT_EQ(pattern->SetRecurrenceType(olRecursWeekly), E_NOTIMPL);
  EXPECT_EQ(pattern->SetMonthOfYear(13), E_INVALIDARG);
  EXPECT_FALSE(a->IsRecurring());
  EXPECT_TRUE(FAILED(a->Delete())) << "never saved";
}

TEST_F(PimLogonTest, LogonFailsCleanlyWhenTheFolderIsUnusable) {
  auto app = Application::create();
  platform::DeviceConfig::current().pimDir = "";
  EXPECT_TRUE(FAILED(app->Logon(nullptr)));

  pimtest::writeBytes(root_ / "plainfile", "x");
  platform::DeviceConfig::current().pimDir = (root_ / "plainfile").string();
  EXPECT_TRUE(FAILED(app->Logon(nullptr)));
  EXPECT_FALSE(app->loggedOn());
  std::shared_ptr<Folder> folder;
  EXPECT_TRUE(FAILED(app->GetDefaultFolder(olFolderContacts, folder)));
  std::shared_ptr<Item> item;
  EXPECT_TRUE(FAILED(app->CreateItem(olAppointmentItem, item)));
  EXPECT_FALSE(item);
  EXPECT_TRUE(FAILED(app->GetItemFromOid(5, item)));

  platform::DeviceConfig::current().pimDir = dir_.string();
  EXPECT_EQ(app->Logon(nullptr), S_OK);
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "contacts")) << "created on first log-on";
  EXPECT_EQ(app->Logoff(), S_OK);
  EXPECT_TRUE(FAILED(app->CreateItem(olTaskItem, item)));
}

TEST(PimDates, AutomationDatesBeforeAndAfterTheEpoch) {
  auto app = Application::create();
  DATE v = 0;
  ASSERT_EQ(app->SystemTimeToVariantTime(pimtest::st(1899, 12, 30), v), S_OK);
  EXPECT_EQ(v, 0.0);
  ASSERT_EQ(app->SystemTimeToVariantTime(pimtest::st(1604, 2, 29, 6, 0), v), S_OK);
  EXPECT_LT(v, 0.0);
  EXPECT_EQ(show(v), "1604-02-29 06:00") << "the fraction counts forward from midnight also before 1900";
  ASSERT_EQ(app->SystemTimeToVariantTime(pimtest::st(2999, 12, 31), v), S_OK);
  EXPECT_EQ(v, 401768.0);
  EXPECT_EQ(app->SystemTimeToVariantTime(pimtest::st(2001, 2, 29), v), E_INVALIDARG);
}
