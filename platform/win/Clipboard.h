// The device's one clipboard: who has it open, who owns it, and the blocks it holds by format.
// Text formats are made from each other on request; with a host clipboard, text comes in from
// it whenever it changed there and goes out to it when the clipboard is closed after a change.
#pragma once

#include <map>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/win/ClipboardHost.h"

namespace platform {

class Clipboard {
 public:
  static Clipboard& instance();

  void setHost(ClipboardHost* host) {
    host_ = host;
    hostSeen_ = false;
  }

  bool open(HWND window);
  bool close();
  bool empty();
  HANDLE set(UINT format, HANDLE block);
  HANDLE get(UINT format);
  bool available(UINT format);
  HWND owner();

 private:
  Clipboard() = default;
  // Open, and by a window that still exists (a destroyed window's clipboard comes free).
  bool isOpen();
  void freeBlocks();
  // Replaces the contents with the host's text when that changed since it was last seen.
  void pullFromHost();
  void pushToHost();
  // The text it holds in either format; empty when none.
  std::u16string unicodeText();
  HANDLE synthesize(UINT format);

  ClipboardHost* host_ = nullptr;
  bool open_ = false;
  HWND openedBy_ = nullptr;
  HWND owner_ = nullptr;
  bool ownerSet_ = false;  // emptied since the last open, so SetClipboardData may add formats
  bool changed_ = false;
  std::map<UINT, HANDLE> blocks_;
  bool hostSeen_ = false;
  std::u16string lastHostText_;  // the host's text when last read or written; empty for none
};

}  // namespace platform
