#include "platform/pim/Application.h"

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/pim/Appointment.h"
#include "platform/pim/Contact.h"
#include "platform/pim/PimDates.h"
#include "platform/pim/PimService.h"
#include "platform/pim/Task.h"

namespace platform::pim {

std::shared_ptr<Application> Application::create() { return std::shared_ptr<Application>(new Application()); }

Application::Application() = default;

HRESULT Application::Logon(HWND) {
  // Items obtained before keep the service they came from; a new log-on starts afresh.
  auto service = std::make_shared<PimService>();
  HRESULT hr = service->logon(platform::DeviceConfig::current().pimDir);
  if (FAILED(hr)) {
    service_.reset();
    return hr;
  }
  service_ = std::move(service);
  return S_OK;
}

HRESULT Application::Logoff() {
  if (!service_) return E_FAIL;
  service_->logoff();
  service_.reset();
  return S_OK;
}

bool Application::loggedOn() const { return service_ && service_->loggedOn(); }

HRESULT Application::AddContactsFile(const std::u16string& hostPath, std::vector<LONG>& oids) {
  oids.clear();
  if (!loggedOn()) return E_FAIL;
  return service_->addContactsFile(platform::toUtf8(hostPath), oids);
}

HRESULT Application::GetDefaultFolder(int folderId, std::shared_ptr<Folder>& folder) {
  folder.reset();
  if (!loggedOn()) return E_FAIL;
  if (folderId != olFolderContacts) return E_INVALIDARG;
  folder = std::make_shared<Folder>(service_, folderId);
  return S_OK;
}

HRESULT Application::GetItemFromOid(LONG oid, std::shared_ptr<Item>& item) {
  item.reset();
  if (!loggedOn()) return E_FAIL;
  switch (PimService::kindOf(oid)) {
    case OidKind::Contact: {
      std::shared_ptr<const ContactRecord> record = service_->contact(oid);
      if (!record) return E_FAIL;
      item = std::make_shared<Contact>(service_, std::move(record), oid);
      return S_OK;
    }
    case OidKind::Appointment: {
      auto data = service_->appointment(oid);
      if (!data) return E_FAIL;
      item = std::make_shared<Appointment>(service_, std::move(*data));
      return S_OK;
    }
    case OidKind::Task: {
      auto data = service_->task(oid);
      if (!data) return E_FAIL;
      item = std::make_shared<Task>(service_, std::move(*data));
      return S_OK;
    }
    case OidKind::None:
      break;
  }
  return E_INVALIDARG;
}

HRESULT Application::CreateItem(int itemType, std::shared_ptr<Item>& item) {
  item.reset();
  if (!loggedOn()) return E_FAIL;
  if (itemType == olAppointmentItem) {
    item = std::make_shared<Appointment>(service_, AppointmentData{});
    return S_OK;
  }
  if (itemType == olTaskItem) {
    item = std::make_shared<Task>(service_, TaskData{});
    return S_OK;
  }
  return E_INVALIDARG;
}

HRESULT Application::beginBatch() {
  if (!loggedOn()) return E_FAIL;
  service_->beginBatch();
  return S_OK;
}

HRESULT Application::endBatch() { return service_ ? service_->endBatch() : E_FAIL; }

HRESULT Application::SystemTimeToVariantTime(const SYSTEMTIME& st, DATE& value) const {
  return PimDates::toVariant(st, value) ? S_OK : E_INVALIDARG;
}

HRESULT Application::VariantTimeToSystemTime(DATE value, SYSTEMTIME& st) const {
  return PimDates::toSystemTime(value, st) ? S_OK : E_INVALIDARG;
}

}  // namespace platform::pim
