// The export commands at scale, checked with an independent reader (libical): one write per
// command, every item read back with its UID and rule, replacement without duplicates, nothing
// stale after a failed write, 29 February, alarms in two time zones, and a responsive screen.
#include <map>
#include <set>

#include "outlook/ExportCommands.h"
#include "outlook/UninstallCleanup.h"
#include "pin/PinLock.h"
#include "platform/win/Input.h"
#include "store/AnniversariesTable.h"
#include "store/LoansTable.h"
#include "store/RecordBatch.h"
#include "tests/outlook/OutlookFixture.h"
#include "tests/support/TestDevice.h"
#include "tests/support/WriteWatch.h"

using namespace pellucard;
using outlooktest::date;

namespace {

using platform::testing::WriteWatch;

// What a calendar program reads from one of the files.
struct ReadBack {
  outlooktest::Ical root;
  std::map<LONG, icalcomponent*> byOid;
  std::set<std::string> uids;
  int count = 0;
};

class ExportAtScaleTest : public outlooktest::OutlookFixture {
 protected:
  void SetUp() override {
    OutlookFixture::SetUp();
    getSettings().setAnniversariesAutoExport(false);
    getSettings().setLoansAutoExport(false);
  }

  // 'count' anniversaries of two friends on days all through the year, 29 February among them.
  std::vector<Anniversary*> manyAnniversaries(int count) {
    const LONG ann = static_cast<LONG>(addFriend(u"Ann", u"Lee")->recordId());
    const LONG bo = static_cast<LONG>(addFriend(u"Bo", u"Ek")->recordId());
    std::vector<Anniversary*> added;
    RecordBatch records;  // one transaction: a write of its own for each would take seconds
    for (int i = 0; i < count; ++i) {
      const SYSTEMTIME when = i % 50 == 7 ? date(1996, 2, 29, 12) : date(1970 + i % 40, 1 + i % 12, 1 + i % 28, 12);
      added.push_back(addAnniversary(u"Day " + platform::toUtf16(std::to_string(i)), i % 2 ? ann : bo, when));
    }
    return added;
  }

  std::vector<Loan*> manyLoans(int count) {
    const LONG ann = static_cast<LONG>(addFriend(u"Ann", u"Lee")->recordId());
    std::vector<Loan*> added;
    RecordBatch records;
    for (int i = 0; i < count; ++i) {
      const SYSTEMTIME back = i % 3 == 0 ? SYSTEMTIME{} : date(2026, 1 + i % 12, 1 + i % 28, 12);
      added.push_back(addLoan(u"Thing " + platform::toUtf16(std::to_string(i)), i % 2, ann, back));
    }
    return added;
  }

  ReadBack readBack(const std::string& name, icalcomponent_kind kind) const {
    ReadBack r;
    r.root = parsed(name);
    if (!r.root) return r;
    EXPECT_EQ(icalcomponent_count_errors(r.root.get()), 0);
    for (icalcomponent* c = icalcomponent_get_first_component(r.root.get(), kind); c;
         c = icalcomponent_get_next_component(r.root.get(), kind)) {
      ++r.count;
      r.uids.insert(icalcomponent_get_uid(c) ? icalcomponent_get_uid(c) : "");
      for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
           p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
        if (std::string(icalproperty_get_x_name(p)) == "X-PELLUCARD-OID")
          r.byOid[static_cast<LONG>(std::stoul(icalproperty_get_x(p)))] = c;
      }
    }
    return r;
  }

  static std::map<RecordId, LONG> idsOf(const std::vector<Anniversary*>& list) {
    std::map<RecordId, LONG> ids;
    for (const Anniversary* a : list) ids[a->recordId()] = a->outlookItemId();
    return ids;
  }
};

}  // namespace

