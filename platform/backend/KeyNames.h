// Key names of the headless scripts and the test harness, turned into the handheld's keys.
#pragma once

#include <optional>
#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform {

struct NamedKey {
  UINT vk = 0;
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
};

// Names are case-insensitive: UP DOWN LEFT RIGHT, ENTER (RETURN, ACTION), BACK (ESCAPE, ESC),
// SOFT1 SOFT2 (F1 F2), F1..F24, TAB SPACE BACKSPACE DELETE HOME END PAGEUP PAGEDOWN, STAR and
// POUND (VK_F8 / VK_F9 on Smartphone, VK_MULTIPLY / '#' key on Pocket PC), TALK END-CALL, a
// single letter or digit, or 0xNN for any virtual key. "shift+", "ctrl+" and "alt+" prefixes
// hold those keys.
std::optional<NamedKey> parseKeyName(const std::string& name, Edition edition);

}  // namespace platform
