// A full-screen form with every standard control, laid out as the program's forms lay them out
// in each edition, so a person can try them: text, password and number fields (the number with an
// up-down), notes, a colour list, a combo box, dates and times with and without "no date", check
// boxes and a push button. On Pocket PC labels sit left of the fields and the form scrolls with
// its scroll bar; on the Smartphone labels sit above the fields, the notes and the colour are
// expandable fields (the action key opens the platform's full-screen editor and pick list), and
// the dialog manager keeps the focused field in view. Done or Cancel closes it.
#pragma once

#include <vector>

#include "platform/gdi/WinGdi.h"
#include "platform/win/WinUser.h"

namespace platform::demo {

class DemoForm {
 public:
  // Runs the form over `owner`; IDOK for Done, IDCANCEL for Cancel or Back.
  static INT_PTR run(HWND owner);

  // Control ids, for scripts and tests.
  enum : UINT {
    kName = 200,
    kPassword,
    kAge,
    kAgeSpin,
    kNotes,
    kNotesExpand,
    kColour,
    kColourSpin,
    kSize,
    kBirthday,
    kReturned,
    kAlarm,
    kReminder,
    kRemindMe,
    kOverdueOnly,
    kHello,
  };

 private:
  struct Row {
    HWND label = nullptr;
    HWND field = nullptr;
    HWND upDown = nullptr;
  };

  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void start();
  void createRows();
  // A label and its field at the next place of the form; `lines` makes a field several lines high.
  Row& addRow(const char16_t* label, const char16_t* cls, const char16_t* text, DWORD style, UINT id, int lines = 1);
  void attachUpDown(Row& row, DWORD style, UINT id);
  // The screen turned: the fields take the new width, their tops stay.
  void relayout();
  int fieldLeft() const;
  int fieldRight() const;

  // Pocket PC scrolling.
  void updateScrollRange();
  void scrollTo(int position);
  void onVScroll(int code);
  void keepInView(HWND control);
  void onBack(bool keyUp);

  HWND page_ = nullptr;
  HWND menuBar_ = nullptr;
  HFONT bold_ = nullptr;  // the Smartphone's labels
  bool pocketPc_ = true;
  int unit_ = 1;
  int nextTop_ = 0;
  int scroll_ = 0;
  std::vector<Row> rows_;
};

}  // namespace platform::demo
