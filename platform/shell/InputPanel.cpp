#include "platform/shell/InputPanel.h"

#include <algorithm>
#include <array>

#include "platform/controls/ControlLook.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Input.h"

namespace platform::shell {
namespace {

HWND& panel() {
  static HWND hwnd = nullptr;
  return hwnd;
}

bool& shifted() {
  static bool on = false;
  return on;
}

constexpr std::array<const char16_t*, 4> kRows = {u"1234567890", u"qwertyuiop", u"asdfghjkl-", u"zxcvbnm,.'"};
constexpr int kBackspace = -VK_BACK;
constexpr int kEnter = -VK_RETURN;
constexpr int kShift = -VK_SHIFT;
constexpr int kRowCount = 5;  // four rows of characters, then shift, space, backspace, enter

struct Key {
  RECT rect;
  int code;  // a character, or one of the negative codes above
  std::u16string label;
};

std::vector<Key> layout(const RECT& client) {
  std::vector<Key> keys;
  const int rowHeight = (client.bottom - client.top) / kRowCount;
  const int width = client.right - client.left;
  for (int r = 0; r < static_cast<int>(kRows.size()); ++r) {
    const std::u16string row(kRows[static_cast<std::size_t>(r)]);
    const int n = static_cast<int>(row.size());
    for (int c = 0; c < n; ++c) {
      const RECT rect{client.left + width * c / n, client.top + r * rowHeight, client.left + width * (c + 1) / n,
                      client.top + (r + 1) * rowHeight};
      const char16_t ch =
          shifted() && row[static_cast<std::size_t>(c)] >= u'a' && row[static_cast<std::size_t>(c)] <= u'z'
              ? static_cast<char16_t>(row[static_cast<std::size_t>(c)] - u'a' + u'A')
              : row[static_cast<std::size_t>(c)];
      keys.push_back(Key{rect, ch, std::u16string(1, ch)});
    }
  }
  const int top = client.top + 4 * rowHeight;
  const int bottom = client.top + kRowCount * rowHeight;
  const int unit = width / 10;
  keys.push_back(Key{RECT{client.left, top, client.left + 2 * unit, bottom}, kShift, u"Shift"});
  keys.push_back(Key{RECT{client.left + 2 * unit, top, client.left + 6 * unit, bottom}, u' ', u""});
  keys.push_back(Key{RECT{client.left + 6 * unit, top, client.left + 8 * unit, bottom}, kBackspace, u"\u2190"});
  keys.push_back(Key{RECT{client.left + 8 * unit, top, client.right, bottom}, kEnter, u"Enter"});
  return keys;
}

RECT clientOf(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  return rc;
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc == nullptr) return;
  const RECT rc = clientOf(hwnd);
  controls::fillSysColor(hdc, rc, COLOR_BTNFACE);
  HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
  const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
  for (const Key& key : layout(rc)) {
    RECT r = key.rect;
    if (key.code == kShift && shifted()) controls::fillSysColor(hdc, r, COLOR_HIGHLIGHT);
    controls::frameRect(hdc, r, line);
    drawText(hdc, key.label, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
             key.code == kShift && shifted() ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_BTNTEXT));
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd, &ps);
}

void press(int code) {
  if (code == kShift) {
    shifted() = !shifted();
    InvalidateRect(panel(), nullptr, FALSE);
    return;
  }
  if (code == kBackspace || code == kEnter) {
    postKeyDown(static_cast<UINT>(-code));
    postKeyUp(static_cast<UINT>(-code));
    return;
  }
  if (code > 0) {
    postCharacter(static_cast<WCHAR>(code));
    if (shifted()) {
      shifted() = false;
      InvalidateRect(panel(), nullptr, FALSE);
    }
  }
}

}  // namespace

HWND InputPanel::window() { return IsWindow(panel()) ? panel() : nullptr; }

void InputPanel::start() {
  if (window() != nullptr) return;
  registerShellClass(kInputPanelClass, &InputPanel::windowProc);
  panel() = CreateWindowExW(WS_EX_TOPMOST, kInputPanelClass, u"Input Panel", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            nullptr, nullptr);
  shifted() = false;
  sync();
}

void InputPanel::stop() {
  if (window() != nullptr) DestroyWindow(panel());
  panel() = nullptr;
}

void InputPanel::sync() {
  HWND hwnd = window();
  if (hwnd == nullptr) return;
  SIPINFO info{};
  info.cbSize = sizeof(info);
  if (!SystemParametersInfoW(SPI_GETSIPINFO, 0, &info, 0)) return;
  if (info.fdwFlags & SIPF_ON) {
    showWithoutActivation(hwnd, info.rcSipRect);
  } else if (IsWindowVisible(hwnd)) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
}

int InputPanel::keyAt(POINT pt) {
  HWND hwnd = window();
  if (hwnd == nullptr) return 0;
  for (const Key& key : layout(clientOf(hwnd))) {
    if (PtInRect(&key.rect, pt)) return key.code;
  }
  return 0;
}

LRESULT CALLBACK InputPanel::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (keepInactive(hwnd, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTINGCHANGE:
      sync();
      return 0;
    case WM_LBUTTONDOWN:
      press(keyAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::shell
