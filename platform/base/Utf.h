// Text crosses the host boundary as UTF-8; inside the platform and program it is UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Invalid sequences become U+FFFD rather than failing: host data is never trusted.
std::string toUtf8(std::u16string_view text);
std::u16string toUtf16(std::string_view text);

}  // namespace platform
