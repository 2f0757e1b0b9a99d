// The default handling every window procedure falls back on.
#include <algorithm>

#include "platform/gdi/GdiBridge.h"
#include "platform/sys/ShellApi.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowObserver.h"

using platform::inputState;
using platform::paintScheduler;
using platform::Window;
using platform::windowTree;

namespace {

HBRUSH controlColour(HDC dc, int text, int back) {
  SetTextColor(dc, GetSysColor(text));
  SetBkColor(dc, GetSysColor(back));
  return GetSysColorBrush(back);
}
}  // namespace

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = windowTree().find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_NCCREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
      return TRUE;
    }
    case WM_DROPFILES:
      // A window that does not take the files lets go of them.
      DragFinish(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = platform::classBackgroundBrush(*w);
      if (!brush || !wParam) return 0;
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
      return 1;
    }
    case WM_SETTEXT: {
      auto* text = reinterpret_cast<LPCWSTR>(lParam);
      w->text = text ? std::u16string(text) : std::u16string();
      if (platform::frameCaption(*w)) paintScheduler().invalidateFrame(*w);
      if (!w->parent) platform::notifyTopLevelTextChanged(hwnd);
      return TRUE;
    }
    case WM_GETTEXT:
      return platform::copyWindowText(w->text, reinterpret_cast<LPWSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETREDRAW:
      paintScheduler().setRedraw(*w, wParam != 0);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (!pos) return 0;
      const RECT c = platform::clientRectLocal(*w);
      if (!(pos->flags & SWP_NOMOVE)) {
        SendMessageW(hwnd, WM_MOVE, 0,
                     MAKELPARAM(static_cast<WORD>(w->rect.left + c.left), static_cast<WORD>(w->rect.top + c.top)));
      }
      if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) {
        if ((w = windowTree().find(hwnd)) == nullptr) return 0;
        const RECT c2 = platform::clientRectLocal(*w);
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(static_cast<WORD>(c2.right - c2.left), static_cast<WORD>(c2.bottom - c2.top)));
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(hwnd);
      return 0;
    case WM_MOUSEACTIVATE:
      // A child asks its parent first, as on the desktop system.
      if (w->parent) {
        const LRESULT r = SendMessageW(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_NCHITTEST: {
      int hit = HTNOWHERE;
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const HWND found = windowTree().windowFromPoint(pt, &hit);
      if (found == hwnd) return hit;
      return platform::rectContains(windowTree().windowScreenRect(*w), pt) ? HTCLIENT : HTNOWHERE;
    }
    case WM_SETCURSOR:
      if (w->parent) {
        if (SendMessageW(w->parent, WM_SETCURSOR, wParam, lParam)) return TRUE;
      }
      if (LOWORD(lParam) == HTCLIENT && w->cls->cursor) {
        SetCursor(w->cls->cursor);
        return TRUE;
      }
      return FALSE;
    case WM_CANCELMODE:
      if (inputState().capture() == hwnd) ReleaseCapture();
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return reinterpret_cast<LRESULT>(controlColour(reinterpret_cast<HDC>(wParam), COLOR_STATICTEXT, COLOR_STATIC));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<LRESULT>(controlColour(reinterpret_cast<HDC>(wParam), COLOR_WINDOWTEXT, COLOR_WINDOW));
    case WM_CTLCOLORSCROLLBAR:
      return reinterpret_cast<LRESULT>(controlColour(reinterpret_cast<HDC>(wParam), COLOR_BTNTEXT, COLOR_SCROLLBAR));
    case WM_NOTIFYFORMAT:
      return 2;  // NFR_UNICODE
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_GETDLGCODE:
    case WM_GETFONT:
    default:
      return 0;
  }
}
