// The application object of the personal-information service: log-on, folders, items.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/pim/Folder.h"
#include "platform/pim/Item.h"

namespace platform::pim {

class PimService;

class Application {
 public:
  static std::shared_ptr<Application> create();

  // Opens the PIM folder of the device (DeviceConfig pimDir), creating it and its contacts
  // folder when missing. Fails, leaving the object logged off, when that is not possible: with
  // HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND) when the contacts folder cannot be made,
  // ERROR_DIRECTORY when a file stands in its place, E_ACCESSDENIED when it cannot be read.
  HRESULT Logon(HWND owner);
  HRESULT Logoff();
  bool loggedOn() const;

  // olFolderContacts only; the calendar and tasks are reached through their items.
  HRESULT GetDefaultFolder(int folderId, std::shared_ptr<Folder>& folder);
  // A contact, appointment or task; fails when none has that Oid (any more).
  HRESULT GetItemFromOid(LONG oid, std::shared_ptr<Item>& item);
  // A new unsaved appointment (olAppointmentItem) or task (olTaskItem).
  HRESULT CreateItem(int itemType, std::shared_ptr<Item>& item);

  // Puts a copy of a vCard file (a host path; the original is never changed) among the contacts
  // and gives the Oids of its cards (see PimService::addContactsFile).
  HRESULT AddContactsFile(const std::u16string& hostPath, std::vector<LONG>& oids);

  // Items saved and deleted between these two calls are written to their files once, by the
  // outermost endBatch(); until then they exist in memory only. endBatch() fails when a file
  // could not be written: that file is then as it was before the batch.
  HRESULT beginBatch();
  HRESULT endBatch();

  HRESULT SystemTimeToVariantTime(const SYSTEMTIME& st, DATE& value) const;
  HRESULT VariantTimeToSystemTime(DATE value, SYSTEMTIME& st) const;

 private:
  Application();
  std::shared_ptr<PimService> service_;
};

}  // namespace platform::pim
