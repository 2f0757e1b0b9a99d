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
#include "platform/sys/ShellApi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowObserver.h"

using platform::InputEvent;
using platform::inputState;
using platform::messageQueue;
using platform::paintScheduler;
using platform::ScrollTrack;
using platform::Window;
using platform::WindowManager;
using platform::windowManager;
using platform::windowTree;

namespace {

void queue(InputEvent e) {
  e.time = platform::Clock::instance().tickCount();
  messageQueue().pushInput(e);
}

bool down(UINT vk) { return inputState().down(vk); }

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
  if (const UINT_PTR timer = inputState().scrollTrack().repeatTimer) KillTimer(nullptr, timer);
  inputState().setScrollRepeatTimer(0);
}

// Holding an arrow or the track repeats its scroll, as the stylus held on a scroll bar does;
// paging stops once the thumb has reached the stylus.
void CALLBACK scrollRepeat(HWND, UINT, UINT_PTR, DWORD) {
  const ScrollTrack track = inputState().scrollTrack();
  Window* w = windowTree().find(track.window);
  if (!w) {
    stopScrollRepeat();
    return;
  }
  if (track.part == kPageUp || track.part == kPageDown) {
    const platform::ScrollGeometry g = platform::scrollGeometry(*w, track.bar);
    const RECT wr = windowTree().windowScreenRect(*w);
    const POINT cursor = inputState().cursorPos();
    const int at = track.bar == SB_VERT ? cursor.y - wr.top : cursor.x - wr.left;
    const int thumbStart = track.bar == SB_VERT ? g.thumb.top : g.thumb.left;
    const int thumbEnd = track.bar == SB_VERT ? g.thumb.bottom : g.thumb.right;
    if (track.part == kPageUp ? thumbStart <= at : thumbEnd > at) {
      stopScrollRepeat();
      return;
    }
  }
  static const int codes[] = {0, SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN};
  if (track.part >= kLineUp && track.part <= kPageDown) sendScroll(track.window, track.bar, codes[track.part], 0);
  if (const UINT_PTR timer = inputState().scrollTrack().repeatTimer) {
    SetTimer(nullptr, timer, kScrollRepeatPeriodMs, scrollRepeat);
  }
}

void beginScrollTrack(HWND hwnd, int hit, POINT screenPt) {
  Window* w = windowTree().find(hwnd);
  if (!w) return;
  const int bar = hit == HTHSCROLL ? SB_HORZ : SB_VERT;
  const platform::ScrollGeometry g = platform::scrollGeometry(*w, bar);
  const RECT wr = windowTree().windowScreenRect(*w);
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
  ScrollTrack track;
  track.window = hwnd;
  track.bar = bar;
  track.part = part;
  track.offset = vertical ? p.y - g.thumb.top : p.x - g.thumb.left;
  track.repeatTimer = inputState().scrollTrack().repeatTimer;
  inputState().setScrollTrack(track);
  if (part != kThumb) inputState().setScrollRepeatTimer(SetTimer(nullptr, 0, kScrollRepeatDelayMs, scrollRepeat));
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
  Window* w = windowTree().find(hwnd);
  if (!w) return 0;
  const ScrollTrack& track = inputState().scrollTrack();
  const int bar = track.bar;
  const platform::ScrollGeometry g = platform::scrollGeometry(*w, bar);
  const RECT wr = windowTree().windowScreenRect(*w);
  const int offset = bar == SB_VERT ? screenPt.y - wr.top - g.track.top - track.offset
                                    : screenPt.x - wr.left - g.track.left - track.offset;
  const int pos = platform::scrollPosFromThumb(*w, bar, offset);
  (bar == SB_HORZ ? w->hscroll : w->vscroll).trackPos = pos;
  return pos;
}

