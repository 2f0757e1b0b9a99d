// Input, focus, activation, capture and hot keys.
//
// Rules kept here:
// - Keys go to the focus window, or to the active window when nothing has the focus. A key
//   registered as a hot key (same modifiers) becomes WM_HOTKEY for its window instead:
//   wParam = id, lParam = MAKELPARAM(modifiers, virtual key); the key up arrives only when the
//   hot key was registered with MOD_KEYUP, and then carries MOD_KEYUP (0x1000) in the modifiers.
//   Auto-repeated key downs repeat the hot key.
// - Key lParam: repeat count 1, bit 30 = the key was down before, bit 31 = key up.
// - The stylus goes to the capture window, else to the window under it; a disabled window
//   gets nothing. Tapping a window of another top-level window first activates that one
//   (WM_MOUSEACTIVATE may refuse). A second tap on the same window within the double-click
//   time and distance becomes WM_LBUTTONDBLCLK when its class has CS_DBLCLKS.
// - Focus: WM_KILLFOCUS (wParam = new focus) goes to the old window, then WM_SETFOCUS
//   (wParam = old focus) to the new; GetFocus already answers the new window meanwhile.
// - Activation: WM_ACTIVATE(WA_INACTIVE, new) to the old active window, then
//   WM_ACTIVATE(WA_ACTIVE or WA_CLICKACTIVE, old) to the new one; if the focus is then not
//   inside the new active window, the window itself takes it.
#include "platform/win/Input.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/Clock.h"
#include "platform/base/RemoteWindowProvider.h"
#include "platform/base/WinError.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowObserver.h"

using platform::InputEvent;
using platform::Window;
using platform::WindowManager;

