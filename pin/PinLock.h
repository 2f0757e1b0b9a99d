// The optional start-up PIN. Only a 32-bit code derived from the PIN is kept, in the registry; no
// value or 0 means protection is off. Nothing is cached: every call reads the registry again.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace pellucard {

class PinLock {
 public:
  static constexpr DWORD kProductNumber = 48261;
  // The hash buffer: the product number, then the PIN as UTF-16 code units.
  static constexpr std::size_t kBufferSize = 256;
  static constexpr std::size_t kMaxPinLength = (kBufferSize - 4) / 2;
  static constexpr const WCHAR* kRegistryKey = u"\\Software\\Velka\\Protection";

  using Buffer = std::array<BYTE, kBufferSize>;
  // Digest of the buffer; throws TextError when hashing fails.
  using HashFunction = std::function<std::vector<BYTE>(const Buffer&)>;
  // Asks the user for the PIN; no value means the user cancelled.
  using PinPrompt = std::function<std::optional<std::u16string>(HWND parent)>;

  explicit PinLock(DWORD productNumber = kProductNumber);

  // The registry value name: the product number in upper-case hexadecimal.
  const std::u16string& valueName() const { return valueName_; }

  bool isEnabled() const;
  // True when protection is off or the PIN's code is the stored one. An empty PIN asks the user
  // through the PIN prompt; without a prompt, or on Cancel, the check fails.
  bool verify(const std::u16string& pin);
  // Asks for the current PIN first when protection is on. PINs longer than kMaxPinLength are refused.
  bool setPin(const std::u16string& pin);
  // Unless forced, asks for the current PIN first when protection is on.
  bool disable(bool force);

  // The stored code of a PIN (never 0). Throws TextError when hashing fails or the PIN is too long.
  DWORD pinCode(std::u16string_view pin) const;

  // Fills the hash buffer; false when the PIN does not fit.
  static bool fillBuffer(DWORD productNumber, std::u16string_view pin, Buffer& buffer);
  // The first four digest bytes, little-endian; 0 becomes 0xFFFFFFFF so a stored code is never "off".
  static DWORD codeFromDigest(const std::vector<BYTE>& digest);
  // MD5 through the platform's base cryptographic provider.
  static std::vector<BYTE> md5(const Buffer& buffer);

  void setHashFunction(HashFunction hash) { hash_ = std::move(hash); }
  void setPinPrompt(PinPrompt prompt) { prompt_ = std::move(prompt); }

 private:
  std::optional<DWORD> storedCode() const;
  bool storeCode(DWORD code) const;
  std::optional<std::u16string> askPin() const;

  DWORD productNumber_;
  std::u16string valueName_;
  HashFunction hash_;
  PinPrompt prompt_;
};

// Application-wide instance (the security object of start-up).
PinLock& getPinLock();
void deletePinLock();

}  // namespace pellucard
