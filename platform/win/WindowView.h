// A read-only look at the window manager, for the window dump and the headless script runner:
// the windows in z-order with what the dump prints of them, and the timer clock.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

struct WindowSummary {
  std::u16string className;
  std::u16string text;
  UINT_PTR id = 0;
  RECT screenRect{};
  bool shown = false;  // WS_VISIBLE on the window itself
  bool disabled = false;
  bool focus = false;
  bool active = false;
  std::vector<HWND> children;  // topmost first
};

class WindowView {
 public:
  // Top-level windows, topmost first.
  std::vector<HWND> topLevels() const;
  // Nothing for a handle that is not a window.
  std::optional<WindowSummary> describe(HWND hwnd) const;

  // The timers' clock (milliseconds, never wrapping) and the wait until the next one is due:
  // 0 when one is due, -1 when none is set.
  std::int64_t ticks() const;
  int msUntilNextTimer() const;
};

}  // namespace platform
