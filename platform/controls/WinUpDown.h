// The up-down control ("msctls_updown32"): styles, messages, notifications and structures with
// their documented values, the Smartphone's expandable fields included.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

#define UPDOWN_CLASSW u"msctls_updown32"
#define UPDOWN_CLASS UPDOWN_CLASSW

// Styles
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
// Smartphone: the action key on the buddy expands the field (UDN_EXPANDING, then the platform's
// full-screen editor or pick list); with UDS_NOSCROLL the control only expands, it never spins.
#define UDS_EXPANDABLE 0x0200
#define UDS_NOSCROLL 0x0400

#define UD_MAXVAL 0x7fff
#define UD_MINVAL (-UD_MAXVAL)

// Messages
#define UDM_SETRANGE (WM_USER + 101)  // lParam MAKELONG(upper, lower)
#define UDM_GETRANGE (WM_USER + 102)  // returns MAKELONG(upper, lower)
#define UDM_SETPOS (WM_USER + 103)    // LOWORD(lParam) the position; returns the previous one
#define UDM_GETPOS (WM_USER + 104)    // HIWORD of the result non-zero on error
#define UDM_SETBUDDY (WM_USER + 105)  // wParam the buddy; returns the previous one
#define UDM_GETBUDDY (WM_USER + 106)
#define UDM_SETACCEL (WM_USER + 107)  // wParam count, lParam UDACCEL*
#define UDM_GETACCEL (WM_USER + 108)
#define UDM_SETBASE (WM_USER + 109)  // wParam 10 or 16; returns the previous base, 0 if refused
#define UDM_GETBASE (WM_USER + 110)
#define UDM_SETRANGE32 (WM_USER + 111)  // wParam lower, lParam upper
#define UDM_GETRANGE32 (WM_USER + 112)  // wParam int* lower, lParam int* upper
#define UDM_SETPOS32 (WM_USER + 113)    // lParam the position; returns the previous one
#define UDM_GETPOS32 (WM_USER + 114)    // lParam BOOL* set on error

// Notifications (WM_NOTIFY codes)
#define UDN_FIRST (0U - 721U)
#define UDN_LAST (0U - 740U)
#define UDN_DELTAPOS (UDN_FIRST - 1)
// -723: the user expands the field; a non-zero answer means the parent took it.
#define UDN_EXPANDING (UDN_FIRST - 2)

struct UDACCEL {
  UINT nSec;
  UINT nInc;
};
using LPUDACCEL = UDACCEL*;

struct NMUPDOWN {
  NMHDR hdr;
  int iPos;
  int iDelta;
};
using NM_UPDOWN = NMUPDOWN;
using LPNMUPDOWN = NMUPDOWN*;
