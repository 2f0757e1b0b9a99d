// How an appointment repeats. The service stores yearly patterns without an end.
#pragma once

#include <memory>

#include "platform/pim/AppointmentData.h"
#include "platform/pim/PimTypes.h"

namespace platform::pim {

class RecurrencePattern {
 public:
  explicit RecurrencePattern(std::shared_ptr<AppointmentData> data) : data_(std::move(data)) {}

  // -1 while the appointment does not repeat.
  LONG RecurrenceType() const { return data_->recurrenceType; }
  // Only olRecursYearly is supported; other types fail with E_NOTIMPL.
  HRESULT SetRecurrenceType(LONG type);
  LONG MonthOfYear() const { return data_->monthOfYear; }
  HRESULT SetMonthOfYear(LONG month);
  LONG DayOfMonth() const { return data_->dayOfMonth; }
  HRESULT SetDayOfMonth(LONG day);
  bool NoEndDate() const { return data_->noEndDate; }
  // Only true is supported: patterns with an end date are not offered.
  HRESULT SetNoEndDate(bool noEnd);

 private:
  std::shared_ptr<AppointmentData> data_;
};

}  // namespace platform::pim