bool keyMessage(const InputEvent& e, MSG& out, bool apply) {
  const bool isDown = e.kind == InputEvent::Kind::KeyDown;
  const UINT vk = e.vk & 0xFF;
  const bool wasDown = down(vk);
  const UINT mods = inputState().modifiers();
  if (apply) {
    if (isDown) {
      inputState().press(vk);
    } else {
      inputState().release(vk);
    }
  }
  const POINT cursor = inputState().cursorPos();
  if (const platform::HotKey* hk = inputState().hotKeyFor(vk, mods)) {
    if (!isDown && !(hk->modifiers & MOD_KEYUP)) return false;
    const WORD flags = static_cast<WORD>(mods | (isDown ? 0 : MOD_KEYUP));
    out =
        MSG{hk->hwnd, WM_HOTKEY, static_cast<WPARAM>(hk->id), MAKELPARAM(flags, static_cast<WORD>(vk)), e.time, cursor};
    return true;
  }
  const HWND target = inputState().focus() ? inputState().focus() : inputState().active();
  if (!target) return false;
  LPARAM lp = 1;
  if (isDown ? wasDown : true) lp |= (1L << 30);
  if (!isDown) lp |= static_cast<LPARAM>(1UL << 31);
  const WPARAM wp = vk == VK_PACKET ? MAKEWPARAM(VK_PACKET, e.ch) : static_cast<WPARAM>(vk);
  out = MSG{target, static_cast<UINT>(isDown ? WM_KEYDOWN : WM_KEYUP), wp, lp, e.time, cursor};
  return true;
}

bool stylusMessage(const InputEvent& e, MSG& out, bool apply) {
  platform::InputState& in = inputState();
  if (apply) {
    in.setCursorPos(e.pt);
    if (e.kind == InputEvent::Kind::StylusDown) in.press(VK_LBUTTON);
    if (e.kind == InputEvent::Kind::StylusUp) in.release(VK_LBUTTON);
  }
  if (in.scrollTrack().window && e.kind != InputEvent::Kind::StylusDown) {
    if (!apply) return false;
    const ScrollTrack track = in.scrollTrack();
    const bool thumb = track.part == kThumb;
    if (e.kind == InputEvent::Kind::StylusMove) {
      if (thumb) sendScroll(track.window, track.bar, SB_THUMBTRACK, trackThumb(track.window, e.pt));
    } else {
      if (thumb) sendScroll(track.window, track.bar, SB_THUMBPOSITION, trackThumb(track.window, e.pt));
      stopScrollRepeat();
      in.endScrollTrack();
      sendScroll(track.window, track.bar, SB_ENDSCROLL, 0);
    }
    return false;
  }
  const UINT message = e.kind == InputEvent::Kind::StylusDown ? WM_LBUTTONDOWN
                       : e.kind == InputEvent::Kind::StylusUp ? WM_LBUTTONUP
                                                              : WM_MOUSEMOVE;
  const WPARAM keys = (e.kind == InputEvent::Kind::StylusUp ? 0 : MK_LBUTTON) | (down(VK_SHIFT) ? MK_SHIFT : 0) |
                      (down(VK_CONTROL) ? MK_CONTROL : 0);
  if (const HWND capture = in.capture()) {
    Window* w = windowTree().find(capture);
    if (!w) return false;
    const POINT o = windowTree().clientOrigin(*w);
    out = MSG{capture, message, keys, pointParam(POINT{e.pt.x - o.x, e.pt.y - o.y}), e.time, e.pt};
    return true;
  }
  int hit = HTNOWHERE;
  const HWND target = windowTree().windowFromPoint(e.pt, &hit);
  Window* w = windowTree().find(target);
  if (!w) return false;
  // A disabled window, or one inside a disabled window, takes no stylus input.
  for (Window* cur = w; cur; cur = cur->parent ? windowTree().find(cur->parent) : nullptr) {
    if (cur->style & WS_DISABLED) return false;
  }
  if (message == WM_LBUTTONDOWN && apply) {
    const HWND top = windowTree().topLevelOf(target);
    if (top != in.active()) {
      const LRESULT ma = SendMessageW(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                      MAKELPARAM(static_cast<WORD>(hit), WM_LBUTTONDOWN));
      if (ma != MA_NOACTIVATE && ma != MA_NOACTIVATEANDEAT) windowManager().activate(top, WA_CLICKACTIVE);
      if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT) return false;
    }
    if ((w = windowTree().find(target)) == nullptr) return false;
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
  const POINT o = windowTree().clientOrigin(*w);
  const POINT local{e.pt.x - o.x, e.pt.y - o.y};
  UINT finalMessage = message;
  if (message == WM_LBUTTONDOWN) {
    const int tolX = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int tolY = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    const platform::Tap& last = in.lastTap();
    const bool isDouble = (w->cls->style & CS_DBLCLKS) && last.window == target && !last.wasDouble &&
                          e.time - last.time <= GetDoubleClickTime() && std::abs(e.pt.x - last.pt.x) <= tolX &&
                          std::abs(e.pt.y - last.pt.y) <= tolY;
    if (isDouble) finalMessage = WM_LBUTTONDBLCLK;
    if (apply) in.setLastTap(platform::Tap{target, e.time, e.pt, isDouble});
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

void WindowManager::moveFocus(HWND hwnd) {
  if (input_.focus() == hwnd) return;
  if (hwnd) {
    const HWND top = tree_.topLevelOf(hwnd);
    if (top != input_.active()) {
      activate(top, WA_ACTIVE);
      if (input_.focus() == hwnd || !tree_.find(hwnd)) return;
    }
  }
  const HWND previous = input_.focus();
  input_.setFocus(hwnd);
  if (previous && tree_.find(previous)) SendMessageW(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && input_.focus() == hwnd && tree_.find(hwnd)) {
    SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous && tree_.find(previous) ? previous : nullptr), 0);
  }
}

