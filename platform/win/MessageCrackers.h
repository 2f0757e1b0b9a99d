// Message crackers: for each common message, the signature of its handler and how the
// message's parameters become that handler's arguments and the handler's answer the message's
// result. A message map entry `on<WM_KEYDOWN>(&Self::onKeyDown)` takes a handler
// `void onKeyDown(UINT vk, UINT flags)`; a handler of the wrong shape does not compile.
//
// Also the reflected messages: a parent sends OCM_x (= OCM__BASE + WM_x) to the child that
// caused WM_x, so that a control can draw itself and handle its own notifications.
#pragma once

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

// The shapes several messages share.
struct KeyCracker {
  template <class T>
  using Handler = void (T::*)(UINT vk, UINT flags);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(static_cast<UINT>(w), static_cast<UINT>(l));
    return 0;
  }
};

struct StylusCracker {
  template <class T>
  using Handler = void (T::*)(POINT point, UINT flags);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}, static_cast<UINT>(w));
    return 0;
  }
};

struct FocusCracker {
  template <class T>
  using Handler = void (T::*)(HWND other);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM) {
    (self.*h)(reinterpret_cast<HWND>(w));
    return 0;
  }
};

struct ScrollCracker {
  template <class T>
  using Handler = void (T::*)(UINT code, int position, HWND bar);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
    return 0;
  }
};

// Messages that point at a structure: a message without one goes on unhandled.
struct DrawItemCracker {
  template <class T>
  using Handler = bool (T::*)(const DRAWITEMSTRUCT& item);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
    if (item == nullptr) {
      passOn();
      return 0;
    }
    return (self.*h)(*item) ? TRUE : FALSE;
  }
};

struct MeasureItemCracker {
  template <class T>
  using Handler = bool (T::*)(MEASUREITEMSTRUCT& item);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    if (item == nullptr) {
      passOn();
      return 0;
    }
    return (self.*h)(*item) ? TRUE : FALSE;
  }
};

// A command that a handler keeps answers TRUE: a frame that passes commands on to its screens
// learns that the screen took it.
struct CommandCracker {
  template <class T>
  using Handler = void (T::*)(WORD id, WORD code, HWND from);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
    return TRUE;
  }
};

struct NotifyCracker {
  template <class T>
  using Handler = LRESULT (T::*)(NMHDR& header);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    auto* header = reinterpret_cast<NMHDR*>(l);
    if (header == nullptr) {
      passOn();
      return 0;
    }
    return (self.*h)(*header);
  }
};

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

// void onDestroy()
template <>
struct MessageCracker<WM_DESTROY> {
  template <class T>
  using Handler = void (T::*)();
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM) {
    (self.*h)();
    return 0;
  }
};

// void onSize(UINT type, SIZE client)
template <>
struct MessageCracker<WM_SIZE> {
  template <class T>
  using Handler = void (T::*)(UINT type, SIZE client);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(static_cast<UINT>(w), SIZE{LOWORD(l), HIWORD(l)});
    return 0;
  }
};

// void onActivate(UINT state, HWND other): state WA_ACTIVE, WA_CLICKACTIVE or WA_INACTIVE.
template <>
struct MessageCracker<WM_ACTIVATE> {
  template <class T>
  using Handler = void (T::*)(UINT state, HWND other);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(LOWORD(w), reinterpret_cast<HWND>(l));
    return 0;
  }
};

// void onSetFocus(HWND previous), void onKillFocus(HWND next)
template <>
struct MessageCracker<WM_SETFOCUS> : detail::FocusCracker {};
template <>
struct MessageCracker<WM_KILLFOCUS> : detail::FocusCracker {};

// void onPaint()
template <>
struct MessageCracker<WM_PAINT> {
  template <class T>
  using Handler = void (T::*)();
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM) {
    (self.*h)();
    return 0;
  }
};

// bool onEraseBackground(HDC): true when the background is drawn.
template <>
struct MessageCracker<WM_ERASEBKGND> {
  template <class T>
  using Handler = bool (T::*)(HDC dc);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM) {
    return (self.*h)(reinterpret_cast<HDC>(w)) ? TRUE : FALSE;
  }
};

// void onSettingChange(UINT flag, LPCWSTR section)
template <>
struct MessageCracker<WM_SETTINGCHANGE> {
  template <class T>
  using Handler = void (T::*)(UINT flag, LPCWSTR section);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(static_cast<UINT>(w), reinterpret_cast<LPCWSTR>(l));
    return 0;
  }
};

