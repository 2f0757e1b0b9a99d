// Writes a date or a time by a picture in the handheld's notation:
// dates d dd ddd dddd M MM MMM MMMM y yy yyyy g gg; times h hh H HH m mm s ss t tt;
// text in single quotes ('' for a quote) and every other character as it is.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/sys/LocaleFormats.h"

namespace platform::sys {

std::u16string formatDatePicture(std::u16string_view picture, const SYSTEMTIME& date, const LocaleData& locale);
// flags: the TIME_ flags; a left-out field also takes the separator before it.
std::u16string formatTimePicture(std::u16string_view picture, const SYSTEMTIME& time, DWORD flags,
                                 const LocaleData& locale);

}  // namespace platform::sys
