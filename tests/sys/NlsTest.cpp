#include <gtest/gtest.h>

#include <string>

#include "platform/sys/LocaleFormats.h"
#include "platform/sys/WinNls.h"
#include "tests/sys/EnvGuard.h"

namespace {

using platform::sys::LocaleData;
using platform::sys::LocaleFormats;

SYSTEMTIME at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  return st;
}

class LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { LocaleFormats::instance().set(LocaleFormats::englishUnitedStates()); }
  void TearDown() override { LocaleFormats::instance().useHost(); }

  static std::u16string date(const SYSTEMTIME& st, DWORD flags, const char16_t* picture = nullptr,
                             LCID lcid = LOCALE_USER_DEFAULT) {
    WCHAR buffer[128];
    const int n = GetDateFormatW(lcid, flags, &st, picture, buffer, 128);
    return n ? std::u16string(buffer)
             : u"<error " + std::u16string(1, u'0' + static_cast<char16_t>(GetLastError() % 10)) + u">";
  }
  static std::u16string time(const SYSTEMTIME& st, DWORD flags, const char16_t* picture = nullptr) {
    WCHAR buffer[128];
    const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &st, picture, buffer, 128);
    return n ? std::u16string(buffer) : u"<error>";
  }
  static std::u16string info(DWORD type) {
    WCHAR buffer[64];
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 64) ? std::u16string(buffer) : u"<error>";
  }
};

TEST(PictureTranslation, HostFormatsOfSeveralLocales) {
  // LC_TIME items as glibc's en_US, de_DE, fr_FR, en_GB and ja_JP define them.
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%m/%d/%Y"), u"MM/dd/yyyy");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%r"), u"hh:mm:ss tt");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%d.%m.%Y"), u"dd.MM.yyyy");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%T"), u"HH:mm:ss");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%d/%m/%y"), u"dd/MM/yy");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%Y年%m月%d日"), u"yyyy年MM月dd日");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%H時%M分%S秒"), u"HH時mm分ss秒");
  // glibc's flags and letters that a picture would misread.
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%-d/%-m/%y"), u"d/M/yy");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%e de %B de %Y"), u"d' de 'MMMM' de 'yyyy");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%H h %M"), u"HH' h 'mm");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%I:%M:%S %p %Z"), u"hh:mm:ss tt ");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("%Ey'x"), u"yy'''x'");
  EXPECT_EQ(LocaleFormats::pictureFromStrftime("100%%"), u"100%");
}

TEST(PictureTranslation, LocaleDataFromHostItems) {
  LocaleFormats::HostTimeItems german;
  german.dateFormat = "%d.%m.%Y";
  german.timeFormat = "%T";
  german.days = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  german.months = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                   "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  german.firstWeekday = 2;
  const LocaleData d = LocaleFormats::fromTimeItems(german);
  EXPECT_EQ(d.shortDate, u"dd.MM.yyyy");
  EXPECT_EQ(d.longDate, u"dddd, d MMMM yyyy");
  EXPECT_EQ(d.time, u"HH:mm:ss");
  EXPECT_EQ(d.monthNames[2], u"März");
  EXPECT_EQ(d.abbreviatedMonthNames[2], u"Mar") << "missing items keep the en-US ones";
  EXPECT_EQ(d.firstDayOfWeek, 0) << "Monday";

  LocaleFormats::HostTimeItems empty;
  EXPECT_EQ(LocaleFormats::fromTimeItems(empty).shortDate, u"M/d/yy");
  // The C locale and locales the host lacks fall back to en-US.
  EXPECT_EQ(LocaleFormats::fromHost("C").shortDate, u"M/d/yy");
  EXPECT_EQ(LocaleFormats::fromHost("xx_NOWHERE.UTF-8").time, u"h:mm:ss tt");
  systest::EnvGuard lcAll("LC_ALL", "POSIX");
  EXPECT_EQ(LocaleFormats::fromHost().longDate, u"dddd, MMMM dd, yyyy");
}

