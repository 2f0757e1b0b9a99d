#include "platform/controls/EditLayout.h"

#include <algorithm>

namespace platform::controls {
namespace {

char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
  const char16_t c = text[i++];
  if (c >= 0xD800 && c <= 0xDBFF && i < text.size()) {
    const char16_t low = text[i];
    if (low >= 0xDC00 && low <= 0xDFFF) {
      ++i;
      return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
    }
  }
  return c;
}

bool isBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

void EditLayout::setAdvance(Advance advance, int tabWidth) {
  advance_ = std::move(advance);
  tabWidth_ = std::max(tabWidth, 1);
}

void EditLayout::setWrap(int width, bool singleLine) {
  wrapWidth_ = singleLine ? 0 : std::max(width, 0);
  singleLine_ = singleLine;
}

int EditLayout::advanceAt(char32_t cp, int x) const {
  if (cp == U'\t') return (x / tabWidth_ + 1) * tabWidth_ - x;
  return advance_ ? advance_(cp) : 1;
}

int EditLayout::measure(std::u16string_view run, int x0) const {
  int x = x0;
  for (std::size_t i = 0; i < run.size();) x += advanceAt(nextCodePoint(run, i), x);
  return x - x0;
}

EditLine EditLayout::lineFrom(std::u16string_view text, int start) const {
  const int length = static_cast<int>(text.size());
  if (start >= length) return EditLine{length, length, length, 0};
  if (singleLine_) return EditLine{start, length, length, measure(text.substr(static_cast<std::size_t>(start)))};
  int x = 0;
  int breakAt = -1;
  int xAtBreak = 0;
  std::size_t i = static_cast<std::size_t>(start);
  while (i < text.size()) {
    const char16_t c = text[i];
    if (isBreak(c)) {
      const int end = static_cast<int>(i);
      const int next = end + ((c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1);
      return EditLine{start, end, next, x};
    }
    std::size_t after = i;
    const char32_t cp = nextCodePoint(text, after);
    const int advance = advanceAt(cp, x);
    if (cp == U' ' || cp == U'\t') {
      x += advance;
      i = after;
      breakAt = static_cast<int>(i);
      xAtBreak = x;
      continue;
    }
    if (wrapWidth_ > 0 && x + advance > wrapWidth_ && static_cast<int>(i) > start) {
      if (breakAt > start) return EditLine{start, breakAt, breakAt, xAtBreak};
      return EditLine{start, static_cast<int>(i), static_cast<int>(i), x};
    }
    x += advance;
    i = after;
  }
  return EditLine{start, length, length, x};
}

void EditLayout::appendFrom(std::u16string_view text, int start, std::vector<EditLine>& out) const {
  const int length = static_cast<int>(text.size());
  int pos = start;
  for (;;) {
    const EditLine line = lineFrom(text, pos);
    out.push_back(line);
    if (line.next >= length) {
      // A text that ends with a line break has an empty last line for the caret.
      if (line.end < line.next) out.push_back(EditLine{length, length, length, 0});
      return;
    }
    pos = line.next;
  }
}

void EditLayout::rebuild(std::u16string_view text) {
  lines_.clear();
  appendFrom(text, 0, lines_);
}

EditLayout::Damage EditLayout::update(std::u16string_view text, const TextChange& change) {
  if (singleLine_ || lines_.empty()) {
    rebuild(text);
    return Damage{0, lineCount() - 1};
  }
  const int length = static_cast<int>(text.size());
  const int delta = change.inserted - change.removed;
  const int editEnd = change.at + change.inserted;
  // The line before can take back a word, or join a "\r" to a new "\n".
  const int first = std::max(lineOf(change.at) - 1, 0);
  std::vector<EditLine> old = std::move(lines_);
  lines_.assign(old.begin(), old.begin() + first);
  int pos = old[static_cast<std::size_t>(first)].start;
  for (;;) {
    const EditLine line = lineFrom(text, pos);
    lines_.push_back(line);
    if (line.next >= length) {
      if (line.end < line.next) lines_.push_back(EditLine{length, length, length, 0});
      break;
    }
    pos = line.next;
    // Past the change, a line that starts where an old one did breaks as it did from there on.
    if (pos >= editEnd) {
      const int oldStart = pos - delta;
      auto it = std::lower_bound(old.begin() + first, old.end(), oldStart,
                                 [](const EditLine& l, int value) { return l.start < value; });
      if (it != old.end() && it->start == oldStart) {
        const int last = lineCount() - 1;
        for (; it != old.end(); ++it) {
          lines_.push_back(EditLine{it->start + delta, it->end + delta, it->next + delta, it->width});
        }
        return Damage{first, last};
      }
    }
  }
  return Damage{first, lineCount() - 1};
}

int EditLayout::lineOf(int i) const {
  auto it =
      std::upper_bound(lines_.begin(), lines_.end(), i, [](int value, const EditLine& l) { return value < l.start; });
  if (it == lines_.begin()) return 0;
  return static_cast<int>(it - lines_.begin()) - 1;
}

int EditLayout::widest() const {
  int widest = 0;
  for (const EditLine& l : lines_) widest = std::max(widest, l.width);
  return widest;
}

int EditLayout::xOnLine(std::u16string_view text, int lineIndex, int i) const {
  const EditLine& l = line(lineIndex);
  const int stop = std::clamp(i, l.start, l.end);
  return measure(text.substr(static_cast<std::size_t>(l.start), static_cast<std::size_t>(stop - l.start)));
}

int EditLayout::xOf(std::u16string_view text, int i) const { return xOnLine(text, lineOf(i), i); }

int EditLayout::positionAt(std::u16string_view text, int lineIndex, int x) const {
  const EditLine& l = line(lineIndex);
  // A wrapped line's end is the next line's start, so the caret stops before its last character.
  const bool wrapped = l.end == l.next && lineIndex + 1 < lineCount();
  int cx = 0;
  std::size_t i = static_cast<std::size_t>(l.start);
  int last = l.start;
  while (static_cast<int>(i) < l.end) {
    last = static_cast<int>(i);
    const char32_t cp = nextCodePoint(text, i);
    const int advance = advanceAt(cp, cx);
    if (x < cx + advance / 2 + (advance % 2)) return last;
    cx += advance;
  }
  return wrapped ? last : l.end;
}

}  // namespace platform::controls
