// How the program's lists move with the arrow keys, kept per list: the first press after a
// release is fresh (the lists wrap around on it, never on auto-repeat), and a key held for 2.5
// seconds moves the selection a page per repeat instead of a row.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

class ArrowKeyHold {
 public:
  static constexpr DWORD kHoldThresholdMs = 2501;
  static constexpr DWORD kPageStepPauseMs = 150;

  // A key went down; true when it is the first press since a key came up.
  bool press() {
    const bool fresh = fresh_;
    fresh_ = false;
    return fresh;
  }
  // A key came up: the next press is fresh and the next hold starts again.
  void release() {
    fresh_ = true;
    holding_ = false;
    holdStart_ = 0;
  }

  // The list view's notice (LVN_KEYDOWN) that it is about to move the selection one row. The
  // first notice of a press starts the hold. From the threshold on, every notice pauses 150 ms
  // and answers true: the key is held long enough for the list to move by pages.
  bool heldLong();

  // The row to select before the list view's own one-row move, so that the two together travel
  // one page (of `perPage` rows) from row `selected`; -1 when the key is not VK_UP or VK_DOWN or
  // the selection is already at that end.
  static int pageStepRow(UINT vk, int selected, int count, int perPage);
  // The row a fresh press wraps to: the last row for VK_UP on the first, the first for VK_DOWN
  // on the last; -1 when the key does not wrap.
  static int wrappedRow(UINT vk, int selected, int count);

 private:
  // The first press after the list gets the keys counts as fresh.
  bool fresh_ = true;
  bool holding_ = false;
  DWORD holdStart_ = 0;
};

}  // namespace pellucard
