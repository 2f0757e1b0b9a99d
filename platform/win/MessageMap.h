// A message map: a table from message (or command id, or notification code) to a member
// function of a window class. Entries are tried in the order they were added; the first whose
// handler leaves `handled` TRUE wins.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

template <class T>
class MessageMap {
 public:
  using MessageHandler = LRESULT (T::*)(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
  using CommandHandler = LRESULT (T::*)(WORD code, WORD id, HWND control, BOOL& handled);
  using NotifyHandler = LRESULT (T::*)(int id, NMHDR* header, BOOL& handled);

  MessageMap& message(UINT msg, MessageHandler h) { return messageRange(msg, msg, h); }
  MessageMap& messageRange(UINT first, UINT last, MessageHandler h) {
    return add([=](T& self, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
      if (m < first || m > last) return false;
      BOOL handled = TRUE;
      r = (self.*h)(m, w, l, handled);
      return handled != FALSE;
    });
  }

  // WM_COMMAND (or, with reflected, OCM_COMMAND) for one id, any code.
  MessageMap& command(WORD id, CommandHandler h, bool reflected = false) {
    return commandMatch(id, id, -1, h, reflected);
  }
  MessageMap& commandRange(WORD first, WORD last, CommandHandler h, bool reflected = false) {
    return commandMatch(first, last, -1, h, reflected);
  }
  MessageMap& commandCode(WORD code, CommandHandler h, bool reflected = false) {
    return commandMatch(0, 0xFFFF, code, h, reflected);
  }
  MessageMap& commandIdCode(WORD id, WORD code, CommandHandler h, bool reflected = false) {
    return commandMatch(id, id, code, h, reflected);
  }

  // WM_NOTIFY (or OCM_NOTIFY) from one control id with one code; id -1 matches any control.
  MessageMap& notify(int id, UINT code, NotifyHandler h, bool reflected = false) {
    const UINT msg = reflected ? kReflectBase + WM_NOTIFY : WM_NOTIFY;
    return add([=](T& self, UINT m, WPARAM, LPARAM l, LRESULT& r) {
      auto* hdr = reinterpret_cast<NMHDR*>(l);
      if (m != msg || !hdr || hdr->code != code || (id != -1 && static_cast<int>(hdr->idFrom) != id)) return false;
      BOOL handled = TRUE;
      r = (self.*h)(static_cast<int>(hdr->idFrom), hdr, handled);
      return handled != FALSE;
    });
  }
  MessageMap& notifyCode(UINT code, NotifyHandler h, bool reflected = false) { return notify(-1, code, h, reflected); }

  // The maps of base classes are consulted where this entry stands.
  template <class Base>
  MessageMap& chain(const MessageMap<Base>& base) {
    return add([&base](T& self, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
      return base.dispatch(static_cast<Base&>(self), m, w, l, r);
    });
  }

  // Any entry as a function; returns whether it handled the message.
  MessageMap& add(std::function<bool(T&, UINT, WPARAM, LPARAM, LRESULT&)> entry) {
    entries_.push_back(std::move(entry));
    return *this;
  }

  bool dispatch(T& self, UINT msg, WPARAM w, LPARAM l, LRESULT& result) const {
    for (const auto& e : entries_) {
      if (e(self, msg, w, l, result)) return true;
    }
    return false;
  }

  static constexpr UINT kReflectBase = WM_USER + 0x1C00;

 private:
  MessageMap& commandMatch(WORD first, WORD last, int code, CommandHandler h, bool reflected) {
    const UINT msg = reflected ? kReflectBase + WM_COMMAND : WM_COMMAND;
    return add([=](T& self, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
      if (m != msg || LOWORD(w) < first || LOWORD(w) > last || (code >= 0 && HIWORD(w) != code)) return false;
      BOOL handled = TRUE;
      r = (self.*h)(HIWORD(w), LOWORD(w), reinterpret_cast<HWND>(l), handled);
      return handled != FALSE;
    });
  }

  std::vector<std::function<bool(T&, UINT, WPARAM, LPARAM, LRESULT&)>> entries_;
};

}  // namespace platform
