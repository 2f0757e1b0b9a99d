#include "platform/sys/HandleTable.h"

namespace platform::sys {

HandleTable& HandleTable::instance() {
  static HandleTable table;
  return table;
}

HANDLE HandleTable::add(std::unique_ptr<KernelObject> object) {
  if (!object) return nullptr;
  std::lock_guard lock(mutex_);
  // Handles are multiples of 4 and not reused soon, so a stale handle rarely names a new object.
  next_ += 4;
  if (next_ >= 0x7FFFFF00) next_ = 0x104;
  while (objects_.count(next_)) next_ += 4;
  objects_.emplace(next_, std::move(object));
  return reinterpret_cast<HANDLE>(next_);
}

KernelObject* HandleTable::find(HANDLE handle) {
  std::lock_guard lock(mutex_);
  auto it = objects_.find(reinterpret_cast<UINT_PTR>(handle));
  return it == objects_.end() ? nullptr : it->second.get();
}

bool HandleTable::remove(HANDLE handle) {
  std::unique_ptr<KernelObject> object = release(handle);
  // Destroyed outside the lock: a closing object may itself use the table.
  return object != nullptr;
}

std::unique_ptr<KernelObject> HandleTable::release(HANDLE handle) {
  std::lock_guard lock(mutex_);
  auto it = objects_.find(reinterpret_cast<UINT_PTR>(handle));
  if (it == objects_.end()) return nullptr;
  std::unique_ptr<KernelObject> object = std::move(it->second);
  objects_.erase(it);
  return object;
}

std::size_t HandleTable::size() const {
  std::lock_guard lock(mutex_);
  return objects_.size();
}

}  // namespace platform::sys