namespace {
WindowManager& wm() { return WindowManager::instance(); }

void queue(InputEvent e) {
  e.time = platform::Clock::instance().tickCount();
  wm().input.push_back(e);
}

bool down(UINT vk) { return (wm().keyState[vk & 0xFF] & 0x80) != 0; }

UINT currentModifiers() {
  UINT m = 0;
  if (down(VK_SHIFT)) m |= MOD_SHIFT;
  if (down(VK_CONTROL)) m |= MOD_CONTROL;
  if (down(VK_MENU)) m |= MOD_ALT;
  if (down(VK_LWIN) || down(VK_RWIN)) m |= MOD_WIN;
  return m;
}

LPARAM pointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

void sendScroll(HWND hwnd, int bar, int code, int pos) {
  SendMessageW(hwnd, bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL,
               MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
}

// Parts of a scroll bar the stylus can hold.
enum ScrollPart { kNone, kLineUp, kLineDown, kPageUp, kPageDown, kThumb };

constexpr UINT kScrollRepeatDelayMs = 400;
constexpr UINT kScrollRepeatPeriodMs = 100;

void stopScrollRepeat() {
  if (wm().scrollRepeatTimer) KillTimer(nullptr, wm().scrollRepeatTimer);
  wm().scrollRepeatTimer = 0;
}

// Holding an arrow or the track repeats its scroll, as the stylus held on a scroll bar does;
// paging stops once the thumb has reached the stylus.
void CALLBACK scrollRepeat(HWND, UINT, UINT_PTR, DWORD) {
  const HWND hwnd = wm().scrollTrackWindow;
  Window* w = wm().find(hwnd);
  if (!w) {
    stopScrollRepeat();
    return;
  }
  const int bar = wm().scrollTrackPart >> 8;
  const int part = wm().scrollTrackPart & 0xFF;
  if (part == kPageUp || part == kPageDown) {
    const platform::ScrollGeometry g = platform::scrollGeometry(*w, bar);
    const RECT wr = wm().windowScreenRect(*w);
    const int at = bar == SB_VERT ? wm().cursorPos.y - wr.top : wm().cursorPos.x - wr.left;
    const int thumbStart = bar == SB_VERT ? g.thumb.top : g.thumb.left;
    const int thumbEnd = bar == SB_VERT ? g.thumb.bottom : g.thumb.right;
    if (part == kPageUp ? thumbStart <= at : thumbEnd > at) {
      stopScrollRepeat();
      return;
    }
  }
  static const int codes[] = {0, SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
  if (part >= kLineUp && part <= kPageDown) sendScroll(hwnd, bar, codes[part], 0);
  if (wm().scrollRepeatTimer) SetTimer(nullptr, wm().scrollRepeatTimer, kScrollRepeatPeriodMs, scrollRepeat);
}

void beginScrollTrack(HWND hwnd, int hit, POINT screenPt) {
  Window* w = wm().find(hwnd);
  if (!w) return;
  const int bar = hit == HTHSCROLL ? SB_HORZ : SB_VERT;
  const platform::ScrollGeometry g = platform::scrollGeometry(*w, bar);
  const RECT wr = wm().windowScreenRect(*w);
  const POINT p{screenPt.x - wr.left, screenPt.y - wr.top};
  const bool vertical = bar == SB_VERT;
  int part = kNone;
  if (platform::rectContains(g.lineUp, p)) {
    part = kLineUp;
  } else if (platform::rectContains(g.lineDown, p)) {
    part = kLineDown;
  } else if (platform::rectContains(g.thumb, p)) {
    part = kThumb;
  } else if (platform::rectContains(g.track, p) && !platform::rectEmpty(g.thumb)) {
    part = (vertical ? p.y < g.thumb.top : p.x < g.thumb.left) ? kPageUp : kPageDown;
  }
  if (part == kNone) return;
  wm().scrollTrackWindow = hwnd;
  wm().scrollTrackPart = part | (bar << 8);
  wm().scrollTrackOffset = vertical ? p.y - g.thumb.top : p.x - g.thumb.left;
  if (part != kThumb) wm().scrollRepeatTimer = SetTimer(nullptr, 0, kScrollRepeatDelayMs, scrollRepeat);
  switch (part) {
    case kLineUp:
      sendScroll(hwnd, bar, SB_LINEUP, 0);
      break;
    case kLineDown:
      sendScroll(hwnd, bar, SB_LINEDOWN, 0);
      break;
    case kPageUp:
      sendScroll(hwnd, bar, SB_PAGEUP, 0);
      break;
    case kPageDown:
      sendScroll(hwnd, bar, SB_PAGEDOWN, 0);
      break;
    default:
      w->vscroll.trackPos = w->vscroll.pos;
      break;
  }
}

int trackThumb(HWND hwnd, POINT screenPt) {
  Window* w = wm().find(hwnd);
  if (!w) return 0;
  const int bar = wm().scrollTrackPart >> 8;
  const platform::ScrollGeometry g = platform::scrollGeometry(*w, bar);
  const RECT wr = wm().windowScreenRect(*w);
  const int offset = bar == SB_VERT ? screenPt.y - wr.top - g.track.top - wm().scrollTrackOffset
                                    : screenPt.x - wr.left - g.track.left - wm().scrollTrackOffset;
  const int pos = platform::scrollPosFromThumb(*w, bar, offset);
  (bar == SB_HORZ ? w->hscroll : w->vscroll).trackPos = pos;
  return pos;
}

bool keyMessage(const InputEvent& e, MSG& out, bool apply) {
  const bool isDown = e.kind == InputEvent::Kind::KeyDown;
  const UINT vk = e.vk & 0xFF;
  const bool wasDown = down(vk);
  const UINT mods = currentModifiers();
  if (apply) {
    BYTE& s = wm().keyState[vk];
    if (isDown) {
      if (!(s & 0x80)) s ^= 0x01;  // toggle state flips on each fresh press
      s |= 0x80;
    } else {
      s &= static_cast<BYTE>(~0x80);
    }
  }
  for (const platform::HotKey& hk : wm().hotKeys) {
    if (hk.vk != vk || (hk.modifiers & ~MOD_KEYUP) != mods) continue;
    if (!isDown && !(hk.modifiers & MOD_KEYUP)) return false;
    const WORD flags = static_cast<WORD>(mods | (isDown ? 0 : MOD_KEYUP));
    out = MSG{hk.hwnd, WM_HOTKEY,     static_cast<WPARAM>(hk.id), MAKELPARAM(flags, static_cast<WORD>(vk)),
              e.time,  wm().cursorPos};
    return true;
  }
  HWND target = wm().focus ? wm().focus : wm().active;
  if (!target) return false;
  LPARAM lp = 1;
  if (isDown ? wasDown : true) lp |= (1L << 30);
  if (!isDown) lp |= static_cast<LPARAM>(1UL << 31);
  const WPARAM wp = vk == VK_PACKET ? MAKEWPARAM(VK_PACKET, e.ch) : static_cast<WPARAM>(vk);
  out = MSG{target, static_cast<UINT>(isDown ? WM_KEYDOWN : WM_KEYUP), wp, lp, e.time, wm().cursorPos};
  return true;
}

bool stylusMessage(const InputEvent& e, MSG& out, bool apply) {
  auto& m = wm();
  if (apply) {
    m.cursorPos = e.pt;
    if (e.kind == InputEvent::Kind::StylusDown) m.keyState[VK_LBUTTON] |= 0x80;
    if (e.kind == InputEvent::Kind::StylusUp) m.keyState[VK_LBUTTON] &= static_cast<BYTE>(~0x80);
  }
  if (m.scrollTrackWindow && e.kind != InputEvent::Kind::StylusDown) {
    if (!apply) return false;
    const HWND h = m.scrollTrackWindow;
    const int bar = m.scrollTrackPart >> 8;
    const bool thumb = (m.scrollTrackPart & 0xFF) == kThumb;
    if (e.kind == InputEvent::Kind::StylusMove) {
      if (thumb) sendScroll(h, bar, SB_THUMBTRACK, trackThumb(h, e.pt));
    } else {
      if (thumb) sendScroll(h, bar, SB_THUMBPOSITION, trackThumb(h, e.pt));
      stopScrollRepeat();
      m.scrollTrackWindow = nullptr;
      sendScroll(h, bar, SB_ENDSCROLL, 0);
    }
    return false;
  }
  const UINT message = e.kind == InputEvent::Kind::StylusDown ? WM_LBUTTONDOWN
                       : e.kind == InputEvent::Kind::StylusUp ? WM_LBUTTONUP
                                                              : WM_MOUSEMOVE;
  const WPARAM keys = (e.kind == InputEvent::Kind::StylusUp ? 0 : MK_LBUTTON) | (down(VK_SHIFT) ? MK_SHIFT : 0) |
                      (down(VK_CONTROL) ? MK_CONTROL : 0);
  if (m.capture) {
    Window* w = m.find(m.capture);
    if (!w) return false;
    const POINT o = m.clientOrigin(*w);
    out = MSG{m.capture, message, keys, pointParam(POINT{e.pt.x - o.x, e.pt.y - o.y}), e.time, e.pt};
    return true;
  }
  int hit = HTNOWHERE;
  const HWND target = m.windowFromPoint(e.pt, &hit);
  Window* w = m.find(target);
  if (!w) return false;
  // A disabled window, or one inside a disabled window, takes no stylus input.
  for (Window* cur = w; cur; cur = cur->parent ? m.find(cur->parent) : nullptr) {
    if (cur->style & WS_DISABLED) return false;
  }
  if (message == WM_LBUTTONDOWN && apply) {
    const HWND top = m.topLevelOf(target);
    if (top != m.active) {
      const LRESULT ma = SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                      MAKELPARAM(static_cast<WORD>(hit), WM_LBUTTONDOWN));
      if (ma != MA_NOACTIVATE && ma != MA_NOACTIVATEANDEAT) m.activate(top, WA_CLICKACTIVE);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
    }
    if (!m.find(target)) return false;
  }
  if (hit == HTVSCROLL || hit == HTHSCROLL) {
    if (message == WM_LBUTTONDOWN && apply) beginScrollTrack(target, hit, e.pt);
    return false;
  }
  if (hit != HTCLIENT) {
    if (message == WM_MOUSEMOVE) return false;
    const UINT nc = message == WM_LBUTTONDOWN ? WM_NCLBUTTONDOWN : WM_NCLBUTTONUP;
    out = MSG{target, nc, static_cast<WPARAM>(hit), pointParam(e.pt), e.time, e.pt};
    return true;
  }
  const POINT o = m.clientOrigin(*w);
  const POINT local{e.pt.x - o.x, e.pt.y - o.y};
  UINT finalMessage = message;
  if (message == WM_LBUTTONDOWN) {
    const int tolX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int tolY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const bool isDouble = (w->cls->style & CS_DBLCLKS) && m.lastClickWindow == target && !m.lastClickWasDouble &&
                          e.time - m.lastClickTime <= GetDoubleClickTime() &&
                          std::abs(e.pt.x - m.lastClickPt.x) <= tolX && std::abs(e.pt.y - m.lastClickPt.y) <= tolY;
    if (isDouble) finalMessage = WM_LBUTTONDBLCLK;
    if (apply) {
      m.lastClickWindow = target;
      m.lastClickTime = e.time;
      m.lastClickPt = e.pt;
      m.lastClickWasDouble = isDouble;
    }
  }
  out = MSG{target, finalMessage, keys, pointParam(local), e.time, e.pt};
  return true;
}
}  // namespace

namespace platform {

bool WindowManager::readInput(const InputEvent& event, MSG& out, bool apply) {
  if (event.kind == InputEvent::Kind::KeyDown || event.kind == InputEvent::Kind::KeyUp) {
    return keyMessage(event, out, apply);
  }
  return stylusMessage(event, out, apply);
}

void WindowManager::setFocus(HWND hwnd) {
  const HWND old = focus;
  if (old == hwnd) return;
  if (hwnd) {
    const HWND top = topLevelOf(hwnd);
    if (top != active) {
      activate(top, WA_ACTIVE);
      if (focus == hwnd || !find(hwnd)) return;
    }
  }
  const HWND previous = focus;
  focus = hwnd;
  if (previous && find(previous)) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && focus == hwnd && find(hwnd)) {
    SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous && find(previous) ? previous : nullptr), 0);
  }
}

