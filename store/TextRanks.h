// Ranks of texts in code-unit order, equal texts sharing a rank. Sorting integers by rank is much
// cheaper than sorting by the texts, and each text is compared O(log n) times only while ranking,
// mostly through packed prefixes of its first eight code units.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellucard {

// textAt(i) gives the i-th text (any type convertible to std::u16string_view).
// The number of distinct texts is in groups. Equal texts are merged through a hash first, so
// lists that repeat a few texts sort only the distinct ones.
template <class TextAt>
std::vector<std::uint32_t> textRanks(std::size_t n, TextAt textAt, std::size_t& groups) {
  std::unordered_map<std::u16string_view, std::uint32_t> distinctOf;
  distinctOf.reserve(n);
  std::vector<std::uint32_t> ranks(n);
  std::vector<std::u16string_view> distinct;
  for (std::size_t i = 0; i < n; ++i) {
    const std::u16string_view text = textAt(i);
    auto [it, inserted] = distinctOf.try_emplace(text, static_cast<std::uint32_t>(distinct.size()));
    if (inserted) distinct.push_back(text);
    ranks[i] = it->second;
  }
  struct Entry {
    std::uint64_t prefix;  // code units 0 to 3
    std::uint64_t more;    // code units 4 to 7
    std::uint32_t index;
  };
  std::vector<Entry> entries(distinct.size());
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    const std::u16string_view text = distinct[i];
    std::uint64_t prefix = 0, more = 0;
    for (std::size_t k = 0; k < 4; ++k) prefix = (prefix << 16) | (k < text.size() ? text[k] : 0);
    for (std::size_t k = 4; k < 8; ++k) more = (more << 16) | (k < text.size() ? text[k] : 0);
    entries[i] = Entry{prefix, more, static_cast<std::uint32_t>(i)};
  }
  // Equal prefixes fall back to the whole texts; a shorter text pads with 0 and still sorts first.
  std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.more != b.more) return a.more < b.more;
    return distinct[a.index] < distinct[b.index];
  });
  std::vector<std::uint32_t> rankOfDistinct(distinct.size());
  for (std::size_t k = 0; k < entries.size(); ++k) rankOfDistinct[entries[k].index] = static_cast<std::uint32_t>(k);
  for (std::uint32_t& r : ranks) r = rankOfDistinct[r];
  groups = distinct.size();
  return ranks;
}

}  // namespace pellucard
