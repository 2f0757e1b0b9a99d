// What the input devices left behind: keys held and toggled, hot keys, which window has the
// focus, the activation and the capture, where the stylus is, the last tap (for double taps),
// the scroll bar the stylus holds, and the cursor. The rules that change focus and activation
// (and send their messages) are the window manager's (Input.cpp).
#pragma once

#include <array>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

struct HotKey {
  HWND hwnd = nullptr;
  int id = 0;
  UINT modifiers = 0;
  UINT vk = 0;
};

// A tap, remembered to tell whether the next one makes a double tap.
struct Tap {
  HWND window = nullptr;
  DWORD time = 0;
  POINT pt{};
  bool wasDouble = false;
};

// A window scroll bar part held by the stylus.
struct ScrollTrack {
  HWND window = nullptr;  // none: nothing is held
  int bar = SB_VERT;
  int part = 0;
  int offset = 0;            // from the stylus to the thumb's leading edge
  UINT_PTR repeatTimer = 0;  // repeats an arrow or page while the stylus holds it
};

class InputState {
 public:
  // Keys: bit 0x80 held, bit 0x01 toggled (GetKeyState).
  BYTE key(UINT vk) const { return keys_[vk & 0xFF]; }
  bool down(UINT vk) const { return (key(vk) & 0x80) != 0; }
  void press(UINT vk);  // a fresh press flips the toggle
  void release(UINT vk);
  // MOD_SHIFT, MOD_CONTROL, MOD_ALT and MOD_WIN for the keys held now.
  UINT modifiers() const;

  // Returns ERROR_SUCCESS, or ERROR_HOTKEY_ALREADY_REGISTERED when another window or id has the
  // same key and modifiers.
  DWORD registerHotKey(const HotKey& hotKey);
  bool unregisterHotKey(HWND hwnd, int id);
  // The hot key of a key with the modifiers held (MOD_KEYUP aside), or null.
  const HotKey* hotKeyFor(UINT vk, UINT modifiers) const;

  HWND focus() const { return focus_; }
  void setFocus(HWND hwnd) { focus_ = hwnd; }
  HWND active() const { return active_; }
  void setActive(HWND hwnd) { active_ = hwnd; }
  HWND capture() const { return capture_; }
  void setCapture(HWND hwnd) { capture_ = hwnd; }

  POINT cursorPos() const { return cursorPos_; }
  void setCursorPos(POINT pt) { cursorPos_ = pt; }
  const Tap& lastTap() const { return lastTap_; }
  void setLastTap(const Tap& tap) { lastTap_ = tap; }
  const ScrollTrack& scrollTrack() const { return scrollTrack_; }
  void setScrollTrack(const ScrollTrack& track) { scrollTrack_ = track; }
  void endScrollTrack() { scrollTrack_.window = nullptr; }
  void setScrollRepeatTimer(UINT_PTR id) { scrollTrack_.repeatTimer = id; }

  HCURSOR cursor() const { return cursor_; }
  void setCursor(HCURSOR cursor) { cursor_ = cursor; }
  // Where the busy indicator was drawn, while it is on the screen.
  bool waitCursorDrawn() const { return waitCursorDrawn_; }
  const RECT& waitCursorRect() const { return waitCursorRect_; }
  void setWaitCursor(bool drawn, const RECT& where = RECT{}) {
    waitCursorDrawn_ = drawn;
    if (drawn) waitCursorRect_ = where;
  }

  // A window is gone: nothing of the input state may point at it any more.
  void forget(HWND hwnd);
  void clear();

 private:
  std::array<BYTE, 256> keys_{};
  std::vector<HotKey> hotKeys_;
  HWND focus_ = nullptr;
  HWND active_ = nullptr;
  HWND capture_ = nullptr;
  POINT cursorPos_{};
  Tap lastTap_;
  ScrollTrack scrollTrack_;
  HCURSOR cursor_ = nullptr;
  bool waitCursorDrawn_ = false;
  RECT waitCursorRect_{};
};

}  // namespace platform
