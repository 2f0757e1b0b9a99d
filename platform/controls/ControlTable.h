// The objects of one standard control class, one for each of its windows: made on WM_NCCREATE,
// (from the CREATESTRUCTW when it takes one) answering the class's messages through Control::handle, and dropped once
// the window is destroyed and no message is inside the object any more (a parent may destroy a control while one of its
// notifications is out). A control befriends its table, which reads its depth_ and dead_.
#pragma once

#include <memory>
#include <type_traits>
#include <unordered_map>

#include "platform/win/WinUser.h"

namespace platform::controls {

template <class Control>
class ControlTable {
 public:
  static LRESULT dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& table = objects();
    auto it = table.find(hwnd);
    if (it == table.end()) {
      if (message != WM_NCCREATE) return DefWindowProcW(hwnd, message, wParam, lParam);
      if constexpr (std::is_constructible_v<Control, HWND, const CREATESTRUCTW&>) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs == nullptr) return FALSE;
        it = table.emplace(hwnd, std::make_unique<Control>(hwnd, *cs)).first;
      } else {
        it = table.emplace(hwnd, std::make_unique<Control>(hwnd)).first;
      }
    }
    Control* self = it->second.get();
    ++self->depth_;
    const LRESULT result = self->handle(message, wParam, lParam);
    --self->depth_;
    if (message == WM_NCDESTROY) self->dead_ = true;
    settle(hwnd, *self);
    return result;
  }

  // The object of a live window of the class, or nullptr.
  static Control* find(HWND hwnd) {
    auto it = objects().find(hwnd);
    return it == objects().end() || it->second->dead_ ? nullptr : it->second.get();
  }

  // Drops the object of a destroyed window once nothing is inside it; for calls into an object
  // from outside its window procedure, which count themselves in depth_.
  static void settle(HWND hwnd, const Control& control) {
    if (control.dead_ && control.depth_ == 0) objects().erase(hwnd);
  }

 private:
  static std::unordered_map<HWND, std::unique_ptr<Control>>& objects() {
    static std::unordered_map<HWND, std::unique_ptr<Control>> table;
    return table;
  }
};

}  // namespace platform::controls
