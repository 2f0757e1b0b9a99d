// Message crackers: for each common message, the signature of its handler, how the message's
// parameters become the handler's arguments, and how the handler's answer becomes the
// message's result. A message map entry `on<WM_KEYDOWN>(&Self::onKeyDown)` takes a handler
// `void onKeyDown(UINT vk, UINT flags)`; a handler of another shape does not compile.
//
// Also the reflected messages: a parent sends OCM_x (= OCM__BASE + WM_x) to the child that
// caused WM_x, so that a control can draw itself and handle its own notifications.
#pragma once

#include <tuple>
#include <type_traits>

#include "platform/win/WinUser.h"

#define OCM__BASE (WM_USER + 0x1C00)
#define OCM_COMMAND (OCM__BASE + WM_COMMAND)
#define OCM_CTLCOLORBTN (OCM__BASE + WM_CTLCOLORBTN)
#define OCM_CTLCOLOREDIT (OCM__BASE + WM_CTLCOLOREDIT)
#define OCM_CTLCOLORDLG (OCM__BASE + WM_CTLCOLORDLG)
#define OCM_CTLCOLORLISTBOX (OCM__BASE + WM_CTLCOLORLISTBOX)
#define OCM_CTLCOLORMSGBOX (OCM__BASE + WM_CTLCOLORMSGBOX)
#define OCM_CTLCOLORSCROLLBAR (OCM__BASE + WM_CTLCOLORSCROLLBAR)
#define OCM_CTLCOLORSTATIC (OCM__BASE + WM_CTLCOLORSTATIC)
#define OCM_DRAWITEM (OCM__BASE + WM_DRAWITEM)
#define OCM_MEASUREITEM (OCM__BASE + WM_MEASUREITEM)
#define OCM_DELETEITEM (OCM__BASE + WM_DELETEITEM)
#define OCM_VKEYTOITEM (OCM__BASE + WM_VKEYTOITEM)
#define OCM_CHARTOITEM (OCM__BASE + WM_CHARTOITEM)
#define OCM_COMPAREITEM (OCM__BASE + WM_COMPAREITEM)
#define OCM_HSCROLL (OCM__BASE + WM_HSCROLL)
#define OCM_VSCROLL (OCM__BASE + WM_VSCROLL)
#define OCM_PARENTNOTIFY (OCM__BASE + WM_PARENTNOTIFY)
#define OCM_NOTIFY (OCM__BASE + WM_NOTIFY)

namespace platform {

namespace detail {

// Whether the handler running now keeps its message (see WindowBase::passOn). A pointer to
// the running dispatch's flag, never to an object: a handler may delete its own window object.
inline bool* g_handled = nullptr;

inline void passOn() {
  if (g_handled != nullptr) *g_handled = false;
}

template <class R>
LRESULT answerOf(R answer) {
  if constexpr (std::is_same_v<R, bool>) {
    return answer ? TRUE : FALSE;
  } else if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<LRESULT>(answer);
  } else {
    return static_cast<LRESULT>(answer);
  }
}

// A handler `R (Args...)` called with the tuple of arguments `Unpack(wParam, lParam)` makes;
// one that returns nothing answers `Done`.
template <class Signature, auto Unpack, LRESULT Done = 0>
struct Crack;

template <class R, class... Args, auto Unpack, LRESULT Done>
struct Crack<R(Args...), Unpack, Done> {
  template <class T>
  using Handler = R (T::*)(Args...);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    return std::apply(
        [&](auto... args) -> LRESULT {
          if constexpr (std::is_void_v<R>) {
            (self.*h)(args...);
            return Done;
          } else {
            return answerOf((self.*h)(args...));
          }
        },
        Unpack(w, l));
  }
};

// A handler `R (Struct&)` of the structure lParam points at; a message without one goes on
// unhandled.
template <class Struct, class R>
struct StructCrack {
  template <class T>
  using Handler = R (T::*)(Struct&);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    auto* s = reinterpret_cast<Struct*>(l);
    if (s == nullptr) {
      passOn();
      return 0;
    }
    if constexpr (std::is_void_v<R>) {
      (self.*h)(*s);
      return 0;
    } else {
      return answerOf((self.*h)(*s));
    }
  }
};

