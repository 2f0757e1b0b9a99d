#include "platform/pim/PimDates.h"

#include "platform/sys/OleAuto.h"

namespace platform::pim {

DATE PimDates::make(int year, int month, int day, int secondsOfDay) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  st.wHour = static_cast<WORD>(secondsOfDay / 3600);
  st.wMinute = static_cast<WORD>(secondsOfDay / 60 % 60);
  st.wSecond = static_cast<WORD>(secondsOfDay % 60);
  DATE value = 0;
  return ::SystemTimeToVariantTime(&st, &value) ? value : 0;
}

bool PimDates::split(DATE value, int& year, int& month, int& day, int& secondsOfDay) {
  SYSTEMTIME st{};
  if (!::VariantTimeToSystemTime(value, &st)) return false;
  year = st.wYear;
  month = st.wMonth;
  day = st.wDay;
  secondsOfDay = st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
  return true;
}

bool PimDates::toVariant(const SYSTEMTIME& st, DATE& out) {
  SYSTEMTIME copy = st;
  return ::SystemTimeToVariantTime(&copy, &out) != 0;
}

bool PimDates::toSystemTime(DATE value, SYSTEMTIME& out) { return ::VariantTimeToSystemTime(value, &out) != 0; }

}  // namespace platform::pim
