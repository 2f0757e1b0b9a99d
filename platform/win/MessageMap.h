// A message map: what a window class handles, as a table from message (or command id and
// code, or notifying control and code) to a member function, built once per class and
// looked up by hashing, so a window with a long map pays no more per message than one with a
// short map. Common messages get cracked handlers (MessageCrackers.h):
//
//   static const MessageMap<Card>& messageMap() {
//     static const auto map = MessageMap<Card>()
//                                 .on<WM_PAINT>(&Card::onPaint)            // void onPaint()
//                                 .on<WM_KEYDOWN>(&Card::onKeyDown)        // void (UINT vk, UINT flags)
//                                 .on(UM_RELOADLIST, &Card::onReloadList)  // LRESULT (WPARAM, LPARAM)
//                                 .command(ID_EDIT, &Card::onEdit)         // void (WORD id, WORD code, HWND)
//                                 .notify(LVN_ITEMACTIVATE, &Card::onOpen) // LRESULT (NMHDR&)
//                                 .reflectNotifications();
//     return map;
//   }
//
// A message goes to its most particular entry first: a command to the entry of its id and
// code, then of its id, then of its code, then to the WM_COMMAND entry; a notification to the
// entry of its control and code, then of its code, then to the WM_NOTIFY entry. A handler that
// calls WindowBase::passOn() lets it go on to the next of these, then to the chained maps in
// the order they were added, then, with reflectNotifications(), back to the child control
// that caused it, and finally to the window's default procedure.
#pragma once

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/win/MessageCrackers.h"
#include "platform/win/WinUser.h"

namespace platform {

template <class T>
class MessageMap {
 public:
  // The escape hatch for a message without a cracker (private messages among them).
  using RawHandler = LRESULT (T::*)(WPARAM wParam, LPARAM lParam);
  // A command a handler keeps answers TRUE.
  using CommandHandler = void (T::*)(WORD id, WORD code, HWND from);
  using NotifyHandler = LRESULT (T::*)(NMHDR& header);

  // A message with a cracker: on<WM_PAINT>(&Self::onPaint).
  template <UINT Message>
  MessageMap& on(typename MessageCracker<Message>::template Handler<T> handler) {
    return addMessage(Message, Entry{&crack<Message>, std::bit_cast<Generic>(handler)});
  }
  // Any message, with its raw parameters.
  MessageMap& on(UINT message, RawHandler handler) {
    return addMessage(message, Entry{&callRaw, std::bit_cast<Generic>(handler)});
  }

  // WM_COMMAND of one id (any code), of one id and code, or of one code (any id).
  MessageMap& command(WORD id, CommandHandler h) { return addRoute(Route{WM_COMMAND, false, true, id, 0}, h); }
  MessageMap& command(WORD id, WORD code, CommandHandler h) {
    return addRoute(Route{WM_COMMAND, false, false, id, code}, h);
  }
  MessageMap& commandCode(WORD code, CommandHandler h) { return addRoute(Route{WM_COMMAND, true, false, 0, code}, h); }
  // OCM_COMMAND: a command of this control that its parent reflected back to it.
  MessageMap& reflectedCommand(WORD id, CommandHandler h) {
    return addRoute(Route{OCM_COMMAND, false, true, id, 0}, h);
  }
  MessageMap& reflectedCommandCode(WORD code, CommandHandler h) {
    return addRoute(Route{OCM_COMMAND, true, false, 0, code}, h);
  }

  // WM_NOTIFY with one code from any control, or from the control with that id.
  MessageMap& notify(UINT code, NotifyHandler h) { return addRoute(Route{WM_NOTIFY, true, false, 0, code}, h); }
  MessageMap& notify(UINT_PTR id, UINT code, NotifyHandler h) {
    return addRoute(Route{WM_NOTIFY, false, false, id, code}, h);
  }
  // OCM_NOTIFY: a notification of this control that its parent reflected back to it.
  MessageMap& reflectedNotify(UINT code, NotifyHandler h) {
    return addRoute(Route{OCM_NOTIFY, true, false, 0, code}, h);
  }