void WindowManager::bringToTop(HWND hwnd) {
  Window* w = tree_.find(hwnd);
  if (!w || !tree_.raise(hwnd)) return;
  paint_.invalidateFrame(*w);
  paint_.invalidate(*w, nullptr, true, true);
}

void WindowManager::activate(HWND hwnd, int how) {
  if (input_.active() == hwnd) return;
  const HWND old = input_.active();
  // Observers hear of the outcome, once WM_ACTIVATE and the focus have settled.
  struct TellObservers {
    const InputState& input;
    HWND old;
    ~TellObservers() {
      if (input.active() != old) notifyActiveWindowChanged(old, input.active());
    }
  } tell{input_, old};
  input_.setActive(hwnd);
  if (Window* leaving = tree_.find(old)) {
    paint_.invalidateFrame(*leaving);
    SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd));
  }
  if (input_.active() != hwnd) return;
  if (!hwnd || !tree_.find(hwnd)) {
    input_.setActive(nullptr);
    moveFocus(nullptr);
    return;
  }
  bringToTop(hwnd);
  if (Window* coming = tree_.find(hwnd)) paint_.invalidateFrame(*coming);
  SendMessageW(hwnd, WM_ACTIVATE, MAKEWPARAM(static_cast<WORD>(how), 0),
               reinterpret_cast<LPARAM>(old && tree_.find(old) ? old : nullptr));
  if (input_.active() == hwnd && tree_.find(hwnd) && (!input_.focus() || tree_.topLevelOf(input_.focus()) != hwnd)) {
    moveFocus(hwnd);
  }
}

