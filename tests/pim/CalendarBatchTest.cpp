// Batches of saves and removals: one write per file, nothing half-written when that write fails,
// other programs' changes kept; the file's outline read without libical; 29 February.
#include <libical/ical.h>

#include <set>

#include "platform/base/Utf.h"
#include "platform/pim/ICalendarText.h"
#include "tests/pim/PimTestSupport.h"
#include "tests/support/WriteWatch.h"

using namespace platform::pim;
using pimtest::variant;

namespace {

struct IcalFree {
  void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Ical = std::unique_ptr<icalcomponent, IcalFree>;

Ical parse(const std::string& text) {
  icalerror_set_errors_are_fatal(0);
  return Ical(icalparser_parse_string(text.c_str()));
}

using platform::testing::WriteWatch;

class CalendarBatchTest : public pimtest::PimFolderTest {
 protected:
  void SetUp() override {
    PimFolderTest::SetUp();
    app_ = logon();
  }

  std::shared_ptr<Appointment> yearly(const std::u16string& subject, int month, int day) {
    std::shared_ptr<Item> item;
    EXPECT_EQ(app_->CreateItem(olAppointmentItem, item), S_OK);
    auto a = std::dynamic_pointer_cast<Appointment>(item);
    EXPECT_EQ(a->SetStart(variant(1992, static_cast<WORD>(month), static_cast<WORD>(day))), S_OK);
    a->SetAllDayEvent(true);
    a->SetSubject(subject);
    EXPECT_EQ(a->Save(), S_OK);
    std::shared_ptr<RecurrencePattern> pattern;
    EXPECT_EQ(a->GetRecurrencePattern(pattern), S_OK);
    EXPECT_EQ(pattern->SetRecurrenceType(olRecursYearly), S_OK);
    EXPECT_EQ(pattern->SetMonthOfYear(month), S_OK);
    EXPECT_EQ(pattern->SetDayOfMonth(day), S_OK);
    EXPECT_EQ(a->Save(), S_OK);
    return a;
  }

  std::shared_ptr<Task> task(const std::u16string& subject) {
    std::shared_ptr<Item> item;
    EXPECT_EQ(app_->CreateItem(olTaskItem, item), S_OK);
    auto t = std::dynamic_pointer_cast<Task>(item);
    t->SetSubject(subject);
    EXPECT_EQ(t->Save(), S_OK);
    return t;
  }

  bool exists(LONG oid) {
    std::shared_ptr<Item> item;
    return SUCCEEDED(app_->GetItemFromOid(oid, item));
  }

  std::string calendarText() const { return pimtest::readBytes(dir_ / "calendar.ics"); }
  int events() const {
    Ical root = parse(calendarText());
    return root ? icalcomponent_count_components(root.get(), ICAL_VEVENT_COMPONENT) : -1;
  }

