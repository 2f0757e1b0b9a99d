// The state behind a logged-on application object: the PIM folder and what it holds.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/pim/AppointmentData.h"
#include "platform/pim/CalendarItemFile.h"
#include "platform/pim/ContactBook.h"
#include "platform/pim/TaskData.h"

namespace platform::pim {

enum class OidKind { None, Contact, Appointment, Task };

class PimService {
 public:
  // Creates the folder and contacts/ when missing and reads the contacts. Fails with
  // HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when contacts/ cannot be made, ERROR_DIRECTORY when a
  // file stands in its place, and E_ACCESSDENIED when it cannot be listed.
  HRESULT logon(const std::string& pimDir);
  void logoff();
  bool loggedOn() const { return loggedOn_; }

  // Reads contacts/ again (the user may have dropped new cards there).
  HRESULT refreshContacts();
  // Copies a vCard file (a host path) into contacts/, never changing the original nor replacing a
  // file there: the copy takes the file's name, numbered when that name is taken, unless a file
  // with the same bytes is there already, which then serves. `oids` gets the contacts of that
  // file. Fails with ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_FILE_TOO_LARGE (larger than
  // the book reads), ERROR_BAD_FORMAT (no card in it), ERROR_FILE_EXISTS (no free name) or
  // ERROR_WRITE_FAULT, as HRESULTs.
  HRESULT addContactsFile(const std::string& source, std::vector<LONG>& oids);
  // The contact with that Oid as the folder now holds it, or null.
  std::shared_ptr<const ContactRecord> contact(LONG oid);
  const ContactBook& contacts() const { return contacts_; }

  static OidKind kindOf(LONG oid);

  // The calendar and task files are read again whenever they changed on disk since the last
  // call, so that edits made by another program in between are kept.
  std::optional<AppointmentData> appointment(LONG oid) const;
  std::optional<TaskData> task(LONG oid) const;
  // Adds the item when its Oid is 0 (filling in Oid and UID), else replaces it. Outside a batch
  // the file is written at once.
  HRESULT save(AppointmentData& data);
  HRESULT save(TaskData& data);
  HRESULT remove(LONG oid);

  // Saves and removals between these two calls change the files in memory only; the end of the
  // outermost batch writes each changed file once. A file that cannot be written is left as it
  // was on disk and the batch's changes to it are dropped: endBatch() then fails.
  void beginBatch() { ++batchDepth_; }
  HRESULT endBatch();
  bool inBatch() const { return batchDepth_ > 0; }

  std::string calendarPath() const { return dir_ + "/calendar.ics"; }
  std::string tasksPath() const { return dir_ + "/tasks.ics"; }
  std::string contactsPath() const { return dir_ + "/contacts"; }

 private:
  CalendarItemFile& fileFor(OidKind kind) const;
  // Writes the file unless a batch is open; on failure its unsaved changes are dropped.
  HRESULT written(CalendarItemFile& file);

  bool loggedOn_ = false;
  std::string dir_;
  ContactBook contacts_;
  // Parsed once and kept while the files stay as the service left them.
  mutable std::unique_ptr<CalendarItemFile> calendar_;
  mutable std::unique_ptr<CalendarItemFile> tasks_;
  int batchDepth_ = 0;
};

}  // namespace platform::pim