  // The map of a base class (one the window class derives from), asked about what this map
  // leaves unhandled.
  template <class Base>
  MessageMap& chain(const MessageMap<Base>& base) {
    static_assert(std::is_base_of_v<Base, T>, "a map chains to the map of a base class");
    chains_.push_back(Chain{&base, &dispatchBase<Base>, &mightHandleBase<Base>});
    return *this;
  }

  // What is still unhandled at the end and was caused by a child control (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM and their kin) is sent back to that child as OCM_x.
  MessageMap& reflectNotifications() {
    reflects_ = true;
    return *this;
  }

  // False only when no entry of this map or its chains can take the message and it would not be
  // reflected on: dispatching it would then surely return false.
  bool mightHandle(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (mayHandle(message)) return true;
    if (!routes_.empty()) {
      if (message == WM_COMMAND || message == OCM_COMMAND) return true;
      if (mayRouteNotification(message, lParam)) return true;
    }
    for (const Chain& chain : chains_) {
      if (chain.mightHandle(chain.map, message, wParam, lParam)) return true;
    }
    return reflects_ && message < OCM__BASE;
  }

  // True when a handler kept the message; `result` then holds its answer.
  bool dispatch(T& self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    if (!routes_.empty()) {
      if (message == WM_COMMAND || message == OCM_COMMAND) {
        const WORD id = LOWORD(wParam);
        const WORD code = HIWORD(wParam);
        if (tryRoute(Route{message, false, false, id, code}, self, wParam, lParam, result) ||
            tryRoute(Route{message, false, true, id, 0}, self, wParam, lParam, result) ||
            tryRoute(Route{message, true, false, 0, code}, self, wParam, lParam, result)) {
          return true;
        }
      } else if (mayRouteNotification(message, lParam)) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (tryRoute(Route{message, false, false, header->idFrom, header->code}, self, wParam, lParam, result) ||
            tryRoute(Route{message, true, false, 0, header->code}, self, wParam, lParam, result)) {
          return true;
        }
      }
    }
    if (mayHandle(message)) {
      if (const auto it = messages_.find(message); it != messages_.end()) {
        if (run(it->second, self, wParam, lParam, result)) return true;
      }
    }
    for (const Chain& chain : chains_) {
      if (chain.dispatch(chain.map, self, message, wParam, lParam, result)) return true;
    }
    return reflects_ && self.reflectNotification(message, wParam, lParam, result);
  }

 private:
  // Every handler is kept as this one type; its entry's thunk knows the real one.
  using Generic = void (T::*)();
  using Thunk = LRESULT (*)(T& self, Generic handler, WPARAM wParam, LPARAM lParam);

  struct Entry {
    Thunk thunk;
    Generic handler;
  };

  // A command or notification: the message (reflected or not), and its id and code, each of
  // which may match anything.
  struct Route {
    UINT message;
    bool anyId;
    bool anyCode;
    UINT_PTR id;
    UINT code;
    bool operator==(const Route&) const = default;
  };
  struct RouteHash {
    std::size_t operator()(const Route& r) const {
      std::size_t h = std::hash<UINT_PTR>()(r.id);
      h = h * 31 + r.code;
      h = h * 31 + r.message;
      return h * 4 + (r.anyId ? 2 : 0) + (r.anyCode ? 1 : 0);
    }
  };

  struct Chain {
    const void* map;
    bool (*dispatch)(const void* map, T& self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool (*mightHandle)(const void* map, UINT message, WPARAM wParam, LPARAM lParam);
  };

