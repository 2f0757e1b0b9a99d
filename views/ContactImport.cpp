#include "views/ContactImport.h"

#include <algorithm>
#include <unordered_set>

#include "outlook/BusyIndicator.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/win/WinUser.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "store/RecordStore.h"
#include "views/ColumnFit.h"
#include "views/ContactMessages.h"
#include "views/FrameLink.h"
#include "views/ItemChooser.h"

namespace pellucard {

namespace {

// The right soft key of menubar 1520, whose menu holds "By Category".
constexpr UINT kMenuButton = 1000;

// The submenu that holds "More...", and that command's position in it.
HMENU byCategoryMenu(HMENU menu, int& morePosition) {
  if (menu == nullptr) return nullptr;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    HMENU sub = GetSubMenu(menu, i);
    if (sub == nullptr) continue;
    for (int j = 0; j < GetMenuItemCount(sub); ++j) {
      if (GetMenuItemID(sub, j) == ID_IMPORT_MORE_CATEGORIES) {
        morePosition = j;
        return sub;
      }
    }
  }
  return nullptr;
}

std::u16string fileNameOf(const std::u16string& path) {
  const std::size_t slash = path.find_last_of(u"/\\");
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

void tellUnavailable(HWND owner, const OutlookConnection& connection) {
  FrameLink::show(owner,
                  ContactMessages::unavailable(connection.lastStartResult(), OutlookConnection::contactsFolder()),
                  MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

ContactImport::ContactImport() : WindowImpl(IDR_IMPORT_BAR, false) {}

ContactImport::~ContactImport() = default;

const platform::MessageMap<ContactImport>& ContactImport::messageMap() {
  using M = ContactImport;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_HOTKEY>(&M::onHotKey)
                              .on(WM_DROPFILES, &M::onDropFiles)
                              .chain(FormDialog::messageMap())
                              .reflectNotifications();
  return map;
}

bool ContactImport::importContacts(HWND owner, const std::function<void()>& imported,
                                   const std::vector<LONG>& checked) {
  OutlookConnection& connection = getOutlookConnection();
  if (!connection.ensureStarted()) {
    tellUnavailable(owner, connection);
    return false;
  }
  if (!RecordStore::acceptsWrites()) {
    FrameLink::show(owner, platform::loadString(IDS_IMPORT_REFUSED), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  ContactImport screen;
  screen.setInitialChecks(checked);
  if (screen.run(owner) != IDOK) return false;
  if (imported) imported();
  const ContactImporter::Report& report = screen.report();
  const std::u16string summary = ContactMessages::summary(report);
  if (!summary.empty()) {
    const bool clean = report.skipped() == 0 && report.allSaved;
    FrameLink::show(owner, summary, MB_OK | (clean ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
  }
  return true;
}

std::vector<LONG> ContactImport::addDroppedFiles(HDROP drop, HWND owner) {
  std::vector<std::u16string> files;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    std::u16string path(length + 1, u'\0');
    path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
    if (!path.empty()) files.push_back(std::move(path));
  }
  DragFinish(drop);
  if (files.empty()) return {};
  OutlookConnection& connection = getOutlookConnection();
  if (!connection.ensureStarted()) {
    tellUnavailable(owner, connection);
    return {};
  }
  std::vector<LONG> added;
  for (const std::u16string& file : files) {
    std::vector<LONG> oids;
    const HRESULT result = connection.addContactsFile(file, oids);
    if (FAILED(result)) {
      FrameLink::show(owner, ContactMessages::dropFailed(fileNameOf(file), result), MB_OK | MB_ICONEXCLAMATION);
      continue;
    }
    added.insert(added.end(), oids.begin(), oids.end());
  }
  return added;
}

void ContactImport::installContactChooser() {
  getOutlookConnection().setContactChooser([](const std::vector<std::u16string>& names, const std::u16string& title) {
    const std::optional<int> chosen = ItemChooser::chooseOne(GetActiveWindow(), title, names);
    return chosen ? *chosen : -1;
  });
}

INT_PTR ContactImport::run(HWND parent) {
  readBook();
  const INT_PTR result = FormDialog::run(parent, platform::loadString(IDS_APP_TITLE));
  application_.reset();
  return result;
}

HWND ContactImport::open(HWND parent) {
  readBook();
  return FormDialog::open(parent, platform::loadString(IDS_APP_TITLE));
}

void ContactImport::readBook() {
  OutlookConnection& connection = getOutlookConnection();
  application_ = connection.application();
  std::vector<OutlookConnection::ContactRow> rows;
  connection.contactRows(rows);
  // A contact that cannot be read cannot be imported either.
  rows_.clear();
  rows_.reserve(rows.size());
  for (OutlookConnection::ContactRow& row : rows)
    if (row.oid != 0) rows_.push_back(std::move(row));
  connection.categories(olFolderContacts, categories_);
}

// ---------------------------------------------------------------------------------------------
// Content

void ContactImport::createContent(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  if (list_.create(dialog, client, u"Contacts", kListId) == nullptr) return;
  // The rows' height comes from the font: the dialog's, before the first row is measured.
  SendMessageW(list_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(plainFont()), FALSE);
  fill(initialChecks_);
  SetFocus(list_.hwnd());
}

void ContactImport::fill(const std::vector<LONG>& checked) {
  const HWND list = list_.hwnd();
  if (list == nullptr) return;
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  list_.clearSearch();
  ListView_DeleteAllItems(list);
  list_.setCheckBoxes(!bookEmpty());
  int first = -1;
  if (bookEmpty()) {
    list_.addRow(platform::loadString(IDS_NO_CONTACTS_FOUND), 0);
    list_.addRow(ContactMessages::format(IDS_PUT_VCF_FILE_IN,
                                         {ContactMessages::shownFolder(OutlookConnection::contactsFolder())}),
                 0);
  } else {
    const std::unordered_set<LONG> toCheck(checked.begin(), checked.end());
    for (const OutlookConnection::ContactRow& row : rows_) {
      const bool check = toCheck.count(row.oid) != 0;
      const int at = list_.addRow(row.fileAs, row.oid, check);
      if (!checked.empty() && row.oid == checked.front()) first = at;
    }
  }
  ColumnFit::fit(list);
  list_.select(first >= 0 ? first : 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  // The selected row is brought into view once the list lays out its scroll bar again.
  if (const int selected = list_.selectedIndex(); selected >= 0) ListView_EnsureVisible(list, selected, FALSE);
}

void ContactImport::onMenuBarCreated() { insertCategoryCommands(); }

void ContactImport::insertCategoryCommands() {
  int more = 0;
  HMENU menu =
      byCategoryMenu(reinterpret_cast<HMENU>(SendMessageW(menuBar(), SHCMBM_GETSUBMENU, 0, kMenuButton)), more);
  if (menu == nullptr) return;
  for (UINT k = 0; k < kMostCategoryCommands; ++k) {
    if (DeleteMenu(menu, kFirstCategoryCommand + k, MF_BYCOMMAND) && more > 0) --more;
  }
  const std::size_t shown = std::min(categories_.size(), kMostCategoryCommands);
  for (std::size_t k = 0; k < shown; ++k) {
    InsertMenuW(menu, static_cast<UINT>(more) + static_cast<UINT>(k), MF_BYPOSITION | MF_STRING,
                kFirstCategoryCommand + k, categories_[k].c_str());
  }
}

void ContactImport::onLayoutChanged() {
  if (list_.hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  SetWindowPos(list_.hwnd(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  ColumnFit::fit(list_.hwnd());
}

// ---------------------------------------------------------------------------------------------
// Commands

bool ContactImport::onFormCommand(WORD id, WORD, HWND) {
  if (id == ID_IMPORT_SELECT_ALL || id == ID_IMPORT_DESELECT_ALL) {
    checkAll(id == ID_IMPORT_SELECT_ALL);
  } else if (id == ID_IMPORT_MORE_CATEGORIES) {
    chooseMoreCategories();
  } else if (id >= kFirstCategoryCommand && id < kFirstCategoryCommand + kMostCategoryCommands) {
    const std::size_t k = id - kFirstCategoryCommand;
    if (k >= categories_.size()) return true;
    checkCategories({categories_[k]});
  } else {
    return false;
  }
  showRow(0);
  return true;
}

void ContactImport::checkAll(bool checked) {
  if (bookEmpty() || list_.hwnd() == nullptr) return;
  // Every contact, not only those a search shows.
  list_.clearSearch();
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  for (int row = 0; row < list_.count(); ++row) list_.setChecked(row, checked);
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
}

void ContactImport::checkCategories(const std::vector<std::u16string>& names) {
  if (bookEmpty() || list_.hwnd() == nullptr || names.empty()) return;
  list_.clearSearch();
  const OutlookConnection& connection = getOutlookConnection();
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  for (int row = 0; row < list_.count(); ++row) {
    if (list_.isChecked(row)) continue;
    if (connection.contactInCategories(static_cast<LONG>(list_.dataAt(row)), names)) list_.setChecked(row, true);
  }
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
}

void ContactImport::chooseMoreCategories() {
  const std::optional<std::vector<int>> chosen =
      ItemChooser::chooseMany(hwnd(), platform::loadString(IDS_APP_TITLE), categories_);
  if (!chosen) return;
  std::vector<std::u16string> names;
  for (int position : *chosen) names.push_back(categories_[static_cast<std::size_t>(position)]);
  checkCategories(names);
}

void ContactImport::showRow(int row) {
  if (list_.hwnd() == nullptr) return;
  list_.select(row);
  SetFocus(list_.hwnd());
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

std::vector<LONG> ContactImport::checkedOids() {
  std::vector<LONG> oids;
  if (bookEmpty()) return oids;
  list_.clearSearch();
  for (int row = 0; row < list_.count(); ++row)
    if (list_.isChecked(row)) oids.push_back(static_cast<LONG>(list_.dataAt(row)));
  return oids;
}

void ContactImport::onDone() {
  const std::vector<LONG> oids = checkedOids();
  if (!oids.empty()) {
    BusyIndicator busy;
    report_ = ContactImporter(getOutlookConnection()).run(oids, [&busy] { busy.keepPainting(); });
  }
  end(IDOK);
}

LRESULT ContactImport::onHotKey(int id, UINT modifiers, UINT vk) {
  if (vk != VK_TBACK) {
    passOn();
    return 0;
  }
  if (list_.backKeyCancels(id, modifiers, vk)) end(IDCANCEL);
  return TRUE;
}

LRESULT ContactImport::onDropFiles(WPARAM drop, LPARAM) {
  const std::vector<LONG> added = addDroppedFiles(reinterpret_cast<HDROP>(drop), hwnd());
  if (added.empty()) return 0;
  // The new contacts join the list checked, beside those the user checked already.
  std::vector<LONG> checked = added;
  for (LONG oid : checkedOids())
    if (std::find(added.begin(), added.end(), oid) == added.end()) checked.push_back(oid);
  readBook();
  fill(checked);
  insertCategoryCommands();
  SetFocus(list_.hwnd());
  return 0;
}

}  // namespace pellucard
