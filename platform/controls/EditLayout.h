// Line breaking of an edit control's text. Lines end at "\r\n", "\n" or "\r" and, with word
// wrap, after the last space that fits (a word wider than the line breaks where it must);
// spaces at a wrap hang past the edge. After an edit only the lines from the one before the
// change are broken again, until a line starts where an old one did: typing into a long text
// costs a line or two, not the whole text.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/controls/EditText.h"

namespace platform::controls {

struct EditLine {
  int start = 0;  // first unit of the line
  int end = 0;    // end of its text, before the line break
  int next = 0;   // start of the line after (after the break)
  int width = 0;  // pixels of [start, end)
};

class EditLayout {
 public:
  // Pixels a code point advances; tabs are handled here (tab stops every tabWidth pixels).
  using Advance = std::function<int(char32_t)>;

  void setAdvance(Advance advance, int tabWidth);
  // 0: no wrapping. singleLine: one line whatever the text holds.
  void setWrap(int width, bool singleLine);
  int wrapWidth() const { return wrapWidth_; }

  void rebuild(std::u16string_view text);
  // The lines broken again after a change: from first to last, in the new lines.
  struct Damage {
    int first = 0;
    int last = 0;
  };
  // The text has changed as `change` says.
  Damage update(std::u16string_view text, const TextChange& change);

  int lineCount() const { return static_cast<int>(lines_.size()); }
  const EditLine& line(int i) const { return lines_[static_cast<std::size_t>(i)]; }
  // The line that shows position i (a position at a wrap shows at the start of the next line).
  int lineOf(int i) const;
  int widest() const;

  // x of position i from the start of its line, and the position nearest to x on a line.
  int xOf(std::u16string_view text, int i) const;
  int xOnLine(std::u16string_view text, int line, int i) const;
  int positionAt(std::u16string_view text, int line, int x) const;
  // Width of a run of text that holds no line break, starting at x0 (for tab stops).
  int measure(std::u16string_view run, int x0 = 0) const;

 private:
  EditLine lineFrom(std::u16string_view text, int start) const;
  int advanceAt(char32_t cp, int x) const;
  void appendFrom(std::u16string_view text, int start, std::vector<EditLine>& out) const;

  Advance advance_;
  int tabWidth_ = 8;
  int wrapWidth_ = 0;
  bool singleLine_ = true;
  std::vector<EditLine> lines_{EditLine{}};
};

}  // namespace platform::controls
