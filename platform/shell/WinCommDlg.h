// The handheld shell's file chooser (GetOpenFileNameEx) with its documented names and values.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEEX {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;  // pairs of "description\0pattern;pattern\0", ended by an empty string
  LPWSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;  // 1-based; 0 takes the first pair
  LPWSTR lpstrFile;    // in: a file to start at (may be empty); out: the chosen file's device path
  DWORD nMaxFile;      // characters, the terminating zero included
  LPWSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;
  LPCWSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCWSTR lpTemplateName;
  DWORD dwSortOrder;
  DWORD ExFlags;
};
using LPOPENFILENAMEEX = OPENFILENAMEEX*;

#define OFN_EXFLAG_DETAILSVIEW 0x00000001
#define OFN_EXFLAG_THUMBNAILVIEW 0x00000002
#define OFN_EXFLAG_LOCKDIRECTORY 0x00000100
#define OFN_EXFLAG_NOFILECREATE 0x00000200
#define OFN_EXFLAG_HIDEDRMPROTECTED 0x00010000
#define OFN_EXFLAG_HIDEDRMFORWARDLOCKED 0x00020000

#define OFN_SORTORDER_AUTO 0
#define OFN_SORTORDER_DATE 1
#define OFN_SORTORDER_NAME 2
#define OFN_SORTORDER_SIZE 3
#define OFN_SORTORDER_ASCENDING 0x00008000

// Extended errors (CommDlgExtendedError); 0 after a cancel.
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define CDERR_DIALOGFAILURE 0xFFFF
#define FNERR_INVALIDFILENAME 0x3002
#define FNERR_BUFFERTOOSMALL 0x3003

// Shows the full-screen chooser and waits. TRUE with the chosen file's device path
// ("\My Pictures\a.jpg") in lpstrFile; FALSE on cancel (CommDlgExtendedError 0) or a failure
// (its code). A path that does not fit nMaxFile gives FNERR_BUFFERTOOSMALL with the size
// needed, in characters, in the first two bytes of lpstrFile.
BOOL GetOpenFileNameEx(LPOPENFILENAMEEX ofn);
DWORD CommDlgExtendedError();
