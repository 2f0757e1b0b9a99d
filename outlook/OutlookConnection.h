// The program's one connection to the device's contacts, calendar and tasks.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "outlook/ExportJournal.h"
#include "platform/pim/PimStore.h"

namespace pellucard {

class OutlookExportService;

class OutlookConnection {
 public:
  struct ContactRow {
    std::u16string fileAs;
    LONG oid = 0;
  };
  // Shows the single-select chooser over the names with the title; the chosen position or -1.
  using ContactChooser = std::function<int(const std::vector<std::u16string>& names, const std::u16string& title)>;

  // Registers the export into Calendar and Tasks with the store for as long as it lives.
  OutlookConnection();
  ~OutlookConnection();
  OutlookConnection(const OutlookConnection&) = delete;
  OutlookConnection& operator=(const OutlookConnection&) = delete;

  // (Re)creates the application object and logs on. On failure the object is released and
  // the failure code returned: the program then runs without contacts, calendar and tasks.
  HRESULT start();
  void stop();
  bool isLoggedOn() const { return loggedOn_; }
  // The commands that read contacts call this first: a connection whose last start failed starts
  // again, as the user may have mended the folder since. False when it still cannot start.
  bool ensureStarted();
  // What the last start returned (S_OK before any).
  HRESULT lastStartResult() const { return startResult_; }
  // Where the contacts are read from: the host folder "contacts" of the PIM folder.
  static std::u16string contactsFolder();
  // Copies a vCard file into the contacts (see platform::pim::Application::AddContactsFile);
  // `oids` gets its contacts.
  HRESULT addContactsFile(const std::u16string& hostPath, std::vector<LONG>& oids);
  // Null when start failed. Callers keep their own reference while they use it.
  std::shared_ptr<platform::pim::Application> application() const { return app_; }

  // The category names of a default folder in stored order (empty names kept).
  HRESULT categories(int folderId, std::vector<std::u16string>& names) const;
  // The contact, appointment or task with that Oid, or null.
  std::shared_ptr<platform::pim::Item> itemFromOid(LONG oid) const;
  std::shared_ptr<platform::pim::Contact> contactFromOid(LONG oid) const;
  // A new unsaved appointment (olAppointmentItem) or task (olTaskItem), or null.
  std::shared_ptr<platform::pim::Item> newItem(int itemType) const;

  // Every contact of the contacts folder in folder order: its file-as text and Oid. A contact
  // that cannot be read gives an empty row, so that positions stay aligned.
  bool contactRows(std::vector<ContactRow>& rows) const;
  // Show Contact Info: shows the contact's own card when the contact exists; false when it does
  // not (or there is no connection), so that the caller can offer to link another contact.
  bool showContact(LONG oid) const;
  // Whether the contact's category text contains any of the names, as a substring and ignoring
  // case, so that "Work" also finds "Homework"; false when the contact cannot be fetched.
  bool contactInCategories(LONG oid, const std::vector<std::u16string>& names) const;
  // Select Contact: the chooser titled "Select Contact" over the contacts' file-as texts; the
  // chosen contact fetched again by its Oid, or null (no connection, no chooser, cancelled).
  std::shared_ptr<platform::pim::Contact> selectContact() const;
  void setContactChooser(ContactChooser chooser) { chooser_ = std::move(chooser); }

  // The state of the export batch open on this connection (see ExportBatch).
  ExportJournal& journal() { return journal_; }

  // Cuts a folder's category property into names: every comma ends a name, each name is
  // trimmed of spaces, and empty names between two commas are kept.
  static std::vector<std::u16string> splitCategoryList(const std::u16string& list);

 private:
  std::shared_ptr<platform::pim::Application> app_;
  bool loggedOn_ = false;
  HRESULT startResult_ = S_OK;
  ContactChooser chooser_;
  std::unique_ptr<OutlookExportService> exportService_;
  ExportJournal journal_;
};

// Application-wide instance: created empty on first access, deleted by the shutdown sequence
// (which logs off).
OutlookConnection& getOutlookConnection();
void deleteOutlookConnection();

}  // namespace pellucard
