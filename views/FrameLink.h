// What the screens of the main frame say to it and to the user the same way.
#pragma once

#include <string>

#include "platform/win/WinUser.h"

namespace pellucard {

class FrameLink {
 public:
  // The Back key released, as the frame receives it from the menubar: virtual key 27 in the
  // high word, the key-up modifier in the low word.
  static constexpr LPARAM kBackRelease = 0x1B1000;

  // Returns the frame to the screen it showed before.
  static void sendBackRelease(HWND frame);
  // "Permanently delete this item?" as a Yes/No question; true for Yes.
  static bool confirmDelete(HWND owner);
  // A message box with the application title as caption.
  static int show(HWND owner, const std::u16string& text, UINT type);
};

}  // namespace pellucard