TEST_F(LocaleTest, DateFormats) {
  EXPECT_EQ(date(at(2024, 2, 29), DATE_SHORTDATE), u"2/29/24");
  EXPECT_EQ(date(at(2024, 2, 29), DATE_LONGDATE), u"Thursday, February 29, 2024");
  EXPECT_EQ(date(at(1601, 1, 1), 0, u"ddd dd MMM yyyy"), u"Mon 01 Jan 1601");
  EXPECT_EQ(date(at(2009, 7, 4), 0, u"d 'of' MMMM, ''yy gg"), u"4 of July, '09 A.D.");
  EXPECT_EQ(date(at(2024, 12, 24), DATE_SHORTDATE, nullptr, LOCALE_SYSTEM_DEFAULT), u"12/24/24");

  LocaleData german = LocaleFormats::englishUnitedStates();
  german.shortDate = u"dd.MM.yyyy";
  LocaleFormats::instance().set(german);
  EXPECT_EQ(date(at(2026, 3, 1), DATE_SHORTDATE), u"01.03.2026");
}

TEST_F(LocaleTest, DateFormatErrors) {
  WCHAR buffer[8];
  SYSTEMTIME st = at(2024, 2, 30);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  st = at(0, 1, 1);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 8), 0);
  st = at(2024, 1, 31);
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, u"d", buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &st, nullptr, buffer, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, nullptr, 0), 8) << "1/31/24 and its end";
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 7), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 8), 8);
  EXPECT_EQ(GetDateFormatW(0x0407, DATE_SHORTDATE, &st, nullptr, buffer, 8), 0) << "an unknown locale";
}

TEST_F(LocaleTest, TimeFormatsAndFlags) {
  const SYSTEMTIME afternoon = at(2024, 1, 1, 13, 5, 9);
  EXPECT_EQ(time(afternoon, 0), u"1:05:09 PM");
  EXPECT_EQ(time(afternoon, TIME_NOSECONDS), u"1:05 PM");
  EXPECT_EQ(time(afternoon, TIME_NOMINUTESORSECONDS), u"1 PM");
  EXPECT_EQ(time(afternoon, TIME_NOTIMEMARKER), u"1:05:09");
  EXPECT_EQ(time(afternoon, TIME_FORCE24HOURFORMAT), u"13:05:09");
  EXPECT_EQ(time(afternoon, 0, u"HH:mm"), u"13:05");
  EXPECT_EQ(time(afternoon, 0, u"tt h 'h' mm"), u"PM 1 h 05");
  EXPECT_EQ(time(afternoon, TIME_NOTIMEMARKER, u"tt h:mm"), u"1:05") << "a leading marker takes the blank after it";
  EXPECT_EQ(time(at(2024, 1, 1, 0, 0, 0), 0, u"hh:mm t"), u"12:00 A");
  SYSTEMTIME bad = at(2024, 1, 1, 24);
  WCHAR buffer[32];
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &bad, nullptr, buffer, 32), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetTimeFormatW(LOCALE_USER_DEFAULT, 0x100, &afternoon, nullptr, buffer, 32), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST_F(LocaleTest, LocaleInfo) {
  EXPECT_EQ(info(LOCALE_STIMEFORMAT), u"h:mm:ss tt");
  EXPECT_EQ(info(LOCALE_SSHORTDATE), u"M/d/yy");
  EXPECT_EQ(info(LOCALE_SLONGDATE), u"dddd, MMMM dd, yyyy");
  EXPECT_EQ(info(LOCALE_SDATE), u"/");
  EXPECT_EQ(info(LOCALE_STIME), u":");
  EXPECT_EQ(info(LOCALE_S1159), u"AM");
  EXPECT_EQ(info(LOCALE_SDAYNAME1), u"Monday");
  EXPECT_EQ(info(LOCALE_SDAYNAME7), u"Sunday");
  EXPECT_EQ(info(LOCALE_SABBREVMONTHNAME1 + 11), u"Dec");
  EXPECT_EQ(info(LOCALE_IDATE), u"0");
  EXPECT_EQ(info(LOCALE_ITIME), u"0");
  EXPECT_EQ(info(LOCALE_IFIRSTDAYOFWEEK), u"6");
  EXPECT_EQ(info(LOCALE_STIMEFORMAT | LOCALE_NOUSEROVERRIDE), u"h:mm:ss tt");
  EXPECT_EQ(info(0x9999), u"<error>");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, nullptr, 0), 11);

  LocaleData custom = LocaleFormats::englishUnitedStates();
  custom.shortDate = u"yyyy-MM-dd";
  custom.time = u"HH.mm";
  LocaleFormats::instance().set(custom);
  EXPECT_EQ(info(LOCALE_IDATE), u"2");
  EXPECT_EQ(info(LOCALE_SDATE), u"-");
  EXPECT_EQ(info(LOCALE_STIME), u".");
  EXPECT_EQ(info(LOCALE_ITIME), u"1");
}

}  // namespace
