// Anything the service stores: a contact, an appointment or a task.
#pragma once

#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/pim/PimTypes.h"

namespace platform::pim {

class PimService;

class Item {
 public:
  virtual ~Item() = default;
  Item(const Item&) = delete;
  Item& operator=(const Item&) = delete;

  virtual int ItemType() const = 0;
  // Nonzero once the item is stored; stable across runs.
  virtual LONG Oid() const = 0;
  virtual HRESULT Save() = 0;
  virtual HRESULT Delete() = 0;
  virtual HRESULT Display() = 0;

 protected:
  explicit Item(std::shared_ptr<PimService> service) : service_(std::move(service)) {}
  std::shared_ptr<PimService> service_;
};

}  // namespace platform::pim