TEST_F(ExportAtScaleTest, ExportToCalendarWritesTheFileOnceAndEveryItemReadsBack) {
  const std::vector<Anniversary*> all = manyAnniversaries(400);
  WriteWatch watch;
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(watch.writes("calendar.ics"), 1);

  ReadBack cal = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
  EXPECT_EQ(cal.count, 400);
  EXPECT_EQ(cal.uids.size(), 400u) << "every event has its own UID";
  for (const Anniversary* a : all) {
    ASSERT_NE(a->outlookItemId(), 0);
    ASSERT_EQ(cal.byOid.count(a->outlookItemId()), 1u) << "the record points at an event in the file";
    icalcomponent* e = cal.byOid[a->outlookItemId()];
    icalrecurrencetype rule = icalproperty_get_rrule(icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY));
    EXPECT_EQ(rule.freq, ICAL_YEARLY_RECURRENCE);
    EXPECT_EQ(rule.by_month[0], a->date().wMonth);
    const bool leapDay = a->date().wMonth == 2 && a->date().wDay == 29;
    EXPECT_EQ(rule.by_month_day[0], leapDay ? -1 : a->date().wDay);
    EXPECT_EQ(icalcomponent_count_components(e, ICAL_VALARM_COMPONENT), 1);
  }

  const auto before = idsOf(all);
  restart();
  for (const auto& [record, oid] : before)
    EXPECT_EQ(getAnniversaryCollection().find(record)->outlookItemId(), oid) << "identifiers are in the store";
}

TEST_F(ExportAtScaleTest, ExportingAgainReplacesEveryItemWithoutDuplicates) {
  manyAnniversaries(300);
  manyLoans(300);
  ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  ASSERT_EQ(ExportCommands::exportLoans(), ExportCommands::Outcome::AllExported);
  const ReadBack firstEvents = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
  const ReadBack firstTasks = readBack("tasks.ics", ICAL_VTODO_COMPONENT);

  restart();
  WriteWatch watch;
  ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  ASSERT_EQ(ExportCommands::exportLoans(), ExportCommands::Outcome::AllExported);
  EXPECT_EQ(watch.writes("calendar.ics"), 1);
  EXPECT_EQ(watch.writes("tasks.ics"), 1);

  const ReadBack events = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
  const ReadBack tasks = readBack("tasks.ics", ICAL_VTODO_COMPONENT);
  EXPECT_EQ(events.count, 300);
  EXPECT_EQ(tasks.count, 300);
  for (const std::string& uid : firstEvents.uids) EXPECT_EQ(events.uids.count(uid), 0u) << "replaced: " << uid;
  for (const std::string& uid : firstTasks.uids) EXPECT_EQ(tasks.uids.count(uid), 0u) << "replaced: " << uid;
  for (const Loan* l : getLoanCollection().snapshot()) EXPECT_EQ(tasks.byOid.count(l->outlookItemId()), 1u);
}

TEST_F(ExportAtScaleTest, AFailingFinalWriteLeavesTheOldFileAndNoStaleIdentifiers) {
  const std::vector<Anniversary*> all = manyAnniversaries(300);
  ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  Anniversary* fresh = addAnniversary(u"Never exported", 0, date(2001, 3, 4, 12));
  const auto before = idsOf(all);
  const RecordId firstId = all.front()->recordId();
  const std::string file = fileText("calendar.ics");

  {
    WriteWatch watch;
    watch.fail("calendar.ics");
    EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::SomeFailed);
    EXPECT_EQ(watch.writes("calendar.ics"), 1) << "tried once, at the end";
  }
  EXPECT_EQ(fileText("calendar.ics"), file);
  EXPECT_EQ(fresh->outlookItemId(), 0);
  for (const Anniversary* a : all) {
    EXPECT_EQ(a->outlookItemId(), before.at(a->recordId()));
    EXPECT_TRUE(getOutlookConnection().itemFromOid(a->outlookItemId())) << "points at an item that exists";
  }
  restart();
  for (const auto& [record, oid] : before)
    EXPECT_EQ(getAnniversaryCollection().find(record)->outlookItemId(), oid) << "and so does the store";

  // The same for one automatic export after an edit.
  getSettings().setAnniversariesAutoExport(true);
  Anniversary* edited = getAnniversaryCollection().find(firstId);
  const LONG oid = edited->outlookItemId();
  {
    WriteWatch watch;
    watch.fail("calendar.ics");
    edited->assign(u"Renamed", edited->friendId(), edited->date(), u"");
    getAnniversaryCollection().update(*edited);
  }
  EXPECT_EQ(edited->outlookItemId(), oid);
  EXPECT_EQ(fileText("calendar.ics"), file);
  restart();
  EXPECT_EQ(getAnniversaryCollection().find(firstId)->outlookItemId(), oid);
}

