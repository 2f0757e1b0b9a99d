#include "views/SaveFailure.h"

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/StringIds.h"
#include "store/RecordStore.h"
#include "views/FrameLink.h"

namespace pellucard {

namespace {

std::u16string reason(DWORD error) {
  switch (error) {
    case ERROR_INVALID_PARAMETER:
      // The volume refuses a property or record over its size limit with this error.
      return platform::loadString(IDS_SAVE_REASON_TOO_LONG);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return platform::loadString(IDS_REASON_DISK_FULL);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return platform::loadString(IDS_SAVE_REASON_READ_ONLY);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return platform::loadString(IDS_REASON_NO_MEMORY);
    case 0:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
      return platform::loadString(IDS_SAVE_REASON_STORAGE_ERROR);
    default:
      return FrameLink::textWith(IDS_REASON_ERROR_CODE, platform::toUtf16(std::to_string(error)));
  }
}

}  // namespace

std::u16string SaveFailure::message(DWORD error) {
  // A database that could not be read soundly takes no change at all; that is the reason then.
  if (!RecordStore::acceptsWrites()) return platform::loadString(IDS_SAVE_REFUSED);
  return FrameLink::textWith(IDS_SAVE_FAILED, reason(error));
}

void SaveFailure::report(HWND owner, DWORD error) {
  FrameLink::show(owner, message(error), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace pellucard
