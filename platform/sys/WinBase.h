// Kernel services of the handheld: time, files, handles, named mutexes, strings.
#pragma once

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

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

// ---- Handles ----------------------------------------------------------------
// Closes any kernel handle (file, mutex, process, database volume...).
BOOL CloseHandle(HANDLE hObject);

// ---- Files --------------------------------------------------------------------
// A path starting with "\" names a file under the device root; one starting with
// "/" is a host path (see platform/sys/DevicePath.h).

#define GENERIC_READ 0x80000000UL
#define GENERIC_WRITE 0x40000000UL
#define GENERIC_EXECUTE 0x20000000UL
#define GENERIC_ALL 0x10000000UL

#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define FILE_SHARE_DELETE 0x00000004

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_SYSTEM 0x00000004
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFUL

#define FILE_FLAG_WRITE_THROUGH 0x80000000UL
#define FILE_FLAG_RANDOM_ACCESS 0x10000000UL
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000UL

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFUL
#define INVALID_FILE_SIZE 0xFFFFFFFFUL

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

// The handheld's find data: no short names, an object id instead.
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
using WIN32_FIND_DATA = WIN32_FIND_DATAW;

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes,
                   HANDLE hTemplateFile);
BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped);
BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped);
DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod);
BOOL SetEndOfFile(HANDLE hFile);
DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
BOOL FlushFileBuffers(HANDLE hFile);
BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime, LPFILETIME lpLastWriteTime);

// Writes a temporary file beside the target, syncs it and renames it over the
// target: an interrupted copy never leaves a half file under the target's name.
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL DeleteFileW(LPCWSTR lpFileName);
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
#define MOVEFILE_REPLACE_EXISTING 0x00000001
#define MOVEFILE_COPY_ALLOWED 0x00000002
#define MOVEFILE_WRITE_THROUGH 0x00000008
// With MOVEFILE_REPLACE_EXISTING a file takes the place of another in one rename, so the target
// is either the old file or the moved one; a folder is neither replaced nor replaces. Across
// file systems only with MOVEFILE_COPY_ALLOWED (a copy that lands whole, then the source goes).
// The move is durable when it returns.
BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryW(LPCWSTR lpPathName);
DWORD GetFileAttributesW(LPCWSTR lpFileName);

// "*" and "?" in the last component; "*.*" matches every name, also those without a dot.
// Names are matched without regard to case; "." and ".." are never reported.
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

// ---- Local memory ---------------------------------------------------------------
// A fixed block's handle is its address; a moveable one's is a token for LocalLock. The global
// functions are the same heap, as on the handheld.
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define GMEM_FIXED LMEM_FIXED
#define GMEM_MOVEABLE LMEM_MOVEABLE
#define GMEM_ZEROINIT LMEM_ZEROINIT
#define GPTR LPTR
#define GHND LHND

HLOCAL LocalAlloc(UINT uFlags, UINT uBytes);
// Null on success; the handle itself when it is not a block of the heap.
HLOCAL LocalFree(HLOCAL hMem);
LPVOID LocalLock(HLOCAL hMem);
BOOL LocalUnlock(HLOCAL hMem);
UINT LocalSize(HLOCAL hMem);

inline HGLOBAL GlobalAlloc(UINT uFlags, UINT dwBytes) { return LocalAlloc(uFlags, dwBytes); }
inline HGLOBAL GlobalFree(HGLOBAL hMem) { return LocalFree(hMem); }
inline LPVOID GlobalLock(HGLOBAL hMem) { return LocalLock(hMem); }
inline BOOL GlobalUnlock(HGLOBAL hMem) { return LocalUnlock(hMem); }
inline UINT GlobalSize(HGLOBAL hMem) { return LocalSize(hMem); }

// ---- Modules ------------------------------------------------------------------
// The program file "Pellucard.exe" in the application folder (--app-dir), a host path.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

// ---- Strings --------------------------------------------------------------------
int lstrlenW(LPCWSTR lpString);
LPWSTR lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2);
LPWSTR lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength);
LPWSTR lstrcatW(LPWSTR lpString1, LPCWSTR lpString2);
int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2);
int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2);

// ---- Named mutexes ------------------------------------------------------------
// A named mutex is a lock file in the user's runtime folder ($XDG_RUNTIME_DIR/pellucard,
// or a private folder under /tmp): the first creator on the machine gets ERROR_SUCCESS,
// every later one (in any process) a handle and ERROR_ALREADY_EXISTS. The lock dies
// with its process, so a crashed instance blocks nothing.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
BOOL ReleaseMutex(HANDLE hMutex);