// An owned window hands the activation back to its owner; otherwise the topmost visible,
// enabled top-level window takes it.
void WindowManager::activateNextTopLevel(HWND leaving) {
  Window* w = tree_.find(leaving);
  HWND next = nullptr;
  if (w && w->owner) {
    Window* o = tree_.find(w->owner);
    if (o && tree_.visible(*o) && tree_.enabled(*o)) next = w->owner;
  }
  if (!next) {
    for (HWND top : tree_.topLevels()) {
      Window* t = tree_.find(top);
      if (top != leaving && t && tree_.visible(*t) && tree_.enabled(*t)) {
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
void postFilesDropped(std::vector<std::u16string> hostPaths, POINT screenPoint) {
  if (hostPaths.empty()) return;
  HWND target = GetActiveWindow();
  if (target == nullptr) target = GetForegroundWindow();
  if (target == nullptr) return;
  POINT client = screenPoint;
  ScreenToClient(target, &client);
  HDROP drop = sys::createDrop(std::move(hostPaths), client);
  if (!PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) DragFinish(drop);
}

void postCharacter(WCHAR ch) {
  queue(InputEvent{InputEvent::Kind::KeyDown, POINT{}, VK_PACKET, ch, false, 0});
  queue(InputEvent{InputEvent::Kind::KeyUp, POINT{}, VK_PACKET, ch, false, 0});
}

bool inputPending() { return messageQueue().pending(); }

// US keyboard layout, as the handheld's keyboards were.
WCHAR characterForKey(WPARAM wParam) {
  const UINT vk = LOWORD(wParam);
  if (vk == VK_PACKET) return static_cast<WCHAR>(HIWORD(wParam));
  const bool shift = down(VK_SHIFT);
  const bool ctrl = down(VK_CONTROL);
  const bool caps = (inputState().key(VK_CAPITAL) & 0x01) != 0;
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
  if (hwnd && !windowTree().get(hwnd)) return nullptr;
  const HWND old = inputState().focus();
  windowManager().moveFocus(hwnd);
  return old;
}

HWND GetFocus() { return inputState().focus(); }

HWND SetCapture(HWND hwnd) {
  if (!windowTree().get(hwnd)) return nullptr;
  const HWND old = inputState().capture();
  if (old == hwnd) return old;
  inputState().setCapture(hwnd);
  if (old && windowTree().find(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

HWND GetCapture() { return inputState().capture(); }

BOOL ReleaseCapture() {
  const HWND old = inputState().capture();
  if (!old) return TRUE;
  inputState().setCapture(nullptr);
  if (windowTree().find(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND SetActiveWindow(HWND hwnd) {
  const HWND old = inputState().active();
  if (hwnd) {
    if (!windowTree().get(hwnd)) return nullptr;
    hwnd = windowTree().topLevelOf(hwnd);
  }
  windowManager().activate(hwnd, WA_ACTIVE);
  return old;
}

HWND GetActiveWindow() { return inputState().active(); }

// The handheld lets a caller set the handle's lowest bit to bring the windows the target owns
// along: the owner comes to the front with them, and the one of them on top (a dialog it is
// waiting for) takes the activation. Our handles never have that bit set.
BOOL SetForegroundWindow(HWND hwnd) {
  const auto value = reinterpret_cast<UINT_PTR>(hwnd);
  const bool withOwned = (value & 1) != 0;
  const HWND local = withOwned ? reinterpret_cast<HWND>(value & ~static_cast<UINT_PTR>(1)) : hwnd;
  if (!windowTree().find(local)) {
    if (auto* remote = platform::remoteWindowProvider()) {
      if (hwnd && remote->isRemote(hwnd)) return remote->setForegroundWindow(hwnd);
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const HWND top = windowTree().topLevelOf(local);
  windowManager().bringToTop(top);
  HWND target = nullptr;
  if (withOwned) {
    // They came up with their owner, perhaps from under another program's windows.
    for (HWND h : std::vector<HWND>(windowTree().topLevels())) {
      if (h == top) break;
      Window* o = windowTree().find(h);
      if (!o || !o->owner || !windowTree().visible(*o)) continue;
      bool ownedByTop = false;
      for (HWND up = o->owner; up && !ownedByTop; up = windowTree().find(up) ? windowTree().find(up)->owner : nullptr) {
        ownedByTop = up == top;
      }
      if (!ownedByTop) continue;
      paintScheduler().invalidateFrame(*o);
      paintScheduler().invalidate(*o, nullptr, true, true);
      if (!target && windowTree().enabled(*o)) target = h;
    }
  }
  if (!target) target = top;
  windowManager().activate(target, WA_ACTIVE);
  platform::notifyBroughtToForeground(top);
  return TRUE;
}

HWND GetForegroundWindow() { return inputState().active(); }

SHORT GetKeyState(int vk) {
  const BYTE s = inputState().key(static_cast<UINT>(vk));
  return static_cast<SHORT>(((s & 0x80) ? 0x8000 : 0) | (s & 0x01));
}

SHORT GetAsyncKeyState(int vk) { return static_cast<SHORT>(GetKeyState(vk) & 0x8000); }

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
  if (hwnd && !windowTree().get(hwnd)) return FALSE;
  const DWORD error = inputState().registerHotKey(platform::HotKey{hwnd, id, modifiers, vk & 0xFF});
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
  if (!inputState().unregisterHotKey(hwnd, id)) {
    SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
  }
  return TRUE;
}

UINT GetDoubleClickTime() { return 500; }

BOOL GetCursorPos(LPPOINT point) {
  if (!point) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *point = inputState().cursorPos();
  return TRUE;
}
