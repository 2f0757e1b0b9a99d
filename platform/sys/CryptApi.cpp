#include <openssl/evp.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/base/TextCase.h"
#include "platform/sys/Registry.h"
#include "platform/sys/WinCrypt.h"

using platform::sys::Registry;

namespace {

const char16_t* const kContainersKey = u"HKEY_CURRENT_USER\\Software\\Platform\\Cryptography\\Containers";

struct EvpContextDeleter {
  void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};

struct HashObject {
  ALG_ID algorithm;
  std::unique_ptr<EVP_MD_CTX, EvpContextDeleter> context;
  bool finished = false;
  unsigned char digest[EVP_MAX_MD_SIZE] = {};
  unsigned int digestSize = 0;
};

struct CryptoTables {
  std::mutex mutex;
  std::map<ULONG_PTR, std::u16string> providers;  // handle -> container ("" for a verify context)
  std::map<ULONG_PTR, std::unique_ptr<HashObject>> hashes;
  ULONG_PTR next = 0x2000;
};

CryptoTables& tables() {
  static CryptoTables t;
  return t;
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

const EVP_MD* digestFor(ALG_ID algorithm) {
  switch (algorithm) {
    case CALG_MD5:
      return EVP_md5();
    case CALG_SHA1:
      return EVP_sha1();
    default:
      return nullptr;
  }
}

bool knownProvider(LPCWSTR name) {
  if (!name) return true;
  return platform::equalsIgnoringCase(name, MS_DEF_PROV_W) || platform::equalsIgnoringCase(name, MS_ENHANCED_PROV_W);
}

// Finishes the hash once and keeps the value for later reads.
bool finish(HashObject& hash) {
  if (hash.finished) return true;
  if (EVP_DigestFinal_ex(hash.context.get(), hash.digest, &hash.digestSize) != 1) return false;
  hash.finished = true;
  return true;
}

BOOL deliver(const void* value, DWORD size, BYTE* pbData, DWORD* pdwDataLen) {
  if (!pbData) {
    *pdwDataLen = size;
    return TRUE;
  }
  if (*pdwDataLen < size) {
    *pdwDataLen = size;
    return fail(ERROR_MORE_DATA);
  }
  std::memcpy(pbData, value, size);
  *pdwDataLen = size;
  return TRUE;
}

}  // namespace

BOOL CryptAcquireContextW(HCRYPTPROV* phProv, LPCWSTR pszContainer, LPCWSTR pszProvider, DWORD dwProvType,
                          DWORD dwFlags) {
  constexpr DWORD kKnown =
      CRYPT_VERIFYCONTEXT | CRYPT_NEWKEYSET | CRYPT_DELETEKEYSET | CRYPT_MACHINE_KEYSET | CRYPT_SILENT;
  if (dwFlags & ~kKnown) return fail(NTE_BAD_FLAGS);
  if (!phProv && !(dwFlags & CRYPT_DELETEKEYSET)) return fail(ERROR_INVALID_PARAMETER);
  if (dwProvType != PROV_RSA_FULL) return fail(pszProvider ? NTE_PROV_TYPE_NO_MATCH : NTE_PROV_TYPE_NOT_DEF);
  if (!knownProvider(pszProvider)) return fail(NTE_KEYSET_NOT_DEF);

  const bool verify = (dwFlags & CRYPT_VERIFYCONTEXT) == CRYPT_VERIFYCONTEXT;
  std::u16string container;
  if (verify) {
    if ((pszContainer && *pszContainer) || (dwFlags & (CRYPT_NEWKEYSET | CRYPT_DELETEKEYSET)))
      return fail(NTE_BAD_FLAGS);
  } else {
    container = pszContainer && *pszContainer ? pszContainer : u"Default";
    if (container.find(u'\\') != std::u16string::npos || container.size() > 260) return fail(NTE_BAD_KEYSET_PARAM);
    const std::u16string key = Registry::join(kContainersKey, container);
    Registry& registry = Registry::instance();
    const bool exists = registry.keyExists(key);
    if (dwFlags & CRYPT_DELETEKEYSET) {
      if (!exists) return fail(NTE_BAD_KEYSET);
      if (registry.deleteKey(key) != ERROR_SUCCESS) return fail(NTE_BAD_KEYSET);
      if (phProv) *phProv = 0;
      return TRUE;
    }
    if (dwFlags & CRYPT_NEWKEYSET) {
      if (exists) return fail(NTE_EXISTS);
      bool created = false;
      const LONG result = registry.createKey(key, &created);
      if (result != ERROR_SUCCESS) return fail(static_cast<DWORD>(result));
    } else if (!exists) {
      return fail(NTE_BAD_KEYSET);
    }
  }
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  t.next += 4;
  t.providers[t.next] = container;
  *phProv = t.next;
  return TRUE;
}

BOOL CryptReleaseContext(HCRYPTPROV hProv, DWORD dwFlags) {
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  if (!t.providers.count(hProv)) return fail(NTE_BAD_UID);
  if (dwFlags) return fail(NTE_BAD_FLAGS);
  t.providers.erase(hProv);
  return TRUE;
}

BOOL CryptCreateHash(HCRYPTPROV hProv, ALG_ID Algid, HCRYPTKEY hKey, DWORD dwFlags, HCRYPTHASH* phHash) {
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  if (!t.providers.count(hProv)) return fail(NTE_BAD_UID);
  if (!phHash) return fail(ERROR_INVALID_PARAMETER);
  if (dwFlags) return fail(NTE_BAD_FLAGS);
  const EVP_MD* digest = digestFor(Algid);
  if (!digest) return fail(NTE_BAD_ALGID);
  if (hKey) return fail(NTE_BAD_KEY);
  auto hash = std::make_unique<HashObject>();
  hash->algorithm = Algid;
  hash->context.reset(EVP_MD_CTX_new());
  if (!hash->context || EVP_DigestInit_ex(hash->context.get(), digest, nullptr) != 1)
    return fail(ERROR_NOT_ENOUGH_MEMORY);
  t.next += 4;
  t.hashes[t.next] = std::move(hash);
  *phHash = t.next;
  return TRUE;
}

BOOL CryptHashData(HCRYPTHASH hHash, const BYTE* pbData, DWORD dwDataLen, DWORD dwFlags) {
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  auto it = t.hashes.find(hHash);
  if (it == t.hashes.end()) return fail(NTE_BAD_HASH);
  if (dwFlags) return fail(NTE_BAD_FLAGS);
  if (!pbData && dwDataLen) return fail(ERROR_INVALID_PARAMETER);
  HashObject& hash = *it->second;
  if (hash.finished) return fail(NTE_BAD_HASH_STATE);
  if (dwDataLen && EVP_DigestUpdate(hash.context.get(), pbData, dwDataLen) != 1) return fail(NTE_BAD_HASH);
  return TRUE;
}

BOOL CryptGetHashParam(HCRYPTHASH hHash, DWORD dwParam, BYTE* pbData, DWORD* pdwDataLen, DWORD dwFlags) {
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  auto it = t.hashes.find(hHash);
  if (it == t.hashes.end()) return fail(NTE_BAD_HASH);
  if (dwFlags) return fail(NTE_BAD_FLAGS);
  if (!pdwDataLen) return fail(ERROR_INVALID_PARAMETER);
  HashObject& hash = *it->second;
  const DWORD size = static_cast<DWORD>(EVP_MD_CTX_get_size(hash.context.get()));
  switch (dwParam) {
    case HP_ALGID: {
      const DWORD algorithm = hash.algorithm;
      return deliver(&algorithm, sizeof algorithm, pbData, pdwDataLen);
    }
    case HP_HASHSIZE:
      return deliver(&size, sizeof size, pbData, pdwDataLen);
    case HP_HASHVAL:
      if (!pbData) {
        *pdwDataLen = size;
        return TRUE;
      }
      if (*pdwDataLen < size) {
        *pdwDataLen = size;
        return fail(ERROR_MORE_DATA);
      }
      if (!finish(hash)) return fail(NTE_BAD_HASH);
      return deliver(hash.digest, hash.digestSize, pbData, pdwDataLen);
    default:
      return fail(NTE_BAD_TYPE);
  }
}

BOOL CryptDestroyHash(HCRYPTHASH hHash) {
  CryptoTables& t = tables();
  std::lock_guard lock(t.mutex);
  if (!t.hashes.erase(hHash)) return fail(NTE_BAD_HASH);
  return TRUE;
}
