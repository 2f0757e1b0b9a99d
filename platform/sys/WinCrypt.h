// The CryptoAPI subset the program uses: a provider context with its key container and
// MD5 (or SHA-1) hash objects. The hashing itself is OpenSSL's libcrypto.
#pragma once

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

using ALG_ID = UINT;
using HCRYPTKEY = ULONG_PTR;

#define MS_DEF_PROV_W u"Microsoft Base Cryptographic Provider v1.0"
#define MS_ENHANCED_PROV_W u"Microsoft Enhanced Cryptographic Provider v1.0"
#define MS_DEF_PROV MS_DEF_PROV_W
#define PROV_RSA_FULL 1

#define CRYPT_VERIFYCONTEXT 0xF0000000UL
#define CRYPT_NEWKEYSET 0x00000008
#define CRYPT_DELETEKEYSET 0x00000010
#define CRYPT_MACHINE_KEYSET 0x00000020
#define CRYPT_SILENT 0x00000040

#define CALG_MD5 0x00008003
#define CALG_SHA1 0x00008004
#define CALG_SHA CALG_SHA1

#define HP_ALGID 0x0001
#define HP_HASHVAL 0x0002
#define HP_HASHSIZE 0x0004

#ifndef NTE_BAD_KEY
#define NTE_BAD_KEY (static_cast<DWORD>(0x80090003L))
#endif
#ifndef NTE_BAD_LEN
#define NTE_BAD_LEN (static_cast<DWORD>(0x80090004L))
#endif
#ifndef NTE_PROV_TYPE_NOT_DEF
#define NTE_PROV_TYPE_NOT_DEF (static_cast<DWORD>(0x80090017L))
#endif
#ifndef NTE_KEYSET_NOT_DEF
#define NTE_KEYSET_NOT_DEF (static_cast<DWORD>(0x80090019L))
#endif
#ifndef NTE_PROV_TYPE_NO_MATCH
#define NTE_PROV_TYPE_NO_MATCH (static_cast<DWORD>(0x8009001BL))
#endif
#ifndef NTE_BAD_KEYSET_PARAM
#define NTE_BAD_KEYSET_PARAM (static_cast<DWORD>(0x8009001FL))
#endif

// Key containers persist per user (in the registry). Without CRYPT_NEWKEYSET a missing
// container fails with NTE_BAD_KEYSET; with it an existing one fails with NTE_EXISTS.
// CRYPT_VERIFYCONTEXT needs no container. A null container name is the default one.
BOOL CryptAcquireContextW(HCRYPTPROV* phProv, LPCWSTR pszContainer, LPCWSTR pszProvider, DWORD dwProvType,
                          DWORD dwFlags);
BOOL CryptReleaseContext(HCRYPTPROV hProv, DWORD dwFlags);
BOOL CryptCreateHash(HCRYPTPROV hProv, ALG_ID Algid, HCRYPTKEY hKey, DWORD dwFlags, HCRYPTHASH* phHash);
BOOL CryptHashData(HCRYPTHASH hHash, const BYTE* pbData, DWORD dwDataLen, DWORD dwFlags);
// HP_HASHVAL ends the hash: later CryptHashData calls fail with NTE_BAD_HASH_STATE.
BOOL CryptGetHashParam(HCRYPTHASH hHash, DWORD dwParam, BYTE* pbData, DWORD* pdwDataLen, DWORD dwFlags);
BOOL CryptDestroyHash(HCRYPTHASH hHash);
