// A default folder of the service. Only the contacts folder is offered.
#pragma once

#include <memory>
#include <string>

#include "platform/pim/ItemCollection.h"

namespace platform::pim {

class PimService;

class Folder {
 public:
  Folder(std::shared_ptr<PimService> service, int folderId) : service_(std::move(service)), id_(folderId) {}

  int DefaultItemType() const { return olContactItem; }
  // The contacts in folder order, read from the folder afresh.
  HRESULT Items(std::shared_ptr<ItemCollection>& items) const;
  // PIMPR_FOLDER_CATEGORIES: every category of the folder's contacts, first-seen order,
  // separated by commas. Other properties fail with E_INVALIDARG.
  HRESULT GetProps(CEPROPID propId, std::u16string& value) const;

 private:
  std::shared_ptr<PimService> service_;
  int id_;
};

}  // namespace platform::pim
