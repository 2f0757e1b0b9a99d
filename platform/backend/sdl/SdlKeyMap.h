// Host keys to the handheld's virtual keys.
#pragma once

#include "platform/base/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform {

// The virtual key for an SDL key code (SDL_Keycode), 0 when the key has none. Printable
// characters other than letters, digits and space arrive as text instead, and so do the
// symbols on the digit keys (Shift+8 is '*', which the Smartphone edition turns into VK_F8).
UINT virtualKeyForSdlKey(int sdlKey, bool shift = false);

// A typed character that the edition turns into a key of its own: on Smartphone '*' and '#'
// are the keypad's VK_F8 and VK_F9. 0 when the character is plain text.
UINT virtualKeyForCharacter(char32_t ch, Edition edition);

}  // namespace platform
