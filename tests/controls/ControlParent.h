// A window for the control tests to put controls on: what the controls tell it (WM_COMMAND and
// WM_NOTIFY) goes to MessageLog, and notifications() reads the log back as the notifications'
// names, the form the expected-sequence tables are written in.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/CommonControls.h"
#include "platform/win/WinUser.h"
#include "tests/support/MessageLog.h"

namespace controls_test {

// A visible top-level window filling the screen, with the control classes registered.
HWND createParent(int width, int height);

// The logged notifications of the parent, in order ("CBN_SELCHANGE", "DTN_DROPDOWN" ...).
std::vector<std::string> notifications();

// The SYSTEMTIME of each DTN_DATETIMECHANGE and MCN_SELECT the parent received, in order, with
// GDT_NONE ones as a zero time.
std::vector<SYSTEMTIME>& reportedTimes();

// A system colour as the 16-bit screen shows it, to compare with TestDevice::pixel().
COLORREF onScreen(int sysColorIndex);

// The texts a window drew in its last paint, in drawing order.
std::vector<std::u16string> drawnTexts(HWND hwnd);

}  // namespace controls_test