bool WindowManager::raiseInZOrder(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return false;
  auto& list = siblingsOf(*w);
  const std::vector<HWND> before = list;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  auto pos = list.begin();
  if (w->parent == nullptr && !(w->exStyle & WS_EX_TOPMOST)) {
    while (pos != list.end()) {
      Window* o = find(*pos);
      if (!o || !(o->exStyle & WS_EX_TOPMOST)) break;
      ++pos;
    }
  }
  list.insert(pos, hwnd);
  if (!w->parent) {
    // Owned windows stay above their owner, in their order.
    std::vector<HWND> owned;
    for (HWND h : std::vector<HWND>(list)) {
      Window* o = find(h);
      if (!o || h == hwnd || (o->exStyle & WS_EX_TOPMOST)) continue;
      for (HWND up = o->owner; up; up = find(up) ? find(up)->owner : nullptr) {
        if (up == hwnd) {
          owned.push_back(h);
          break;
        }
      }
    }
    for (HWND h : owned) list.erase(std::remove(list.begin(), list.end(), h), list.end());
    auto at = std::find(list.begin(), list.end(), hwnd);
    list.insert(at, owned.begin(), owned.end());
  }
  return list != before;
}

void WindowManager::bringToTop(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w || !raiseInZOrder(hwnd)) return;
  w->frameDirty = true;
  invalidate(*w, nullptr, true, true);
}

