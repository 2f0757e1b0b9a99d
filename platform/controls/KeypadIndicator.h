// The input mode of the focused edit on the Smartphone edition, for the shell to show where
// the device shows it (the right end of the title bar). The edits report it; the shell, which
// sits above the controls, listens.
#pragma once

#include <string_view>

#include "platform/base/WinTypes.h"

namespace platform::controls {

enum class KeypadMode {
  None,     // no edit has the focus
  Lower,    // "abc"
  Capital,  // "Abc": the next letter is a capital (a new sentence)
  Upper,    // "ABC"
  Numbers,  // "123"
};

class KeypadIndicator {
 public:
  using Listener = void (*)(HWND window, KeypadMode mode);

  // nullptr stops listening.
  static void setListener(Listener listener);
  // Called by an edit as its mode changes; None when it loses the focus.
  static void report(HWND window, KeypadMode mode);
  static KeypadMode current();
  static std::u16string_view label(KeypadMode mode);
};

}  // namespace platform::controls
