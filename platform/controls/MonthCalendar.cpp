#include "platform/controls/MonthCalendar.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/controls/ArrowGlyph.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/TimeMath.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"

namespace platform::controls {
namespace {

constexpr COLORREF kTodayMark = RGB(224, 0, 0);
constexpr const char16_t* kTodayLabel = u"Today: ";
constexpr const char16_t* kNoneLabel = u"None";

SYSTEMTIME dateOnly(const SYSTEMTIME& time) {
  SYSTEMTIME out{};
  out.wYear = time.wYear;
  out.wMonth = time.wMonth;
  out.wDay = time.wDay;
  out.wDayOfWeek = static_cast<WORD>(sys::dayOfWeek(sys::daysFromCivil(time.wYear, time.wMonth, time.wDay)));
  return out;
}

bool validDate(const SYSTEMTIME& time) { return sys::isValidSystemTime(dateOnly(time)); }

bool sameDate(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

std::u16string localeText(DWORD type) {
  WCHAR buffer[80] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 80) > 0 ? std::u16string(buffer) : std::u16string();
}

std::u16string dateText(const SYSTEMTIME& date, DWORD flags) {
  WCHAR buffer[80] = {};
  return GetDateFormatW(LOCALE_USER_DEFAULT, flags, &date, nullptr, buffer, 80) > 0 ? std::u16string(buffer)
                                                                                    : std::u16string();
}

int textWidth(HDC hdc, const std::u16string& text) {
  SIZE size{};
  GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The names over the columns: the locale's short names where they fit, else their first letter.
std::u16string dayName(int day, bool shortest) {
  const std::u16string name = localeText(LOCALE_SABBREVDAYNAME1 + static_cast<DWORD>(day));
  return shortest ? name.substr(0, 1) : name;
}

std::u16string number(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void drawCentred(HDC hdc, const std::u16string& text, RECT rect) {
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

MonthCalendar::MonthCalendar(HWND hwnd, HWND notify) : hwnd_(hwnd), notify_(notify) {
  selected_ = today();
  shownYear_ = selected_.wYear;
  shownMonth_ = selected_.wMonth;
}

void MonthCalendar::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, MONTHCAL_CLASSW, &wc)) return;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = &MonthCalendar::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = MONTHCAL_CLASSW;
  RegisterClassW(&wc);
}

MonthCalendar* MonthCalendar::fromWindow(HWND hwnd) { return ControlTable<MonthCalendar>::find(hwnd); }

LRESULT CALLBACK MonthCalendar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<MonthCalendar>::dispatch(hwnd, message, wParam, lParam);
}

void MonthCalendar::beginDropDown(DropDown dropDown) {
  hooks_ = std::move(dropDown);
  dropDown_ = true;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT MonthCalendar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_MOUSEACTIVATE:
      return dropDown_ ? MA_NOACTIVATE : DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      onLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      if (dropDown_ && reinterpret_cast<HWND>(lParam) != hwnd_ && hooks_.dismissed) hooks_.dismissed();
      return 0;
    case MCM_GETCURSEL: {
      auto* date = reinterpret_cast<SYSTEMTIME*>(lParam);
      if (date == nullptr) return FALSE;
      *date = selected_;
      return TRUE;
    }
    case MCM_SETCURSEL: {
      const auto* date = reinterpret_cast<const SYSTEMTIME*>(lParam);
      return date != nullptr && setSelection(*date, false) ? TRUE : FALSE;
    }
    case MCM_GETMINREQRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect == nullptr) return FALSE;
      *rect = minimumRect();
      return TRUE;
    }
    case MCM_SETTODAY: {
      const auto* date = reinterpret_cast<const SYSTEMTIME*>(lParam);
      todaySet_ = date != nullptr && validDate(*date);
      if (todaySet_) today_ = dateOnly(*date);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
    case MCM_GETTODAY: {
      auto* date = reinterpret_cast<SYSTEMTIME*>(lParam);
      if (date == nullptr) return FALSE;
      *date = today();
      return TRUE;
    }
    case MCM_SETFIRSTDAYOFWEEK: {
      const DWORD previous = MAKELONG(static_cast<WORD>(firstDay()), firstDay_ >= 0 ? 1 : 0);
      const int day = static_cast<int>(lParam);
      firstDay_ = day >= 0 && day <= 6 ? day : -1;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return static_cast<LRESULT>(previous);
    }
    case MCM_GETFIRSTDAYOFWEEK:
      return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(firstDay()), firstDay_ >= 0 ? 1 : 0));
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------------
// Selection

