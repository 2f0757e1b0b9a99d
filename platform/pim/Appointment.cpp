#include "platform/pim/Appointment.h"

#include "platform/pim/PimDates.h"
#include "platform/pim/PimService.h"
#include "platform/pim/RecurrencePattern.h"

namespace platform::pim {

Appointment::Appointment(std::shared_ptr<PimService> service, AppointmentData data)
    : Item(std::move(service)), data_(std::make_shared<AppointmentData>(std::move(data))) {}

HRESULT Appointment::Save() {
  if (!service_) return E_FAIL;
  return service_->save(*data_);
}

HRESULT Appointment::Delete() {
  if (!service_ || data_->oid == 0) return E_FAIL;
  HRESULT hr = service_->remove(data_->oid);
  if (SUCCEEDED(hr)) data_->oid = 0;
  return hr;
}

HRESULT Appointment::SetStart(DATE start) {
  int y, m, d, s;
  if (!PimDates::split(start, y, m, d, s)) return E_INVALIDARG;
  data_->start = start;
  return S_OK;
}

HRESULT Appointment::SetDuration(LONG minutes) {
  if (minutes < 0) return E_INVALIDARG;
  data_->durationMinutes = minutes;
  return S_OK;
}

HRESULT Appointment::SetReminderMinutesBeforeStart(LONG minutes) {
  if (minutes < 0) return E_INVALIDARG;
  data_->reminderMinutesBeforeStart = minutes;
  return S_OK;
}

HRESULT Appointment::SetBusyStatus(LONG status) {
  if (status < olFree || status > olOutOfOffice) return E_INVALIDARG;
  data_->busyStatus = status;
  return S_OK;
}

HRESULT Appointment::GetRecurrencePattern(std::shared_ptr<RecurrencePattern>& pattern) {
  pattern = std::make_shared<RecurrencePattern>(data_);
  return S_OK;
}

HRESULT Appointment::ClearRecurrencePattern() {
  data_->recurrenceType = -1;
  data_->recurrenceChanged = true;
  return S_OK;
}

}  // namespace platform::pim
