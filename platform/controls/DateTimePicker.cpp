#include "platform/controls/DateTimePicker.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/base/DeviceConfig.h"
#include "platform/base/TextCase.h"
#include "platform/controls/ArrowGlyph.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/controls/MonthCalendar.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/SysParams.h"
#include "platform/sys/TimeMath.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"

namespace platform::controls {
namespace {

constexpr const char16_t* kNoDate = u"None";

bool smartphone() { return DeviceConfig::current().edition == Edition::Smartphone; }
bool altDown() { return GetKeyState(VK_MENU) < 0; }

std::u16string localeText(DWORD type) {
  WCHAR buffer[80] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 80) > 0 ? std::u16string(buffer) : std::u16string();
}

bool sameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

// A short date with its year in four digits ("M/d/yy" -> "M/d/yyyy").
std::u16string withCentury(std::u16string picture) {
  for (std::size_t i = 0; i < picture.size();) {
    if (picture[i] != u'y') {
      ++i;
      continue;
    }
    std::size_t n = 0;
    while (i + n < picture.size() && picture[i + n] == u'y') ++n;
    if (n < 4) picture.replace(i, n, u"yyyy");
    i += std::max<std::size_t>(n, 4);
  }
  return picture;
}

void drawCheckBox(HDC hdc, const RECT& box, bool checked, bool marked, bool enabled) {
  fillSysColor(hdc, box, enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  const COLORREF ink = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  frameRect(hdc, box, marked ? GetSysColor(COLOR_HIGHLIGHT) : ink);
  if (marked) {
    RECT inner = box;
    InflateRect(&inner, -1, -1);
    frameRect(hdc, inner, GetSysColor(COLOR_HIGHLIGHT));
  }
  if (!checked) return;
  // A tick: down from the left third, then up to the right.
  const int w = box.right - box.left;
  const int left = box.left + w / 4;
  const int right = box.right - w / 4;
  const int bottom = box.bottom - w / 4 - 1;
  const int middle = left + (right - left) / 3;
  const int thickness = std::max(w / 6, 2);
  for (int t = 0; t < thickness; ++t) {
    drawLine(hdc, left, bottom - (middle - left) - t, middle, bottom - t, ink);
    drawLine(hdc, middle, bottom - t, right, box.top + w / 4 + thickness - 1 - t, ink);
  }
}

}  // namespace

PickerLayout PickerLayout::compute(const RECT& client, bool checkBox, PickerButton button) {
  PickerLayout l;
  const int height = client.bottom - client.top;
  l.text = client;
  if (checkBox) {
    const int size = std::max(std::min(height - 4, scaled(13)), 6);
    const int top = client.top + (height - size) / 2;
    l.check = RECT{client.left + scaled(2), top, client.left + scaled(2) + size, top + size};
    l.text.left = l.check.right + scaled(3);
  }
  if (button != PickerButton::None) {
    const int width = std::min(height, scaled(20));
    l.button = RECT{client.right - width, client.top, client.right, client.bottom};
    l.text.right = l.button.left;
    if (button == PickerButton::Spin) {
      const int middle = client.top + height / 2;
      l.spinUp = RECT{l.button.left, client.top, client.right, middle};
      l.spinDown = RECT{l.button.left, middle, client.right, client.bottom};
    }
  }
  return l;
}

std::vector<RECT> pieceRects(HDC hdc, const std::vector<std::u16string>& pieces, const RECT& text) {
  std::vector<RECT> rects;
  int x = text.left + scaled(2);
  for (const std::u16string& piece : pieces) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, piece.c_str(), static_cast<int>(piece.size()), &size);
    rects.push_back(RECT{x, text.top, x + size.cx, text.bottom});
    x += size.cx;
  }
  return rects;
}

DateTimePicker::DateTimePicker(HWND hwnd) : hwnd_(hwnd) { GetLocalTime(&value_); }

