// Locale formats: dates and times written the way the user's locale writes them.
// The pictures ("M/d/yy", "h:mm:ss tt" ...) come from the host locale's LC_TIME,
// with en-US when the host has none (see platform/sys/LocaleFormats.h).
#pragma once

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

#define LOCALE_NEUTRAL 0x0000
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_INVARIANT 0x007F

#define LOCALE_NOUSEROVERRIDE 0x80000000UL
#define LOCALE_USE_CP_ACP 0x40000000UL
#define LOCALE_RETURN_NUMBER 0x20000000UL

#define LOCALE_SDATE 0x0000001D
#define LOCALE_STIME 0x0000001E
#define LOCALE_SSHORTDATE 0x0000001F
#define LOCALE_SLONGDATE 0x00000020
#define LOCALE_IDATE 0x00000021
#define LOCALE_ITIME 0x00000023
#define LOCALE_S1159 0x00000028
#define LOCALE_S2359 0x00000029
#define LOCALE_SDAYNAME1 0x0000002A
#define LOCALE_SDAYNAME7 0x00000030
#define LOCALE_SABBREVDAYNAME1 0x00000031
#define LOCALE_SABBREVDAYNAME7 0x00000037
#define LOCALE_SMONTHNAME1 0x00000038
#define LOCALE_SMONTHNAME12 0x00000043
#define LOCALE_SABBREVMONTHNAME1 0x00000044
#define LOCALE_SABBREVMONTHNAME12 0x0000004F
#define LOCALE_STIMEFORMAT 0x00001003
#define LOCALE_IFIRSTDAYOFWEEK 0x0000100C

#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002
#define DATE_USE_ALT_CALENDAR 0x00000004
#define DATE_YEARMONTH 0x00000008
#define DATE_LTRREADING 0x00000010
#define DATE_RTLREADING 0x00000020

#define TIME_NOMINUTESORSECONDS 0x00000001
#define TIME_NOSECONDS 0x00000002
#define TIME_NOTIMEMARKER 0x00000004
#define TIME_FORCE24HOURFORMAT 0x00000008

// Each returns the characters written including the terminator, or with a size of 0
// the size needed; 0 on failure (ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_FLAGS,
// ERROR_INVALID_PARAMETER). A null date or time means the current local time.
int GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr,
                   int cchDate);
int GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr,
                   int cchTime);
int GetLocaleInfoW(LCID Locale, DWORD LCType, LPWSTR lpLCData, int cchData);
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
