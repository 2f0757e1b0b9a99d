// The edit control ("EDIT"): single-line or multi-line text with a caret that blinks on the
// platform clock, selection by keys and stylus, scrolling, word wrap, the clipboard and one level
// of undo, the EN_ notifications, and on the Smartphone edition multi-tap entry from the keypad
// with the input mode shown in the title bar. The text is the control's own; the window text
// the platform keeps (and the dump shows) is what the control shows, stars for a password.
#pragma once

#include <string>

#include "platform/controls/EditLayout.h"
#include "platform/controls/EditText.h"
#include "platform/controls/GlyphWidths.h"
#include "platform/controls/KeypadEntry.h"
#include "platform/controls/WinEdit.h"

namespace platform::controls {

template <class Control>
class ControlTable;

struct EditPicture;

class Edit {
  friend class ControlTable<Edit>;

 public:
  explicit Edit(HWND hwnd);

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void create(const CREATESTRUCTW* cs);

  // Style.
  DWORD style() const;
  bool multiLine() const { return (style() & ES_MULTILINE) != 0; }
  bool readOnly() const { return (style() & ES_READONLY) != 0; }
  bool wraps() const { return multiLine() && !autoHScroll_; }
  bool smartphone() const;

  // Text and what shows of it.
  std::u16string_view shown() const;
  void setText(std::u16string text);
  // Inserts in place of the selection what the control takes of `text` (the first line in a
  // single-line control, up to the limit and the room there is); EN_MAXTEXT when cut.
  bool insert(std::u16string_view text, bool typing, bool asUser);
  bool removeSelection();
  // After every change of the text: layout, window text, scrolling, repainting.
  void changed(const TextChange& change, bool notify);
  bool fitsWithout(std::u16string_view inserted) const;
  void relayout();
  void mirrorWindowText();
  void notifyParent(WORD code);

  // Caret and selection.
  void moveCaret(int to, bool extend);
  void selectRange(int anchor, int caret);
  int lineStartOf(int i) const;
  int lineEndOf(int i) const;
  void moveVertically(int lines, bool extend);

  // Geometry and scrolling.
  RECT clientRect() const;
  RECT formatRect() const;
  int visibleLines() const;
  int lineTop(int line) const;
  POINT caretPoint() const;
  int positionAt(POINT pt) const;
  int maxTopLine() const;
  int maxScrollX() const;
  void scrollCaretIntoView();
  void setTopLine(int line);
  void setScrollX(int x);
  void updateScrollBars();
  void onScroll(int bar, WPARAM wParam);

  // Painting.
  void invalidateLines(int first, int last);
  void invalidateFrom(int first);
  void invalidateAll();
  void invalidateCaret();
  RECT bandOf(const RECT& area) const;
  void paint();
  EditPicture picture(HDC colourDc);

  // Input.
  void onKeyDown(UINT vk, LPARAM lParam);
  void onChar(WCHAR ch);
  void onButtonDown(LPARAM lParam, bool doubleClick);
  void onSetFocus();
  void onKillFocus();
  LRESULT dialogCode(const MSG* msg);
  void restartCaretBlink();

  // Clipboard and undo.
  bool copy();
  bool cut();
  bool paste();
  bool clear();
  bool undo();

  // Keypad entry (Smartphone).
  bool keypadDigit(int digit, bool held);
  void commitMultiTap();
  void reportKeypadMode();

  LRESULT lineIndex(int line) const;
  LRESULT lineLength(int index) const;
  LRESULT getLine(int line, LPWSTR buffer) const;
  LRESULT positionFromChar(int index) const;

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;

  EditText text_;
  std::u16string stars_;  // what a password shows
  EditLayout layout_;
  GlyphWidths widths_;
  HFONT font_ = nullptr;
  bool autoHScroll_ = false;
  bool autoVScroll_ = false;
  bool hasVScrollBar_ = false;
  WCHAR passwordChar_ = 0;
  std::size_t limit_ = 0x7FFF;
  bool modified_ = false;
  int leftMargin_ = 0;
  int rightMargin_ = 0;

  int topLine_ = 0;
  int scrollX_ = 0;
  int desiredX_ = -1;  // the column Up and Down keep
  int lastScrollMax_ = -1;
  int lastScrollPage_ = -1;
  int lastScrollPos_ = -1;

  bool focused_ = false;
  bool caretOn_ = false;
  bool dragging_ = false;
  bool dialogMode_ = false;
  WCHAR pendingHigh_ = 0;  // the first half of a character outside the BMP

  KeypadEntry keypad_;
  WCHAR swallowChar_ = 0;  // the character of a digit key the keypad took
};

}  // namespace platform::controls
