#include "views/SaveFailure.h"

#include <string>

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "resources/StringIds.h"
#include "store/RecordStore.h"

namespace pellucard {

namespace {

std::u16string withValue(UINT stringId, const std::u16string& value) {
  std::u16string text = platform::loadString(stringId);
  if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

std::u16string SaveFailure::reason(DWORD error) {
  switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return platform::loadString(IDS_REASON_DISK_FULL);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return platform::loadString(IDS_REASON_WRITE_DENIED);
    case ERROR_SUCCESS:  // a failure that did not say why
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_GEN_FAILURE:
      return platform::loadString(IDS_REASON_WRITE_ERROR);
    case ERROR_INVALID_PARAMETER:
      // The volume refuses a text or picture beyond its limits with this code.
      return platform::loadString(IDS_REASON_TOO_LARGE);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return platform::loadString(IDS_REASON_NO_MEMORY);
    default:
      return withValue(IDS_REASON_ERROR_CODE, platform::toUtf16(std::to_string(error)));
  }
}

std::u16string SaveFailure::message(DWORD error) {
  // A database that could not be read whole is never written, whatever the error says.
  if (!RecordStore::acceptsWrites()) return platform::loadString(IDS_SAVE_REFUSED);
  return withValue(IDS_SAVE_FAILED, reason(error));
}

}  // namespace pellucard
