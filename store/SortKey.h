// The folded form of a text used by every alphabetic comparison: upper case, and the Latin
// Extended-A letters (U+0100 to U+017F) replaced by their base capital letter.
#pragma once

#include <string>
#include <string_view>

namespace pellucard {

std::u16string SortKey(std::u16string_view text);

}  // namespace pellucard
