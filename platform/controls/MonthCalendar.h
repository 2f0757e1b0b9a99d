// The month calendar ("SysMonthCal32"): one month at a time under a title with the previous and
// next arrows, the days in weeks that begin on the locale's first day of the week, today marked
// and a "Today" line below; a tap or the action key chooses a day (MCN_SELECT), any change of
// the selected day is told as MCN_SELCHANGE. The date and time picker drops it down as a popup,
// with a "None" button when the picker may hold no date.
#pragma once

#include <functional>

#include "platform/controls/MonthLayout.h"
#include "platform/controls/WinDateTime.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class MonthCalendar {
  friend class ControlTable<MonthCalendar>;

 public:
  MonthCalendar(HWND hwnd, HWND notify);
  // Notifications go to the window it was created for, also when it is a popup.
  MonthCalendar(HWND hwnd, const CREATESTRUCTW& cs) : MonthCalendar(hwnd, cs.hwndParent) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static MonthCalendar* fromWindow(HWND hwnd);

  // As the drop-down of a picker: the calendar holds the stylus, a tap outside it calls
  // `dismissed`, and with a None button a tap on it calls `none`.
  struct DropDown {
    bool noneButton = false;
    std::function<void()> none;
    std::function<void()> dismissed;
  };
  void beginDropDown(DropDown dropDown);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool setSelection(const SYSTEMTIME& date, bool byUser);
  void moveSelection(int days);
  void moveMonths(int months);
  void onKeyDown(UINT vk);
  void onLButtonDown(POINT pt);
  void onLButtonUp(POINT pt);
  void notifySelection(UINT code);
  SYSTEMTIME today() const;
  int firstDay() const;
  int lineHeight() const;
  int noneWidth() const;
  RECT minimumRect() const;
  void paint();

  HWND hwnd_;
  HWND notify_;
  bool dead_ = false;
  int depth_ = 0;
  HFONT font_ = nullptr;
  SYSTEMTIME selected_{};
  int shownYear_ = 0;
  int shownMonth_ = 0;
  bool todaySet_ = false;
  SYSTEMTIME today_{};
  int firstDay_ = -1;  // 0 Monday ... 6 Sunday; -1: the locale's
  bool dropDown_ = false;
  DropDown hooks_;
  bool choosing_ = false;  // the stylus went down on a day
};

// What a month calendar shows: the month, the selected day, today, the first day of the week.
struct MonthLook {
  HFONT font = nullptr;
  int year = 0;
  int month = 0;
  SYSTEMTIME selected{};
  SYSTEMTIME today{};
  int firstDay = 6;  // 0 Monday ... 6 Sunday
  bool todayLine = true;
  bool todayCircle = true;
  bool noneButton = false;
  bool enabled = true;
};
void drawMonthCalendar(HDC hdc, const RECT& client, const MonthLayout& layout, const MonthLook& look);

}  // namespace platform::controls
