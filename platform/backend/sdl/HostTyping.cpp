#include "platform/backend/sdl/HostTyping.h"

#include <string>

#include "platform/backend/sdl/SdlKeyMap.h"
#include "platform/base/Utf.h"
#include "platform/win/Input.h"

namespace platform {

void HostTyping::press(int hostKey, UINT vk, bool repeat) {
  postKeyDown(vk, repeat);
  down_[hostKey] = vk;
}

void HostTyping::keyDown(int hostKey, UINT vk, bool repeat, bool shift, bool withCommand) {
  flush();
  char16_t types = 0;
  if (vk >= 'A' && vk <= 'Z') types = static_cast<char16_t>(shift ? vk : vk - 'A' + 'a');
  if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) types = static_cast<char16_t>(vk);
  if (types == 0 || withCommand) {
    press(hostKey, vk, repeat);
    return;
  }
  waiting_ = Waiting{hostKey, vk, repeat, types};
}

void HostTyping::keyUp(int hostKey) {
  flush();
  auto it = down_.find(hostKey);
  if (it == down_.end()) return;
  postKeyUp(it->second);
  down_.erase(it);
}

void HostTyping::text(std::string_view utf8) {
  const std::u16string typed = toUtf16(utf8);
  if (waiting_) {
    const Waiting key = *waiting_;
    waiting_.reset();
    if (typed.size() == 1 && typed[0] == key.types) {
      // The key types here what it typed on the host.
      press(key.hostKey, key.vk, key.repeat);
      return;
    }
  }
  for (char16_t c : typed) {
    if (UINT vk = virtualKeyForCharacter(c, edition_)) {
      postKeyDown(vk);
      postKeyUp(vk);
    } else {
      postCharacter(c);
    }
  }
}

void HostTyping::flush() {
  if (!waiting_) return;
  const Waiting key = *waiting_;
  waiting_.reset();
  press(key.hostKey, key.vk, key.repeat);
}

}  // namespace platform