  std::shared_ptr<Application> app_;
};

}  // namespace

TEST_F(CalendarBatchTest, ABatchWritesEachChangedFileOnce) {
  std::vector<std::shared_ptr<Appointment>> kept;
  std::vector<LONG> keptOids;
  for (int i = 0; i < 20; ++i) {
    kept.push_back(yearly(u"before", 3, 1 + i));
    keptOids.push_back(kept.back()->Oid());
  }
  WriteWatch watch;
  ASSERT_EQ(app_->beginBatch(), S_OK);
  std::vector<LONG> added;
  for (int i = 0; i < 300; ++i) added.push_back(yearly(u"new", 1 + i % 12, 1 + i % 28)->Oid());
  for (int i = 0; i < 20; i += 2) ASSERT_EQ(kept[static_cast<std::size_t>(i)]->Delete(), S_OK);
  EXPECT_EQ(watch.writes("calendar.ics"), 0) << "nothing is written while the batch is open";
  EXPECT_TRUE(exists(added.front())) << "the batch's items are there for the program meanwhile";
  ASSERT_EQ(app_->endBatch(), S_OK);
  EXPECT_EQ(watch.writes("calendar.ics"), 1);
  EXPECT_EQ(watch.writes("tasks.ics"), 0) << "a file the batch did not change is not written";
  EXPECT_EQ(events(), 310);

  auto again = logon();
  std::shared_ptr<Item> item;
  for (LONG oid : added) ASSERT_EQ(again->GetItemFromOid(oid, item), S_OK);
  EXPECT_TRUE(FAILED(again->GetItemFromOid(keptOids[0], item)));
  EXPECT_EQ(again->GetItemFromOid(keptOids[1], item), S_OK);

  ASSERT_EQ(app_->beginBatch(), S_OK);
  ASSERT_EQ(app_->beginBatch(), S_OK);
  task(u"inner");
  ASSERT_EQ(app_->endBatch(), S_OK);
  EXPECT_EQ(watch.writes("tasks.ics"), 0) << "only the outermost batch writes";
  ASSERT_EQ(app_->endBatch(), S_OK);
  EXPECT_EQ(watch.writes("tasks.ics"), 1);
  EXPECT_TRUE(FAILED(app_->endBatch())) << "no batch is open";
}

TEST_F(CalendarBatchTest, AFailedFinalWriteLeavesTheFileAndTheServiceAsBefore) {
  auto kept = yearly(u"kept", 5, 10);
  auto changed = yearly(u"changed", 6, 11);
  const LONG keptOid = kept->Oid();
  const std::string before = calendarText();
  WriteWatch watch;
  watch.fail("calendar.ics");
  ASSERT_EQ(app_->beginBatch(), S_OK);
  auto lost = yearly(u"lost", 7, 12);
  changed->SetSubject(u"changed again");
  ASSERT_EQ(changed->Save(), S_OK);
  ASSERT_EQ(kept->Delete(), S_OK);
  auto otherFile = task(u"in the other file");
  EXPECT_TRUE(FAILED(app_->endBatch()));
  watch.stopFailing();

  EXPECT_EQ(calendarText(), before);
  EXPECT_FALSE(exists(lost->Oid())) << "an item of the failed batch is not there";
  std::shared_ptr<Item> item;
  ASSERT_EQ(app_->GetItemFromOid(changed->Oid(), item), S_OK);
  EXPECT_EQ(std::dynamic_pointer_cast<Appointment>(item)->Subject(), u"changed");
  ASSERT_EQ(app_->GetItemFromOid(otherFile->Oid(), item), S_OK) << "the task list was written";
  EXPECT_TRUE(exists(keptOid)) << "the item deleted in the failed batch is still there";

  yearly(u"later", 8, 13);
  EXPECT_EQ(events(), 3) << "the failed batch's changes do not come back with a later save";
  EXPECT_EQ(calendarText().find("lost"), std::string::npos);
  EXPECT_NE(calendarText().find("SUMMARY:kept"), std::string::npos);
}

TEST_F(CalendarBatchTest, AFileChangedOnDiskDuringABatchIsReadAgainAndKeepsTheirEvents) {
  auto mine = yearly(u"mine", 5, 10);
  ASSERT_EQ(app_->beginBatch(), S_OK);
  auto added = yearly(u"added in the batch", 6, 11);
  ASSERT_EQ(mine->Delete(), S_OK);
  // Another program adds an event while the batch runs.
  std::string text = calendarText();
  text.insert(text.rfind("END:VCALENDAR"),
              "BEGIN:VEVENT\r\nUID:theirs\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260505T100000\r\n"
              "SUMMARY:Their meeting\r\nEND:VEVENT\r\n");
  pimtest::writeBytes(dir_ / "calendar.ics", text);
  ASSERT_EQ(app_->endBatch(), S_OK);

  const std::string after = calendarText();
  EXPECT_NE(after.find("UID:theirs"), std::string::npos);
  EXPECT_NE(after.find("added in the batch"), std::string::npos);
  EXPECT_EQ(after.find("SUMMARY:mine"), std::string::npos) << "the removal made in the batch still holds";
  EXPECT_EQ(events(), 2);
  EXPECT_TRUE(exists(added->Oid()));

  // The same between two single saves.
  text = calendarText();
  text.insert(text.rfind("END:VCALENDAR"),
              "BEGIN:VEVENT\r\nUID:theirs-2\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:20260606T100000\r\n"
              "SUMMARY:Second\r\nEND:VEVENT\r\n");
  pimtest::writeBytes(dir_ / "calendar.ics", text);
  added->SetSubject(u"renamed");
  ASSERT_EQ(added->Save(), S_OK);
  EXPECT_NE(calendarText().find("UID:theirs-2"), std::string::npos);
  EXPECT_NE(calendarText().find("SUMMARY:renamed"), std::string::npos);
  EXPECT_EQ(events(), 3);
}

TEST_F(CalendarBatchTest, ABatchOverAFileThatBecameUnreadableFailsAndLeavesItAlone) {
  yearly(u"mine", 5, 10);
  ASSERT_EQ(app_->beginBatch(), S_OK);
  yearly(u"new", 6, 11);
  const std::string broken = "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nSUMMARY:half\r\n";
  pimtest::writeBytes(dir_ / "calendar.ics", broken);
  EXPECT_TRUE(FAILED(app_->endBatch()));
  EXPECT_EQ(calendarText(), broken);
}

TEST_F(CalendarBatchTest, ManyItemsRemovedInAnyOrderLeaveExactlyTheRest) {
  ASSERT_EQ(app_->beginBatch(), S_OK);
  std::vector<LONG> oids;
  for (int i = 0; i < 600; ++i) oids.push_back(task(u"task " + platform::toUtf16(std::to_string(i)))->Oid());
  ASSERT_EQ(app_->endBatch(), S_OK);
  EXPECT_EQ(std::set<LONG>(oids.begin(), oids.end()).size(), oids.size());
  // Every third, from the end backwards: removals far from the front, past a compaction.
  ASSERT_EQ(app_->beginBatch(), S_OK);
  std::set<LONG> removed;
  for (std::size_t i = oids.size(); i-- > 0;) {
    if (i % 3 == 0) continue;
    std::shared_ptr<Item> item;
    ASSERT_EQ(app_->GetItemFromOid(oids[i], item), S_OK);
    ASSERT_EQ(item->Delete(), S_OK);
    removed.insert(oids[i]);
  }
  ASSERT_EQ(app_->endBatch(), S_OK);
  auto again = logon();
  for (LONG oid : oids) {
    std::shared_ptr<Item> item;
    EXPECT_EQ(SUCCEEDED(again->GetItemFromOid(oid, item)), removed.count(oid) == 0);
  }
  Ical root = parse(pimtest::readBytes(dir_ / "tasks.ics"));
  EXPECT_EQ(icalcomponent_count_components(root.get(), ICAL_VTODO_COMPONENT), 200);
}

TEST_F(CalendarBatchTest, TheLastDayOfFebruaryComesRoundEveryYear) {
  auto leap = yearly(u"Leap day", 2, 29);
  Ical root = parse(calendarText());
  icalcomponent* event = icalcomponent_get_first_component(root.get(), ICAL_VEVENT_COMPONENT);
  ASSERT_TRUE(event);
  icalproperty* rrule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
  ASSERT_TRUE(rrule);
  EXPECT_NE(std::string(icalproperty_as_ical_string(rrule)).find("BYMONTHDAY=-1"), std::string::npos);

  std::map<int, int> dayInFebruary;
  icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rrule), icalcomponent_get_dtstart(event));
  ASSERT_TRUE(it);
  for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && t.year <= 2028;
       t = icalrecur_iterator_next(it)) {
    EXPECT_EQ(t.month, 2);
    dayInFebruary[t.year] = t.day;
  }
  icalrecur_iterator_free(it);
  EXPECT_EQ(dayInFebruary[1992], 29);
  EXPECT_EQ(dayInFebruary[2025], 28);
  EXPECT_EQ(dayInFebruary[2027], 28);
  EXPECT_EQ(dayInFebruary[2028], 29);
  EXPECT_EQ(dayInFebruary.size(), 2028u - 1992u + 1u) << "not one year skipped";

  std::shared_ptr<Item> item;
  ASSERT_EQ(logon()->GetItemFromOid(leap->Oid(), item), S_OK);
  std::shared_ptr<RecurrencePattern> pattern;
  ASSERT_EQ(std::dynamic_pointer_cast<Appointment>(item)->GetRecurrencePattern(pattern), S_OK);
  EXPECT_EQ(pattern->MonthOfYear(), 2);
  EXPECT_EQ(pattern->DayOfMonth(), 29) << "read back as the pattern was set";

  yearly(u"Other", 2, 28);
  const std::string text = calendarText();
  ASSERT_NE(text.find("BYMONTHDAY=28"), std::string::npos) << "other days keep their number";
  EXPECT_EQ(text.find("BYMONTHDAY=-1"), text.rfind("BYMONTHDAY=-1"));
}

