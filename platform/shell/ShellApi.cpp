// The shell calls of AygShell.h.
#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "platform/shell/SoftKeys.h"

using namespace platform::shell;

namespace {

bool keyUp(LPARAM lParam) { return (LOWORD(static_cast<DWORD_PTR>(lParam)) & MOD_KEYUP) != 0; }

}  // namespace

BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
  if (info == nullptr || info->cbSize < sizeof(SHMENUBARINFO) - sizeof(COLORREF) || !IsWindow(info->hwndParent)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  startShell();
  info->hwndMB = MenuBar::create(*info);
  return info->hwndMB != nullptr ? TRUE : FALSE;
}

BOOL SHInitDialog(PSHINITDLGINFO info) {
  if (info == nullptr || !IsWindow(info->hDlg)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  startShell();
  if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
  const HWND dialog = info->hDlg;
  const DWORD flags = info->dwFlags;
  if (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) {
    // The shell shows the title in its own bar, so the dialog drops its caption and fills the
    // screen between the title bar and its menubar (or the input panel, for SHIDIF_SIZEDLG).
    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    SetWindowLongW(dialog, GWL_STYLE, style & ~static_cast<LONG>(WS_CAPTION | WS_THICKFRAME));
    const int top = taskBarVisible() ? titleBarHeight() : 0;
    int bottom = GetSystemMetrics(SM_CYSCREEN);
    MenuBar* bar = MenuBar::forOwner(dialog);
    if (!(flags & SHIDIF_FULLSCREENNOMENUBAR) && bar != nullptr && IsWindowVisible(bar->hwnd())) {
      RECT mb{};
      GetWindowRect(bar->hwnd(), &mb);
      bottom = mb.top;
    }
    if ((flags & SHIDIF_SIZEDLG) && !(flags & SHIDIF_SIZEDLGFULLSCREEN)) {
      SIPINFO sip{};
      sip.cbSize = sizeof(sip);
      if (SystemParametersInfoW(SPI_GETSIPINFO, 0, &sip, 0) && (sip.fdwFlags & SIPF_ON)) {
        bottom = std::min(bottom, static_cast<int>(sip.rcVisibleDesktop.bottom));
      }
    }
    SetWindowPos(dialog, nullptr, 0, top, GetSystemMetrics(SM_CXSCREEN), std::max(bottom - top, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (pocketPc() && (flags & SHIDIF_WANTSCROLLBAR)) {
    SetWindowLongW(dialog, GWL_STYLE, GetWindowLongW(dialog, GWL_STYLE) | static_cast<LONG>(WS_VSCROLL));
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  if (flags & SHIDIF_SIPDOWN) SHSipPreference(dialog, SIP_DOWN);
  if (pocketPc() && (flags & (SHIDIF_DONEBUTTON | SHIDIF_CANCELBUTTON))) setDoneButton(dialog, true);
  refreshTitleBar();
  return TRUE;
}

BOOL SHFullScreen(HWND hwnd, DWORD state) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  startShell();
  if (state & SHFS_SHOWTASKBAR) setTaskBarVisible(true);
  if (state & SHFS_HIDETASKBAR) setTaskBarVisible(false);
  if (state & SHFS_SHOWSTARTICON) setStartIconVisible(true);
  if (state & SHFS_HIDESTARTICON) setStartIconVisible(false);
  if (state & (SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON)) {
    if (MenuBar* bar = MenuBar::forOwner(hwnd)) bar->setSipButton((state & SHFS_SHOWSIPBUTTON) != 0);
  }
  return TRUE;
}

BOOL SHDoneButton(HWND hwnd, DWORD state) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  startShell();
  if (state & (SHDB_SHOW | SHDB_SHOWCANCEL)) setDoneButton(hwnd, true);
  if (state & SHDB_HIDE) setDoneButton(hwnd, false);
  return TRUE;
}

BOOL SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
  if (uiAction != SPI_GETSIPINFO && uiAction != SPI_SETSIPINFO) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni);
}

BOOL SHSipPreference(HWND hwnd, SIPSTATE state) {
  if (hwnd != nullptr && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (state == SIP_UNCHANGED || state == SIP_INPUTDIALOG) return TRUE;
  // The Smartphone edition has no input panel.
  if (!pocketPc()) return TRUE;
  SIPINFO info{};
  info.cbSize = sizeof(info);
  if (!SystemParametersInfoW(SPI_GETSIPINFO, 0, &info, 0)) return FALSE;
  const bool on = state == SIP_UP;
  if (((info.fdwFlags & SIPF_ON) != 0) == on) return TRUE;
  info.fdwFlags = on ? (info.fdwFlags | SIPF_ON) : (info.fdwFlags & ~static_cast<DWORD>(SIPF_ON));
  return SystemParametersInfoW(SPI_SETSIPINFO, 0, &info, 0);
}

void SHSendBackToFocusWindow(UINT uMsg, WPARAM, LPARAM lp) {
  if (uMsg != WM_HOTKEY || HIWORD(static_cast<DWORD_PTR>(lp)) != VK_ESCAPE) return;
  // The focused window reads Back as Backspace: an edit deletes the character before the caret.
  SoftKeys::deliverAsKey(VK_BACK, keyUp(lp));
}

void SHNavigateBack() {
  // There is no earlier program to return to: the program goes to the background. On the real
  // screen the host window is minimised; headless nothing happens.
  sendToBackground();
}

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* info, DWORD) {
  if (info == nullptr || !IsWindow(hwnd)) return FALSE;
  if (LOWORD(wParam) != WA_INACTIVE) {
    info->fActive = 1;
    if (pocketPc() && info->fSipUp) SHSipPreference(hwnd, SIP_UP);
  } else {
    info->fActive = 0;
    SIPINFO sip{};
    sip.cbSize = sizeof(sip);
    if (SystemParametersInfoW(SPI_GETSIPINFO, 0, &sip, 0)) info->fSipOnDeactivation = (sip.fdwFlags & SIPF_ON) ? 1 : 0;
  }
  refreshTitleBar();
  return TRUE;
}

BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM, SHACTIVATEINFO* info) {
  if (info == nullptr || !IsWindow(hwnd)) return FALSE;
  if (wParam != SPI_SETSIPINFO) return TRUE;
  SIPINFO sip{};
  sip.cbSize = sizeof(sip);
  if (!SystemParametersInfoW(SPI_GETSIPINFO, 0, &sip, 0)) return FALSE;
  info->fSipUp = (sip.fdwFlags & SIPF_ON) ? 1 : 0;
  // A window that fills the screen fits itself above the panel, or down to the menubar.
  RECT rc{};
  GetWindowRect(hwnd, &rc);
  int bottom = static_cast<int>(sip.rcVisibleDesktop.bottom);
  if (!(sip.fdwFlags & SIPF_ON)) {
    MenuBar* bar = MenuBar::forOwner(hwnd);
    RECT mb{};
    if (bar != nullptr && GetWindowRect(bar->hwnd(), &mb)) bottom = mb.top;
  }
  SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, std::max(bottom - static_cast<int>(rc.top), 0),
               SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}
