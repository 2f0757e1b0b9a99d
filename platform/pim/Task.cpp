#include "platform/pim/Task.h"

#include "platform/pim/PimDates.h"
#include "platform/pim/PimService.h"

namespace platform::pim {

namespace {
bool validDate(DATE when) {
  int y, m, d, s;
  return PimDates::split(when, y, m, d, s);
}
}  // namespace

Task::Task(std::shared_ptr<PimService> service, TaskData data) : Item(std::move(service)), data_(std::move(data)) {}

HRESULT Task::Save() {
  if (!service_) return E_FAIL;
  if (data_.reminderSet && data_.reminderTime == 0) return E_INVALIDARG;
  return service_->save(data_);
}

HRESULT Task::Delete() {
  if (!service_ || data_.oid == 0) return E_FAIL;
  HRESULT hr = service_->remove(data_.oid);
  if (SUCCEEDED(hr)) data_.oid = 0;
  return hr;
}

HRESULT Task::SetReminderTime(DATE when) {
  if (!validDate(when)) return E_INVALIDARG;
  data_.reminderTime = when;
  return S_OK;
}

HRESULT Task::SetDueDate(DATE when) {
  if (when != 0 && !validDate(when)) return E_INVALIDARG;
  data_.dueDate = when;
  return S_OK;
}

}  // namespace platform::pim
