#include "views/ArrowKeyHold.h"

#include <algorithm>

#include "platform/sys/WinBase.h"
#include "platform/win/WinUser.h"

namespace pellucard {

bool ArrowKeyHold::heldLong() {
  const DWORD now = GetTickCount();
  if (!holding_) {
    holding_ = true;
    holdStart_ = now;
  }
  if (now - holdStart_ < kHoldThresholdMs) return false;
  Sleep(kPageStepPauseMs);
  return true;
}

int ArrowKeyHold::pageStepRow(UINT vk, int selected, int count, int perPage) {
  int row = -1;
  if (vk == VK_UP && selected > 0) row = std::max(0, selected - perPage + 1);
  if (vk == VK_DOWN && selected >= 0) row = std::min(selected + perPage - 1, count - 2);
  // A page of one row, or a selection next to the end, leaves the move to the list view.
  if (row < 0 || (vk == VK_UP ? row >= selected : row <= selected)) return -1;
  return row;
}

int ArrowKeyHold::wrappedRow(UINT vk, int selected, int count) {
  if (count <= 0) return -1;
  if (vk == VK_UP && selected == 0) return count - 1;
  if (vk == VK_DOWN && selected == count - 1) return 0;
  return -1;
}

}  // namespace pellucard
