#include "platform/sys/InstanceChannel.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/WinBase.h"

using namespace platform::sys;

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCWSTR lpName) {
  const std::u16string name = lpName ? lpName : u"";
  bool existed = false;
  std::unique_ptr<NamedMutex> mutex = NamedMutex::open(name, bInitialOwner != FALSE, existed);
  if (!mutex) return nullptr;
  // A named mutex is how a program keeps to one instance: from now on the other
  // instances must be able to reach this process's windows, and it theirs.
  if (!name.empty()) InstanceChannel::start();
  HANDLE handle = HandleTable::instance().add(std::move(mutex));
  SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReleaseMutex(HANDLE hMutex) {
  NamedMutex* mutex = HandleTable::instance().get<NamedMutex>(hMutex);
  if (!mutex) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!mutex->release()) {
    SetLastError(ERROR_NOT_OWNER);
    return FALSE;
  }
  return TRUE;
}
