// Opening a document or address with the desktop's handler (xdg-open), as the handheld's
// shell opens a page in its browser.
#pragma once

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
