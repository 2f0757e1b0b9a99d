#include "store/SortKey.h"

#include <array>

#include "platform/base/TextCase.h"

namespace pellucard {

namespace {

constexpr char16_t kFirstFolded = 256;
constexpr char16_t kLastFolded = 383;

struct Range {
  char16_t first;
  char16_t last;
  char16_t letter;
};

// First match wins; 306-307 (IJ) and anything unlisted stay as they are.
constexpr Range kRanges[] = {
    {256, 261, u'A'}, {262, 269, u'C'}, {270, 273, u'D'}, {274, 283, u'E'}, {284, 291, u'G'},
    {292, 295, u'H'}, {296, 305, u'I'}, {308, 309, u'J'}, {310, 312, u'K'}, {313, 322, u'L'},
    {323, 331, u'N'}, {332, 339, u'O'}, {340, 345, u'R'}, {346, 353, u'S'}, {354, 359, u'T'},
    {360, 371, u'U'}, {372, 373, u'W'}, {374, 376, u'Y'}, {377, 383, u'Z'},
};

// Built once, on first use, and kept for the run.
const std::array<char16_t, kLastFolded - kFirstFolded + 1>& foldTable() {
  static const auto table = [] {
    std::array<char16_t, kLastFolded - kFirstFolded + 1> t{};
    for (char16_t c = kFirstFolded; c <= kLastFolded; ++c) {
      t[c - kFirstFolded] = c;
      for (const Range& r : kRanges) {
        if (c >= r.first && c <= r.last) {
          t[c - kFirstFolded] = r.letter;
          break;
        }
      }
    }
    return t;
  }();
  return table;
}

}  // namespace

void appendSortKey(std::u16string& out, std::u16string_view text) {
  const auto& table = foldTable();
  const std::size_t start = out.size();
  out.resize(start + text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') {
      c = static_cast<char16_t>(c - 32);
    } else if (c >= 128) {
      c = platform::upperCase(c);
      if (c >= kFirstFolded && c <= kLastFolded) c = table[c - kFirstFolded];
    }
    out[start + i] = c;
  }
}

std::u16string SortKey(std::u16string_view text) {
  std::u16string key;
  appendSortKey(key, text);
  return key;
}

}  // namespace pellucard
