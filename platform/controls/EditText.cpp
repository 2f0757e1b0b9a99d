#include "platform/controls/EditText.h"

#include <algorithm>

namespace platform::controls {
namespace {

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Letters, digits and anything beyond ASCII count as word characters; spaces and ASCII
// punctuation separate words.
bool isWordUnit(char16_t c) {
  if (c >= 0x80) return c != 0x00A0 && c != 0x3000;
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

}  // namespace

std::u16string_view EditText::selectedText() const {
  return std::u16string_view(text_).substr(static_cast<std::size_t>(selectionStart()),
                                           static_cast<std::size_t>(selectionEnd() - selectionStart()));
}

int EditText::clamp(int i) const {
  i = std::clamp(i, 0, length());
  if (i > 0 && i < length() && isLow(text_[static_cast<std::size_t>(i)]) &&
      isHigh(text_[static_cast<std::size_t>(i - 1)])) {
    --i;
  }
  return i;
}

TextChange EditText::assign(std::u16string text) {
  const TextChange change{0, length(), static_cast<int>(text.size())};
  text_ = std::move(text);
  anchor_ = caret_ = 0;
  undo_ = Undo{};
  return change;
}

void EditText::select(int anchor, int caret) {
  anchor_ = clamp(anchor);
  caret_ = clamp(caret);
}

TextChange EditText::replaceSelection(std::u16string_view with, bool undoable, bool typing) {
  const int at = selectionStart();
  const int removed = selectionEnd() - at;
  const TextChange change{at, removed, static_cast<int>(with.size())};
  if (!change.any()) return change;
  if (undoable) {
    const bool joins = typing && undo_.valid && undo_.typing && removed == 0 && at == undo_.at + undo_.inserted;
    if (joins) {
      undo_.inserted += change.inserted;
    } else {
      undo_ = Undo{true, at, text_.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(removed)),
                   change.inserted, typing};
    }
  }
  text_.replace(static_cast<std::size_t>(at), static_cast<std::size_t>(removed), with);
  anchor_ = caret_ = at + change.inserted;
  return change;
}

TextChange EditText::undo() {
  if (!undo_.valid) return {};
  Undo last = std::move(undo_);
  const int at = std::min(last.at, length());
  const int inserted = std::min(last.inserted, length() - at);
  anchor_ = at;
  caret_ = at + inserted;
  const std::u16string restored = last.removed;
  // The change that undoes becomes the step that redoes.
  const TextChange change = replaceSelection(restored, true, false);
  anchor_ = at;
  caret_ = at + static_cast<int>(restored.size());
  return change;
}

int EditText::previous(int i) const {
  i = clamp(i);
  if (i == 0) return 0;
  int p = i - 1;
  const char16_t c = text_[static_cast<std::size_t>(p)];
  if (p > 0 && ((isLow(c) && isHigh(text_[static_cast<std::size_t>(p - 1)])) ||
                (c == u'\n' && text_[static_cast<std::size_t>(p - 1)] == u'\r'))) {
    --p;
  }
  return p;
}

int EditText::next(int i) const {
  i = clamp(i);
  if (i >= length()) return length();
  int n = i + 1;
  const char16_t c = text_[static_cast<std::size_t>(i)];
  if (n < length() && ((isHigh(c) && isLow(text_[static_cast<std::size_t>(n)])) ||
                       (c == u'\r' && text_[static_cast<std::size_t>(n)] == u'\n'))) {
    ++n;
  }
  return n;
}

int EditText::previousWordStart(int i) const {
  i = clamp(i);
  while (i > 0 && !isWordUnit(text_[static_cast<std::size_t>(i - 1)])) --i;
  while (i > 0 && isWordUnit(text_[static_cast<std::size_t>(i - 1)])) --i;
  return clamp(i);
}

int EditText::nextWordStart(int i) const {
  i = clamp(i);
  while (i < length() && isWordUnit(text_[static_cast<std::size_t>(i)])) ++i;
  while (i < length() && !isWordUnit(text_[static_cast<std::size_t>(i)])) ++i;
  return clamp(i);
}

std::pair<int, int> EditText::wordAround(int i) const {
  i = clamp(i);
  if (length() == 0) return {0, 0};
  if (i == length()) i = previous(i);
  const bool word = isWordUnit(text_[static_cast<std::size_t>(i)]);
  int first = i;
  int last = i;
  while (first > 0 && isWordUnit(text_[static_cast<std::size_t>(first - 1)]) == word) --first;
  while (last < length() && isWordUnit(text_[static_cast<std::size_t>(last)]) == word) ++last;
  return {clamp(first), clamp(last)};
}

}  // namespace platform::controls
