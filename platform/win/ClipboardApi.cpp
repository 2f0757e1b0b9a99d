// The clipboard's user32 functions over the device's one clipboard.
#include "platform/win/Clipboard.h"
#include "platform/win/WinClipboard.h"

BOOL OpenClipboard(HWND hWndNewOwner) { return platform::Clipboard::instance().open(hWndNewOwner) ? TRUE : FALSE; }

BOOL CloseClipboard() { return platform::Clipboard::instance().close() ? TRUE : FALSE; }

BOOL EmptyClipboard() { return platform::Clipboard::instance().empty() ? TRUE : FALSE; }

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) { return platform::Clipboard::instance().set(uFormat, hMem); }

HANDLE GetClipboardData(UINT uFormat) { return platform::Clipboard::instance().get(uFormat); }

BOOL IsClipboardFormatAvailable(UINT format) {
  return platform::Clipboard::instance().available(format) ? TRUE : FALSE;
}

HWND GetClipboardOwner() { return platform::Clipboard::instance().owner(); }
