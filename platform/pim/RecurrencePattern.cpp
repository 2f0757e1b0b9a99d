#include "platform/pim/RecurrencePattern.h"

#include "platform/pim/PimDates.h"

namespace platform::pim {

HRESULT RecurrencePattern::SetRecurrenceType(LONG type) {
  if (type != olRecursYearly) return E_NOTIMPL;
  data_->recurrenceType = type;
  data_->recurrenceChanged = true;
  // Until told otherwise the appointment repeats on its own start date.
  int y, m, d, s;
  if (PimDates::split(data_->start, y, m, d, s)) {
    if (data_->monthOfYear == 0) data_->monthOfYear = m;
    if (data_->dayOfMonth == 0) data_->dayOfMonth = d;
  }
  return S_OK;
}

HRESULT RecurrencePattern::SetMonthOfYear(LONG month) {
  if (month < 1 || month > 12) return E_INVALIDARG;
  data_->monthOfYear = month;
  data_->recurrenceChanged = true;
  return S_OK;
}

HRESULT RecurrencePattern::SetDayOfMonth(LONG day) {
  if (day < 1 || day > 31) return E_INVALIDARG;
  data_->dayOfMonth = day;
  data_->recurrenceChanged = true;
  return S_OK;
}

HRESULT RecurrencePattern::SetNoEndDate(bool noEnd) {
  if (!noEnd) return E_NOTIMPL;
  data_->noEndDate = true;
  data_->recurrenceChanged = true;
  return S_OK;
}

}  // namespace platform::pim
