// The date and time picker ("SysDateTimePick32"): a date in the locale's short (or long) date,
// or with the time style a time, or any picture DTM_SETFORMAT gives, edited field by field:
// Left and Right move between the fields, Up and Down change the one in focus, digits type it
// (in a Smartphone dialog Up and Down go on to the next field of the form instead).
// With DTS_SHOWNONE it may hold no date: a check box before the value says which (unchecked, the
// value is greyed), or on Pocket PC with DTS_NONEBUTTON a "None" button in the drop-down does.
// On Pocket PC a date drops a month calendar (the button, F4, Alt+Down) and a time has spin
// buttons; the Smartphone edits in place only. DTN_DATETIMECHANGE tells of every change the user
// makes (not of values set by message, nor of choosing the day already shown), DTN_DROPDOWN and
// DTN_CLOSEUP of the calendar. DTM_SETSYSTEMTIME refuses what is no real date and time of the
// years 1601 to 30827.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/DateFieldEntry.h"
#include "platform/controls/DateTimeFields.h"
#include "platform/controls/WinDateTime.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

template <class Control>
class ControlTable;

enum class PickerButton { None, DropDown, Spin };

// Where the parts of a picker lie in its client area.
struct PickerLayout {
  RECT check{};  // empty without the check box
  RECT text{};
  RECT button{};  // the drop-down button, or the spin buttons together; empty without
  RECT spinUp{};
  RECT spinDown{};

  static PickerLayout compute(const RECT& client, bool checkBox, PickerButton button);
};

class DateTimePicker {
  friend class ControlTable<DateTimePicker>;

 public:
  explicit DateTimePicker(HWND hwnd);

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static DateTimePicker* fromWindow(HWND hwnd);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  // The value.
  BOOL setSystemTime(WPARAM flag, const SYSTEMTIME* time);
  LRESULT getSystemTime(SYSTEMTIME* time) const;
  void setFormat(LPCWSTR picture);
  void loadFormat();
  std::u16string defaultPicture() const;
  // A change the user made: the value, whether there is one, and DTN_DATETIMECHANGE if either
  // changed.
  void change(const SYSTEMTIME& time, bool valid);

  // Editing.
  void moveFocus(int direction);
  void stepField(int delta);
  void typeDigit(int digit);
  void typeDayHalf(WCHAR ch);
  void toggleCheck();

  // The drop-down calendar.
  bool canDropDown() const;
  void dropDown();
  void closeUp();
  void onCalendarSelect(const SYSTEMTIME& date);

  // Input.
  void onKeyDown(UINT vk);
  void onChar(WCHAR ch);
  void onLButtonDown(POINT pt);
  LRESULT dialogCode(const MSG* msg) const;

  // What is shown.
  DWORD style() const;
  bool timeFormat() const;
  bool checkBox() const;
  bool noneButton() const;
  PickerButton button() const;
  std::vector<std::u16string> shownPieces() const;
  std::u16string shownText() const;
  void paint();
  void notify(UINT code);

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;
  HFONT font_ = nullptr;
  SYSTEMTIME value_{};
  bool valid_ = true;
  bool customFormat_ = false;
  std::u16string picture_;
  DateTimeFields fields_;
  int piece_ = -1;             // the field in focus
  bool checkFocused_ = false;  // the check box has the focus instead
  DateFieldEntry entry_;
  HWND calendar_ = nullptr;
};

// How a picker looks: the texts of its pieces, one of them marked, the check box and the button.
struct PickerLook {
  HFONT font = nullptr;
  std::vector<std::u16string> pieces;
  int marked = -1;  // the piece in the highlight colours
  bool checked = true;
  bool checkMarked = false;
  bool greyed = false;  // no date: the text is drawn greyed
  bool enabled = true;
  PickerButton button = PickerButton::None;
  bool pressed = false;  // the calendar is down
};
void drawDateTimePicker(HDC hdc, const RECT& client, const PickerLayout& layout, const PickerLook& look);

// Where each piece's text lies when the pieces are written one after the other in `text`.
std::vector<RECT> pieceRects(HDC hdc, const std::vector<std::u16string>& pieces, const RECT& text);

}  // namespace platform::controls
