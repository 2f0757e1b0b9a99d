// Host keys to the handheld's virtual keys.
#pragma once

#include "platform/win/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform {

// The virtual key for an SDL key code (SDL_Keycode), 0 when the key has none; printable
// characters other than letters, digits and space arrive as text instead.
UINT virtualKeyForSdlKey(int sdlKey);

// A typed character that the edition turns into a key of its own: on Smartphone '*' and '#'
// are the keypad's VK_F8 and VK_F9. 0 when the character is plain text.
UINT virtualKeyForCharacter(char32_t ch, Edition edition);

}  // namespace platform