TEST(ICalendarText, OutlinesWhatCalendarsWriteAndRefusesWhatWouldLoseLines) {
  ICalendarText outline;
  // LF endings, folded lines, lower-case names, a quoted colon, a time zone, two kinds of item.
  const std::string written =
      "begin:vcalendar\nVERSION:2.0\nX-WR-CALNAME:Home\n"
      "BEGIN:VTIMEZONE\nTZID:Europe/Berlin\nBEGIN:STANDARD\nDTSTART:19701025T030000\n"
      "TZOFFSETFROM:+0200\nTZOFFSETTO:+0100\nEND:STANDARD\nEND:VTIMEZONE\n"
      "BEGIN:VEVENT\nUID:a\\,b\nX-PELLUCARD-OID:2147483659\nSUMMARY:long\n  text\n"
      "ATTENDEE;CN=\"Lee: Ann\":mailto:ann@example.org\n"
      "BEGIN:VALARM\nUID:inner\nACTION:DISPLAY\nTRIGGER:-PT5M\nDESCRIPTION:x\nEND:VALARM\nEND:VEVENT\n"
      "BEGIN:VTODO\nUID:t1\nEND:VTODO\n"
      "end:VCALENDAR\n\n";
  ASSERT_TRUE(outline.read(written));
  EXPECT_EQ(outline.properties(), "VERSION:2.0\r\nX-WR-CALNAME:Home\r\n");
  EXPECT_TRUE(outline.hasProperty("VERSION"));
  EXPECT_FALSE(outline.hasProperty("PRODID"));
  ASSERT_EQ(outline.components().size(), 3u);
  EXPECT_EQ(outline.components()[0].kind, "VTIMEZONE");
  const ICalendarText::Component& event = outline.components()[1];
  EXPECT_EQ(event.kind, "VEVENT");
  EXPECT_EQ(event.uid, "a,b") << "unescaped, and the alarm's UID is not the event's";
  EXPECT_EQ(event.oid, "2147483659");
  EXPECT_EQ(event.text.substr(0, 13), "BEGIN:VEVENT\r");
  EXPECT_NE(event.text.find("SUMMARY:long\r\n  text\r\n"), std::string::npos) << "folding kept as written";
  EXPECT_EQ(outline.components()[2].uid, "t1");

  for (const char* refused : {
           "",
           "BEGIN:VCALENDAR\nVERSION:2.0\n",                             // cut short
           "BEGIN:VCALENDAR\nBEGIN:VEVENT\nEND:VTODO\nEND:VCALENDAR\n",  // END of another
           "BEGIN:VCALENDAR\nBEGIN:VEVENT\nno property here\nEND:VEVENT\nEND:VCALENDAR\n",
           " folded onto nothing\nBEGIN:VCALENDAR\nEND:VCALENDAR\n",
           "BEGIN:VEVENT\nEND:VEVENT\n",                                        // no calendar
           "BEGIN:VCALENDAR\nEND:VCALENDAR\nBEGIN:VCALENDAR\nEND:VCALENDAR\n",  // two of them
           "BEGIN:VCALENDAR\nX-A;P=\"unclosed:value\nEND:VCALENDAR\n",          // colon only quoted
       }) {
    EXPECT_FALSE(outline.read(refused)) << refused;
  }
  EXPECT_FALSE(outline.read(std::string("BEGIN:VCALENDAR\nX:a\0b\nEND:VCALENDAR\n", 37)));
}

TEST_F(CalendarBatchTest, ForeignItemsAndTimeZonesAreWrittenBackAsTheyCame) {
  std::filesystem::create_directories(dir_);
  const std::string theirs =
      "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Tasks//EN\r\n"
      "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
      "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
      "BEGIN:VTODO\r\nUID:their-task\r\nDTSTAMP:20260101T000000Z\r\nSUMMARY:Theirs\r\n"
      "DUE;TZID=Europe/Berlin:20260710T180000\r\nX-ODD-VALUE:kept exactly\r\nEND:VTODO\r\n";
  pimtest::writeBytes(dir_ / "tasks.ics", theirs + "END:VCALENDAR\r\n");
  auto mine = task(u"mine");
  ASSERT_EQ(mine->Delete(), S_OK);
  EXPECT_EQ(pimtest::readBytes(dir_ / "tasks.ics"), theirs + "END:VCALENDAR\r\n")
      << "their part, time zone and all, written back byte for byte";
}
