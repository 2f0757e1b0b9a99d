#include "platform/shell/Shell.h"

#include <map>

#include "platform/base/DeviceConfig.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/FieldExpander.h"
#include "platform/controls/KeypadIndicator.h"
#include "platform/shell/ContactCard.h"
#include "platform/shell/FullScreenEditor.h"
#include "platform/shell/FullScreenPickList.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/SoftKeys.h"
#include "platform/shell/TitleBar.h"
#include "platform/sys/SysParams.h"
#include "platform/win/WindowObserver.h"

namespace platform::shell {
namespace {

struct State {
  HWND titleBar = nullptr;
  bool taskBarVisible = true;
  bool startIconVisible = true;
  std::map<HWND, bool> done;
  BackgroundHandler background = nullptr;
  int backgroundCount = 0;
};

State& state() {
  static State s;
  return s;
}

// The title bar shows the foreground window's title, so it follows activation and that
// window's text; edits and other child windows changing their text do not concern it.
class TitleFollower : public WindowObserver {
 public:
  void activeWindowChanged(HWND, HWND) override { refreshTitleBar(); }
  void topLevelTextChanged(HWND hwnd) override {
    if (titleBarWindow() != nullptr && hwnd == TitleBar::subject()) refreshTitleBar();
  }
};

TitleFollower& titleFollower() {
  static TitleFollower follower;
  return follower;
}

}  // namespace

void startShell() {
  controls::registerControlClasses();
  MenuBar::registerClass();
  SoftKeys::start();
  State& s = state();
  if (!IsWindow(s.titleBar)) {
    s.titleBar = TitleBar::create();
    s.taskBarVisible = true;
    s.startIconVisible = true;
    s.done.clear();
  }
  if (pocketPc()) InputPanel::start();
  addWindowObserver(&titleFollower());
  // The Smartphone shows the focused edit's input mode at the right of the title bar.
  controls::KeypadIndicator::setListener([](HWND, controls::KeypadMode) { refreshTitleBar(); });
  // An expandable field the program does not expand itself opens the shell's full screens.
  controls::FieldExpander::install(&FullScreenEditor::run, &FullScreenPickList::run);
  // The device's own contact card answers every contact's Display, unless another handler
  // (a test's) was installed first.
  if (!pim::Contact::hasDisplayHandler()) ContactCard::registerDisplayHandler();
}

void stopShell() {
  controls::FieldExpander::install(nullptr, nullptr);
  controls::KeypadIndicator::setListener(nullptr);
  removeWindowObserver(&titleFollower());
  State& s = state();
  if (IsWindow(s.titleBar)) DestroyWindow(s.titleBar);
  s.titleBar = nullptr;
  s.done.clear();
  InputPanel::stop();
  SoftKeys::stop();
}

void setBackgroundHandler(BackgroundHandler handler) { state().background = handler; }

void sendToBackground() {
  ++state().backgroundCount;
  if (state().background != nullptr) state().background();
}

int backgroundCount() { return state().backgroundCount; }

bool pocketPc() { return DeviceConfig::current().edition == Edition::PocketPc; }
int titleBarHeight() { return sys::taskBarHeight(); }
int menuBarHeight() { return sys::menuBarHeight(); }

HWND titleBarWindow() { return IsWindow(state().titleBar) ? state().titleBar : nullptr; }

void refreshTitleBar() {
  if (HWND bar = titleBarWindow()) InvalidateRect(bar, nullptr, TRUE);
}

bool taskBarVisible() { return state().taskBarVisible; }

void setTaskBarVisible(bool visible) {
  State& s = state();
  s.taskBarVisible = visible;
  if (HWND bar = titleBarWindow()) {
    if (visible) {
      SetWindowPos(bar, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), titleBarHeight(),
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    } else {
      SetWindowPos(bar, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    }
  }
}

void setStartIconVisible(bool visible) {
  state().startIconVisible = visible;
  refreshTitleBar();
}

bool startIconVisible() { return state().startIconVisible; }

void setDoneButton(HWND hwnd, bool shown) {
  State& s = state();
  // Forget windows that are gone, so a recycled handle starts without the button.
  for (auto it = s.done.begin(); it != s.done.end();) {
    it = IsWindow(it->first) ? std::next(it) : s.done.erase(it);
  }
  if (shown) {
    s.done[hwnd] = true;
  } else {
    s.done.erase(hwnd);
  }
  refreshTitleBar();
}

bool hasDoneButton(HWND hwnd) {
  const State& s = state();
  auto it = s.done.find(hwnd);
  return it != s.done.end() && IsWindow(hwnd);
}

}  // namespace platform::shell
