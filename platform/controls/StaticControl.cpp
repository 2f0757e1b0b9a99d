#include "platform/controls/StaticControl.h"

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/controls/ControlLook.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {
namespace {

std::unordered_map<HWND, std::unique_ptr<StaticControl>>& instances() {
  static std::unordered_map<HWND, std::unique_ptr<StaticControl>> table;
  return table;
}

constexpr COLORREF kMagenta = RGB(255, 0, 255);

}  // namespace

void StaticControl::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_STATICW, &wc)) return;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = &StaticControl::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_STATICW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK StaticControl::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& table = instances();
  auto it = table.find(hwnd);
  if (it == table.end()) {
    if (message != WM_NCCREATE) return DefWindowProcW(hwnd, message, wParam, lParam);
    it = table.emplace(hwnd, std::make_unique<StaticControl>(hwnd)).first;
  }
  const LRESULT result = it->second->handle(message, wParam, lParam);
  if (message == WM_NCDESTROY) instances().erase(hwnd);
  return result;
}

LRESULT StaticControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
      InvalidateRect(hwnd_, nullptr, TRUE);
      return result;
    }
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case STM_SETICON:
      return reinterpret_cast<LRESULT>(setImage(reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON:
      return reinterpret_cast<LRESULT>(image_);
    case STM_SETIMAGE:
      if (wParam != IMAGE_ICON && wParam != IMAGE_BITMAP) return 0;
      return reinterpret_cast<LRESULT>(setImage(reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE:
      return reinterpret_cast<LRESULT>(image_);
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (style & SS_NOTIFY) {
        const WORD code = message == WM_LBUTTONDOWN ? STN_CLICKED : STN_DBLCLK;
        HWND parent = GetParent(hwnd_);
        if (parent != nullptr) {
          SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), code),
                       reinterpret_cast<LPARAM>(hwnd_));
        }
      }
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

HANDLE StaticControl::setImage(HANDLE image) {
  HANDLE old = image_;
  image_ = image;
  InvalidateRect(hwnd_, nullptr, TRUE);
  return old;
}

void StaticControl::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));

  // The parent may colour the background and the text, as dialogs do.
  HBRUSH brush = nullptr;
  SetTextColor(hdc, GetSysColor(COLOR_STATICTEXT));
  SetBkColor(hdc, GetSysColor(COLOR_STATIC));
  HWND parent = GetParent(hwnd_);
  if (parent != nullptr) {
    brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd_)));
  }
  FillRect(hdc, &rc, brush != nullptr ? brush : GetSysColorBrush(COLOR_STATIC));

  const DWORD type = style & SS_TYPEMASK;
  if (type == SS_ICON || type == SS_BITMAP) {
    BITMAP bm{};
    if (image_ != nullptr && GetObjectType(image_) == OBJ_BITMAP && GetObjectW(image_, sizeof(bm), &bm) != 0) {
      const platform::gdi::MemoryDc memory(hdc, static_cast<HBITMAP>(image_));
      int x = 0;
      int y = 0;
      if (style & SS_CENTERIMAGE) {
        x = (rc.right - bm.bmWidth) / 2;
        y = (rc.bottom - bm.bmHeight) / 2;
      }
      if (type == SS_ICON) {
        TransparentBlt(hdc, x, y, bm.bmWidth, bm.bmHeight, memory.dc(), 0, 0, bm.bmWidth, bm.bmHeight, kMagenta);
      } else {
        memory.copyTo(hdc, x, y);
      }
    }
  } else {
    const int length = GetWindowTextLengthW(hwnd_);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    UINT format = DT_NOPREFIX;
    if (type == SS_CENTER) {
      format |= DT_CENTER | DT_WORDBREAK;
    } else if (type == SS_RIGHT) {
      format |= DT_RIGHT | DT_WORDBREAK;
    } else if (type == SS_LEFTNOWORDWRAP) {
      format |= DT_SINGLELINE;
    } else {
      format |= DT_WORDBREAK;
    }
    if (!(style & SS_NOPREFIX)) format &= ~static_cast<UINT>(DT_NOPREFIX);
    if (!IsWindowEnabled(hwnd_)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(hdc, font_ != nullptr ? font_ : systemFont());
    const int oldMode = SetBkMode(hdc, TRANSPARENT);
    if (!text.empty()) DrawTextW(hdc, text.c_str(), length, &rc, format);
    SetBkMode(hdc, oldMode);
    SelectObject(hdc, oldFont);
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace platform::controls
