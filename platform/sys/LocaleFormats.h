// The user's locale formats: date and time pictures in the handheld's notation and the
// names they use. Read once from the host's LC_TIME (LC_ALL, LC_TIME, LANG), falling back
// to en-US when the host locale is C/POSIX or not installed; tests set their own.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace platform::sys {

struct LocaleData {
  std::u16string shortDate;  // e.g. "M/d/yy"
  std::u16string longDate;   // e.g. "dddd, MMMM dd, yyyy"
  std::u16string time;       // e.g. "h:mm:ss tt"
  std::u16string am;
  std::u16string pm;
  std::array<std::u16string, 7> dayNames;  // Sunday first, as SYSTEMTIME counts
  std::array<std::u16string, 7> abbreviatedDayNames;
  std::array<std::u16string, 12> monthNames;
  std::array<std::u16string, 12> abbreviatedMonthNames;
  int firstDayOfWeek = 6;  // 0 Monday ... 6 Sunday
};

class LocaleFormats {
 public:
  static LocaleFormats& instance();

  // The data in use; read from the host on first use.
  const LocaleData& current();
  void set(LocaleData data);
  // Reads the host locale again (after the environment changed).
  void useHost();

  static LocaleData englishUnitedStates();
  // The named host locale ("" = from the environment); en-US when it is C/POSIX or missing.
  static LocaleData fromHost(const std::string& localeName = "");
  // Builds the data from a host locale's LC_TIME items (as UTF-8).
  struct HostTimeItems {
    std::string dateFormat;  // D_FMT
    std::string timeFormat;  // T_FMT
    std::string am, pm;
    std::array<std::string, 7> days, abbreviatedDays;  // Sunday first
    std::array<std::string, 12> months, abbreviatedMonths;
    int firstWeekday = 1;  // 1 = Sunday, as the host counts
  };
  static LocaleData fromTimeItems(const HostTimeItems& items);
  // Translates a strftime format into a picture ("%m/%d/%Y" -> "MM/dd/yyyy").
  static std::u16string pictureFromStrftime(std::string_view format);
  // The long date for a short date's order of day, month and year.
  static std::u16string longDateFor(std::u16string_view shortDate);

 private:
  LocaleFormats() = default;
  bool loaded_ = false;
  LocaleData data_;
};

}  // namespace platform::sys