TEST_F(ExportAtScaleTest, OneAutomaticExportWritesOnceAndKeepsEveryOtherEvent) {
  const std::vector<Anniversary*> all = manyAnniversaries(200);
  ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  getSettings().setAnniversariesAutoExport(true);
  WriteWatch watch;
  Anniversary* a = all[57];
  a->assign(u"Edited", a->friendId(), date(1980, 7, 14, 12), u"new notes");
  getAnniversaryCollection().update(*a);
  EXPECT_EQ(watch.writes("calendar.ics"), 1) << "saved twice and the old one deleted: one write";
  const ReadBack cal = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
  EXPECT_EQ(cal.count, 200);
  ASSERT_EQ(cal.byOid.count(a->outlookItemId()), 1u);
  EXPECT_STREQ(icalcomponent_get_description(cal.byOid.at(a->outlookItemId())), "new notes");
}

TEST_F(ExportAtScaleTest, RemovingAFriendWithItemsAndTheUninstallWriteEachFileOnce) {
  Friend* ann = addFriend(u"Ann", u"Lee");
  const LONG annId = static_cast<LONG>(ann->recordId());
  for (int i = 0; i < 30; ++i) {
    addAnniversary(u"Day", annId, date(1990, 1 + i % 12, 1 + i % 28, 12));
    addLoan(u"Thing", i % 2, annId, date(2026, 5, 1 + i % 28, 12));
  }
  Anniversary* other = addAnniversary(u"Other's", 0, date(1990, 5, 5, 12));
  Loan* otherLoan = addLoan(u"Other's", 0, 0, date(2026, 5, 5, 12));
  ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
  ASSERT_EQ(ExportCommands::exportLoans(), ExportCommands::Outcome::AllExported);
  {
    WriteWatch watch;
    ASSERT_TRUE(RecordStore::removeFriend(ann->recordId(), true));
    EXPECT_EQ(watch.writes("calendar.ics"), 1);
    EXPECT_EQ(watch.writes("tasks.ics"), 1);
  }
  EXPECT_EQ(events(), 1);
  EXPECT_EQ(todos(), 1);
  EXPECT_TRUE(getOutlookConnection().itemFromOid(other->outlookItemId()));
  EXPECT_TRUE(getOutlookConnection().itemFromOid(otherLoan->outlookItemId()));

  RecordStore::closeAll();
  deleteOutlookConnection();
  {
    WriteWatch watch;
    UninstallCleanup::run();
    EXPECT_EQ(watch.writes("calendar.ics"), 1);
    EXPECT_EQ(watch.writes("tasks.ics"), 1);
  }
  EXPECT_EQ(events(), 0);
  EXPECT_EQ(todos(), 0);
  deletePinLock();
}

TEST_F(ExportAtScaleTest, TheTwentyNinthOfFebruaryIsKeptInCommonYearsToo) {
  for (const SYSTEMTIME& when : {date(2000, 2, 29, 12), date(1604, 2, 29, 12)}) {
    Anniversary* a = addAnniversary(u"Leap", 0, when);
    ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);
    const ReadBack cal = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
    ASSERT_EQ(cal.byOid.count(a->outlookItemId()), 1u);
    icalcomponent* e = cal.byOid.at(a->outlookItemId());
    icalrecurrencetype rule = icalproperty_get_rrule(icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY));
    std::map<int, int> day;
    icalrecur_iterator* it = icalrecur_iterator_new(rule, icalcomponent_get_dtstart(e));
    ASSERT_TRUE(it);
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t) && t.year <= 2028;
         t = icalrecur_iterator_next(it))
      day[t.year * 100 + t.month] = t.day;
    icalrecur_iterator_free(it);
    EXPECT_EQ(day[202502], 28) << when.wYear;
    EXPECT_EQ(day[202802], 29) << when.wYear;
    getAnniversaryCollection().remove(a->recordId());
  }
}

