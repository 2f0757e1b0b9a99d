// Property databases of the handheld: database volumes holding named databases of records,
// each record an ordered list of typed properties. A volume is one file on the host.
#pragma once

// CloseHandle and the CreateFile dispositions (OPEN_ALWAYS...) that CeMountDBVol takes.
#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"
#include "platform/sys/WinBase.h"

// ---- Value types of a property (low word of a CEPROPID) --------------------
#define CEVT_I2 2
#define CEVT_I4 3
#define CEVT_R8 5
#define CEVT_BOOL 11
#define CEVT_UI2 18
#define CEVT_UI4 19
#define CEVT_LPWSTR 31
#define CEVT_FILETIME 64
#define CEVT_BLOB 65

#define TypeFromPropID(propid) LOWORD(propid)
#define PropIdFromTag(number, type) ((static_cast<DWORD>(number) << 16) | static_cast<DWORD>(type))

// ---- Limits -----------------------------------------------------------------
#define CEDB_MAXDBASENAMELEN 32
#define CEDB_MAXSORTORDER 4
#define CEDB_MAXSORTPROP 3
#define CEDB_MAXPROPDATASIZE 0x0003FFFF
#define CEDB_MAXRECORDSIZE 0x000FFFFF
#define CEDB_MAXPROPS 0xFFFF

// ---- CEDBASEINFOEX::dwFlags: which members are valid, plus the database flags (high word) ----
#define CEDB_VALIDNAME 0x0001
#define CEDB_VALIDTYPE 0x0002
#define CEDB_VALIDSORTSPEC 0x0004
#define CEDB_VALIDMODTIME 0x0008
#define CEDB_VALIDDBFLAGS 0x0010
#define CEDB_VALIDCREATE (CEDB_VALIDNAME | CEDB_VALIDTYPE | CEDB_VALIDSORTSPEC | CEDB_VALIDDBFLAGS)
#define CEDB_NOCOMPRESS 0x00010000

#define CEDBASEINFOEX_VERSION 1
#define SORTORDERSPECEX_VERSION 1

// ---- Open flags ----------------------------------------------------------------
// Each read moves the seek position to the next record.
#define CEDB_AUTOINCREMENT 0x00000001

// ---- Seek types ----------------------------------------------------------------
#define CEDB_SEEK_CEOID 0x00000001
#define CEDB_SEEK_BEGINNING 0x00000002
#define CEDB_SEEK_END 0x00000004
#define CEDB_SEEK_CURRENT 0x00000008
#define CEDB_SEEK_VALUESMALLER 0x00000010
#define CEDB_SEEK_VALUEFIRSTEQUAL 0x00000020
#define CEDB_SEEK_VALUEGREATER 0x00000040
#define CEDB_SEEK_VALUENEXTEQUAL 0x00000080

// ---- Read and write flags ------------------------------------------------------
// The read buffer may be (re)allocated by the call; it is then released with free().
#define CEDB_ALLOWREALLOC 0x00000001
// Set in CEPROPVAL::wFlags by a read when the record has no such property.
#define CEDB_PROPNOTFOUND 0x0100
// Set in CEPROPVAL::wFlags on a write to remove the property from the record.
#define CEDB_PROPDELETE 0x0200

// ---- Structures ------------------------------------------------------------------
// Identifies a mounted volume. An all-ones GUID is invalid; all zero is the object store.
struct CEGUID {
  DWORD Data1;
  DWORD Data2;
  DWORD Data3;
  DWORD Data4;
};
using PCEGUID = CEGUID*;

inline void CREATE_INVALIDGUID(PCEGUID g) { g->Data1 = g->Data2 = g->Data3 = g->Data4 = 0xFFFFFFFF; }
inline void CREATE_SYSTEMGUID(PCEGUID g) { g->Data1 = g->Data2 = g->Data3 = g->Data4 = 0; }
inline bool CHECK_INVALIDGUID(const CEGUID* g) {
  return g->Data1 == 0xFFFFFFFF && g->Data2 == 0xFFFFFFFF && g->Data3 == 0xFFFFFFFF && g->Data4 == 0xFFFFFFFF;
}
inline bool CHECK_SYSTEMGUID(const CEGUID* g) { return !(g->Data1 | g->Data2 | g->Data3 | g->Data4); }

