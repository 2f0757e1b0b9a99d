// Host input for the message loop. Backends (the SDL window, the headless runner, the test
// harness) queue the handheld's input here: the stylus in screen coordinates and keys as virtual
// keys. The window manager turns it into window messages when the program reads its queue.
#pragma once

#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

void postStylusDown(POINT screenPoint);
void postStylusMove(POINT screenPoint);
void postStylusUp(POINT screenPoint);
// repeat marks an auto-repeated key down (previous-state bit set, hot keys fire again).
void postKeyDown(UINT virtualKey, bool repeat = false);
void postKeyUp(UINT virtualKey);
// A character that has no key of its own: VK_PACKET down and up carrying it.
void postCharacter(WCHAR ch);

// Files dropped from the host's desktop (host paths) at a screen point: the active window gets
// WM_DROPFILES with their HDROP.
void postFilesDropped(std::vector<std::u16string> hostPaths, POINT screenPoint);

// The character a key down produces (0 for none), from the current Shift, Ctrl and Caps Lock
// state: what TranslateMessage posts as WM_CHAR.
WCHAR characterForKey(WPARAM keyDownWParam);

// Whether anything waits in the queue (posted, quit or input), paint and timers aside.
bool inputPending();

// Auto-repeat timing of a held key: first repeat after the delay, then one per period.
constexpr int kKeyRepeatDelayMs = 500;
constexpr int kKeyRepeatPeriodMs = 100;

}  // namespace platform
