// The folded form of a text used by every alphabetic comparison: upper case, and the Latin
// Extended-A letters (U+0100 to U+017F) replaced by their base capital letter.
#pragma once

#include <string>
#include <string_view>

namespace pellucard {

std::u16string SortKey(std::u16string_view text);
// Appends SortKey(text) to out; folding goes unit by unit, so keys of pieces join into the key of
// the joined text.
void appendSortKey(std::u16string& out, std::u16string_view text);

}  // namespace pellucard
