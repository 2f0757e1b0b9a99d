// The handheld shell's own windows and state: the title bar at the top of the screen, the
// soft-key router, the input panel, and which windows asked for the Done button. The platform
// starts it before the program runs (and tests after each window-manager reset).
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

// Registers the control and shell window classes and creates the shell's windows; does
// nothing for what already exists.
void startShell();
// Destroys the shell's windows (tests, shutdown).
void stopShell();

bool pocketPc();
int titleBarHeight();
int menuBarHeight();

// The title bar shows the foreground window's title; it repaints when told.
HWND titleBarWindow();
void refreshTitleBar();
bool taskBarVisible();
void setTaskBarVisible(bool visible);
void setStartIconVisible(bool visible);
bool startIconVisible();

// Windows whose title bar shows the Done (OK) button while they are in front (Pocket PC).
void setDoneButton(HWND hwnd, bool shown);
bool hasDoneButton(HWND hwnd);

// What sending the program to the background does on the host: the real screen's backend
// minimises its window; headless there is nothing to do (the default).
using BackgroundHandler = void (*)();
void setBackgroundHandler(BackgroundHandler handler);
void sendToBackground();
// How many times the program was sent to the background (tests).
int backgroundCount();

// Window classes of the shell.
inline constexpr const char16_t* kTitleBarClass = u"HHTaskBar";
inline constexpr const char16_t* kMenuBarClass = u"menu_worker";
inline constexpr const char16_t* kPopupMenuClass = u"MNU";
inline constexpr const char16_t* kMessageBoxClass = u"Dialog";
inline constexpr const char16_t* kInputPanelClass = u"SipWndClass";
inline constexpr const char16_t* kSoftKeyClass = u"SoftKeyRouter";

}  // namespace platform::shell
