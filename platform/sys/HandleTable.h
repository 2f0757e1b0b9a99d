// The kernel handle table: files, find searches, mutexes and any other service's
// objects (database volumes, processes) live behind opaque HANDLE values, and
// CloseHandle hands each one back to its owner by destroying it.
#pragma once

#include <map>
#include <memory>
#include <mutex>

#include "platform/base/WinTypes.h"

namespace platform::sys {

// Base of every object that a HANDLE stands for. The owner's destructor does the
// closing work (flush, unmount, unlock...); CloseHandle destroys the object.
class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // False keeps CloseHandle from closing the object (FindClose-only searches, for one).
  virtual bool closableByCloseHandle() const { return true; }
};

class HandleTable {
 public:
  static HandleTable& instance();

  // Takes ownership and returns a fresh handle (never null, never INVALID_HANDLE_VALUE).
  HANDLE add(std::unique_ptr<KernelObject> object);

  // The object of the handle when it has that type, else nullptr.
  template <typename T>
  T* get(HANDLE handle) {
    return dynamic_cast<T*>(find(handle));
  }
  KernelObject* find(HANDLE handle);

  // Destroys the object; false when the handle is unknown.
  bool remove(HANDLE handle);
  // Takes the object out of the table without destroying it.
  std::unique_ptr<KernelObject> release(HANDLE handle);

  std::size_t size() const;

 private:
  HandleTable() = default;
  mutable std::recursive_mutex mutex_;
  std::map<UINT_PTR, std::unique_ptr<KernelObject>> objects_;
  UINT_PTR next_ = 0x100;
};

}  // namespace platform::sys