// How the parameters of the messages become their handlers' arguments.
inline constexpr auto kNothing = [](WPARAM, LPARAM) { return std::tuple<>{}; };
inline constexpr auto kKey = [](WPARAM w, LPARAM l) { return std::tuple{static_cast<UINT>(w), static_cast<UINT>(l)}; };
// Stylus coordinates are signed: a captured stylus may be left of or above the window.
inline constexpr auto kStylus = [](WPARAM w, LPARAM l) {
  return std::tuple{POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}, static_cast<UINT>(w)};
};
inline constexpr auto kWindowInW = [](WPARAM w, LPARAM) { return std::tuple{reinterpret_cast<HWND>(w)}; };
inline constexpr auto kWindowInL = [](WPARAM, LPARAM l) { return std::tuple{reinterpret_cast<HWND>(l)}; };
inline constexpr auto kScroll = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<UINT>(LOWORD(w)), static_cast<int>(HIWORD(w)), reinterpret_cast<HWND>(l)};
};
inline constexpr auto kSize = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<UINT>(w), SIZE{LOWORD(l), HIWORD(l)}};
};
inline constexpr auto kActivate = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<UINT>(LOWORD(w)), reinterpret_cast<HWND>(l)};
};
inline constexpr auto kDc = [](WPARAM w, LPARAM) { return std::tuple{reinterpret_cast<HDC>(w)}; };
inline constexpr auto kSetting = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<UINT>(w), reinterpret_cast<LPCWSTR>(l)};
};
inline constexpr auto kFont = [](WPARAM w, LPARAM l) { return std::tuple{reinterpret_cast<HFONT>(w), LOWORD(l) != 0}; };
inline constexpr auto kChar = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<WCHAR>(w), static_cast<UINT>(l)};
};
inline constexpr auto kTimer = [](WPARAM w, LPARAM) { return std::tuple{static_cast<UINT_PTR>(w)}; };
inline constexpr auto kHotKey = [](WPARAM w, LPARAM l) {
  return std::tuple{static_cast<int>(w), static_cast<UINT>(LOWORD(l)), static_cast<UINT>(HIWORD(l))};
};
inline constexpr auto kCommand = [](WPARAM w, LPARAM l) {
  return std::tuple{LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)};
};

// A command that a handler keeps answers TRUE: a frame that passes commands on to its screens
// learns that the screen took it.
using CommandCrack = Crack<void(WORD id, WORD code, HWND from), kCommand, TRUE>;
using NotifyCrack = StructCrack<NMHDR, LRESULT>;

}  // namespace detail

// The cracker of a message; messages without one are handled raw (MessageMap::on(message, ...)).
template <UINT Message>
struct MessageCracker;

// bool onCreate(const CREATESTRUCTW&): false refuses the window, CreateWindowEx fails.
template <>
struct MessageCracker<WM_CREATE> {
  template <class T>
  using Handler = bool (T::*)(const CREATESTRUCTW& create);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    static const CREATESTRUCTW kNone{};
    return (self.*h)(create != nullptr ? *create : kNone) ? 0 : -1;
  }
};

// void onDestroy(), void onPaint()
template <>
struct MessageCracker<WM_DESTROY> : detail::Crack<void(), detail::kNothing> {};
template <>
struct MessageCracker<WM_PAINT> : detail::Crack<void(), detail::kNothing> {};

// void onSize(UINT type, SIZE client)
template <>
struct MessageCracker<WM_SIZE> : detail::Crack<void(UINT, SIZE), detail::kSize> {};

// void onActivate(UINT state, HWND other): state WA_ACTIVE, WA_CLICKACTIVE or WA_INACTIVE.
template <>
struct MessageCracker<WM_ACTIVATE> : detail::Crack<void(UINT, HWND), detail::kActivate> {};

// void onSetFocus(HWND previous), void onKillFocus(HWND next)
template <>
struct MessageCracker<WM_SETFOCUS> : detail::Crack<void(HWND), detail::kWindowInW> {};
template <>
struct MessageCracker<WM_KILLFOCUS> : detail::Crack<void(HWND), detail::kWindowInW> {};

// bool onEraseBackground(HDC): true when the background is drawn.
template <>
struct MessageCracker<WM_ERASEBKGND> : detail::Crack<bool(HDC), detail::kDc> {};

