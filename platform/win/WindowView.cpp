#include "platform/win/WindowView.h"

#include "platform/win/WindowManager.h"

namespace platform {

namespace {
const WindowManager& manager() { return WindowManager::instance(); }
}  // namespace

std::vector<HWND> WindowView::topLevels() const { return manager().tree().topLevels(); }

std::optional<WindowSummary> WindowView::describe(HWND hwnd) const {
  const WindowTree& tree = manager().tree();
  const Window* w = tree.find(hwnd);
  if (!w) return std::nullopt;
  WindowSummary s;
  s.className = w->cls ? w->cls->name : std::u16string();
  s.text = w->text;
  s.id = w->id;
  s.screenRect = tree.windowScreenRect(*w);
  s.shown = (w->style & WS_VISIBLE) != 0;
  s.disabled = (w->style & WS_DISABLED) != 0;
  s.focus = manager().input().focus() == hwnd;
  s.active = manager().input().active() == hwnd;
  s.children = w->children;
  return s;
}

std::int64_t WindowView::ticks() const { return manager().timers().now(); }

int WindowView::msUntilNextTimer() const { return manager().timers().msUntilNext(); }

}  // namespace platform
