#include "platform/shell/TitleBar.h"

#include "platform/controls/ControlLook.h"
#include "platform/controls/KeypadIndicator.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"

namespace platform::shell {
namespace {

HWND& lastSubject() {
  static HWND hwnd = nullptr;
  return hwnd;
}

void drawStartIcon(HDC hdc, const RECT& area) {
  // Four coloured panes, the handheld's Start flag.
  const int k = controls::uiScale();
  const int pane = 6 * k;
  const int gap = k;
  const int left = area.left + (area.right - area.left - 2 * pane - gap) / 2;
  const int top = area.top + (area.bottom - area.top - 2 * pane - gap) / 2;
  const COLORREF colors[4] = {RGB(232, 72, 40), RGB(96, 184, 56), RGB(40, 136, 232), RGB(248, 200, 24)};
  for (int i = 0; i < 4; ++i) {
    const int x = left + (i % 2) * (pane + gap);
    const int y = top + (i / 2) * (pane + gap);
    RECT r{x, y, x + pane, y + pane};
    HBRUSH brush = CreateSolidBrush(colors[i]);
    FillRect(hdc, &r, brush);
    DeleteObject(brush);
  }
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc == nullptr) return;
  RECT rc{};
  GetClientRect(hwnd, &rc);
  controls::fillSysColor(hdc, rc, COLOR_ACTIVECAPTION);
  controls::drawLine(hdc, 0, rc.bottom - 1, rc.right, rc.bottom - 1, GetSysColor(COLOR_3DDKSHADOW));
  HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
  const int pad = controls::scaled(4);
  RECT text{pad, 0, rc.right - pad, rc.bottom - 1};
  if (pocketPc() && startIconVisible()) {
    const RECT icon{0, 0, rc.bottom, rc.bottom - 1};
    drawStartIcon(hdc, icon);
    text.left = icon.right + pad;
  }
  const HWND subject = TitleBar::subject();
  if (subject != nullptr && pocketPc() && hasDoneButton(subject)) {
    const RECT done = TitleBar::doneButtonRect(hwnd);
    text.right = done.left - pad;
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_CAPTIONTEXT));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
    Ellipse(hdc, done.left, done.top, done.right, done.bottom);
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(pen);
    drawText(hdc, u"ok", done, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, GetSysColor(COLOR_CAPTIONTEXT));
  }
  const std::u16string_view mode = controls::KeypadIndicator::label(controls::KeypadIndicator::current());
  if (!pocketPc() && !mode.empty()) {
    SIZE size{};
    GetTextExtentPoint32W(hdc, mode.data(), static_cast<int>(mode.size()), &size);
    const RECT box{rc.right - pad - size.cx, 0, rc.right - pad, rc.bottom - 1};
    drawText(hdc, std::u16string(mode), box, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
             GetSysColor(COLOR_CAPTIONTEXT));
    text.right = box.left - pad;
  }
  if (subject != nullptr) {
    drawText(hdc, windowText(subject), text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS,
             GetSysColor(COLOR_CAPTIONTEXT));
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd, &ps);
}

}  // namespace

HWND TitleBar::create() {
  registerShellClass(kTitleBarClass, &TitleBar::windowProc);
  HWND hwnd =
      CreateWindowExW(WS_EX_TOPMOST, kTitleBarClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (hwnd != nullptr) {
    showWithoutActivation(hwnd, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), titleBarHeight()});
  }
  return hwnd;
}

HWND TitleBar::subject() {
  HWND fg = GetForegroundWindow();
  if (fg != nullptr && !isShellWindow(fg)) lastSubject() = fg;
  if (!IsWindow(lastSubject())) lastSubject() = nullptr;
  return lastSubject();
}

RECT TitleBar::doneButtonRect(HWND titleBar) {
  RECT rc{};
  GetClientRect(titleBar, &rc);
  const int size = rc.bottom - controls::scaled(6);
  const int right = rc.right - controls::scaled(4);
  const int top = (rc.bottom - size) / 2;
  return RECT{right - size, top, right, top + size};
}

LRESULT CALLBACK TitleBar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (keepInactive(hwnd, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTINGCHANGE:
      if (IsWindowVisible(hwnd)) {
        showWithoutActivation(hwnd, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), titleBarHeight()});
      }
      return 0;
    case WM_LBUTTONUP: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const HWND target = subject();
      const RECT done = doneButtonRect(hwnd);
      if (target != nullptr && pocketPc() && hasDoneButton(target) && PtInRect(&done, pt)) {
        PostMessageW(target, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
      }
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::shell
