// The clipboard of the handheld (user32): one clipboard for the device, opened by one window at
// a time, holding memory blocks (LocalAlloc) by format. Text is CF_UNICODETEXT, with CF_TEXT
// (Windows-1252, lossy) made from it on request and the other way round.
#pragma once

#include "platform/base/WinTypes.h"

#define CF_TEXT 1
#define CF_UNICODETEXT 13

#define WM_DESTROYCLIPBOARD 0x0307

// FALSE (ERROR_ACCESS_DENIED) while another window has it open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Frees what it holds; the window that opened it becomes its owner (none when opened with
// NULL, and then SetClipboardData fails until it is emptied by a window).
BOOL EmptyClipboard();
// The clipboard takes the block (from LocalAlloc or GlobalAlloc) and frees it when emptied;
// the caller must not free it. Returns the block, or NULL on failure.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The clipboard's own block, valid until it is emptied or closed; NULL when the format is not
// there.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();