bool MonthCalendar::setSelection(const SYSTEMTIME& date, bool byUser) {
  if (!validDate(date)) return false;
  const bool changed = !sameDate(date, selected_);
  selected_ = dateOnly(date);
  shownYear_ = selected_.wYear;
  shownMonth_ = selected_.wMonth;
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (byUser && changed) notifySelection(MCN_SELCHANGE);
  return true;
}

void MonthCalendar::moveSelection(int days) {
  int y = 0;
  int m = 0;
  int d = 0;
  sys::civilFromDays(sys::daysFromCivil(selected_.wYear, selected_.wMonth, selected_.wDay) + days, y, m, d);
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(std::clamp(y, 1601, 30827));
  date.wMonth = static_cast<WORD>(m);
  date.wDay = static_cast<WORD>(d);
  setSelection(date, true);
}

// The month shown moves and the selected day goes with it (the 31st becomes the month's last).
void MonthCalendar::moveMonths(int months) {
  const int index = selected_.wYear * 12 + (selected_.wMonth - 1) + months;
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(std::clamp(index / 12, 1601, 30827));
  date.wMonth = static_cast<WORD>(index / 12 < 1601 ? 1 : index / 12 > 30827 ? 12 : index % 12 + 1);
  date.wDay = static_cast<WORD>(std::min<int>(selected_.wDay, sys::daysInMonth(date.wYear, date.wMonth)));
  setSelection(date, true);
}

