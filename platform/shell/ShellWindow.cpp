#include "platform/shell/ShellWindow.h"

#include "platform/shell/Shell.h"

namespace platform::shell {

void registerShellClass(const char16_t* name, WNDPROC proc, UINT style) {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, name, &wc)) return;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

bool isShellWindow(HWND hwnd) {
  if (hwnd == nullptr) return false;
  WCHAR name[64] = {};
  if (GetClassNameW(hwnd, name, 64) == 0) return false;
  const std::u16string cls(name);
  return cls == kTitleBarClass || cls == kMenuBarClass || cls == kPopupMenuClass || cls == kInputPanelClass ||
         cls == kSoftKeyClass;
}

bool keepInactive(HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == WM_MOUSEACTIVATE) {
    result = MA_NOACTIVATE;
    return true;
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    // Activation that lands here (the program's last window closed) goes back to a window of
    // the program.
    for (HWND top = GetWindow(hwnd, GW_HWNDFIRST); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
      if (top != hwnd && !isShellWindow(top) && IsWindowVisible(top) && IsWindowEnabled(top)) {
        SetActiveWindow(top);
        break;
      }
    }
    result = 0;
    return true;
  }
  return false;
}

void showWithoutActivation(HWND hwnd, const RECT& rect) {
  SetWindowPos(hwnd, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

std::u16string windowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void drawText(HDC hdc, const std::u16string& text, RECT rect, UINT format, COLORREF color) {
  if (text.empty()) return;
  SetTextColor(hdc, color);
  const int mode = SetBkMode(hdc, TRANSPARENT);
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SetBkMode(hdc, mode);
}

}  // namespace platform::shell