void WindowManager::activate(HWND hwnd, int how) {
  if (active == hwnd) return;
  const HWND old = active;
  // Observers hear of the outcome, once WM_ACTIVATE and the focus have settled.
  struct TellObservers {
    WindowManager& wm;
    HWND old;
    ~TellObservers() {
      if (wm.active != old) notifyActiveWindowChanged(old, wm.active);
    }
  } tell{*this, old};
  active = hwnd;
  if (old && find(old)) {
    find(old)->frameDirty = true;
    SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
  }
  if (active != hwnd) return;
  if (!hwnd || !find(hwnd)) {
    active = nullptr;
    setFocus(nullptr);
    return;
  }
  bringToTop(hwnd);
  find(hwnd)->frameDirty = true;
  SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(static_cast<WORD>(how), 0),
               reinterpret_cast<LPARAM>(old && find(old) ? old : nullptr));
  if (active == hwnd && find(hwnd) && (!focus || topLevelOf(focus) != hwnd)) setFocus(hwnd);
}

// An owned window hands the activation back to its owner; otherwise the topmost visible,
// enabled top-level window takes it.
void WindowManager::activateNextTopLevel(HWND leaving) {
  Window* w = find(leaving);
  HWND next = nullptr;
  if (w && w->owner) {
    Window* o = find(w->owner);
    if (o && visible(*o) && enabled(*o)) next = w->owner;
  }
  if (!next) {
    for (HWND top : topLevels) {
      Window* t = find(top);
      if (top != leaving && t && visible(*t) && enabled(*t)) {
        next = top;
        break;
      }
    }
  }
  activate(next, WA_ACTIVE);
}

