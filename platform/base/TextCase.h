// Upper and lower case of UTF-16 units, as the handheld's case-insensitive
// comparisons (file names, registry keys, lstrcmpi) see them.
#pragma once

#include <string>
#include <string_view>

namespace platform {

char16_t upperCase(char16_t c);
char16_t lowerCase(char16_t c);
std::u16string upperCase(std::u16string_view text);
bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b);
// <0, 0, >0 after folding both to upper case.
int compareIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform
