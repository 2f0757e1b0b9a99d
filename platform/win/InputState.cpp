#include "platform/win/InputState.h"

#include <algorithm>

#include "platform/base/WinError.h"

namespace platform {

void InputState::press(UINT vk) {
  BYTE& s = keys_[vk & 0xFF];
  if (!(s & 0x80)) s ^= 0x01;
  s |= 0x80;
}

void InputState::release(UINT vk) { keys_[vk & 0xFF] &= static_cast<BYTE>(~0x80); }

UINT InputState::modifiers() const {
  UINT m = 0;
  if (down(VK_SHIFT)) m |= MOD_SHIFT;
  if (down(VK_CONTROL)) m |= MOD_CONTROL;
  if (down(VK_MENU)) m |= MOD_ALT;
  if (down(VK_LWIN) || down(VK_RWIN)) m |= MOD_WIN;
  return m;
}

DWORD InputState::registerHotKey(const HotKey& hotKey) {
  for (const HotKey& hk : hotKeys_) {
    if (hk.vk == hotKey.vk && (hk.modifiers & ~MOD_KEYUP) == (hotKey.modifiers & ~MOD_KEYUP)) {
      if (hk.hwnd == hotKey.hwnd && hk.id == hotKey.id) break;
      return ERROR_HOTKEY_ALREADY_REGISTERED;
    }
  }
  std::erase_if(hotKeys_, [&](const HotKey& k) { return k.hwnd == hotKey.hwnd && k.id == hotKey.id; });
  hotKeys_.push_back(hotKey);
  return ERROR_SUCCESS;
}

bool InputState::unregisterHotKey(HWND hwnd, int id) {
  return std::erase_if(hotKeys_, [&](const HotKey& k) { return k.hwnd == hwnd && k.id == id; }) > 0;
}

const HotKey* InputState::hotKeyFor(UINT vk, UINT modifiers) const {
  for (const HotKey& hk : hotKeys_) {
    if (hk.vk == vk && (hk.modifiers & ~MOD_KEYUP) == modifiers) return &hk;
  }
  return nullptr;
}

void InputState::forget(HWND hwnd) {
  std::erase_if(hotKeys_, [&](const HotKey& k) { return k.hwnd == hwnd; });
  if (focus_ == hwnd) focus_ = nullptr;
  if (active_ == hwnd) active_ = nullptr;
  if (capture_ == hwnd) capture_ = nullptr;
  if (scrollTrack_.window == hwnd) scrollTrack_.window = nullptr;
  if (lastTap_.window == hwnd) lastTap_.window = nullptr;
}

void InputState::clear() {
  keys_.fill(0);
  hotKeys_.clear();
  focus_ = active_ = capture_ = nullptr;
  lastTap_ = Tap{};
  scrollTrack_ = ScrollTrack{};
  cursor_ = nullptr;
  waitCursorDrawn_ = false;
}

}  // namespace platform
