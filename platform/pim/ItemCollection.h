// The items of a folder at the moment they were asked for, positions 1 to Count.
#pragma once

#include <memory>
#include <vector>

#include "platform/pim/Item.h"

namespace platform::pim {

class ItemCollection {
 public:
  explicit ItemCollection(std::vector<std::shared_ptr<pim::Item>> items) : items_(std::move(items)) {}

  int Count() const { return static_cast<int>(items_.size()); }
  // 1-based, as the object model counts; E_INVALIDARG outside 1..Count.
  HRESULT Item(int index, std::shared_ptr<pim::Item>& item) const;

 private:
  std::vector<std::shared_ptr<pim::Item>> items_;
};

}  // namespace platform::pim
