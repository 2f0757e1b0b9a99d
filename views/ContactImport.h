// The Import Contacts screen: every contact of the address book in a list with check boxes, in
// the book's order. Select all and Deselect all check or clear them all; a category of the menu
// (the book's first nine, before "More...") checks the contacts whose categories contain its
// name, and "More..." any of several chosen in a list of all of them. Done makes a friend of
// every checked contact that no friend links to yet, with its birthday and anniversary, under
// the wait cursor; Cancel and Back import nothing. Typing narrows the list as in the choosers.
//
// An empty book says so in the list, with the folder a .vcf file goes into. A .vcf file dropped
// on the screen joins the list, its contacts checked.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/FormDialog.h"
#include "outlook/ContactImporter.h"
#include "outlook/OutlookConnection.h"
#include "platform/sys/ShellApi.h"
#include "views/ChooserList.h"

namespace pellucard {

class ContactImport : public platform::WindowImpl<ContactImport, FormDialog> {
 public:
  static constexpr UINT kListId = 100;
  static constexpr UINT kFirstCategoryCommand = 1054;
  static constexpr std::size_t kMostCategoryCommands = 9;

  ContactImport();
  ~ContactImport() override;

  static const platform::MessageMap<ContactImport>& messageMap();

  // The Import Contacts command over `owner`. When the contacts cannot be read, or the database
  // takes no changes, a message says so and nothing changes. When Done imported, `imported` is
  // called (the lists reload) and one message tells how it went. `checked`: contacts checked
  // at the start (a dropped file's). True when the screen ended with Done.
  static bool importContacts(HWND owner, const std::function<void()>& imported, const std::vector<LONG>& checked = {});
  // Copies the dropped .vcf files into the contacts and lets go of the drop; a file that cannot be
  // added is named in a message over `owner`. The Oids of the contacts of the files added.
  static std::vector<LONG> addDroppedFiles(HDROP drop, HWND owner);
  // Makes "Select Contact" the connection's contact chooser: the single chooser over every
  // contact's file-as text, over the active window.
  static void installContactChooser();

  // Before the run: the contacts checked at the start; the first of them is selected.
  void setInitialChecks(std::vector<LONG> oids) { initialChecks_ = std::move(oids); }
  // Runs modally over `parent`; IDOK or IDCANCEL. The contacts are read as it opens.
  INT_PTR run(HWND parent);
  // Opens without a loop of its own (see FormDialog::open).
  HWND open(HWND parent);

  const ChooserList& list() const { return list_; }
  const std::vector<std::u16string>& categories() const { return categories_; }
  // How Done's import went; empty before.
  const ContactImporter::Report& report() const { return report_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  bool onFormCommand(WORD id, WORD code, HWND from) override;
  void onLayoutChanged() override;
  void onMenuBarCreated() override;
  bool wantsBackKey() const override { return true; }

 private:
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  LRESULT onDropFiles(WPARAM drop, LPARAM);

  void readBook();
  void fill(const std::vector<LONG>& checked);
  void insertCategoryCommands();
  void checkAll(bool checked);
  // Checks the unchecked contacts whose categories contain any of the names.
  void checkCategories(const std::vector<std::u16string>& names);
  void chooseMoreCategories();
  void showRow(int row);
  std::vector<LONG> checkedOids();
  bool bookEmpty() const { return rows_.empty(); }

  // Kept while the screen works, as the connection may start again meanwhile.
  std::shared_ptr<platform::pim::Application> application_;
  std::vector<OutlookConnection::ContactRow> rows_;
  std::vector<std::u16string> categories_;
  std::vector<LONG> initialChecks_;
  ChooserList list_;
  ContactImporter::Report report_;
};

}  // namespace pellucard