  template <UINT Message>
  static LRESULT crack(T& self, Generic handler, WPARAM wParam, LPARAM lParam) {
    using Handler = typename MessageCracker<Message>::template Handler<T>;
    return MessageCracker<Message>::call(self, std::bit_cast<Handler>(handler), wParam, lParam);
  }
  static LRESULT callRaw(T& self, Generic handler, WPARAM wParam, LPARAM lParam) {
    return (self.*std::bit_cast<RawHandler>(handler))(wParam, lParam);
  }
  static LRESULT callCommand(T& self, Generic handler, WPARAM wParam, LPARAM lParam) {
    return detail::CommandCrack::call(self, std::bit_cast<CommandHandler>(handler), wParam, lParam);
  }
  static LRESULT callNotify(T& self, Generic handler, WPARAM wParam, LPARAM lParam) {
    return detail::NotifyCrack::call(self, std::bit_cast<NotifyHandler>(handler), wParam, lParam);
  }
  template <class Base>
  static bool dispatchBase(const void* map, T& self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    return static_cast<const MessageMap<Base>*>(map)->dispatch(static_cast<Base&>(self), message, wParam, lParam,
                                                               result);
  }

  template <class Base>
  static bool mightHandleBase(const void* map, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<const MessageMap<Base>*>(map)->mightHandle(message, wParam, lParam);
  }

  // Runs one handler; false when it passed the message on.
  static bool run(const Entry& entry, T& self, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    bool handled = true;
    const HandledScope scope(&handled);
    const LRESULT answer = entry.thunk(self, entry.handler, wParam, lParam);
    if (handled) result = answer;
    return handled;
  }

  bool tryRoute(const Route& route, T& self, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    const auto it = routes_.find(route);
    return it != routes_.end() && run(it->second, self, wParam, lParam, result);
  }

  MessageMap& addMessage(UINT message, const Entry& entry) {
    [[maybe_unused]] const bool added = messages_.emplace(message, entry).second;
    assert(added && "one entry per message");
    messageFilter_.add(message);
    return *this;
  }

  // A bit per value (hashed), so that most values without an entry are turned away before a
  // table is searched. A list control passes thousands of its own messages a second through its
  // map without an entry for them, and notifies its parent of every row inserted.
  class ValueFilter {
   public:
    void add(UINT value) { bits_[bit(value) / 64] |= std::uint64_t{1} << (bit(value) % 64); }
    bool mayHold(UINT value) const { return (bits_[bit(value) / 64] >> (bit(value) % 64) & 1) != 0; }

   private:
    static std::size_t bit(UINT value) { return (value * 0x9E3779B1u) >> 24; }
    std::array<std::uint64_t, 4> bits_{};
  };

  bool mayHandle(UINT message) const { return messageFilter_.mayHold(message); }
  MessageMap& addRoute(const Route& route, CommandHandler h) {
    return addRoute(route, Entry{&callCommand, std::bit_cast<Generic>(h)});
  }
  MessageMap& addRoute(const Route& route, NotifyHandler h) {
    return addRoute(route, Entry{&callNotify, std::bit_cast<Generic>(h)});
  }
  MessageMap& addRoute(const Route& route, const Entry& entry) {
    [[maybe_unused]] const bool added = routes_.emplace(route, entry).second;
    assert(added && "one entry per command or notification");
    if (route.message == WM_NOTIFY || route.message == OCM_NOTIFY) notifyCodeFilter_.add(route.code);
    return *this;
  }
  // Whether a notification (reflected or not) may have a route, by its code.
  bool mayRouteNotification(UINT message, LPARAM lParam) const {
    if ((message != WM_NOTIFY && message != OCM_NOTIFY) || lParam == 0) return false;
    return notifyCodeFilter_.mayHold(reinterpret_cast<const NMHDR*>(lParam)->code);
  }

  // Points the running handler's passOn() at this dispatch's flag, and back when it ends.
  class HandledScope {
   public:
    explicit HandledScope(bool* handled) : outer_(detail::g_handled) { detail::g_handled = handled; }
    ~HandledScope() { detail::g_handled = outer_; }
    HandledScope(const HandledScope&) = delete;
    HandledScope& operator=(const HandledScope&) = delete;

   private:
    bool* outer_;
  };

  std::unordered_map<UINT, Entry> messages_;
  ValueFilter messageFilter_;
  std::unordered_map<Route, Entry, RouteHash> routes_;
  ValueFilter notifyCodeFilter_;
  std::vector<Chain> chains_;
  bool reflects_ = false;
};

}  // namespace platform