// bool onDrawItem(const DRAWITEMSTRUCT&), bool onMeasureItem(MEASUREITEMSTRUCT&): true when
// done. The same for the reflected OCM_DRAWITEM and OCM_MEASUREITEM of a control.
template <>
struct MessageCracker<WM_DRAWITEM> : detail::DrawItemCracker {};
template <>
struct MessageCracker<OCM_DRAWITEM> : detail::DrawItemCracker {};
template <>
struct MessageCracker<WM_MEASUREITEM> : detail::MeasureItemCracker {};
template <>
struct MessageCracker<OCM_MEASUREITEM> : detail::MeasureItemCracker {};

// void onSetFont(HFONT font, bool redraw), HFONT onGetFont()
template <>
struct MessageCracker<WM_SETFONT> {
  template <class T>
  using Handler = void (T::*)(HFONT font, bool redraw);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(reinterpret_cast<HFONT>(w), LOWORD(l) != 0);
    return 0;
  }
};
template <>
struct MessageCracker<WM_GETFONT> {
  template <class T>
  using Handler = HFONT (T::*)();
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>((self.*h)());
  }
};

// void onWindowPosChanged(const WINDOWPOS&)
template <>
struct MessageCracker<WM_WINDOWPOSCHANGED> {
  template <class T>
  using Handler = void (T::*)(const WINDOWPOS& pos);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(l);
    if (pos == nullptr) {
      detail::passOn();
      return 0;
    }
    (self.*h)(*pos);
    return 0;
  }
};

// LRESULT onNotify(NMHDR&): the answer is the notification's. For WM_NOTIFY as a whole; one
// control's or one code's notifications have entries of their own (MessageMap::notify).
template <>
struct MessageCracker<WM_NOTIFY> : detail::NotifyCracker {};
template <>
struct MessageCracker<OCM_NOTIFY> : detail::NotifyCracker {};

// void onKeyDown(UINT vk, UINT flags), void onKeyUp(UINT vk, UINT flags): flags is the key
// data (repeat count, scan code, state bits), so a handler can pass the key on unchanged.
template <>
struct MessageCracker<WM_KEYDOWN> : detail::KeyCracker {};
template <>
struct MessageCracker<WM_KEYUP> : detail::KeyCracker {};

// void onChar(WCHAR ch, UINT flags)
template <>
struct MessageCracker<WM_CHAR> {
  template <class T>
  using Handler = void (T::*)(WCHAR ch, UINT flags);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    (self.*h)(static_cast<WCHAR>(w), static_cast<UINT>(l));
    return 0;
  }
};

// void onCommand(WORD id, WORD code, HWND from): for WM_COMMAND as a whole; one command's
// entries are MessageMap::command.
template <>
struct MessageCracker<WM_COMMAND> : detail::CommandCracker {};
template <>
struct MessageCracker<OCM_COMMAND> : detail::CommandCracker {};

// void onTimer(UINT_PTR id)
template <>
struct MessageCracker<WM_TIMER> {
  template <class T>
  using Handler = void (T::*)(UINT_PTR id);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM) {
    (self.*h)(static_cast<UINT_PTR>(w));
    return 0;
  }
};

// void onVScroll(UINT code, int position, HWND bar), and onHScroll alike.
template <>
struct MessageCracker<WM_VSCROLL> : detail::ScrollCracker {};
template <>
struct MessageCracker<WM_HSCROLL> : detail::ScrollCracker {};

// void onMouseMove(POINT, UINT flags), void onLButtonDown(POINT, UINT flags), onLButtonUp
template <>
struct MessageCracker<WM_MOUSEMOVE> : detail::StylusCracker {};
template <>
struct MessageCracker<WM_LBUTTONDOWN> : detail::StylusCracker {};
template <>
struct MessageCracker<WM_LBUTTONUP> : detail::StylusCracker {};

// void onCaptureChanged(HWND newCapture)
template <>
struct MessageCracker<WM_CAPTURECHANGED> {
  template <class T>
  using Handler = void (T::*)(HWND capture);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM, LPARAM l) {
    (self.*h)(reinterpret_cast<HWND>(l));
    return 0;
  }
};

// LRESULT onHotKey(int id, UINT modifiers, UINT vk): nonzero when the window took the key.
template <>
struct MessageCracker<WM_HOTKEY> {
  template <class T>
  using Handler = LRESULT (T::*)(int id, UINT modifiers, UINT vk);
  template <class T>
  static LRESULT call(T& self, Handler<T> h, WPARAM w, LPARAM l) {
    return (self.*h)(static_cast<int>(w), LOWORD(l), HIWORD(l));
  }
};

}  // namespace platform
