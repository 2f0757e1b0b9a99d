// The date and time picker ("SysDateTimePick32") and the month calendar ("SysMonthCal32"):
// styles, messages, notifications and structures with their documented values.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

#define DATETIMEPICK_CLASSW u"SysDateTimePick32"
#define MONTHCAL_CLASSW u"SysMonthCal32"

#define DTN_FIRST (0U - 760U)
#define DTN_LAST (0U - 799U)
#define MCN_FIRST (0U - 750U)
#define MCN_LAST (0U - 759U)

// ---------------------------------------------------------------------------------------------
// Date and time picker

// Styles. DTS_TIMEFORMAT includes DTS_UPDOWN; the 0x0008 bit alone already selects the time.
#define DTS_UPDOWN 0x0001
#define DTS_SHOWNONE 0x0002
#define DTS_SHORTDATEFORMAT 0x0000
#define DTS_LONGDATEFORMAT 0x0004
#define DTS_SHORTDATECENTURYFORMAT 0x000C
#define DTS_TIMEFORMAT 0x0009
#define DTS_APPCANPARSE 0x0010
#define DTS_RIGHTALIGN 0x0020
// With DTS_SHOWNONE: a "None" button in the drop-down calendar instead of a check box.
#define DTS_NONEBUTTON 0x0080

#define GDT_ERROR (-1)
#define GDT_VALID 0
#define GDT_NONE 1

#define DTM_FIRST 0x1000
#define DTM_GETSYSTEMTIME (DTM_FIRST + 1)
#define DTM_SETSYSTEMTIME (DTM_FIRST + 2)
#define DTM_GETMONTHCAL (DTM_FIRST + 8)
#define DTM_SETFORMATW (DTM_FIRST + 50)
#define DTM_SETFORMAT DTM_SETFORMATW

#define DTN_DATETIMECHANGE (DTN_FIRST + 1)
#define DTN_DROPDOWN (DTN_FIRST + 6)
#define DTN_CLOSEUP (DTN_FIRST + 7)

struct NMDATETIMECHANGE {
  NMHDR nmhdr;
  DWORD dwFlags;  // GDT_VALID or GDT_NONE
  SYSTEMTIME st;
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;

inline DWORD DateTime_GetSystemtime(HWND hwnd, SYSTEMTIME* time) {
  return static_cast<DWORD>(SendMessageW(hwnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(time)));
}
inline BOOL DateTime_SetSystemtime(HWND hwnd, DWORD flag, const SYSTEMTIME* time) {
  return static_cast<BOOL>(SendMessageW(hwnd, DTM_SETSYSTEMTIME, flag, reinterpret_cast<LPARAM>(time)));
}
inline BOOL DateTime_SetFormat(HWND hwnd, LPCWSTR format) {
  return static_cast<BOOL>(SendMessageW(hwnd, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(format)));
}
inline HWND DateTime_GetMonthCal(HWND hwnd) {
  return reinterpret_cast<HWND>(SendMessageW(hwnd, DTM_GETMONTHCAL, 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Month calendar

#define MCS_DAYSTATE 0x0001
#define MCS_MULTISELECT 0x0002
#define MCS_WEEKNUMBERS 0x0004
#define MCS_NOTODAYCIRCLE 0x0008
#define MCS_NOTODAY 0x0010

#define MCM_FIRST 0x1000
#define MCM_GETCURSEL (MCM_FIRST + 1)
#define MCM_SETCURSEL (MCM_FIRST + 2)
#define MCM_GETMINREQRECT (MCM_FIRST + 9)
#define MCM_SETTODAY (MCM_FIRST + 12)
#define MCM_GETTODAY (MCM_FIRST + 13)
#define MCM_SETFIRSTDAYOFWEEK (MCM_FIRST + 15)
#define MCM_GETFIRSTDAYOFWEEK (MCM_FIRST + 16)

#define MCN_SELCHANGE (MCN_FIRST + 1)
#define MCN_SELECT (MCN_FIRST + 4)

struct NMSELCHANGE {
  NMHDR nmhdr;
  SYSTEMTIME stSelStart;
  SYSTEMTIME stSelEnd;
};
using LPNMSELCHANGE = NMSELCHANGE*;
using NMSELECT = NMSELCHANGE;
using LPNMSELECT = NMSELCHANGE*;

inline BOOL MonthCal_GetCurSel(HWND hwnd, SYSTEMTIME* time) {
  return static_cast<BOOL>(SendMessageW(hwnd, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(time)));
}
inline BOOL MonthCal_SetCurSel(HWND hwnd, const SYSTEMTIME* time) {
  return static_cast<BOOL>(SendMessageW(hwnd, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(time)));
}
inline BOOL MonthCal_GetMinReqRect(HWND hwnd, RECT* rect) {
  return static_cast<BOOL>(SendMessageW(hwnd, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(rect)));
}
inline BOOL MonthCal_SetToday(HWND hwnd, const SYSTEMTIME* today) {
  return static_cast<BOOL>(SendMessageW(hwnd, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(today)));
}
inline BOOL MonthCal_GetToday(HWND hwnd, SYSTEMTIME* today) {
  return static_cast<BOOL>(SendMessageW(hwnd, MCM_GETTODAY, 0, reinterpret_cast<LPARAM>(today)));
}
inline DWORD MonthCal_SetFirstDayOfWeek(HWND hwnd, int day) {
  return static_cast<DWORD>(SendMessageW(hwnd, MCM_SETFIRSTDAYOFWEEK, 0, static_cast<LPARAM>(day)));
}
inline DWORD MonthCal_GetFirstDayOfWeek(HWND hwnd) {
  return static_cast<DWORD>(SendMessageW(hwnd, MCM_GETFIRSTDAYOFWEEK, 0, 0));
}
