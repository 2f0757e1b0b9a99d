// System metrics, cursors, the screen and its rotation.
#include <algorithm>
#include <array>

#include "platform/base/DeviceConfig.h"
#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/Host.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

using platform::inputState;
using platform::windowManager;

namespace {

// Cursor handles are small tokens: the handheld has only the arrow and the busy indicator.
HCURSOR arrowCursor() { return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(0x7F00)); }
HCURSOR waitCursor() { return reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(0x7F02)); }
}  // namespace

namespace platform {

int screenScale() {
  const int shortSide = std::min(gdi::screenWidth(), gdi::screenHeight());
  return shortSide >= 480 ? 2 : 1;
}

void openScreen(int width, int height) {
  gdi::initScreen(width, height);
  paintScheduler().dropSavedBits();
  paintScheduler().fillDesktop(RECT{0, 0, width, height});
}

void broadcastSettingChange(WPARAM wParam, LPARAM lParam) {
  const std::vector<HWND> tops = windowTree().topLevels();
  for (HWND h : tops) {
    if (windowTree().find(h)) SendMessageW(h, WM_SETTINGCHANGE, wParam, lParam);
  }
}

void rotateScreen() {
  DeviceConfig& config = DeviceConfig::current();
  const int width = gdi::screenHeight();
  const int height = gdi::screenWidth();
  gdi::resizeScreen(width, height);
  config.screenWidth = width;
  config.screenHeight = height;
  // Nothing kept of the old screen fits the new one.
  inputState().setWaitCursor(false);
  paintScheduler().dropSavedBits();
  paintScheduler().fillDesktop(RECT{0, 0, width, height});
  InvalidateRect(nullptr, nullptr, TRUE);
  broadcastSettingChange(config.edition == Edition::PocketPc ? SETTINGCHANGE_RESET : 47, 0);
}

}  // namespace platform

// The handheld's metrics at 240 pixels on the short side; doubled from 480.
int GetSystemMetrics(int index) {
  const int f = platform::screenScale();
  const int w = platform::gdi::screenWidth();
  const int h = platform::gdi::screenHeight();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN:
      return w;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
      return h;
    case SM_CYFULLSCREEN:
      return h - 26 * f;
    case SM_CXVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
      return 13 * f;
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return 13 * f;
    case SM_CYCAPTION:
      return 20 * f;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 2 * f;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
    case SM_CXICONSPACING:
    case SM_CYICONSPACING:
      return 32 * f;
    case SM_CXSMICON:
    case SM_CYSMICON:
      return 16 * f;
    case SM_CYMENU:
      return 26 * f;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
      return 8 * f;
    case SM_MOUSEPRESENT:
    case SM_DEBUG:
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
      return 0;
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  if (!instance && IS_INTRESOURCE(name)) {
    const auto id = reinterpret_cast<UINT_PTR>(name);
    if (id == 32512 || id == 32513 || id == 32650) return arrowCursor();
    if (id == 32514) return waitCursor();
  }
  SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return nullptr;
}

// Showing the wait cursor draws the busy indicator at once (the program is about to be busy
// and will not reach its message loop), and so does showing it again, which also shows what was
// painted meanwhile; taking it away repaints what it covered.
HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR old = inputState().cursor();
  inputState().setCursor(cursor);
  // Asked again while it shows (a long command between batches), it is drawn again over what
  // was painted meanwhile.
  if (cursor == waitCursor()) {
    windowManager().showBusyIndicator();
    if (platform::host()) platform::host()->present(platform::gdi::takeDirtyRect());
  } else if (cursor != waitCursor() && old == waitCursor()) {
    windowManager().hideBusyIndicator();
  }
  return old;
}

HCURSOR GetCursor() { return inputState().cursor(); }
