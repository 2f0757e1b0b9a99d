// The registry calls over the file-backed store. Like the handheld, the access
// mask a key was opened with is not enforced.
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

#include "platform/sys/Registry.h"
#include "platform/sys/WinReg.h"

using platform::sys::Registry;

namespace {

struct OpenKeys {
  std::mutex mutex;
  std::map<UINT_PTR, std::u16string> paths;
  UINT_PTR next = 0x10000;
};

OpenKeys& openKeys() {
  static OpenKeys keys;
  return keys;
}

std::optional<std::u16string> pathOf(HKEY key) {
  const auto value = reinterpret_cast<UINT_PTR>(key);
  switch (value) {
    case 0x80000000UL:
      return u"HKEY_CLASSES_ROOT";
    case 0x80000001UL:
      return u"HKEY_CURRENT_USER";
    case 0x80000002UL:
      return u"HKEY_LOCAL_MACHINE";
    case 0x80000003UL:
      return u"HKEY_USERS";
    default:
      break;
  }
  auto& keys = openKeys();
  std::lock_guard lock(keys.mutex);
  auto it = keys.paths.find(value);
  if (it == keys.paths.end()) return std::nullopt;
  return it->second;
}

HKEY newHandle(const std::u16string& path) {
  auto& keys = openKeys();
  std::lock_guard lock(keys.mutex);
  keys.next += 4;
  keys.paths[keys.next] = path;
  return reinterpret_cast<HKEY>(keys.next);
}

std::u16string textOf(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, SECURITY_ATTRIBUTES*, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  const auto base = pathOf(hKey);
  if (!base) return ERROR_INVALID_HANDLE;
  const std::u16string path = Registry::join(*base, textOf(lpSubKey));
  bool created = false;
  const LONG result = Registry::instance().createKey(path, &created);
  if (result != ERROR_SUCCESS) return result;
  *phkResult = newHandle(path);
  if (lpdwDisposition) *lpdwDisposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return ERROR_SUCCESS;
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  const auto base = pathOf(hKey);
  if (!base) return ERROR_INVALID_HANDLE;
  const std::u16string path = Registry::join(*base, textOf(lpSubKey));
  if (!Registry::instance().keyExists(path)) return ERROR_FILE_NOT_FOUND;
  *phkResult = newHandle(path);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  const auto path = pathOf(hKey);
  if (!path) return ERROR_INVALID_HANDLE;
  if (!Registry::instance().keyExists(*path)) return ERROR_KEY_DELETED;
  const auto value = Registry::instance().value(*path, textOf(lpValueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value->type;
  const auto size = static_cast<DWORD>(value->data.size());
  if (!lpData) {
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
  }
  if (*lpcbData < size) {
    *lpcbData = size;
    return ERROR_MORE_DATA;
  }
  if (size) std::memcpy(lpData, value->data.data(), size);
  *lpcbData = size;
  return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData) {
  if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
  if ((dwType == REG_DWORD || dwType == REG_DWORD_BIG_ENDIAN) && cbData != 4) return ERROR_INVALID_PARAMETER;
  if (dwType == REG_QWORD && cbData != 8) return ERROR_INVALID_PARAMETER;
  const auto path = pathOf(hKey);
  if (!path) return ERROR_INVALID_HANDLE;
  Registry::Value value;
  value.type = dwType;
  if (cbData) value.data.assign(lpData, lpData + cbData);
  if (isStringType(dwType)) {
    // A string stored without its terminator would read back unterminated.
    if (value.data.size() % 2) value.data.push_back(0);
    if (value.data.size() < 2 || value.data[value.data.size() - 1] || value.data[value.data.size() - 2]) {
      value.data.push_back(0);
      value.data.push_back(0);
    }
  }
  return Registry::instance().setValue(*path, textOf(lpValueName), std::move(value));
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  const auto path = pathOf(hKey);
  if (!path) return ERROR_INVALID_HANDLE;
  return Registry::instance().deleteValue(*path, textOf(lpValueName));
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  const auto base = pathOf(hKey);
  if (!base) return ERROR_INVALID_HANDLE;
  if (!lpSubKey || !*lpSubKey) return ERROR_INVALID_PARAMETER;
  return Registry::instance().deleteKey(Registry::join(*base, lpSubKey));
}

LONG RegCloseKey(HKEY hKey) {
  const auto value = reinterpret_cast<UINT_PTR>(hKey);
  if (value >= 0x80000000UL && value <= 0x80000003UL) return ERROR_SUCCESS;
  auto& keys = openKeys();
  std::lock_guard lock(keys.mutex);
  return keys.paths.erase(value) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