// void onSettingChange(UINT flag, LPCWSTR section)
template <>
struct MessageCracker<WM_SETTINGCHANGE> : detail::Crack<void(UINT, LPCWSTR), detail::kSetting> {};

// bool onDrawItem(const DRAWITEMSTRUCT&), bool onMeasureItem(MEASUREITEMSTRUCT&): true when
// done. The same for the reflected OCM_DRAWITEM and OCM_MEASUREITEM of a control.
template <>
struct MessageCracker<WM_DRAWITEM> : detail::StructCrack<const DRAWITEMSTRUCT, bool> {};
template <>
struct MessageCracker<OCM_DRAWITEM> : detail::StructCrack<const DRAWITEMSTRUCT, bool> {};
template <>
struct MessageCracker<WM_MEASUREITEM> : detail::StructCrack<MEASUREITEMSTRUCT, bool> {};
template <>
struct MessageCracker<OCM_MEASUREITEM> : detail::StructCrack<MEASUREITEMSTRUCT, bool> {};

// void onSetFont(HFONT font, bool redraw), HFONT onGetFont()
template <>
struct MessageCracker<WM_SETFONT> : detail::Crack<void(HFONT, bool), detail::kFont> {};
template <>
struct MessageCracker<WM_GETFONT> : detail::Crack<HFONT(), detail::kNothing> {};

// void onWindowPosChanged(const WINDOWPOS&)
template <>
struct MessageCracker<WM_WINDOWPOSCHANGED> : detail::StructCrack<const WINDOWPOS, void> {};

// LRESULT onNotify(NMHDR&): the answer is the notification's. For WM_NOTIFY as a whole; one
// control's or one code's notifications have entries of their own (MessageMap::notify).
template <>
struct MessageCracker<WM_NOTIFY> : detail::NotifyCrack {};
template <>
struct MessageCracker<OCM_NOTIFY> : detail::NotifyCrack {};

// void onKeyDown(UINT vk, UINT flags), void onKeyUp(UINT vk, UINT flags): flags is the key
// data (repeat count, scan code, state bits), so a handler can pass the key on unchanged.
template <>
struct MessageCracker<WM_KEYDOWN> : detail::Crack<void(UINT, UINT), detail::kKey> {};
template <>
struct MessageCracker<WM_KEYUP> : detail::Crack<void(UINT, UINT), detail::kKey> {};

// void onChar(WCHAR ch, UINT flags)
template <>
struct MessageCracker<WM_CHAR> : detail::Crack<void(WCHAR, UINT), detail::kChar> {};

// void onCommand(WORD id, WORD code, HWND from): for WM_COMMAND as a whole; one command's
// entries are MessageMap::command.
template <>
struct MessageCracker<WM_COMMAND> : detail::CommandCrack {};
template <>
struct MessageCracker<OCM_COMMAND> : detail::CommandCrack {};

// void onTimer(UINT_PTR id)
template <>
struct MessageCracker<WM_TIMER> : detail::Crack<void(UINT_PTR), detail::kTimer> {};

// void onVScroll(UINT code, int position, HWND bar), and onHScroll alike.
template <>
struct MessageCracker<WM_VSCROLL> : detail::Crack<void(UINT, int, HWND), detail::kScroll> {};
template <>
struct MessageCracker<WM_HSCROLL> : detail::Crack<void(UINT, int, HWND), detail::kScroll> {};

// void onMouseMove(POINT, UINT flags), void onLButtonDown(POINT, UINT flags), onLButtonUp
template <>
struct MessageCracker<WM_MOUSEMOVE> : detail::Crack<void(POINT, UINT), detail::kStylus> {};
template <>
struct MessageCracker<WM_LBUTTONDOWN> : detail::Crack<void(POINT, UINT), detail::kStylus> {};
template <>
struct MessageCracker<WM_LBUTTONUP> : detail::Crack<void(POINT, UINT), detail::kStylus> {};

// void onCaptureChanged(HWND newCapture)
template <>
struct MessageCracker<WM_CAPTURECHANGED> : detail::Crack<void(HWND), detail::kWindowInL> {};

// LRESULT onHotKey(int id, UINT modifiers, UINT vk): nonzero when the window took the key.
template <>
struct MessageCracker<WM_HOTKEY> : detail::Crack<LRESULT(int, UINT, UINT), detail::kHotKey> {};

}  // namespace platform
