#include "platform/pim/ItemCollection.h"

namespace platform::pim {

HRESULT ItemCollection::Item(int index, std::shared_ptr<pim::Item>& item) const {
  item.reset();
  if (index < 1 || index > Count()) return E_INVALIDARG;
  item = items_[static_cast<std::size_t>(index - 1)];
  return S_OK;
}

}  // namespace platform::pim
