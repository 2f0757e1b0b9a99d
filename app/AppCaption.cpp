#include "app/AppCaption.h"

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"

namespace pellucard {

const std::u16string& appCaption() {
  // Read on each call until the string table is registered, then kept.
  static std::u16string caption;
  if (caption.empty()) caption = platform::loadString(IDS_APP_TITLE);
  return caption;
}

}  // namespace pellucard
