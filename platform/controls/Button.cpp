#include "platform/controls/Button.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"

namespace platform::controls {
namespace {

bool isPush(UINT type) { return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON; }
bool isRadio(UINT type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

UINT textFormat(DWORD style, UINT horizontalDefault) {
  UINT format = DT_NOPREFIX;
  const DWORD h = style & BS_CENTER;
  format |= h == BS_CENTER ? DT_CENTER : h == BS_RIGHT ? DT_RIGHT : h == BS_LEFT ? DT_LEFT : horizontalDefault;
  if (style & BS_MULTILINE) {
    format |= DT_WORDBREAK;
  } else {
    format |= DT_SINGLELINE | DT_VCENTER;
  }
  return format;
}

// The text placed in `area`, vertically centred also when it wraps.
RECT placeText(HDC dc, const std::u16string& text, const RECT& area, UINT format) {
  if (!(format & DT_WORDBREAK) || text.empty()) return area;
  RECT measure{area.left, 0, area.right, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measure, format | DT_CALCRECT);
  const int height = measure.bottom - measure.top;
  const int top = area.top + std::max<int>((area.bottom - area.top - height) / 2, 0);
  return RECT{area.left, top, area.right, top + height};
}

void drawLabel(HDC dc, const std::u16string& text, const RECT& area, UINT format, COLORREF color) {
  if (text.empty()) return;
  SetTextColor(dc, color);
  RECT r = placeText(dc, text, area, format);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

// A frame `width` pixels thick, drawn inwards.
void frame(HDC dc, RECT r, int width, COLORREF color) {
  for (int i = 0; i < width; ++i) {
    frameRect(dc, r, color);
    InflateRect(&r, -1, -1);
  }
}

// A frame of the highlight colour around what has the focus.
void drawFocus(HDC dc, RECT r) { frame(dc, r, scaled(1), GetSysColor(COLOR_HIGHLIGHT)); }

void drawPushButton(HDC dc, const ButtonLook& look, bool pushed) {
  const RECT rc = look.client;
  fillSysColor(dc, rc, pushed ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
  // The default button wears a frame twice as thick.
  const int inset = scaled(1) * ((look.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 2 : 1);
  frame(dc, rc, inset, GetSysColor(COLOR_WINDOWFRAME));
  const COLORREF color = !look.enabled ? GetSysColor(COLOR_GRAYTEXT)
                         : pushed      ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                       : GetSysColor(COLOR_BTNTEXT);
  RECT text = rc;
  InflateRect(&text, -(inset + scaled(2)), -inset);
  drawLabel(dc, look.text, text, textFormat(look.style, DT_CENTER), color);
  if ((look.state & BST_FOCUS) && !pushed) {
    RECT focus = rc;
    InflateRect(&focus, -(inset + scaled(1)), -(inset + scaled(1)));
    drawFocus(dc, focus);
  }
}

void drawCheckMark(HDC dc, const RECT& box, COLORREF color) {
  const int s = box.right - box.left;
  const int x0 = box.left + s / 5;
  const int y0 = box.top + s / 2;
  const int x1 = box.left + s * 2 / 5;
  const int y1 = box.bottom - s / 4;
  const int x2 = box.right - s / 5;
  const int y2 = box.top + s / 4;
  const int thickness = std::max(s / 6, 2);
  for (int t = 0; t < thickness; ++t) {
    drawLine(dc, x0, y0 + t, x1, y1 + t, color);
    drawLine(dc, x1, y1 + t, x2 + 1, y2 + t - 1, color);
  }
}

void drawBoxOrRadio(HDC dc, const ButtonLook& look) {
  const RECT rc = look.client;
  FillRect(dc, &rc, look.background != nullptr ? look.background : GetSysColorBrush(COLOR_STATIC));
  const UINT type = look.style & BS_TYPEMASK;
  const int height = rc.bottom - rc.top;
  const int size = std::min(scaled(13), std::max(height, 1));
  const bool boxRight = (look.style & BS_LEFTTEXT) != 0;
  const int left = boxRight ? rc.right - size : rc.left;
  const int top = rc.top + (height - size) / 2;
  const RECT box{left, top, left + size, top + size};
  const bool pushed = (look.state & BST_PUSHED) != 0;
  const COLORREF edge = GetSysColor(look.enabled ? COLOR_WINDOWFRAME : COLOR_BTNSHADOW);
  const COLORREF ink = GetSysColor(look.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  const int fill = pushed || !look.enabled ? COLOR_BTNFACE : COLOR_WINDOW;
  const UINT check = look.state & (BST_CHECKED | BST_INDETERMINATE);
  if (isRadio(type)) {
    gdi::SavedDcState saved(dc);
    HPEN pen = CreatePen(PS_SOLID, scaled(1), edge);
    SelectObject(dc, pen);
    SelectObject(dc, GetSysColorBrush(fill));
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    if (check) {
      const int dot = std::max(size / 4, 2);
      HBRUSH brush = CreateSolidBrush(ink);
      HPEN dotPen = CreatePen(PS_SOLID, 1, ink);
      SelectObject(dc, brush);
      SelectObject(dc, dotPen);
      Ellipse(dc, box.left + dot, box.top + dot, box.right - dot, box.bottom - dot);
      SelectObject(dc, GetStockObject(NULL_BRUSH));
      SelectObject(dc, pen);
      DeleteObject(brush);
      DeleteObject(dotPen);
    }
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
  } else {
    fillSysColor(dc, box, fill);
    frame(dc, box, scaled(1), edge);
    if (check == BST_INDETERMINATE) {
      RECT inner = box;
      InflateRect(&inner, -std::max(size / 4, 2), -std::max(size / 4, 2));
      fillSysColor(dc, inner, COLOR_BTNSHADOW);
    } else if (check) {
      drawCheckMark(dc, box, ink);
    }
  }
  const int gap = scaled(4);
  RECT text =
      boxRight ? RECT{rc.left, rc.top, box.left - gap, rc.bottom} : RECT{box.right + gap, rc.top, rc.right, rc.bottom};
  const UINT format = textFormat(look.style, DT_LEFT);
  const COLORREF color = look.enabled ? look.textColor : GetSysColor(COLOR_GRAYTEXT);
  drawLabel(dc, look.text, text, format, color);
  if ((look.state & BST_FOCUS) && !look.text.empty()) {
    // The frame goes round the text itself.
    RECT measure = placeText(dc, look.text, text, format);
    RECT extent = measure;
    DrawTextW(dc, look.text.c_str(), static_cast<int>(look.text.size()), &extent, format | DT_CALCRECT);
    const int width = extent.right - extent.left;
    if (format & DT_CENTER) measure.left += (measure.right - measure.left - width) / 2;
    if (format & DT_RIGHT) measure.left = measure.right - width;
    measure.right = std::min<int>(measure.left + width, text.right);
    if (!(format & DT_WORDBREAK)) {
      const int h = extent.bottom - extent.top;
      measure.top = text.top + (text.bottom - text.top - h) / 2;
      measure.bottom = measure.top + h;
    }
    InflateRect(&measure, 1, 1);
    drawFocus(dc, measure);
  }
}

void drawGroupBox(HDC dc, const ButtonLook& look) {
  const RECT rc = look.client;
  FillRect(dc, &rc, look.background != nullptr ? look.background : GetSysColorBrush(COLOR_STATIC));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  const int lineY = rc.top + tm.tmHeight / 2;
  frameRect(dc, RECT{rc.left, lineY, rc.right, rc.bottom}, GetSysColor(COLOR_BTNSHADOW));
  if (look.text.empty()) return;
  const int indent = scaled(6);
  RECT text{rc.left + indent, rc.top, rc.right - indent, rc.top + tm.tmHeight};
  RECT extent = text;
  DrawTextW(dc, look.text.c_str(), static_cast<int>(look.text.size()), &extent,
            DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  // The title interrupts the line.
  RECT gap{text.left - scaled(2), text.top, std::min<int>(extent.right + scaled(2), text.right), text.bottom};
  FillRect(dc, &gap, look.background != nullptr ? look.background : GetSysColorBrush(COLOR_STATIC));
  drawLabel(dc, look.text, text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
            look.enabled ? look.textColor : GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace

void drawButton(HDC dc, const ButtonLook& look) {
  gdi::SavedDcState saved(dc);
  SelectObject(dc, look.font != nullptr ? look.font : systemFont());
  SetBkMode(dc, TRANSPARENT);
  const UINT type = look.style & BS_TYPEMASK;
  if (isPush(type)) {
    drawPushButton(dc, look, (look.state & BST_PUSHED) != 0);
  } else if (type == BS_GROUPBOX) {
    drawGroupBox(dc, look);
  } else if (look.style & BS_PUSHLIKE) {
    drawPushButton(dc, look, (look.state & (BST_PUSHED | BST_CHECKED)) != 0);
  } else {
    drawBoxOrRadio(dc, look);
  }
}

void Button::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_BUTTONW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &Button::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_BUTTONW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK Button::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<Button>::dispatch(hwnd, message, wParam, lParam);
}

DWORD Button::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
UINT Button::type() const { return style() & BS_TYPEMASK; }
bool Button::radio() const { return isRadio(type()); }

bool Button::checkable() const {
  const UINT t = type();
  return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE || isRadio(t);
}

LRESULT Button::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      if (tracking_ && GetCapture() == hwnd_) {
        tracking_ = false;
        ReleaseCapture();
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return result;
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: {
      if (lParam != 0) dialogMode_ = true;
      const UINT t = type();
      if (t == BS_PUSHBUTTON) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (t == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (isRadio(t)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (t == BS_GROUPBOX) return DLGC_STATIC;
      return DLGC_BUTTON;
    }
    case WM_NCHITTEST:
      // A group box lets taps through to the controls it frames.
      if (type() == BS_GROUPBOX) return HTTRANSPARENT;
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_SETFOCUS:
      focused_ = true;
      InvalidateRect(hwnd_, nullptr, FALSE);
      if (style() & BS_NOTIFY) notify(BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      if (spaceDown_) {
        spaceDown_ = false;
        press(false);
      }
      if (tracking_) {
        tracking_ = false;
        press(false);
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      if (!dead_ && (style() & BS_NOTIFY)) notify(BN_KILLFOCUS);
      return 0;
    case WM_KEYDOWN: {
      // Space presses a button; outside a dialog (which has its own use for it) the action
      // key does too, as the Smartphone has no space key.
      const bool key = wParam == VK_SPACE || (wParam == VK_RETURN && !dialogMode_);
      if (key && type() != BS_GROUPBOX && !(lParam & (1L << 30)) && !tracking_) {
        spaceDown_ = true;
        keyDown_ = static_cast<UINT>(wParam);
        press(true);
      }
      return 0;
    }
    case WM_KEYUP:
      if (spaceDown_ && wParam == keyDown_) {
        spaceDown_ = false;
        press(false);
        click();
      }
      return 0;
    case WM_CHAR:
      return 0;
    case WM_LBUTTONDBLCLK:
      if ((style() & BS_NOTIFY) || type() == BS_RADIOBUTTON) {
        notify(BN_DOUBLECLICKED);
        return 0;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (type() == BS_GROUPBOX) return 0;
      if (GetFocus() != hwnd_) {
        SetFocus(hwnd_);
        if (dead_) return 0;
      }
      tracking_ = true;
      SetCapture(hwnd_);
      press(true);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_ && GetCapture() == hwnd_) {
        RECT rc{};
        GetClientRect(hwnd_, &rc);
        press(PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!tracking_) return 0;
      tracking_ = false;
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      const bool inside = PtInRect(&rc, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != FALSE;
      if (GetCapture() == hwnd_) ReleaseCapture();
      press(false);
      if (inside) click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        press(false);
      }
      return 0;
    case BM_GETCHECK:
      return checkable() ? check_ : BST_UNCHECKED;
    case BM_SETCHECK:
      setCheck(static_cast<UINT>(wParam));
      return 0;
    case BM_GETSTATE:
      return static_cast<LRESULT>(check_ | (pushed_ ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0));
    case BM_SETSTATE:
      press(wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      const DWORD kept = style() & ~static_cast<DWORD>(0xFFFF);
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(kept | (static_cast<DWORD>(wParam) & 0xFFFF)));
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    }
    case BM_CLICK:
      // As a tap would: the button takes the focus and clicks; a disabled one does nothing.
      if (!IsWindowEnabled(hwnd_) || type() == BS_GROUPBOX) return 0;
      SendMessageW(hwnd_, WM_LBUTTONDOWN, MK_LBUTTON, 0);
      if (!dead_) SendMessageW(hwnd_, WM_LBUTTONUP, 0, 0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void Button::press(bool pressed) {
  if (pushed_ == pressed) return;
  pushed_ = pressed;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Button::click() {
  switch (type()) {
    case BS_AUTOCHECKBOX:
      setCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
      break;
    case BS_AUTO3STATE:
      setCheck(check_ == BST_UNCHECKED ? BST_CHECKED : check_ == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED);
      break;
    case BS_AUTORADIOBUTTON:
      setCheck(BST_CHECKED);
      uncheckOtherRadios();
      break;
    default:
      break;
  }
  if (!dead_) notify(BN_CLICKED);
}

void Button::setCheck(UINT check) {
  if (!checkable()) return;
  const UINT t = type();
  const UINT most = (t == BS_3STATE || t == BS_AUTO3STATE) ? BST_INDETERMINATE : BST_CHECKED;
  check = std::min(check, most);
  if (radio()) {
    // The checked radio button of a group is its tab stop.
    const DWORD s = style();
    SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(check != BST_UNCHECKED ? (s | WS_TABSTOP) : (s & ~WS_TABSTOP)));
  }
  if (check == check_) return;
  check_ = check;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void Button::uncheckOtherRadios() {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr) return;
  // The group runs from the sibling with WS_GROUP at or before this one to the next WS_GROUP.
  HWND first = hwnd_;
  while (!(GetWindowLongW(first, GWL_STYLE) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (previous == nullptr) break;
    first = previous;
  }
  for (HWND w = first; w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w != first && (GetWindowLongW(w, GWL_STYLE) & WS_GROUP)) break;
    if (w == hwnd_) continue;
    const DWORD s = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
    if ((s & BS_TYPEMASK) == BS_AUTORADIOBUTTON && (SendMessageW(w, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) {
      SendMessageW(w, BM_SETCHECK, BST_UNCHECKED, 0);
    }
  }
}

void Button::notify(WORD code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), code),
               reinterpret_cast<LPARAM>(hwnd_));
}

void Button::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  gdi::MemoryDc buffer(hdc, rc.right - rc.left, rc.bottom - rc.top);
  if (buffer) {
    ButtonLook look;
    look.style = style();
    look.state = static_cast<UINT>(SendMessageW(hwnd_, BM_GETSTATE, 0, 0));
    look.enabled = IsWindowEnabled(hwnd_) != FALSE;
    const int length = GetWindowTextLengthW(hwnd_);
    look.text.assign(static_cast<std::size_t>(length) + 1, u'\0');
    GetWindowTextW(hwnd_, look.text.data(), length + 1);
    look.text.resize(static_cast<std::size_t>(length));
    look.font = font_;
    look.client = rc;
    // The parent chooses colours, as dialogs do: WM_CTLCOLORBTN for push buttons,
    // WM_CTLCOLORSTATIC for the others.
    SetTextColor(buffer.dc(), GetSysColor(COLOR_STATICTEXT));
    SetBkColor(buffer.dc(), GetSysColor(COLOR_STATIC));
    if (HWND parent = GetParent(hwnd_)) {
      const UINT ask = isPush(look.style & BS_TYPEMASK) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
      look.background = reinterpret_cast<HBRUSH>(
          SendMessageW(parent, ask, reinterpret_cast<WPARAM>(buffer.dc()), reinterpret_cast<LPARAM>(hwnd_)));
    }
    look.textColor = GetTextColor(buffer.dc());
    if (!dead_) {
      drawButton(buffer.dc(), look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace platform::controls
