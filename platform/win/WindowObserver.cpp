#include "platform/win/WindowObserver.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

std::vector<WindowObserver*>& observers() {
  static std::vector<WindowObserver*> list;
  return list;
}

// Each observer still registered when its turn comes is told once, in the order they came.
template <typename Call>
void tellAll(Call call) {
  const std::vector<WindowObserver*> snapshot = observers();
  for (WindowObserver* o : snapshot) {
    if (std::find(observers().begin(), observers().end(), o) != observers().end()) call(*o);
  }
}

}  // namespace

bool addWindowObserver(WindowObserver* observer) {
  auto& list = observers();
  if (!observer || std::find(list.begin(), list.end(), observer) != list.end()) return false;
  list.push_back(observer);
  return true;
}

bool removeWindowObserver(WindowObserver* observer) {
  auto& list = observers();
  auto it = std::find(list.begin(), list.end(), observer);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

void notifyActiveWindowChanged(HWND previous, HWND active) {
  tellAll([&](WindowObserver& o) { o.activeWindowChanged(previous, active); });
}

void notifyTopLevelTextChanged(HWND hwnd) {
  tellAll([&](WindowObserver& o) { o.topLevelTextChanged(hwnd); });
}

void notifyBroughtToForeground(HWND top) {
  tellAll([&](WindowObserver& o) { o.broughtToForeground(top); });
}

}  // namespace platform
