// The user guide in the application folder, opened in the browser.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pellucard {

class HelpFile {
 public:
  // Writes the guide built into the program to the path when no file is there, so that the
  // help path always names a file. An existing file is left alone. False when it cannot be
  // written; the file then appears whole or not at all.
  static bool install(const std::u16string& path, std::string_view text);
  // "file://" followed by the path as it is, opened by the shell with the owner window.
  static std::u16string url(const std::u16string& path);
  static BOOL open(HWND owner, const std::u16string& path);
};

}  // namespace pellucard
