// Kernel services of the handheld: time, files, handles, named mutexes, strings.
#pragma once

#include "platform/win/WinError.h"
#include "platform/win/WinTypes.h"

// ---- Time ----------------------------------------------------------------
// SYSTEMTIME and FILETIME are in WinTypes.h. A FILETIME counts 100 ns units
// since 1601-01-01 00:00 UTC; the system clock holds UTC and local time
// follows the host's time zone (TZ).

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime);
LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2);
BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime);
BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime);

void GetSystemTime(LPSYSTEMTIME lpSystemTime);
void GetLocalTime(LPSYSTEMTIME lpSystemTime);
// Only the virtual clock can be set; the real one fails with ERROR_PRIVILEGE_NOT_HELD.
BOOL SetSystemTime(const SYSTEMTIME* lpSystemTime);
BOOL SetLocalTime(const SYSTEMTIME* lpSystemTime);

DWORD GetTickCount();
void Sleep(DWORD dwMilliseconds);

#define INFINITE 0xFFFFFFFF
