// System parameters of the handheld: platform type, OEM text, work area and the
// input panel (SIP), read and set through SystemParametersInfoW.
#pragma once

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

#define SPI_SETWORKAREA 47
#define SPI_GETWORKAREA 48
#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225
#define SPI_SETCURRENTIM 226
#define SPI_GETCURRENTIM 227
#define SPI_GETPLATFORMTYPE 257
#define SPI_GETOEMINFO 258

#define SPIF_UPDATEINIFILE 0x0001
#define SPIF_SENDCHANGE 0x0002
#define SPIF_SENDWININICHANGE SPIF_SENDCHANGE

// Input panel state bits of SIPINFO::fdwFlags.
#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

struct SIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;
  RECT rcVisibleDesktop;  // the part of the work area the panel and the menubar leave free
  RECT rcSipRect;         // where the panel is (also while it is down)
  DWORD dwImDataSize;
  void* pvImData;
};
using PSIPINFO = SIPINFO*;

// SPI_GETPLATFORMTYPE and SPI_GETOEMINFO: pvParam is a WCHAR buffer of uiParam bytes.
// SPI_GETSIPINFO / SPI_SETSIPINFO: pvParam is a SIPINFO with cbSize set; setting changes
//   only the SIPF_ON bit and sends WM_SETTINGCHANGE(SPI_SETSIPINFO) when it changes.
// SPI_GETWORKAREA / SPI_SETWORKAREA: pvParam is a RECT (null sets the default area);
//   with SPIF_SENDCHANGE the top-level windows get WM_SETTINGCHANGE(SPI_SETWORKAREA).
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

namespace platform::sys {

// Who hears of a setting change: the broadcaster the window layer installs when it starts (to
// the top-level windows), unless a notifier is set (tests); a notifier of nullptr goes back to
// the broadcaster. Without either, nobody hears.
using SettingChangeNotifier = void (*)(WPARAM wParam, LPARAM lParam);
void setSettingChangeBroadcaster(SettingChangeNotifier broadcaster);
void setSettingChangeNotifier(SettingChangeNotifier notifier);

// Heights the shell reserves, in device pixels at the screen's scale: the navigation bar
// at the top, the soft-key menubar at the bottom and the input panel above the menubar.
int taskBarHeight();
int menuBarHeight();
int inputPanelHeight();

// Back to the default work area and a lowered input panel (start-up, rotation, tests).
void resetSystemParameters();

}  // namespace platform::sys