void MonthCalendar::notifySelection(UINT code) {
  if (dead_ || notify_ == nullptr) return;
  NMSELCHANGE nm{};
  nm.nmhdr.hwndFrom = hwnd_;
  nm.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  nm.nmhdr.code = code;
  nm.stSelStart = selected_;
  nm.stSelEnd = selected_;
  SendMessageW(notify_, WM_NOTIFY, nm.nmhdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

SYSTEMTIME MonthCalendar::today() const {
  if (todaySet_) return today_;
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return dateOnly(now);
}

int MonthCalendar::firstDay() const {
  if (firstDay_ >= 0) return firstDay_;
  const std::u16string value = localeText(LOCALE_IFIRSTDAYOFWEEK);
  return !value.empty() && value[0] >= u'0' && value[0] <= u'6' ? value[0] - u'0' : 6;
}

// ---------------------------------------------------------------------------------------------
// Input

void MonthCalendar::onKeyDown(UINT vk) {
  switch (vk) {
    case VK_LEFT:
      moveSelection(-1);
      break;
    case VK_RIGHT:
      moveSelection(1);
      break;
    case VK_UP:
      moveSelection(-7);
      break;
    case VK_DOWN:
      moveSelection(7);
      break;
    case VK_PRIOR:
      moveMonths(-1);
      break;
    case VK_NEXT:
      moveMonths(1);
      break;
    case VK_HOME:
      moveSelection(1 - selected_.wDay);
      break;
    case VK_END:
      moveSelection(sys::daysInMonth(selected_.wYear, selected_.wMonth) - selected_.wDay);
      break;
    case VK_RETURN:
      notifySelection(MCN_SELECT);
      break;
    default:
      break;
  }
}

void MonthCalendar::onLButtonDown(POINT pt) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (dropDown_ && !PtInRect(&client, pt)) {
    if (hooks_.dismissed) hooks_.dismissed();
    return;
  }
  if (!dropDown_ && GetFocus() != hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) SetFocus(hwnd_);
  const MonthLayout layout = MonthLayout::compute(
      client, lineHeight(), !(GetWindowLongW(hwnd_, GWL_STYLE) & MCS_NOTODAY), hooks_.noneButton ? noneWidth() : 0);
  if (PtInRect(&layout.previous, pt)) {
    moveMonths(-1);
  } else if (PtInRect(&layout.next, pt)) {
    moveMonths(1);
  } else if (const int cell = layout.cellAt(pt); cell >= 0) {
    choosing_ = setSelection(dateInCell(shownYear_, shownMonth_, firstDay(), cell), true);
  } else if (PtInRect(&layout.todayLine, pt)) {
    setSelection(today(), true);
    if (!dead_) notifySelection(MCN_SELECT);
  } else if (PtInRect(&layout.noneButton, pt)) {
    if (hooks_.none) hooks_.none();
  }
}

// A day is chosen where the stylus leaves it.
void MonthCalendar::onLButtonUp(POINT pt) {
  if (!choosing_) return;
  choosing_ = false;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const MonthLayout layout = MonthLayout::compute(
      client, lineHeight(), !(GetWindowLongW(hwnd_, GWL_STYLE) & MCS_NOTODAY), hooks_.noneButton ? noneWidth() : 0);
  const int cell = layout.cellAt(pt);
  if (cell < 0) return;
  if (setSelection(dateInCell(shownYear_, shownMonth_, firstDay(), cell), true) && !dead_) {
    notifySelection(MCN_SELECT);
  }
}

// ---------------------------------------------------------------------------------------------
// Geometry and painting

int MonthCalendar::lineHeight() const { return fontHeight(font_ != nullptr ? font_ : systemFont()); }

int MonthCalendar::noneWidth() const {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return scaled(40);
  HGDIOBJ old = SelectObject(dc, font_ != nullptr ? font_ : systemFont());
  const int width = textWidth(dc, kNoneLabel) + scaled(12);
  SelectObject(dc, old);
  DeleteDC(dc);
  return width;
}

RECT MonthCalendar::minimumRect() const {
  const int line = lineHeight();
  const bool todayLine = !(GetWindowLongW(hwnd_, GWL_STYLE) & MCS_NOTODAY);
  int width = 0;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc != nullptr) {
    HGDIOBJ old = SelectObject(dc, font_ != nullptr ? font_ : systemFont());
    // Cells as narrow as the day numbers allow; the day names shrink to a letter to fit.
    width = 7 * (textWidth(dc, u"30") + scaled(10));
    const int titleArrows = 2 * (line + scaled(6));
    int title = 0;
    for (int month = 0; month < 12; ++month) {
      title = std::max(title, textWidth(dc, localeText(LOCALE_SMONTHNAME1 + static_cast<DWORD>(month)) + u" 0000"));
    }
    width = std::max(width, title + titleArrows);
    int bottom = hooks_.noneButton ? noneWidth() + scaled(6) : 0;
    if (todayLine) bottom += textWidth(dc, kTodayLabel + dateText(today(), DATE_SHORTDATE)) + scaled(6);
    width = std::max(width, bottom);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  return RECT{0, 0, width, MonthLayout::height(line, todayLine, hooks_.noneButton)};
}

void MonthCalendar::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
      MonthLook look;
      look.font = font_ != nullptr ? font_ : systemFont();
      look.year = shownYear_;
      look.month = shownMonth_;
      look.selected = selected_;
      look.today = today();
      look.firstDay = firstDay();
      look.todayLine = !(style & MCS_NOTODAY);
      look.todayCircle = !(style & MCS_NOTODAYCIRCLE);
      look.noneButton = hooks_.noneButton;
      look.enabled = IsWindowEnabled(hwnd_) != FALSE;
      const MonthLayout layout =
          MonthLayout::compute(client, lineHeight(), look.todayLine, look.noneButton ? noneWidth() : 0);
      drawMonthCalendar(buffer.dc(), client, layout, look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

void drawMonthCalendar(HDC hdc, const RECT& client, const MonthLayout& layout, const MonthLook& look) {
  fillSysColor(hdc, client, COLOR_WINDOW);
  gdi::SavedDcState saved(hdc);
  SelectObject(hdc, look.font);
  SetBkMode(hdc, TRANSPARENT);
  const COLORREF text = GetSysColor(look.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);

  // Title and arrows.
  fillSysColor(hdc, layout.title, COLOR_BTNFACE);
  for (const RECT* arrow : {&layout.previous, &layout.next}) {
    fillSysColor(hdc, *arrow, COLOR_WINDOW);
    frameRect(hdc, *arrow, GetSysColor(COLOR_BTNSHADOW));
  }
  drawArrowGlyph(hdc, layout.previous, ArrowDirection::Left, text);
  drawArrowGlyph(hdc, layout.next, ArrowDirection::Right, text);
  SYSTEMTIME first{};
  first.wYear = static_cast<WORD>(look.year);
  first.wMonth = static_cast<WORD>(look.month);
  first.wDay = 1;
  SetTextColor(hdc, text);
  drawCentred(hdc, dateText(first, DATE_YEARMONTH), layout.title);

  // Day names, from the first day of the week.
  int widest = 0;
  for (int day = 0; day < 7; ++day) widest = std::max(widest, textWidth(hdc, dayName(day, false)));
  const bool shortest = widest > layout.cellWidth - scaled(2);
  for (int column = 0; column < 7; ++column) {
    const int day = (look.firstDay + column) % 7;
    RECT cell{layout.grid.left + column * layout.cellWidth, layout.dayNames.top,
              layout.grid.left + (column + 1) * layout.cellWidth, layout.dayNames.bottom};
    drawCentred(hdc, dayName(day, shortest), cell);
  }
  drawLine(hdc, layout.grid.left, layout.grid.top - 1, layout.grid.right, layout.grid.top - 1,
           GetSysColor(COLOR_BTNSHADOW));

  // The six weeks.
  for (int i = 0; i < MonthLayout::kCells; ++i) {
    const SYSTEMTIME date = dateInCell(look.year, look.month, look.firstDay, i);
    RECT cell = layout.cell(i);
    const bool inMonth = date.wMonth == look.month;
    const bool selected = sameDate(date, look.selected);
    COLORREF colour = inMonth ? text : GetSysColor(COLOR_GRAYTEXT);
    if (selected) {
      RECT band = cell;
      InflateRect(&band, -1, 0);
      fillSysColor(hdc, band, look.enabled ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
      if (look.enabled) colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    if (look.todayCircle && sameDate(date, look.today)) {
      RECT mark = cell;
      InflateRect(&mark, -1, 0);
      frameRect(hdc, mark, kTodayMark);
    }
    SetTextColor(hdc, colour);
    drawCentred(hdc, number(date.wDay), cell);
  }

  // Today's date and the None button.
  SetTextColor(hdc, text);
  if (!IsRectEmpty(&layout.todayLine)) {
    const std::u16string line = kTodayLabel + dateText(look.today, DATE_SHORTDATE);
    RECT area = layout.todayLine;
    DrawTextW(hdc, line.c_str(), static_cast<int>(line.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (!IsRectEmpty(&layout.noneButton)) {
    fillSysColor(hdc, layout.noneButton, COLOR_BTNFACE);
    frameRect(hdc, layout.noneButton, GetSysColor(COLOR_WINDOWFRAME));
    SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
    drawCentred(hdc, kNoneLabel, layout.noneButton);
  }
}

}  // namespace platform::controls
