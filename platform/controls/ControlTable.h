// The objects of one standard control class, one for each of its windows: made on WM_NCCREATE,
// (from the CREATESTRUCTW when it takes one) answering the class's messages through Control::handle, and dropped once
// the window is destroyed and no message is inside the object any more (a parent may destroy a control while one of its
// notifications is out). A control befriends its table, which reads its depth_ and dead_.
#pragma once

#include <memory>
#include <type_traits>

#include "platform/base/HandleMap.h"
#include "platform/win/WinUser.h"

namespace platform::controls {

template <class Control>
class ControlTable {
 public:
  static LRESULT dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto& table = objects();
    std::unique_ptr<Control>* entry = table.find(hwnd);
    if (entry == nullptr) {
      if (message != WM_NCCREATE) return DefWindowProcW(hwnd, message, wParam, lParam);
      if constexpr (std::is_constructible_v<Control, HWND, const CREATESTRUCTW&>) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (cs == nullptr) return FALSE;
        entry = table.emplace(hwnd, std::make_unique<Control>(hwnd, *cs)).first;
      } else {
        entry = table.emplace(hwnd, std::make_unique<Control>(hwnd)).first;
      }
    }
    // The entry may move while the message runs; the object does not.
    Control* self = entry->get();
    ++self->depth_;
    const LRESULT result = self->handle(message, wParam, lParam);
    --self->depth_;
    if (message == WM_NCDESTROY) self->dead_ = true;
    settle(hwnd, *self);
    return result;
  }

  // The object of a live window of the class, or nullptr.
  static Control* find(HWND hwnd) {
    const std::unique_ptr<Control>* entry = objects().find(hwnd);
    return entry == nullptr || (*entry)->dead_ ? nullptr : entry->get();
  }

  // Drops the object of a destroyed window once nothing is inside it; for calls into an object
  // from outside its window procedure, which count themselves in depth_.
  static void settle(HWND hwnd, const Control& control) {
    if (control.dead_ && control.depth_ == 0) objects().erase(hwnd);
  }

 private:
  static HandleMap<HWND, std::unique_ptr<Control>>& objects() {
    static HandleMap<HWND, std::unique_ptr<Control>> table;
    return table;
  }
};

}  // namespace platform::controls
