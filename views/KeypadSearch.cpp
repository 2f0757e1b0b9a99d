#include "views/KeypadSearch.h"

#include <array>

#include "platform/base/TextCase.h"
#include "store/SortKey.h"

namespace pellucard {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kClearAll = 3;

bool isLetter(char16_t c) { return platform::upperCase(c) != platform::lowerCase(c); }

}  // namespace

std::u16string_view KeypadSearch::keypadLetters(char16_t key) {
  // Built once per process and shared by every list.
  static const std::array<std::u16string_view, 10> table = {
      u"", u"", u"ABC2", u"DEF3", u"GHI4", u"JKL5", u"MNO6", u"PQRS7", u"TUV8", u"WXYZ9",
  };
  if (key < u'0' || key > u'9') return {};
  return table[static_cast<std::size_t>(key - u'0')];
}

void KeypadSearch::clear() {
  words_.clear();
  keys_.clear();
  entries_.clear();
  levels_.clear();
  reservedWords_ = 0;
  words_.shrink_to_fit();
  keys_.shrink_to_fit();
  entries_.shrink_to_fit();
}

void KeypadSearch::reserve(std::size_t words, std::size_t characters) {
  entries_.reserve(words);
  words_.reserve(characters);
  keys_.reserve(characters);
  reservedWords_ = words;
}

KeypadSearch::TextRef KeypadSearch::addText(RecordId recordId, std::u16string_view text) {
  if (text.empty()) return {};
  if (levels_.empty()) {
    levels_.emplace_back();
    levels_.front().reserve(reservedWords_);
  }
  const std::size_t first = text.find_first_not_of(u' ');
  const std::u16string_view trimmed = first == std::u16string_view::npos
                                          ? std::u16string_view{}
                                          : text.substr(first, text.find_last_not_of(u' ') - first + 1);
  // The key form folds unit by unit, so the words of the text and of its key line up.
  const std::size_t base = words_.size();
  words_.append(trimmed);
  words_.push_back(u' ');
  keys_.append(SortKey(trimmed));
  keys_.push_back(u' ');
  const TextRef ref{static_cast<std::uint32_t>(entries_.size()), 0};
  std::size_t start = 0;
  for (std::size_t i = 0; i <= trimmed.size(); ++i) {
    if (i < trimmed.size() && trimmed[i] != u' ') continue;
    levels_.front().push_back(static_cast<std::uint32_t>(entries_.size()));
    entries_.push_back(
        Stored{recordId, static_cast<std::uint32_t>(base + start), static_cast<std::uint32_t>(i - start)});
    start = i + 1;
  }
  return TextRef{ref.firstEntry, static_cast<std::uint32_t>(entries_.size()) - ref.firstEntry};
}

void KeypadSearch::addTextAgain(RecordId recordId, TextRef text) {
  if (text.count == 0 || levels_.empty()) return;
  for (std::uint32_t k = 0; k < text.count; ++k) {
    const Stored stored = entries_[text.firstEntry + k];
    levels_.front().push_back(static_cast<std::uint32_t>(entries_.size()));
    entries_.push_back(Stored{recordId, stored.offset, stored.length});
  }
}

KeypadSearch::SearchEntry KeypadSearch::entry(std::uint32_t index) const {
  const Stored& s = entries_[index];
  return SearchEntry{s.recordId, std::u16string_view(words_).substr(s.offset, s.length),
                     std::u16string_view(keys_).substr(s.offset, s.length)};
}

template <class Match>
bool KeypadSearch::narrow(Match&& match) {
  const std::vector<std::uint32_t>& top = levels_.back();
  if (top.empty()) return false;
  const std::size_t n = levels_.size() - 1;
  std::vector<std::uint32_t> next;
  for (std::uint32_t index : top) {
    const Stored& s = entries_[index];
    if (s.length > n && match(keys_[s.offset + n])) next.push_back(index);
  }
  levels_.push_back(std::move(next));
  return true;
}

bool KeypadSearch::type(char16_t ch) {
  if (levels_.empty()) return false;
  if (ch >= u'1' && ch <= u'9') {
    if (ch == u'1') return narrow([](char16_t) { return true; });
    const std::u16string_view letters = keypadLetters(ch);
    return narrow([letters](char16_t c) { return letters.find(c) != std::u16string_view::npos; });
  }
  if (ch == kBackspace) {
    if (levels_.size() >= 2) levels_.pop_back();
    return true;
  }
  if (ch == kClearAll) {
    levels_.resize(1);
    return true;
  }
  if (isLetter(ch)) {
    // Folded like the key forms, so that a typed accented letter finds what its base letter finds.
    const char16_t wanted = SortKey(std::u16string_view(&ch, 1)).front();
    return narrow([wanted](char16_t c) { return c == wanted; });
  }
  return false;
}

}  // namespace pellucard
