// Opening a document or address with the desktop's handler (xdg-open), as the handheld's
// shell opens a page in its browser; and the files the desktop drops on the window.
#pragma once

#include <string>
#include <vector>
#include "platform/base/WinError.h"

#include "platform/base/WinTypes.h"

#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

struct SHELLEXECUTEINFOW {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;
  LPCWSTR lpFile;
  LPCWSTR lpParameters;
  LPCWSTR lpDirectory;
  int nShow;
  HINSTANCE hInstApp;
  LPVOID lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;
};
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;
using SHELLEXECUTEINFO = SHELLEXECUTEINFOW;

// Verb "open" (or none) on a file:// address, a device or host path, or another address.
// Starts the opener without waiting for it. A file that does not exist fails with
// ERROR_FILE_NOT_FOUND (hInstApp SE_ERR_FNF); a missing xdg-open with ERROR_NO_ASSOCIATION
// (SE_ERR_NOASSOC). cbSize is the handheld's 60 or this structure's size. With
// SEE_MASK_NOCLOSEPROCESS, hProcess is a handle to close with CloseHandle.
// The opener is "xdg-open", or the command in $PELLUCARD_OPENER.
BOOL ShellExecuteExW(LPSHELLEXECUTEINFOW lpExecInfo);

// Files dropped on the window from the desktop: WM_DROPFILES carries an HDROP in wParam. The
// window that receives it reads the host paths with DragQueryFileW and lets go of it with
// DragFinish (a window that does not handle the message has DefWindowProc let go of it).
// An object of the kernel's handle table.
using HDROP = HANDLE;

// iFile 0xFFFFFFFF: the number of files. Otherwise the file's path copied into the buffer
// (cut to cch - 1 characters and terminated) and its length without the terminator; a null
// buffer asks for the length alone. 0 for an unknown handle or file.
UINT DragQueryFileW(HDROP hDrop, UINT iFile, LPWSTR lpszFile, UINT cch);
// Where the files were let go, in the client coordinates of the window under that point.
BOOL DragQueryPoint(HDROP hDrop, POINT* lppt);
void DragFinish(HDROP hDrop);

namespace platform::sys {
// The drop the host makes for WM_DROPFILES: the paths and the point in client coordinates.
HDROP createDrop(std::vector<std::u16string> hostPaths, POINT clientPoint);
}  // namespace platform::sys