void postStylusDown(POINT p) { queue(InputEvent{InputEvent::Kind::StylusDown, p, 0, 0, false, 0}); }
void postStylusMove(POINT p) { queue(InputEvent{InputEvent::Kind::StylusMove, p, 0, 0, false, 0}); }
void postStylusUp(POINT p) { queue(InputEvent{InputEvent::Kind::StylusUp, p, 0, 0, false, 0}); }
void postKeyDown(UINT vk, bool repeat) { queue(InputEvent{InputEvent::Kind::KeyDown, POINT{}, vk, 0, repeat, 0}); }
void postKeyUp(UINT vk) { queue(InputEvent{InputEvent::Kind::KeyUp, POINT{}, vk, 0, false, 0}); }
void postCharacter(WCHAR ch) {
  queue(InputEvent{InputEvent::Kind::KeyDown, POINT{}, VK_PACKET, ch, false, 0});
  queue(InputEvent{InputEvent::Kind::KeyUp, POINT{}, VK_PACKET, ch, false, 0});
}

bool inputPending() { return !wm().posted.empty() || !wm().input.empty() || wm().quitPosted; }

// US keyboard layout, as the handheld's keyboards were.
WCHAR characterForKey(WPARAM wParam) {
  const UINT vk = LOWORD(wParam);
  if (vk == VK_PACKET) return static_cast<WCHAR>(HIWORD(wParam));
  const bool shift = down(VK_SHIFT);
  const bool ctrl = down(VK_CONTROL);
  const bool caps = (wm().keyState[VK_CAPITAL] & 0x01) != 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<WCHAR>(vk - 'A' + 1);
    return static_cast<WCHAR>((shift != caps) ? vk : vk - 'A' + 'a');
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') {
    static const char16_t shifted[] = u")!@#$%^&*(";
    return shift ? shifted[vk - '0'] : static_cast<WCHAR>(vk);
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<WCHAR>(u'0' + (vk - VK_NUMPAD0));
  switch (vk) {
    case VK_SPACE:
      return u' ';
    case VK_RETURN:
      return u'\r';
    case VK_BACK:
      return 8;
    case VK_TAB:
      return u'\t';
    case VK_ESCAPE:
      return 27;
    case VK_MULTIPLY:
      return u'*';
    case VK_ADD:
      return u'+';
    case VK_SUBTRACT:
      return u'-';
    case VK_DECIMAL:
      return u'.';
    case VK_DIVIDE:
      return u'/';
    case VK_OEM_1:
      return shift ? u':' : u';';
    case VK_OEM_PLUS:
      return shift ? u'+' : u'=';
    case VK_OEM_COMMA:
      return shift ? u'<' : u',';
    case VK_OEM_MINUS:
      return shift ? u'_' : u'-';
    case VK_OEM_PERIOD:
      return shift ? u'>' : u'.';
    case VK_OEM_2:
      return shift ? u'?' : u'/';
    case VK_OEM_3:
      return shift ? u'~' : u'`';
    case VK_OEM_4:
      return shift ? u'{' : u'[';
    case VK_OEM_5:
      return shift ? u'|' : u'\\';
    case VK_OEM_6:
      return shift ? u'}' : u']';
    case VK_OEM_7:
      return shift ? u'"' : u'\'';
    default:
      return 0;
  }
}

}  // namespace platform

