// Registration of the common control classes. The classes are built into the platform,
// so the call only checks its argument.
#pragma once

#include "platform/base/WinTypes.h"

#ifndef PELLUCARD_INITCOMMONCONTROLSEX_DEFINED
#define PELLUCARD_INITCOMMONCONTROLSEX_DEFINED
struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_DATE_CLASSES 0x00000100
#define ICC_COOL_CLASSES 0x00000400
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_TOOLTIP_CLASSES 0x00001000
#define ICC_CAPEDIT_CLASS 0x00002000
#define ICC_FE_CLASSES 0x40000000

// FALSE with ERROR_INVALID_PARAMETER when the structure is missing or its size is not 8.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* lpInitCtrls);
#endif
