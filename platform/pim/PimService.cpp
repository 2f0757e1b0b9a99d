#include "platform/pim/PimService.h"

#include <filesystem>

#include "platform/pim/CalendarCodec.h"
#include "platform/pim/CalendarItemFile.h"

namespace platform::pim {

namespace fs = std::filesystem;

HRESULT PimService::logon(const std::string& pimDir) {
  loggedOn_ = false;
  if (pimDir.empty()) return E_FAIL;
  dir_ = pimDir;
  std::error_code ec;
  fs::create_directories(contactsPath(), ec);
  if (!fs::is_directory(contactsPath(), ec)) return E_FAIL;
  if (!contacts_.load(contactsPath())) return E_FAIL;
  calendar_ =
      std::make_unique<CalendarItemFile>(calendarPath(), ICAL_VEVENT_COMPONENT, CalendarItemFile::kAppointmentTag);
  tasks_ = std::make_unique<CalendarItemFile>(tasksPath(), ICAL_VTODO_COMPONENT, CalendarItemFile::kTaskTag);
  loggedOn_ = true;
  return S_OK;
}

void PimService::logoff() {
  loggedOn_ = false;
  contacts_ = ContactBook();
  calendar_.reset();
  tasks_.reset();
}

CalendarItemFile& PimService::fileFor(OidKind kind) const { return kind == OidKind::Task ? *tasks_ : *calendar_; }

HRESULT PimService::refreshContacts() {
  if (!loggedOn_) return E_FAIL;
  return contacts_.load(contactsPath()) ? S_OK : E_FAIL;
}

std::shared_ptr<const ContactRecord> PimService::contact(LONG oid) {
  if (!loggedOn_ || kindOf(oid) != OidKind::Contact) return nullptr;
  if (!contacts_.loadIfFolderChanged(contactsPath())) return nullptr;
  int index = contacts_.indexOfOid(oid);
  if (index < 0) {
    // A card may have been added by writing into an existing file.
    if (FAILED(refreshContacts())) return nullptr;
    index = contacts_.indexOfOid(oid);
  }
  return index < 0 ? nullptr : contacts_.contacts()[static_cast<std::size_t>(index)];
}

OidKind PimService::kindOf(LONG oid) {
  if (oid == 0) return OidKind::None;
  auto tag = static_cast<std::uint32_t>(oid) & CalendarItemFile::kTagMask;
  if (tag == CalendarItemFile::kAppointmentTag) return OidKind::Appointment;
  if (tag == CalendarItemFile::kTaskTag) return OidKind::Task;
  return OidKind::Contact;
}

std::optional<AppointmentData> PimService::appointment(LONG oid) const {
  if (!loggedOn_ || kindOf(oid) != OidKind::Appointment) return std::nullopt;
  CalendarItemFile& file = *calendar_;
  if (!file.refresh()) return std::nullopt;
  icalcomponent* c = file.find(oid);
  if (!c) return std::nullopt;
  AppointmentData data = CalendarCodec::readAppointment(c);
  data.oid = oid;
  return data;
}

std::optional<TaskData> PimService::task(LONG oid) const {
  if (!loggedOn_ || kindOf(oid) != OidKind::Task) return std::nullopt;
  CalendarItemFile& file = *tasks_;
  if (!file.refresh()) return std::nullopt;
  icalcomponent* c = file.find(oid);
  if (!c) return std::nullopt;
  TaskData data = CalendarCodec::readTask(c);
  data.oid = oid;
  return data;
}

namespace {

template <typename Data, typename Write>
HRESULT saveItem(CalendarItemFile& file, Data& data, Write write) {
  if (!file.refresh()) return E_FAIL;
  Data copy = data;
  icalcomponent* c = copy.oid != 0 ? file.find(copy.oid) : nullptr;
  if (!c) {
    // A new item, or one deleted meanwhile by someone else: it is stored as a new one.
    c = file.add(copy.oid, copy.uid);
  } else if (copy.uid.empty()) {
    copy.uid = CalendarCodec::uid(c);
    if (copy.uid.empty()) copy.uid = CalendarItemFile::newUid();
  }
  write(c, copy);
  if (!file.save()) {
    file.invalidate();
    return E_FAIL;
  }
  data = copy;
  return S_OK;
}

}  // namespace

HRESULT PimService::save(AppointmentData& data) {
  if (!loggedOn_) return E_FAIL;
  return saveItem(*calendar_, data,
                  [](icalcomponent* c, const AppointmentData& d) { CalendarCodec::writeAppointment(c, d); });
}

HRESULT PimService::save(TaskData& data) {
  if (!loggedOn_) return E_FAIL;
  return saveItem(*tasks_, data, [](icalcomponent* c, const TaskData& d) { CalendarCodec::writeTask(c, d); });
}

HRESULT PimService::remove(LONG oid) {
  if (!loggedOn_) return E_FAIL;
  OidKind kind = kindOf(oid);
  if (kind != OidKind::Appointment && kind != OidKind::Task) return E_INVALIDARG;
  CalendarItemFile& file = fileFor(kind);
  if (!file.refresh()) return E_FAIL;
  if (!file.remove(oid)) return E_FAIL;
  if (!file.save()) {
    file.invalidate();
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace platform::pim
