#include "outlook/OutlookConnection.h"

#include "outlook/OutlookExportService.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/TextCase.h"
#include "platform/base/Utf.h"
#include "resources/StringIds.h"
#include "store/ExportService.h"

namespace pellucard {

namespace pim = platform::pim;

namespace {
std::unique_ptr<OutlookConnection>& slot() {
  static std::unique_ptr<OutlookConnection> connection;
  return connection;
}
}  // namespace

OutlookConnection& getOutlookConnection() {
  if (!slot()) slot() = std::make_unique<OutlookConnection>();
  return *slot();
}

void deleteOutlookConnection() { slot().reset(); }

OutlookConnection::OutlookConnection() : exportService_(std::make_unique<OutlookExportService>(*this)) {
  setExportService(exportService_.get());
}

OutlookConnection::~OutlookConnection() {
  if (exportService() == exportService_.get()) setExportService(nullptr);
  stop();
}

HRESULT OutlookConnection::start() {
  stop();
  app_ = pim::Application::create();
  HRESULT hr = app_ ? app_->Logon(nullptr) : E_FAIL;
  startResult_ = hr;
  if (FAILED(hr)) {
    if (app_) app_->Logoff();
    app_.reset();
    return hr;
  }
  loggedOn_ = true;
  return S_OK;
}

bool OutlookConnection::ensureStarted() { return app_ != nullptr || SUCCEEDED(start()); }

std::u16string OutlookConnection::contactsFolder() {
  return platform::toUtf16(platform::DeviceConfig::current().pimDir + "/contacts");
}

HRESULT OutlookConnection::addContactsFile(const std::u16string& hostPath, std::vector<LONG>& oids) {
  oids.clear();
  if (!app_) return E_FAIL;
  return app_->AddContactsFile(hostPath, oids);
}

void OutlookConnection::stop() {
  if (app_) app_->Logoff();
  app_.reset();
  loggedOn_ = false;
}

std::vector<std::u16string> OutlookConnection::splitCategoryList(const std::u16string& list) {
  std::vector<std::u16string> names;
  if (list.empty()) return names;
  std::u16string terminated = list + u",";
  std::size_t start = 0;
  for (std::size_t comma = terminated.find(u','); comma != std::u16string::npos; comma = terminated.find(u',', start)) {
    std::u16string piece = terminated.substr(start, comma - start);
    std::size_t b = piece.find_first_not_of(u' ');
    std::size_t e = piece.find_last_not_of(u' ');
    names.push_back(b == std::u16string::npos ? std::u16string() : piece.substr(b, e - b + 1));
    start = comma + 1;
  }
  return names;
}

HRESULT OutlookConnection::categories(int folderId, std::vector<std::u16string>& names) const {
  names.clear();
  if (!app_) return E_FAIL;
  std::shared_ptr<pim::Application> app = app_;
  std::shared_ptr<pim::Folder> folder;
  HRESULT hr = app->GetDefaultFolder(folderId, folder);
  if (FAILED(hr)) return hr;
  std::u16string list;
  hr = folder->GetProps(PIMPR_FOLDER_CATEGORIES, list);
  if (FAILED(hr)) return hr;
  names = splitCategoryList(list);
  return S_OK;
}

std::shared_ptr<pim::Item> OutlookConnection::itemFromOid(LONG oid) const {
  if (!app_ || oid == 0) return nullptr;
  std::shared_ptr<pim::Item> item;
  if (FAILED(app_->GetItemFromOid(oid, item))) return nullptr;
  return item;
}

std::shared_ptr<pim::Contact> OutlookConnection::contactFromOid(LONG oid) const {
  return std::dynamic_pointer_cast<pim::Contact>(itemFromOid(oid));
}

std::shared_ptr<pim::Item> OutlookConnection::newItem(int itemType) const {
  if (!app_) return nullptr;
  std::shared_ptr<pim::Item> item;
  if (FAILED(app_->CreateItem(itemType, item))) return nullptr;
  return item;
}

bool OutlookConnection::contactRows(std::vector<ContactRow>& rows) const {
  rows.clear();
  if (!app_) return false;
  std::shared_ptr<pim::Application> app = app_;
  std::shared_ptr<pim::Folder> folder;
  std::shared_ptr<pim::ItemCollection> items;
  if (FAILED(app->GetDefaultFolder(olFolderContacts, folder)) || FAILED(folder->Items(items))) return false;
  for (int i = 1; i <= items->Count(); ++i) {
    std::shared_ptr<pim::Item> item;
    auto contact = SUCCEEDED(items->Item(i, item)) ? std::dynamic_pointer_cast<pim::Contact>(item) : nullptr;
    rows.push_back(contact ? ContactRow{contact->FileAs(), contact->Oid()} : ContactRow{});
  }
  return true;
}

bool OutlookConnection::showContact(LONG oid) const {
  std::shared_ptr<pim::Contact> contact = contactFromOid(oid);
  if (!contact) return false;
  contact->Display();
  return true;
}

bool OutlookConnection::contactInCategories(LONG oid, const std::vector<std::u16string>& names) const {
  std::shared_ptr<pim::Contact> contact = contactFromOid(oid);
  if (!contact) return false;
  const std::u16string categories = platform::upperCase(contact->Categories());
  for (const std::u16string& name : names)
    if (categories.find(platform::upperCase(name)) != std::u16string::npos) return true;
  return false;
}

std::shared_ptr<pim::Contact> OutlookConnection::selectContact() const {
  if (!app_ || !chooser_) return nullptr;
  std::vector<ContactRow> rows;
  if (!contactRows(rows)) return nullptr;
  std::vector<std::u16string> names;
  names.reserve(rows.size());
  for (const ContactRow& row : rows) names.push_back(row.fileAs);
  int chosen = chooser_(names, platform::loadString(IDS_SELECT_CONTACT));
  if (chosen < 0 || chosen >= static_cast<int>(rows.size())) return nullptr;
  return contactFromOid(rows[static_cast<std::size_t>(chosen)].oid);
}

}  // namespace pellucard
