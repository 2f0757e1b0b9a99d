// Helpers shared by the shell's windows: an object per window kept in a table (no window
// bytes are borrowed, so programs may subclass freely), and the rules that keep shell windows
// from taking activation away from the program.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/gdi/WinGdi.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

// Registers a class whose windows pass every message to `proc` (once per class name).
void registerShellClass(const char16_t* name, WNDPROC proc, UINT style = 0);

// Answers WM_MOUSEACTIVATE and WM_ACTIVATE for a window that must never become active: the
// activation goes back to the program's top window. Returns true when it handled the message.
bool keepInactive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Shows a top-level shell window without activating it, topmost.
void showWithoutActivation(HWND hwnd, const RECT& rect);

bool isShellWindow(HWND hwnd);

// The text of a window.
std::u16string windowText(HWND hwnd);

// Draws text with the given format in a colour, transparent background.
void drawText(HDC hdc, const std::u16string& text, RECT rect, UINT format, COLORREF color);

}  // namespace platform::shell
