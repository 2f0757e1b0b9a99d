// A mutex behind a HANDLE; a named one holds a lock file while this process created it first.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/sys/HandleTable.h"

namespace platform::sys {

class NamedMutex : public KernelObject {
 public:
  // The lock shared by every handle of one name in this process.
  class Lock {
   public:
    explicit Lock(int fd) : fd_(fd) {}
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    int fd_;
  };

  NamedMutex(std::shared_ptr<Lock> lock, bool owned) : lock_(std::move(lock)), ownerCount_(owned ? 1 : 0) {}

  // False when this thread does not own the mutex.
  bool release();

  // Opens or creates the named mutex; sets alreadyExisted. nullptr with the last error set on failure.
  static std::unique_ptr<NamedMutex> open(const std::u16string& name, bool initialOwner, bool& alreadyExisted);

 private:
  std::shared_ptr<Lock> lock_;
  int ownerCount_;
};

}  // namespace platform::sys
