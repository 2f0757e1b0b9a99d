// The text model of an edit control: the UTF-16 text, the selection (an anchor and the caret)
// and one level of undo. Positions are UTF-16 unit indexes that never split a surrogate pair;
// moving by character steps over a pair and over a "\r\n" line break at once.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace platform::controls {

// What a change did to the text: at `at`, `removed` units went and `inserted` came.
struct TextChange {
  int at = 0;
  int removed = 0;
  int inserted = 0;
  bool any() const { return removed != 0 || inserted != 0; }
};

class EditText {
 public:
  const std::u16string& text() const { return text_; }
  int length() const { return static_cast<int>(text_.size()); }

  int anchor() const { return anchor_; }
  int caret() const { return caret_; }
  int selectionStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  int selectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  bool hasSelection() const { return anchor_ != caret_; }
  std::u16string_view selectedText() const;

  // Replaces everything; the caret goes to the start and the undo is forgotten.
  TextChange assign(std::u16string text);
  // Clamped to the text and moved off the middle of a surrogate pair.
  void select(int anchor, int caret);

  // Replaces the selection and puts the caret after the new text. Consecutive typing joins one
  // undo step, so one undo takes back a typed word.
  TextChange replaceSelection(std::u16string_view with, bool undoable = true, bool typing = false);
  bool canUndo() const { return undo_.valid; }
  // Puts back what the last change replaced and selects it; undoing again redoes the change.
  TextChange undo();
  void forgetUndo() { undo_ = Undo{}; }

  // The boundary before or after a position: a surrogate pair and "\r\n" are one step.
  int previous(int i) const;
  int next(int i) const;
  // Where Ctrl+Left and Ctrl+Right go: the start of the word before i, the start of the next.
  int previousWordStart(int i) const;
  int nextWordStart(int i) const;
  // The word (or the run of separators) that holds position i, as [first, second).
  std::pair<int, int> wordAround(int i) const;
  int clamp(int i) const;

 private:
  struct Undo {
    bool valid = false;
    int at = 0;
    std::u16string removed;  // what the change took out
    int inserted = 0;        // how much it put in at `at`
    bool typing = false;
  };

  std::u16string text_;
  int anchor_ = 0;
  int caret_ = 0;
  Undo undo_;
};

}  // namespace platform::controls
