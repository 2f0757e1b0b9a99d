// The host keyboard's presses and the text it makes of them, turned into the handheld's input.
// A letter, digit or space key goes in as a key when the host then types what that key types
// on the handheld's keyboard; when the host types something else (a dead key's accented letter,
// AltGr's '@', Caps Lock's capital, a compose sequence, an input method's word), its text goes
// in as characters instead and the key does not, so nothing is typed twice.
#pragma once

#include <map>
#include <optional>
#include <string_view>

#include "platform/base/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform {

class HostTyping {
 public:
  explicit HostTyping(Edition edition) : edition_(edition) {}

  // A host key that stands for vk. withCommand: Ctrl or the left Alt is down, so the host types
  // no text for it.
  void keyDown(int hostKey, UINT vk, bool repeat, bool shift, bool withCommand);
  void keyUp(int hostKey);
  // Text the host typed, UTF-8.
  void text(std::string_view utf8);
  // Anything else happened: a key still waiting for its text goes in as a key.
  void flush();

 private:
  struct Waiting {
    int hostKey;
    UINT vk;
    bool repeat;
    char16_t types;  // what the handheld's keyboard types for it
  };
  void press(int hostKey, UINT vk, bool repeat);

  Edition edition_;
  std::optional<Waiting> waiting_;
  std::map<int, UINT> down_;  // host keys whose press went in as a key, so their release does too
};

}  // namespace platform
