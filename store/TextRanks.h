// Ranks of texts in code-unit order, equal texts sharing a rank. Sorting integers by rank is much
// cheaper than sorting by the texts, and each text is compared O(log n) times only while ranking,
// mostly through packed prefixes of its first eight code units.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace pellucard {

// textAt(i) gives the i-th text (any type convertible to std::u16string_view).
// The number of distinct texts is in groups.
template <class TextAt>
std::vector<std::uint32_t> textRanks(std::size_t n, TextAt textAt, std::size_t& groups) {
  struct Entry {
    std::uint64_t prefix;  // code units 0 to 3
    std::uint64_t more;    // code units 4 to 7
    std::uint32_t index;
  };
  std::vector<Entry> entries(n);
  for (std::size_t i = 0; i < n; ++i) {
    const std::u16string_view text = textAt(i);
    std::uint64_t prefix = 0, more = 0;
    for (std::size_t k = 0; k < 4; ++k) prefix = (prefix << 16) | (k < text.size() ? text[k] : 0);
    for (std::size_t k = 4; k < 8; ++k) more = (more << 16) | (k < text.size() ? text[k] : 0);
    entries[i] = Entry{prefix, more, static_cast<std::uint32_t>(i)};
  }
  // Equal prefixes fall back to the whole texts; a shorter text pads with 0 and still sorts first.
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.more != b.more) return a.more < b.more;
    return std::u16string_view(textAt(a.index)) < std::u16string_view(textAt(b.index));
  });
  std::vector<std::uint32_t> ranks(n);
  std::uint32_t rank = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && (entries[k - 1].prefix != entries[k].prefix || entries[k - 1].more != entries[k].more ||
                  std::u16string_view(textAt(entries[k - 1].index)) != std::u16string_view(textAt(entries[k].index))))
      ++rank;
    ranks[entries[k].index] = rank;
  }
  groups = n == 0 ? 0 : rank + 1;
  return ranks;
}

}  // namespace pellucard
