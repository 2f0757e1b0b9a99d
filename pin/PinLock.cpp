#include "pin/PinLock.h"

#include <cstdio>
#include <memory>
#include <new>

#include "device/TextError.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "platform/sys/WinCrypt.h"
#include "platform/sys/WinReg.h"
#include "platform/win/WinUser.h"

namespace pellucard {

namespace {

constexpr const WCHAR* kKeyContainer = u"Pellucard";

std::unique_ptr<PinLock>& slot() {
  static std::unique_ptr<PinLock> lock;
  return lock;
}

std::u16string hexName(DWORD number) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(number));
  return platform::toUtf16(text);
}

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY* out() { return &key_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class CryptContext {
 public:
  ~CryptContext() {
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
  }
  HCRYPTPROV provider = 0;
  HCRYPTHASH hash = 0;
};

}  // namespace

PinLock::PinLock(DWORD productNumber)
    : productNumber_(productNumber), valueName_(hexName(productNumber)), hash_(&PinLock::md5) {}

bool PinLock::fillBuffer(DWORD productNumber, std::u16string_view pin, Buffer& buffer) {
  buffer.fill(0);
  if (pin.size() > kMaxPinLength) return false;
  for (int i = 0; i < 4; ++i) buffer[i] = static_cast<BYTE>(productNumber >> (8 * i));
  std::size_t at = 4;
  for (char16_t unit : pin) {
    buffer[at++] = static_cast<BYTE>(unit & 0xFF);
    buffer[at++] = static_cast<BYTE>(unit >> 8);
  }
  return true;
}

DWORD PinLock::codeFromDigest(const std::vector<BYTE>& digest) {
  if (digest.size() < 4) throw TextError(u"Couldn't get hash");
  const DWORD code = static_cast<DWORD>(digest[0]) | (static_cast<DWORD>(digest[1]) << 8) |
                     (static_cast<DWORD>(digest[2]) << 16) | (static_cast<DWORD>(digest[3]) << 24);
  return code == 0 ? 0xFFFFFFFFu : code;
}

std::vector<BYTE> PinLock::md5(const Buffer& buffer) {
  CryptContext context;
  if (!CryptAcquireContextW(&context.provider, kKeyContainer, MS_DEF_PROV_W, PROV_RSA_FULL, 0)) {
    // The program's key container is made on first use.
    if (GetLastError() != static_cast<DWORD>(NTE_BAD_KEYSET)) throw TextError(u"Couldn't acquire crypt context (1)");
    if (!CryptAcquireContextW(&context.provider, kKeyContainer, MS_DEF_PROV_W, PROV_RSA_FULL, CRYPT_NEWKEYSET))
      throw TextError(u"Couldn't acquire crypt context (2)");
  }
  if (!CryptCreateHash(context.provider, CALG_MD5, 0, 0, &context.hash)) throw TextError(u"Couldn't get hash provider");
  if (!CryptHashData(context.hash, buffer.data(), static_cast<DWORD>(buffer.size()), 0))
    throw TextError(u"Couldn't Encrypt Hash Data");
  DWORD hashSize = 0;
  DWORD sizeLength = sizeof hashSize;
  if (!CryptGetHashParam(context.hash, HP_HASHSIZE, reinterpret_cast<BYTE*>(&hashSize), &sizeLength, 0))
    throw TextError(u"Couldn't get HP_HASHSIZE");
  std::vector<BYTE> digest;
  try {
    digest.resize(hashSize);
  } catch (const std::bad_alloc&) {
    throw TextError(u"Couldn't allocate memory");
  }
  DWORD digestLength = hashSize;
  if (!CryptGetHashParam(context.hash, HP_HASHVAL, digest.data(), &digestLength, 0))
    throw TextError(u"Couldn't get HP_HASHVAL");
  digest.resize(digestLength);
  return digest;
}

DWORD PinLock::pinCode(std::u16string_view pin) const {
  Buffer buffer;
  if (!fillBuffer(productNumber_, pin, buffer)) throw TextError(u"Couldn't get hash");
  return codeFromDigest(hash_(buffer));
}

std::optional<DWORD> PinLock::storedCode() const {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, 0, key.out()) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.get(), valueName_.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  if (type != REG_DWORD || size != sizeof value) return std::nullopt;
  return value;
}

bool PinLock::storeCode(DWORD code) const {
  RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, 0, nullptr, key.out(), &disposition) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExW(key.get(), valueName_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&code),
                        sizeof code) == ERROR_SUCCESS;
}

bool PinLock::isEnabled() const {
  const std::optional<DWORD> code = storedCode();
  return code && *code != 0;
}

std::optional<std::u16string> PinLock::askPin() const {
  if (!prompt_) return std::nullopt;
  return prompt_(GetActiveWindow());
}

bool PinLock::verify(const std::u16string& pin) {
  const std::optional<DWORD> stored = storedCode();
  if (!stored || *stored == 0) return true;
  std::u16string text = pin;
  if (text.empty()) {
    std::optional<std::u16string> entered = askPin();
    if (!entered) return false;
    text = std::move(*entered);
  }
  if (text.size() > kMaxPinLength) return false;
  return pinCode(text) == *stored;
}

bool PinLock::setPin(const std::u16string& pin) {
  if (pin.size() > kMaxPinLength) return false;
  if (isEnabled() && !verify(u"")) return false;
  return storeCode(pinCode(pin));
}

bool PinLock::disable(bool force) {
  if (!isEnabled()) return true;
  if (!force && !verify(u"")) return false;
  storeCode(0);
  return true;
}

PinLock& getPinLock() {
  auto& lock = slot();
  if (!lock) lock = std::make_unique<PinLock>(PinLock::kProductNumber);
  return *lock;
}

void deletePinLock() { slot().reset(); }

}  // namespace pellucard
