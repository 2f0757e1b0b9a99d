#include "platform/pim/Folder.h"

#include "platform/pim/Contact.h"
#include "platform/pim/PimService.h"

namespace platform::pim {

HRESULT Folder::Items(std::shared_ptr<ItemCollection>& items) const {
  items.reset();
  if (!service_ || !service_->loggedOn()) return E_FAIL;
  if (FAILED(service_->refreshContacts())) return E_FAIL;
  const ContactBook& book = service_->contacts();
  std::vector<std::shared_ptr<Item>> list;
  list.reserve(book.contacts().size());
  for (std::size_t i = 0; i < book.contacts().size(); ++i)
    list.push_back(std::make_shared<Contact>(service_, book.contacts()[i], book.oids()[i]));
  items = std::make_shared<ItemCollection>(std::move(list));
  return S_OK;
}

HRESULT Folder::GetProps(CEPROPID propId, std::u16string& value) const {
  value.clear();
  if (!service_ || !service_->loggedOn()) return E_FAIL;
  if (propId != PIMPR_FOLDER_CATEGORIES) return E_INVALIDARG;
  if (FAILED(service_->refreshContacts())) return E_FAIL;
  value = service_->contacts().categoryList();
  return S_OK;
}

}  // namespace platform::pim
