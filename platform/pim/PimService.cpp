#include "platform/pim/PimService.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/pim/CalendarCodec.h"
#include "platform/pim/CalendarItemFile.h"
#include "platform/pim/ParsedItem.h"

namespace platform::pim {

namespace fs = std::filesystem;

namespace {

// The folders hold the user's contacts, calendar and tasks: the ones made here are the user's
// alone. A folder that is there keeps its mode.
void makePrivateFolders(const fs::path& folder) {
  std::error_code ec;
  if (folder.empty() || fs::is_directory(folder, ec)) return;
  if (folder.has_parent_path() && folder.parent_path() != folder) makePrivateFolders(folder.parent_path());
  ::mkdir(folder.c_str(), 0700);
}

}  // namespace

HRESULT PimService::logon(const std::string& pimDir) {
  loggedOn_ = false;
  if (pimDir.empty()) return E_FAIL;
  dir_ = pimDir;
  std::error_code ec;
  makePrivateFolders(contactsPath());
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
  batchDepth_ = 0;
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
  ParsedItem item = file.read(oid);
  if (!item) return std::nullopt;
  AppointmentData data = CalendarCodec::readAppointment(item.get());
  data.oid = oid;
  return data;
}

std::optional<TaskData> PimService::task(LONG oid) const {
  if (!loggedOn_ || kindOf(oid) != OidKind::Task) return std::nullopt;
  CalendarItemFile& file = *tasks_;
  if (!file.refresh()) return std::nullopt;
  ParsedItem item = file.read(oid);
  if (!item) return std::nullopt;
  TaskData data = CalendarCodec::readTask(item.get());
  data.oid = oid;
  return data;
}

HRESULT PimService::written(CalendarItemFile& file) {
  if (batchDepth_ > 0) return S_OK;
  if (file.save()) return S_OK;
  file.invalidate();
  return E_FAIL;
}

namespace {

template <typename Data, typename Write>
bool change(CalendarItemFile& file, Data& data, Write write) {
  if (!file.refresh()) return false;
  Data copy = data;
  icalcomponent* c = nullptr;
  if (copy.oid != 0 && file.contains(copy.oid)) {
    // An item that libical cannot read whole is not rewritten.
    c = file.edit(copy.oid);
    if (!c) return false;
    if (copy.uid.empty()) copy.uid = CalendarCodec::uid(c);
    if (copy.uid.empty()) copy.uid = CalendarItemFile::newUid();
  } else {
    // A new item, or one deleted meanwhile by someone else: it is stored as a new one.
    c = file.add(copy.oid, copy.uid);
  }
  write(c, copy);
  data = copy;
  return true;
}

}  // namespace

HRESULT PimService::save(AppointmentData& data) {
  if (!loggedOn_) return E_FAIL;
  AppointmentData before = data;
  if (!change(*calendar_, data,
              [](icalcomponent* c, const AppointmentData& d) { CalendarCodec::writeAppointment(c, d); }))
    return E_FAIL;
  HRESULT hr = written(*calendar_);
  if (FAILED(hr)) data = before;
  return hr;
}

HRESULT PimService::save(TaskData& data) {
  if (!loggedOn_) return E_FAIL;
  TaskData before = data;
  if (!change(*tasks_, data, [](icalcomponent* c, const TaskData& d) { CalendarCodec::writeTask(c, d); }))
    return E_FAIL;
  HRESULT hr = written(*tasks_);
  if (FAILED(hr)) data = before;
  return hr;
}

HRESULT PimService::remove(LONG oid) {
  if (!loggedOn_) return E_FAIL;
  OidKind kind = kindOf(oid);
  if (kind != OidKind::Appointment && kind != OidKind::Task) return E_INVALIDARG;
  CalendarItemFile& file = fileFor(kind);
  if (!file.refresh()) return E_FAIL;
  if (!file.remove(oid)) return E_FAIL;
  return written(file);
}

HRESULT PimService::endBatch() {
  if (batchDepth_ == 0) return E_FAIL;
  if (--batchDepth_ > 0) return S_OK;
  if (!loggedOn_) return E_FAIL;
  HRESULT hr = S_OK;
  for (CalendarItemFile* file : {calendar_.get(), tasks_.get()}) {
    if (!file->dirty()) continue;
    if (!file->save()) {
      file->invalidate();
      hr = E_FAIL;
    }
  }
  return hr;
}

}  // namespace platform::pim
