// The up-down control's class, styles, messages and expand notification, which the form rows
// use. The platform's up-down control defines the same names with the same values; these stand
// in only where its header does not.
#pragma once

#include "platform/controls/CommCtrl.h"
#include "platform/win/WinUser.h"

#ifndef UPDOWN_CLASSW
#define UPDOWN_CLASSW u"msctls_updown32"
#endif
#ifndef UDS_WRAP
#define UDS_WRAP 0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT 0x0004
#define UDS_ALIGNLEFT 0x0008
#define UDS_AUTOBUDDY 0x0010
#define UDS_ARROWKEYS 0x0020
#define UDS_HORZ 0x0040
#define UDS_NOTHOUSANDS 0x0080
#endif
#ifndef UDS_EXPANDABLE
#define UDS_EXPANDABLE 0x0200
#define UDS_NOSCROLL 0x0400
#endif
#ifndef UDM_SETBUDDY
#define UDM_SETBUDDY (WM_USER + 105)
#define UDM_GETBUDDY (WM_USER + 106)
#endif
#ifndef UDN_EXPANDING
#define UDN_EXPANDING (UDN_FIRST - 2)
#endif
