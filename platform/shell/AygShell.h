// The handheld shell: soft-key menubars, full-screen dialogs, the title bar and its Done
// button, the input panel and the Back key, with their documented names and numeric values.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/sys/SysParams.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------------------------
// Soft-key menubar
#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK 0x0008
#define SHCMBF_HMENU 0x0010

struct SHMENUBARINFO {
  DWORD cbSize;
  HWND hwndParent;
  DWORD dwFlags;
  UINT nToolBarId;
  HINSTANCE hInstRes;
  int nBmpId;
  int cBmpImages;
  HWND hwndMB;
  COLORREF clrBk;
};
using PSHMENUBARINFO = SHMENUBARINFO*;

BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// Requests to a menubar window.
#define SHCMBM_SETSUBMENU (WM_USER + 400)   // wParam button id, lParam HMENU; returns the old menu
#define SHCMBM_GETSUBMENU (WM_USER + 401)   // lParam button id; returns its menu
#define SHCMBM_GETMENU (WM_USER + 402)      // returns the menu the bar was loaded with
#define SHCMBM_OVERRIDEKEY (WM_USER + 403)  // wParam virtual key, lParam MAKELPARAM(mask, flags)
#define SHCMBM_SETBKCOLOR (WM_USER + 406)

#define SHMBOF_NODEFAULT 0x00000001
#define SHMBOF_NOTIFY 0x00000002

// Toolbar button messages a menubar answers (the bar is a toolbar on the handheld).
#define TB_ENABLEBUTTON (WM_USER + 1)
#define TB_ISBUTTONENABLED (WM_USER + 9)
#define TB_GETBUTTONINFOW (WM_USER + 63)
#define TB_SETBUTTONINFOW (WM_USER + 64)

#define TBIF_IMAGE 0x0001
#define TBIF_TEXT 0x0002
#define TBIF_STATE 0x0004
#define TBIF_STYLE 0x0008
#define TBIF_LPARAM 0x0010
#define TBIF_COMMAND 0x0020
#define TBIF_SIZE 0x0040

#define TBSTATE_CHECKED 0x01
#define TBSTATE_PRESSED 0x02
#define TBSTATE_ENABLED 0x04
#define TBSTATE_HIDDEN 0x08

#define TBSTYLE_BUTTON 0x0000
#define TBSTYLE_DROPDOWN 0x0008
#define TBSTYLE_AUTOSIZE 0x0010

#define I_IMAGENONE (-2)

struct TBBUTTONINFOW {
  UINT cbSize;
  DWORD dwMask;
  int idCommand;
  int iImage;
  BYTE fsState;
  BYTE fsStyle;
  WORD cx;
  DWORD_PTR lParam;
  LPWSTR pszText;
  int cchText;
};
using LPTBBUTTONINFOW = TBBUTTONINFOW*;

// ---------------------------------------------------------------------------------------------
// Full-screen dialogs
#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
#define SHIDIF_WANTSCROLLBAR 0x0040
#define SHIDIF_CANCELBUTTON 0x0080

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};
using PSHINITDLGINFO = SHINITDLGINFO*;

BOOL SHInitDialog(PSHINITDLGINFO info);

// ---------------------------------------------------------------------------------------------
// Task bar, Start icon and the title bar's Done button
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

BOOL SHFullScreen(HWND hwnd, DWORD state);

#define SHDB_SHOW 0x0001
#define SHDB_HIDE 0x0002
#define SHDB_SHOWCANCEL 0x0004

BOOL SHDoneButton(HWND hwnd, DWORD state);

// ---------------------------------------------------------------------------------------------
// Input panel
// SIPINFO and the SIPF_ flags are the system parameters' (platform/sys/SysParams.h).
enum SIPSTATE { SIP_UP = 0, SIP_DOWN, SIP_FORCEDOWN, SIP_UNCHANGED, SIP_INPUTDIALOG };

// uiAction SPI_GETSIPINFO (225) fills a SIPINFO whose cbSize is set; SPI_SETSIPINFO (224) shows
// or hides the panel by its SIPF_ON flag. The handheld's callers pass a 48-byte structure.
BOOL SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
BOOL SHSipPreference(HWND hwnd, SIPSTATE state);

// ---------------------------------------------------------------------------------------------
// Back key
// Hands a Back key the program received as WM_HOTKEY to the focused window (an edit deletes
// the character before the caret).
void SHSendBackToFocusWindow(UINT uMsg, WPARAM wp, LPARAM lp);
// The shell's Back: returns to the previously used program; with none, the foreground program
// goes to the background.
void SHNavigateBack();

// ---------------------------------------------------------------------------------------------
// Activation and setting changes: the shell keeps the input panel in step for a window.
struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;
  UINT fSipOnDeactivation : 1;
  UINT fActive : 1;
  UINT fReserved : 29;
};
using PSHACTIVATEINFO = SHACTIVATEINFO*;

#define SHA_INPUTDIALOG 0x00000001

BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info, DWORD flags);
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* info);