TEST_F(ExportAtScaleTest, AlarmsFallAtTheRightInstantInTwoTimeZones) {
  struct Zone {
    const char* tz;
    const char* taskAlarmUtc;  // the loan's reminder, 2 days before 10 April 12:00 local
  };
  getSettings().setLoansReminder(2);
  getSettings().setAnniversariesReminder(1);
  getSettings().setAnniversariesReminderTime(2304);  // 9:00 the day before
  for (const Zone& zone : {Zone{"Europe/Berlin", "20260408T100000Z"}, Zone{"America/New_York", "20260408T160000Z"}}) {
    setenv("TZ", zone.tz, 1);
    tzset();
    Loan* l = addLoan(u"Ladder", kLoanTo, 0, date(2026, 4, 10, 12));
    Anniversary* a = addAnniversary(u"Birthday", 0, date(1990, 6, 18, 12));
    ASSERT_EQ(ExportCommands::exportLoans(), ExportCommands::Outcome::AllExported);
    ASSERT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);

    const ReadBack tasks = readBack("tasks.ics", ICAL_VTODO_COMPONENT);
    icalcomponent* alarm = icalcomponent_get_first_component(tasks.byOid.at(l->outlookItemId()), ICAL_VALARM_COMPONENT);
    ASSERT_TRUE(alarm);
    icaltriggertype trigger = icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
    EXPECT_STREQ(icaltime_as_ical_string(trigger.time), zone.taskAlarmUtc) << zone.tz;

    // The all-day event's alarm is relative to the start of its floating day: a reader in the
    // same zone rings it at 9:00 local time the day before, whatever the zone's offset.
    const ReadBack cal = readBack("calendar.ics", ICAL_VEVENT_COMPONENT);
    icalcomponent* e = cal.byOid.at(a->outlookItemId());
    alarm = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT);
    ASSERT_TRUE(alarm);
    trigger = icalproperty_get_trigger(icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY));
    icaltimetype start = icalcomponent_get_dtstart(e);
    struct tm startOfDay {};
    startOfDay.tm_year = 2026 - 1900;
    startOfDay.tm_mon = start.month - 1;
    startOfDay.tm_mday = start.day;
    startOfDay.tm_isdst = -1;
    const time_t rings = mktime(&startOfDay) + icaldurationtype_as_int(trigger.duration);
    struct tm local {};
    localtime_r(&rings, &local);
    EXPECT_EQ(local.tm_mday, 17) << zone.tz;
    EXPECT_EQ(local.tm_hour, 9) << zone.tz;
    EXPECT_EQ(local.tm_min, 0) << zone.tz;

    getLoanCollection().remove(l->recordId());
    getAnniversaryCollection().remove(a->recordId());
  }
  setenv("TZ", "UTC", 1);
  tzset();
}

namespace {

int& paints() {
  static int count = 0;
  return count;
}

LRESULT CALLBACK countPaints(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    ++paints();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(ExportAtScaleTest, DuringALongExportTheScreenRepaintsAndInputIsDropped) {
  platform::testing::TestDevice device;
  WNDCLASSW wc{};
  wc.lpfnWndProc = countPaints;
  wc.lpszClassName = u"ExportPaintCounter";
  RegisterClassW(&wc);
  HWND window =
      CreateWindowExW(0, u"ExportPaintCounter", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  device.runUntilIdle();
  manyAnniversaries(600);
  const HCURSOR before = GetCursor();

  paints() = 0;
  InvalidateRect(window, nullptr, TRUE);
  // Queued as the user presses and taps while the export runs.
  platform::postKeyDown(VK_F2);  // the soft key that would open the menu
  platform::postKeyUp(VK_F2);
  platform::postStylusDown(POINT{120, 160});
  platform::postStylusUp(POINT{120, 160});
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExportCommands::exportAnniversaries(), ExportCommands::Outcome::AllExported);

  EXPECT_GE(paints(), 1) << "painted while the export ran";
  EXPECT_EQ(GetCursor(), before) << "the wait cursor is gone";
  MSG msg{};
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) << "keys dropped";
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) << "taps dropped";
  EXPECT_TRUE(PeekMessageW(&msg, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) << "the close request waits";
  EXPECT_TRUE(IsWindow(window));
  DestroyWindow(window);
}
