// A window's whole text.
#pragma once

#include <string>

#include "platform/win/WinUser.h"

namespace pellucard {

inline std::u16string windowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

}  // namespace pellucard
