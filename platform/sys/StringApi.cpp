#include <cstring>
#include <string_view>

#include "platform/base/TextCase.h"
#include "platform/sys/WinBase.h"

int lstrlenW(LPCWSTR lpString) {
  if (!lpString) return 0;
  return static_cast<int>(std::u16string_view(lpString).size());
}

LPWSTR lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  const std::size_t n = std::u16string_view(lpString2).size();
  std::memmove(lpString1, lpString2, (n + 1) * sizeof(WCHAR));
  return lpString1;
}

LPWSTR lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2 || iMaxLength <= 0) return lpString1;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = 0;
  return lpString1;
}

LPWSTR lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  lstrcpyW(lpString1 + lstrlenW(lpString1), lpString2);
  return lpString1;
}

int lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  const std::u16string_view a = lpString1 ? lpString1 : u"";
  const std::u16string_view b = lpString2 ? lpString2 : u"";
  const int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  return platform::compareIgnoringCase(lpString1 ? lpString1 : u"", lpString2 ? lpString2 : u"");
}
