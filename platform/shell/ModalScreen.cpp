#include "platform/shell/ModalScreen.h"

#include "platform/shell/Shell.h"

namespace platform::shell {

void ModalScreen::show(HWND owner, HWND screen, HWND focus) {
  focusBefore_ = GetFocus();
  if (owner != nullptr && IsWindowEnabled(owner)) {
    EnableWindow(owner, FALSE);
    ownerDisabled_ = owner;
  }
  ShowWindow(screen, SW_SHOW);
  SetActiveWindow(screen);
  SetFocus(focus);
  refreshTitleBar();
}

std::optional<int> ModalScreen::run(HWND screen, const std::function<bool()>& running,
                                    const std::function<bool(const MSG&)>& filter, const std::function<bool()>& idle) {
  MSG msg{};
  while (running() && IsWindow(screen)) {
    if (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && idle()) continue;
    if (!GetMessageW(&msg, nullptr, 0, 0)) return static_cast<int>(msg.wParam);
    if (filter(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return std::nullopt;
}

void ModalScreen::close(HWND& screen, HWND& menuBar) {
  if (ownerDisabled_ != nullptr && IsWindow(ownerDisabled_)) EnableWindow(ownerDisabled_, TRUE);
  ownerDisabled_ = nullptr;
  if (IsWindow(menuBar)) DestroyWindow(menuBar);
  menuBar = nullptr;
  if (IsWindow(screen)) DestroyWindow(screen);
  screen = nullptr;
  if (focusBefore_ != nullptr && IsWindow(focusBefore_) && IsWindowVisible(focusBefore_)) SetFocus(focusBefore_);
  focusBefore_ = nullptr;
  refreshTitleBar();
}

}  // namespace platform::shell