HWND SetFocus(HWND hwnd) {
  if (hwnd && !wm().get(hwnd)) return nullptr;
  const HWND old = wm().focus;
  wm().setFocus(hwnd);
  return old;
}

HWND GetFocus() { return wm().focus; }

HWND SetCapture(HWND hwnd) {
  if (!wm().get(hwnd)) return nullptr;
  const HWND old = wm().capture;
  if (old == hwnd) return old;
  wm().capture = hwnd;
  if (old && wm().find(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

HWND GetCapture() { return wm().capture; }

BOOL ReleaseCapture() {
  const HWND old = wm().capture;
  if (!old) return TRUE;
  wm().capture = nullptr;
  if (wm().find(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND SetActiveWindow(HWND hwnd) {
  const HWND old = wm().active;
  if (hwnd) {
    Window* w = wm().get(hwnd);
    if (!w) return nullptr;
    hwnd = wm().topLevelOf(hwnd);
  }
  wm().activate(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return wm().active; }

// The handheld lets a caller set the handle's lowest bit to bring the windows the target owns
// along: the owner comes to the front with them, and the one of them on top (a dialog it is
// waiting for) takes the activation. Our handles never have that bit set.
BOOL SetForegroundWindow(HWND hwnd) {
  const auto value = reinterpret_cast<UINT_PTR>(hwnd);
  const bool withOwned = (value & 1) != 0;
  const HWND local = withOwned ? reinterpret_cast<HWND>(value & ~static_cast<UINT_PTR>(1)) : hwnd;
  if (!wm().find(local)) {
    if (auto* remote = platform::remoteWindowProvider()) {
      if (hwnd && remote->isRemote(hwnd)) return remote->setForegroundWindow(hwnd);
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const HWND top = wm().topLevelOf(local);
  wm().bringToTop(top);
  HWND target = nullptr;
  if (withOwned) {
    // They came up with their owner, perhaps from under another program's windows.
    for (HWND h : std::vector<HWND>(wm().topLevels)) {
      if (h == top) break;
      Window* o = wm().find(h);
      if (!o || !o->owner || !wm().visible(*o)) continue;
      bool ownedByTop = false;
      for (HWND up = o->owner; up && !ownedByTop; up = wm().find(up) ? wm().find(up)->owner : nullptr) {
        ownedByTop = up == top;
      }
      if (!ownedByTop) continue;
      o->frameDirty = true;
      wm().invalidate(*o, nullptr, true, true);
      if (!target && wm().enabled(*o)) target = h;
    }
  }
  if (!target) target = top;
  wm().activate(target, WA_ACTIVE);
  platform::notifyBroughtToForeground(top);
  return TRUE;
}

HWND GetForegroundWindow() { return wm().active; }

SHORT GetKeyState(int vk) {
  const BYTE s = wm().keyState[vk & 0xFF];
  return static_cast<SHORT>(((s & 0x80) ? 0x8000 : 0) | (s & 0x01));
}

SHORT GetAsyncKeyState(int vk) { return static_cast<SHORT>(GetKeyState(vk) & 0x8000); }

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
  if (hwnd && !wm().get(hwnd)) return FALSE;
  for (const platform::HotKey& hk : wm().hotKeys) {
    if (hk.vk == vk && (hk.modifiers & ~MOD_KEYUP) == (modifiers & ~MOD_KEYUP)) {
      if (hk.hwnd == hwnd && hk.id == id) break;
      SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
      return FALSE;
    }
  }
  auto& keys = wm().hotKeys;
  keys.erase(
      std::remove_if(keys.begin(), keys.end(), [&](const platform::HotKey& k) { return k.hwnd == hwnd && k.id == id; }),
      keys.end());
  keys.push_back(platform::HotKey{hwnd, id, modifiers, vk & 0xFF});
  return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
  auto& keys = wm().hotKeys;
  auto it =
      std::find_if(keys.begin(), keys.end(), [&](const platform::HotKey& k) { return k.hwnd == hwnd && k.id == id; });
  if (it == keys.end()) {
    SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
  }
  keys.erase(it);
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

BOOL GetCursorPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *point = wm().cursorPos;
  return TRUE;
}
