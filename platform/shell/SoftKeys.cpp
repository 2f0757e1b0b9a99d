#include "platform/shell/SoftKeys.h"

#include "platform/shell/AygShell.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"

namespace platform::shell {
namespace {

HWND& router() {
  static HWND hwnd = nullptr;
  return hwnd;
}

bool& backHeld() {
  static bool held = false;
  return held;
}

constexpr int kLeftSoftKey = 1;
constexpr int kRightSoftKey = 2;
constexpr int kBackKey = 3;

}  // namespace

HWND SoftKeys::window() { return IsWindow(router()) ? router() : nullptr; }

void SoftKeys::start() {
  if (window() != nullptr) return;
  registerShellClass(kSoftKeyClass, &SoftKeys::windowProc);
  router() = CreateWindowExW(0, kSoftKeyClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  backHeld() = false;
  if (router() == nullptr) return;
  RegisterHotKey(router(), kLeftSoftKey, 0, VK_F1);
  RegisterHotKey(router(), kRightSoftKey, 0, VK_F2);
  updateBackKey();
}

void SoftKeys::stop() {
  if (window() != nullptr) DestroyWindow(router());
  router() = nullptr;
  backHeld() = false;
}

void SoftKeys::updateBackKey() {
  HWND hwnd = window();
  if (hwnd == nullptr) return;
  const bool wanted = MenuBar::anyBackOverride();
  if (wanted == backHeld()) return;
  if (wanted) {
    backHeld() = RegisterHotKey(hwnd, kBackKey, MOD_KEYUP, VK_ESCAPE) != 0;
  } else {
    UnregisterHotKey(hwnd, kBackKey);
    backHeld() = false;
  }
}

void SoftKeys::deliverAsKey(UINT vk, bool up) {
  HWND target = GetFocus();
  if (target == nullptr) target = GetActiveWindow();
  if (target == nullptr || isShellWindow(target)) return;
  const LPARAM lParam = up ? static_cast<LPARAM>(0xC0000001u) : 1;
  PostMessageW(target, up ? WM_KEYUP : WM_KEYDOWN, vk, lParam);
}

void SoftKeys::dispatch(WPARAM id, LPARAM lParam) {
  const UINT vk = HIWORD(static_cast<DWORD_PTR>(lParam));
  const bool up = (LOWORD(static_cast<DWORD_PTR>(lParam)) & MOD_KEYUP) != 0;
  MenuBar* bar = MenuBar::current();
  if (vk == VK_F1 || vk == VK_F2) {
    // The owner may take a soft key for itself, as it may take Back.
    const WORD flags = bar != nullptr ? bar->overrideFlags(vk) : 0;
    if (flags & SHMBOF_NOTIFY) SendMessageW(bar->owner(), WM_HOTKEY, id, lParam);
    if (flags & SHMBOF_NODEFAULT) return;
    bar = MenuBar::current();
    if (bar != nullptr && bar->softKey(vk)) return;
    deliverAsKey(vk, false);
    deliverAsKey(vk, true);
    return;
  }
  if (vk == VK_ESCAPE) {
    const WORD flags = bar != nullptr ? bar->overrideFlags(VK_ESCAPE) : 0;
    if (flags & SHMBOF_NOTIFY) SendMessageW(bar->owner(), WM_HOTKEY, id, lParam);
    if (flags & SHMBOF_NODEFAULT) return;
    deliverAsKey(VK_ESCAPE, up);
  }
}

LRESULT CALLBACK SoftKeys::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (keepInactive(hwnd, message, wParam, lParam, result)) return result;
  if (message == WM_HOTKEY) {
    dispatch(wParam, lParam);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace platform::shell