void DateTimePicker::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, DATETIMEPICK_CLASSW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &DateTimePicker::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = DATETIMEPICK_CLASSW;
  RegisterClassW(&wc);
  MonthCalendar::registerClass();
}

DateTimePicker* DateTimePicker::fromWindow(HWND hwnd) { return ControlTable<DateTimePicker>::find(hwnd); }

LRESULT CALLBACK DateTimePicker::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<DateTimePicker>::dispatch(hwnd, message, wParam, lParam);
}

DWORD DateTimePicker::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
bool DateTimePicker::timeFormat() const { return (style() & DTS_SHORTDATECENTURYFORMAT) == 0x0008; }
bool DateTimePicker::checkBox() const { return (style() & DTS_SHOWNONE) && !noneButton(); }
bool DateTimePicker::noneButton() const {
  return (style() & DTS_SHOWNONE) && (style() & DTS_NONEBUTTON) && !smartphone();
}

PickerButton DateTimePicker::button() const {
  if (smartphone()) return PickerButton::None;
  return timeFormat() || (style() & DTS_UPDOWN) ? PickerButton::Spin : PickerButton::DropDown;
}

LRESULT DateTimePicker::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      loadFormat();
      return 0;
    case WM_DESTROY:
      if (calendar_ != nullptr) {
        HWND calendar = calendar_;
        calendar_ = nullptr;
        DestroyWindow(calendar);
      }
      return 0;
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
    case WM_SIZE:
    case WM_STYLECHANGED:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_ENABLE:
      if (wParam == 0) closeUp();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      // Hidden or moved away from under its calendar, the field closes it.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      const UINT still = SWP_NOMOVE | SWP_NOSIZE;
      if (pos != nullptr && ((pos->flags & SWP_HIDEWINDOW) || (pos->flags & still) != still)) closeUp();
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    case WM_SETTINGCHANGE:
      // The locale's formats may have changed.
      if (!customFormat_) loadFormat();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      if (piece_ < 0 && !checkFocused_) piece_ = fields_.first();
      InvalidateRect(hwnd_, nullptr, FALSE);
      notify(NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      entry_.reset();
      closeUp();
      if (dead_) return 0;
      InvalidateRect(hwnd_, nullptr, FALSE);
      notify(NM_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return dialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      onChar(static_cast<WCHAR>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr && header->hwndFrom == calendar_ && calendar_ != nullptr && header->code == MCN_SELECT) {
        onCalendarSelect(reinterpret_cast<const NMSELECT*>(lParam)->stSelStart);
      }
      return 0;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      const int size = static_cast<int>(wParam);
      if (buffer == nullptr || size <= 0) return 0;
      const std::u16string text = shownText();
      const int n = std::min(static_cast<int>(text.size()), size - 1);
      std::copy(text.begin(), text.begin() + n, buffer);
      buffer[n] = 0;
      return n;
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(shownText().size());
    case DTM_GETSYSTEMTIME:
      return getSystemTime(reinterpret_cast<SYSTEMTIME*>(lParam));
    case DTM_SETSYSTEMTIME:
      return setSystemTime(wParam, reinterpret_cast<const SYSTEMTIME*>(lParam));
    case DTM_SETFORMATW:
      setFormat(reinterpret_cast<LPCWSTR>(lParam));
      return TRUE;
    case DTM_GETMONTHCAL:
      return reinterpret_cast<LRESULT>(calendar_);
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------------
// The value

BOOL DateTimePicker::setSystemTime(WPARAM flag, const SYSTEMTIME* time) {
  if (flag == GDT_NONE) {
    if (!(style() & DTS_SHOWNONE)) return FALSE;
    valid_ = false;
  } else if (flag == GDT_VALID) {
    if (time == nullptr || !sys::isValidSystemTime(*time)) return FALSE;
    value_ = *time;
    value_.wDayOfWeek = static_cast<WORD>(weekdayOf(value_));
    valid_ = true;
  } else {
    return FALSE;
  }
  entry_.reset();
  if (calendar_ != nullptr && valid_) MonthCal_SetCurSel(calendar_, &value_);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return TRUE;
}

LRESULT DateTimePicker::getSystemTime(SYSTEMTIME* time) const {
  if (time == nullptr) return GDT_ERROR;
  if (!valid_) return GDT_NONE;
  *time = value_;
  return GDT_VALID;
}

void DateTimePicker::setFormat(LPCWSTR picture) {
  customFormat_ = picture != nullptr;
  if (customFormat_) picture_ = picture;
  loadFormat();
}

void DateTimePicker::loadFormat() {
  if (!customFormat_) picture_ = defaultPicture();
  fields_ = DateTimeFields(picture_);
  piece_ = fields_.first();
  entry_.reset();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

std::u16string DateTimePicker::defaultPicture() const {
  const DWORD kind = style() & DTS_SHORTDATECENTURYFORMAT;
  if (kind == DTS_SHORTDATECENTURYFORMAT) return withCentury(localeText(LOCALE_SSHORTDATE));
  if (kind == 0x0008) return localeText(LOCALE_STIMEFORMAT);
  if (kind == DTS_LONGDATEFORMAT) return localeText(LOCALE_SLONGDATE);
  return localeText(LOCALE_SSHORTDATE);
}

void DateTimePicker::change(const SYSTEMTIME& time, bool valid) {
  const bool changed = valid != valid_ || (valid && !sameTime(time, value_));
  value_ = time;
  value_.wDayOfWeek = static_cast<WORD>(weekdayOf(value_));
  valid_ = valid;
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (!changed) return;
  NMDATETIMECHANGE nm{};
  nm.dwFlags = valid_ ? GDT_VALID : GDT_NONE;
  if (valid_) nm.st = value_;
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return;
  nm.nmhdr.hwndFrom = hwnd_;
  nm.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  nm.nmhdr.code = DTN_DATETIMECHANGE;
  SendMessageW(parent, WM_NOTIFY, nm.nmhdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

// ---------------------------------------------------------------------------------------------
// Editing

// The check box counts as a field before the first.
void DateTimePicker::moveFocus(int direction) {
  entry_.reset();
  if (checkFocused_) {
    if (direction > 0 && fields_.first() >= 0) {
      checkFocused_ = false;
      piece_ = fields_.first();
    }
  } else {
    const int next = fields_.next(piece_, direction);
    if (next >= 0) {
      piece_ = next;
    } else if (direction < 0 && checkBox()) {
      checkFocused_ = true;
    }
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// Changing a field gives the picker a date again when it had none.
void DateTimePicker::stepField(int delta) {
  if (checkFocused_) {
    toggleCheck();
    return;
  }
  if (!fields_.editable(piece_)) return;
  entry_.reset();
  change(stepDateField(value_, fields_.pieces()[static_cast<std::size_t>(piece_)].field, delta), true);
}

void DateTimePicker::typeDigit(int digit) {
  if (checkFocused_ || !fields_.editable(piece_)) return;
  SYSTEMTIME time = value_;
  if (entry_.type(digit, fields_, piece_, time)) {
    change(time, true);
  } else {
    InvalidateRect(hwnd_, nullptr, FALSE);
  }
  if (dead_ || !entry_.complete()) return;
  const int next = fields_.next(piece_, 1);
  if (next >= 0) {
    piece_ = next;
    entry_.reset();
  }
}

void DateTimePicker::typeDayHalf(WCHAR ch) {
  if (checkFocused_ || !fields_.editable(piece_) ||
      fields_.pieces()[static_cast<std::size_t>(piece_)].field != DateField::AmPm) {
    return;
  }
  const std::u16string am = localeText(LOCALE_S1159);
  const std::u16string pm = localeText(LOCALE_S2359);
  const char16_t typed = upperCase(ch);
  SYSTEMTIME time = value_;
  if (!am.empty() && upperCase(am[0]) == typed && time.wHour >= 12) {
    time.wHour = static_cast<WORD>(time.wHour - 12);
  } else if (!pm.empty() && upperCase(pm[0]) == typed && time.wHour < 12) {
    time.wHour = static_cast<WORD>(time.wHour + 12);
  }
  change(time, true);
}

void DateTimePicker::toggleCheck() {
  if (!checkBox()) return;
  entry_.reset();
  change(value_, !valid_);
}

// ---------------------------------------------------------------------------------------------
// The drop-down calendar

bool DateTimePicker::canDropDown() const { return button() == PickerButton::DropDown && IsWindowEnabled(hwnd_); }

void DateTimePicker::dropDown() {
  if (calendar_ != nullptr || !canDropDown()) return;
  entry_.reset();
  HWND calendar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MONTHCAL_CLASSW, u"", WS_POPUP | WS_BORDER, 0, 0, 1,
                                  1, hwnd_, nullptr, nullptr, nullptr);
  MonthCalendar* month = MonthCalendar::fromWindow(calendar);
  if (month == nullptr) return;
  calendar_ = calendar;
  SendMessageW(calendar, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  SYSTEMTIME shown = value_;
  if (!valid_) GetLocalTime(&shown);
  MonthCal_SetCurSel(calendar, &shown);
  const HWND self = hwnd_;
  MonthCalendar::DropDown hooks;
  hooks.noneButton = noneButton();
  hooks.none = [self] {
    if (DateTimePicker* picker = fromWindow(self); picker != nullptr && picker->calendar_ != nullptr) {
      picker->change(picker->value_, false);
      picker->closeUp();
    }
  };
  hooks.dismissed = [self] {
    if (DateTimePicker* picker = fromWindow(self)) picker->closeUp();
  };
  month->beginDropDown(std::move(hooks));

  // Below the field, or above it when there is more room there; within the work area.
  RECT need{};
  MonthCal_GetMinReqRect(calendar, &need);
  const int border = GetSystemMetrics(SM_CXBORDER);
  const int width = need.right - need.left + 2 * border;
  const int height = need.bottom - need.top + 2 * border;
  RECT field{};
  GetWindowRect(hwnd_, &field);
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = (style() & DTS_RIGHTALIGN) ? field.right - width : field.left;
  x = std::clamp(x, static_cast<int>(work.left),
                 std::max(static_cast<int>(work.right) - width, static_cast<int>(work.left)));
  int y = field.bottom;
  if (y + height > work.bottom && field.top - work.top > work.bottom - field.bottom) y = field.top - height;
  y = std::clamp(y, static_cast<int>(work.top),
                 std::max(static_cast<int>(work.bottom) - height, static_cast<int>(work.top)));

  notify(DTN_DROPDOWN);
  if (dead_ || calendar_ != calendar || !IsWindow(calendar)) return;
  SetWindowPos(calendar, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetCapture(calendar);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void DateTimePicker::closeUp() {
  if (calendar_ == nullptr) return;
  HWND calendar = calendar_;
  calendar_ = nullptr;
  if (GetCapture() == calendar) ReleaseCapture();
  DestroyWindow(calendar);
  if (dead_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  notify(DTN_CLOSEUP);
}

// The day chosen in the calendar keeps the time of day.
void DateTimePicker::onCalendarSelect(const SYSTEMTIME& date) {
  SYSTEMTIME time = value_;
  time.wYear = date.wYear;
  time.wMonth = date.wMonth;
  time.wDay = date.wDay;
  if (sys::isValidSystemTime(time)) change(time, true);
  if (!dead_) closeUp();
}

// ---------------------------------------------------------------------------------------------
// Input

LRESULT DateTimePicker::dialogCode(const MSG* msg) const {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (calendar_ != nullptr && msg != nullptr && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
    code |= DLGC_WANTMESSAGE;
  }
  // On the Smartphone Up and Down go from field to field of a form; digits change the value.
  if (smartphone() && msg != nullptr && msg->message == WM_KEYDOWN &&
      (msg->wParam == VK_UP || msg->wParam == VK_DOWN)) {
    code &= ~static_cast<LRESULT>(DLGC_WANTARROWS);
  }
  return code;
}

void DateTimePicker::onKeyDown(UINT vk) {
  const bool toggle = vk == VK_F4 || ((vk == VK_DOWN || vk == VK_UP) && altDown());
  if (calendar_ != nullptr) {
    // The calendar takes the keys while it is down; Back leaves it, F4 chooses.
    if (vk == VK_ESCAPE) {
      closeUp();
    } else {
      SendMessageW(calendar_, WM_KEYDOWN, toggle ? VK_RETURN : vk, 0);
    }
    return;
  }
  if (toggle) {
    dropDown();
    return;
  }
  switch (vk) {
    case VK_LEFT:
      moveFocus(-1);
      break;
    case VK_RIGHT:
      moveFocus(1);
      break;
    case VK_UP:
      stepField(1);
      break;
    case VK_DOWN:
      stepField(-1);
      break;
    case VK_HOME:
      entry_.reset();
      checkFocused_ = false;
      piece_ = fields_.first();
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    case VK_END: {
      entry_.reset();
      checkFocused_ = false;
      for (int i = fields_.count() - 1; i >= 0; --i) {
        if (fields_.editable(i)) {
          piece_ = i;
          break;
        }
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    }
    case VK_SPACE:
      toggleCheck();
      break;
    default:
      break;
  }
}

void DateTimePicker::onChar(WCHAR ch) {
  if (calendar_ != nullptr) return;
  if (ch >= u'0' && ch <= u'9') {
    typeDigit(ch - u'0');
  } else if (ch > u' ') {
    typeDayHalf(ch);
  }
}

void DateTimePicker::onLButtonDown(POINT pt) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (dead_ || GetFocus() != hwnd_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const PickerLayout layout = PickerLayout::compute(client, checkBox(), button());
  if (PtInRect(&layout.check, pt)) {
    checkFocused_ = true;
    toggleCheck();
    return;
  }
  if (PtInRect(&layout.button, pt)) {
    if (button() == PickerButton::DropDown) {
      dropDown();
    } else {
      if (checkFocused_ || piece_ < 0) {
        checkFocused_ = false;
        piece_ = fields_.first();
      }
      stepField(PtInRect(&layout.spinUp, pt) ? 1 : -1);
    }
    return;
  }
  // A tap on the text puts the focus on the field under it, or the nearest one.
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return;
  HGDIOBJ old = SelectObject(dc, font_ != nullptr ? font_ : systemFont());
  const std::vector<RECT> rects = pieceRects(dc, shownPieces(), layout.text);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (rects.size() != static_cast<std::size_t>(fields_.count())) return;
  int best = -1;
  int bestDistance = 0;
  for (int i = 0; i < fields_.count(); ++i) {
    if (!fields_.editable(i)) continue;
    const RECT& r = rects[static_cast<std::size_t>(i)];
    const int distance = pt.x < r.left ? r.left - pt.x : pt.x >= r.right ? pt.x - r.right + 1 : 0;
    if (best < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  if (best < 0) return;
  entry_.reset();
  checkFocused_ = false;
  piece_ = best;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Painting and notifications

std::vector<std::u16string> DateTimePicker::shownPieces() const {
  if (!valid_ && noneButton()) return {kNoDate};
  std::vector<std::u16string> pieces;
  for (int i = 0; i < fields_.count(); ++i) {
    pieces.push_back(i == piece_ && !entry_.pending().empty() ? entry_.pending() : fields_.text(i, value_));
  }
  return pieces;
}

std::u16string DateTimePicker::shownText() const {
  std::u16string text;
  for (const std::u16string& piece : shownPieces()) text += piece;
  return text;
}

void DateTimePicker::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      const bool focused = GetFocus() == hwnd_;
      PickerLook look;
      look.font = font_ != nullptr ? font_ : systemFont();
      look.pieces = shownPieces();
      look.enabled = IsWindowEnabled(hwnd_) != FALSE;
      look.checked = valid_;
      look.greyed = !valid_;
      const bool showsFields = valid_ || !noneButton();
      look.marked = focused && look.enabled && !checkFocused_ && showsFields ? piece_ : -1;
      look.checkMarked = focused && look.enabled && checkFocused_;
      look.button = button();
      look.pressed = calendar_ != nullptr;
      drawDateTimePicker(buffer.dc(), client, PickerLayout::compute(client, checkBox(), look.button), look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

void DateTimePicker::notify(UINT code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return;
  NMHDR header{};
  header.hwndFrom = hwnd_;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  header.code = code;
  SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void drawDateTimePicker(HDC hdc, const RECT& client, const PickerLayout& layout, const PickerLook& look) {
  fillSysColor(hdc, client, look.enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  if (!IsRectEmpty(&layout.check)) drawCheckBox(hdc, layout.check, look.checked, look.checkMarked, look.enabled);

  if (look.button != PickerButton::None) {
    fillSysColor(hdc, layout.button, look.pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    const COLORREF edge = GetSysColor(COLOR_BTNSHADOW);
    drawLine(hdc, layout.button.left, layout.button.top, layout.button.left, layout.button.bottom, edge);
    const COLORREF ink = GetSysColor(!look.enabled  ? COLOR_GRAYTEXT
                                     : look.pressed ? COLOR_BTNHIGHLIGHT
                                                    : COLOR_BTNTEXT);
    if (look.button == PickerButton::DropDown) {
      drawArrowGlyph(hdc, layout.button, ArrowDirection::Down, ink);
    } else {
      drawLine(hdc, layout.spinUp.left, layout.spinUp.bottom, layout.spinUp.right, layout.spinUp.bottom, edge);
      drawArrowGlyph(hdc, layout.spinUp, ArrowDirection::Up, ink);
      drawArrowGlyph(hdc, layout.spinDown, ArrowDirection::Down, ink);
    }
  }

  gdi::SavedDcState saved(hdc);
  SelectObject(hdc, look.font);
  SetBkMode(hdc, TRANSPARENT);
  IntersectClipRect(hdc, layout.text.left, layout.text.top, layout.text.right, layout.text.bottom);
  const std::vector<RECT> rects = pieceRects(hdc, look.pieces, layout.text);
  std::u16string whole;
  for (const std::u16string& piece : look.pieces) whole += piece;
  const bool grey = look.greyed || !look.enabled;
  SetTextColor(hdc, GetSysColor(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  RECT line{layout.text.left + scaled(2), layout.text.top, layout.text.right, layout.text.bottom};
  if (!whole.empty()) {
    DrawTextW(hdc, whole.c_str(), static_cast<int>(whole.size()), &line,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  // The field in focus again over the highlight, so that it also reads on its own in the dump.
  if (look.marked >= 0 && look.marked < static_cast<int>(look.pieces.size())) {
    RECT band = rects[static_cast<std::size_t>(look.marked)];
    const int height = fontHeight(look.font);
    band.top = layout.text.top + (layout.text.bottom - layout.text.top - height) / 2;
    band.bottom = band.top + height;
    fillSysColor(hdc, band, COLOR_HIGHLIGHT);
    SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    const std::u16string& piece = look.pieces[static_cast<std::size_t>(look.marked)];
    RECT area = rects[static_cast<std::size_t>(look.marked)];
    DrawTextW(hdc, piece.c_str(), static_cast<int>(piece.size()), &area,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

}  // namespace platform::controls
