// What a full-screen shell window run modally over its owner needs around its own content: the
// owner disabled while it runs, its own message loop, and on the way out the owner enabled
// before the screen and its menubar go (so the owner is the one activated), the focus given
// back and the title bar redrawn.
#pragma once

#include <functional>
#include <optional>

#include "platform/win/WinUser.h"

namespace platform::shell {

class ModalScreen {
 public:
  // Shows and activates `screen` over `owner` with the focus on `focus`.
  void show(HWND owner, HWND screen, HWND focus);
  // Runs messages while `running` says so and the screen exists; `filter` may take a message
  // first, `idle` does one slice of background work when nothing waits (false: none left).
  // The exit code when WM_QUIT came, which is posted again once the screen is gone.
  std::optional<int> run(HWND screen, const std::function<bool()>& running,
                         const std::function<bool(const MSG&)>& filter, const std::function<bool()>& idle = {});
  // Enables the owner, destroys the menubar and the screen (both handles become null), gives the
  // focus back and redraws the title bar.
  void close(HWND& screen, HWND& menuBar);

 private:
  HWND ownerDisabled_ = nullptr;
  HWND focusBefore_ = nullptr;
};

}  // namespace platform::shell
