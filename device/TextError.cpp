#include "device/TextError.h"

#include <utility>

#include "platform/base/Utf.h"

namespace pellucard {

TextError::TextError(std::u16string text) : std::runtime_error(platform::toUtf8(text)), text_(std::move(text)) {}

}  // namespace pellucard
