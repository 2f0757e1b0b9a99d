#include "platform/pim/PimService.h"

#include <sys/stat.h>

#include <filesystem>

#include "platform/base/WinError.h"
#include "platform/pim/AtomicFile.h"
#include "platform/pim/CalendarCodec.h"
#include "platform/pim/CalendarItemFile.h"
#include "platform/pim/ParsedItem.h"
#include "platform/pim/VCardReader.h"

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

// The file's own bytes, up to what the book reads; a failure as an HRESULT.
HRESULT readCardFile(const fs::path& source, std::string& bytes) {
  std::error_code ec;
  if (!fs::is_regular_file(source, ec)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  const std::uintmax_t size = fs::file_size(source, ec);
  if (ec) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (size > ContactBook::kMaxFileBytes) return HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE);
  if (!AtomicFile::read(source.string(), bytes)) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  return S_OK;
}

// A name for the copy in contacts/: the source's own with ".vcf", numbered "name (2).vcf" and on
// while a file with other bytes holds it. Empty when every try is taken.
std::string copyName(const fs::path& folder, const fs::path& source, const std::string& bytes, bool& present) {
  std::string stem = source.stem().string();
  if (stem.empty() || stem[0] == '.') stem = "contacts" + stem;
  present = false;
  for (int n = 1; n < 1000; ++n) {
    const std::string name = n == 1 ? stem + ".vcf" : stem + " (" + std::to_string(n) + ").vcf";
    std::error_code ec;
    if (!fs::exists(folder / name, ec)) return name;
    std::string there;
    if (AtomicFile::read((folder / name).string(), there) && there == bytes) {
      present = true;
      return name;
    }
  }
  return {};
}

}  // namespace

HRESULT PimService::logon(const std::string& pimDir) {
  loggedOn_ = false;
  if (pimDir.empty()) return E_FAIL;
  dir_ = pimDir;
  std::error_code ec;
  makePrivateFolders(contactsPath());
  if (!fs::is_directory(contactsPath(), ec)) {
    // Something else stands where a folder should be, or the folder could not be made.
    return HRESULT_FROM_WIN32(fs::exists(contactsPath(), ec) ? ERROR_DIRECTORY : ERROR_PATH_NOT_FOUND);
  }
  if (!contacts_.load(contactsPath())) return E_ACCESSDENIED;
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

HRESULT PimService::addContactsFile(const std::string& source, std::vector<LONG>& oids) {
  oids.clear();
  if (!loggedOn_) return E_FAIL;
  std::string bytes;
  if (HRESULT hr = readCardFile(source, bytes); FAILED(hr)) return hr;
  const fs::path sourcePath(source);
  if (VCardReader::read(bytes, sourcePath.filename().string()).empty()) return HRESULT_FROM_WIN32(ERROR_BAD_FORMAT);
  bool present = false;
  const std::string name = copyName(contactsPath(), sourcePath, bytes, present);
  if (name.empty()) return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
  if (!present && !AtomicFile::write((fs::path(contactsPath()) / name).string(), bytes)) {
    return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  }
  if (HRESULT hr = refreshContacts(); FAILED(hr)) return hr;
  const auto& records = contacts_.contacts();
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i]->fileName == name) oids.push_back(contacts_.oids()[i]);
  return S_OK;
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