struct CEBLOB {
  DWORD dwCount;
  LPBYTE lpb;
};

union CEVALUNION {
  SHORT iVal;
  USHORT uiVal;
  LONG lVal;
  ULONG ulVal;
  FILETIME filetime;
  LPWSTR lpwstr;
  CEBLOB blob;
  BOOL boolVal;
  double dblVal;
};

struct CEPROPVAL {
  CEPROPID propid;
  WORD wLenData;
  WORD wFlags;
  CEVALUNION val;
};
using PCEPROPVAL = CEPROPVAL*;

// Describes one property when a database is created with named properties.
struct CEPROPSPEC {
  DWORD wVersion;
  CEPROPID propid;
  DWORD dwFlags;
  LPWSTR pwszPropName;
  DWORD cchPropName;
};
#define CEPROPSPEC_VERSION 1

struct SORTORDERSPECEX {
  WORD wVersion;
  WORD wNumProps;
  WORD wKeyFlags;
  WORD wReserved;
  CEPROPID rgPropID[CEDB_MAXSORTPROP];
  DWORD rgdwFlags[CEDB_MAXSORTPROP];
};

struct CEDBASEINFOEX {
  WORD wVersion;
  WORD wNumSortOrders;
  DWORD dwFlags;
  WCHAR szDbaseName[CEDB_MAXDBASENAMELEN];
  DWORD dwDbaseType;
  DWORD dwNumRecords;
  DWORD dwSize;
  FILETIME ftLastModified;
  SORTORDERSPECEX rgSortSpecs[CEDB_MAXSORTORDER];
};
using PCEDBASEINFOEX = CEDBASEINFOEX*;

struct CENOTIFYREQUEST {
  DWORD dwSize;
  HWND hwnd;
  DWORD dwFlags;
  HANDLE hHeap;
  DWORD dwParam;
};
using PCENOTIFYREQUEST = CENOTIFYREQUEST*;

// ---- Functions ---------------------------------------------------------------------
// Mounts the volume file lpszVol, a device path (\Data\x.cdb) or a host path. A volume that is already mounted is
// mounted again (reference counted): the call succeeds with the same CEGUID and leaves ERROR_ALREADY_EXISTS. A file
// that is not a volume is left untouched and the call fails with ERROR_BAD_FORMAT.
BOOL CeMountDBVol(PCEGUID pceguid, LPCWSTR lpszVol, DWORD dwFlags);
BOOL CeUnmountDBVol(PCEGUID pceguid);
// Every change is durable when its call returns, so flushing only checks the volume.
BOOL CeFlushDBVol(PCEGUID pceguid);

CEOID CeCreateDatabaseEx2(PCEGUID pceguid, CEDBASEINFOEX* lpCEDBInfo);
// Opens by name when lpszName is given, else by *poid; *poid receives the database's id.
HANDLE CeOpenDatabaseEx2(PCEGUID pceguid, PCEOID poid, LPCWSTR lpszName, SORTORDERSPECEX* pSort, DWORD dwFlags,
                         CENOTIFYREQUEST* pRequest);
BOOL CeDeleteDatabaseEx(PCEGUID pceguid, CEOID oid);
// Fills *pInfo for an open database (name, type, flags, number of records, total size).
BOOL CeGetDBInformationByHandle(HANDLE hDbase, CEDBASEINFOEX* pInfo);

// Records are enumerated in ascending id order, which is the order they were first written.
CEOID CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, LPDWORD lpdwIndex);
CEOID CeSeekDatabaseEx(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, WORD wNumVals, LPDWORD lpdwIndex);

// Reads the record at the seek position. rgPropID null reads every property in stored order.
CEOID CeReadRecordProps(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                        LPDWORD lpcbBuffer);
CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                          LPDWORD lpcbBuffer, HANDLE hHeap);
// oidRecord 0 writes a new record; otherwise the given properties replace or join those of the record.
CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal);
BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord);

// Database handles live in the kernel handle table: CloseHandle (platform/sys/WinBase.h) closes them.
// A handle whose volume was unmounted fails with ERROR_INVALID_HANDLE until it is closed.
namespace platform::cedb {
bool isDatabaseHandle(HANDLE handle);
}  // namespace platform::cedb
