#include "platform/base/TextCase.h"

#include <locale.h>
#include <wctype.h>

namespace platform {

namespace {
// The C locale knows only ASCII; C.UTF-8 (always present with glibc) knows all of Unicode.
locale_t unicodeLocale() {
  static locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  }();
  return locale;
}
bool isSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
}  // namespace

char16_t upperCase(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (isSurrogate(c)) return c;
  const wint_t u = towupper_l(static_cast<wint_t>(c), unicodeLocale());
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t lowerCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (isSurrogate(c)) return c;
  const wint_t l = towlower_l(static_cast<wint_t>(c), unicodeLocale());
  return l <= 0xFFFF ? static_cast<char16_t>(l) : c;
}

std::u16string upperCase(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) c = upperCase(c);
  return out;
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && compareIgnoringCase(a, b) == 0;
}

int compareIgnoringCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = upperCase(a[i]);
    const char16_t y = upperCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace platform
