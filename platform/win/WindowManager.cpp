#include "platform/win/WindowManager.h"

#include "platform/gdi/GdiBridge.h"
#include "platform/win/Frame.h"
#include "platform/win/SystemHooks.h"
#include "platform/win/WindowObserver.h"

namespace platform {

WindowManager& WindowManager::instance() {
  // Asked for on every message: one initialisation check, not two.
  static WindowManager& manager = []() -> WindowManager& {
    static WindowManager made;
    installSystemHooks();
    return made;
  }();
  return manager;
}

WindowManager::WindowManager() : paint_(tree_, input_) {}

void WindowManager::showBusyIndicator() {
  const RECT where = drawBusyIndicator();
  if (!rectEmpty(where)) input_.setWaitCursor(true, where);
}

void WindowManager::hideBusyIndicator() {
  if (!input_.waitCursorDrawn()) return;
  input_.setWaitCursor(false);
  paint_.invalidateScreenArea(input_.waitCursorRect());
}

void WindowManager::forgetWindow(HWND hwnd) {
  timers_.removeFor(hwnd);
  queue_.removeFor(hwnd);
  const bool wasActive = input_.active() == hwnd;
  input_.forget(hwnd);
  if (wasActive) notifyActiveWindowChanged(hwnd, nullptr);
  paint_.forget(hwnd);
  gdi::forgetWindow(hwnd);
}

void WindowManager::reset() {
  while (!tree_.topLevels().empty()) {
    const HWND h = tree_.topLevels().front();
    DestroyWindow(h);
    if (!tree_.topLevels().empty() && tree_.topLevels().front() == h) tree_.unlinkTopLevel(h);
  }
  tree_.clear();
  queue_.clear();
  timers_.clear();
  input_.clear();
  paint_.clear();
}

}  // namespace platform
