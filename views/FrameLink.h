// What the screens of the main frame say to it and to the user the same way.
#pragma once

#include <string>
#include <string_view>

#include "outlook/ExportCommands.h"
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
  // A string of the table with its "%s" replaced by `value` (a friend's name).
  static std::u16string textWith(UINT stringId, std::u16string_view value);
  // How an export went, in a message box (none when there was nothing to export).
  static void reportExport(HWND owner, ExportCommands::Outcome outcome, bool loans);
};

}  // namespace pellucard
