// A headless handheld for the control and shell tests: a screen of a given edition and size,
// the shell started, a host that feeds scripted input whenever a message loop waits, and a
// window that records what it receives.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Host.h"
#include "platform/win/Input.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

namespace testing_device {

// Plays one scripted step each time the program waits for input; with none left, time passes to
// the next timer, and with no timer either the input ends (the loops then see WM_QUIT).
class ScriptHost : public platform::Host {
 public:
  std::deque<std::function<void()>> steps;
  void present(const RECT&) override {}
  bool waitForInput(int timeoutMs) override {
    if (steps.empty()) {
      if (timeoutMs < 0) return false;
      platform::Clock::instance().advance(timeoutMs);
      return true;
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    step();
    return true;
  }
  void pollInput() override {}
};

inline void tap(int x, int y) {
  platform::postStylusDown(POINT{x, y});
  platform::postStylusUp(POINT{x, y});
}

inline void press(UINT vk) {
  platform::postKeyDown(vk);
  platform::postKeyUp(vk);
}

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // For WM_NOTIFY from a list view.
  UINT code = 0;
  int item = -1;
  UINT newState = 0;
  UINT oldState = 0;
  UINT changed = 0;
  WORD key = 0;
  int from = -1;
  int to = -1;
};

// A top-level window that records messages and answers owner-draw questions.
class Recorder {
 public:
  static Recorder*& active() {
    static Recorder* r = nullptr;
    return r;
  }

  explicit Recorder(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE) {
    active() = this;
    WNDCLASSW wc{};
    if (!GetClassInfoW(nullptr, u"TestRecorder", &wc)) {
      wc.lpfnWndProc = &Recorder::proc;
      wc.lpszClassName = u"TestRecorder";
      RegisterClassW(&wc);
    }
    hwnd = CreateWindowExW(0, u"TestRecorder", u"Recorder", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
  }
  ~Recorder() {
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    if (active() == this) active() = nullptr;
  }

  std::vector<Received> notifications(UINT code) const {
    std::vector<Received> out;
    for (const Received& r : log) {
      if (r.message == WM_NOTIFY && r.code == code) out.push_back(r);
    }
    return out;
  }
  std::vector<Received> messages(UINT message) const {
    std::vector<Received> out;
    for (const Received& r : log) {
      if (r.message == message) out.push_back(r);
    }
    return out;
  }
  std::vector<UINT> notifyCodes() const {
    std::vector<UINT> out;
    for (const Received& r : log) {
      if (r.message == WM_NOTIFY) out.push_back(r.code);
    }
    return out;
  }

  HWND hwnd = nullptr;
  std::vector<Received> log;
  int rowHeight = 20;
  bool vetoChanging = false;
  std::function<LRESULT(const NMHDR&)> onNotify;
  std::vector<UINT> drawn;  // item ids of WM_DRAWITEM, in order

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder* self = active();
    if (self == nullptr || self->hwnd != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    Received r{message, wParam, lParam};
    switch (message) {
      case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        r.code = header->code;
        if (header->code == LVN_KEYDOWN) {
          r.key = reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey;
        } else if (header->code == LVN_ODCACHEHINT) {
          const auto* hint = reinterpret_cast<const NMLVCACHEHINT*>(lParam);
          r.from = hint->iFrom;
          r.to = hint->iTo;
        } else if (header->code == LVN_ITEMCHANGING || header->code == LVN_ITEMCHANGED ||
                   header->code == LVN_DELETEITEM || header->code == LVN_INSERTITEM ||
                   header->code == LVN_ITEMACTIVATE || header->code == LVN_DELETEALLITEMS) {
          const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lParam);
          r.item = nm->iItem;
          r.newState = nm->uNewState;
          r.oldState = nm->uOldState;
          r.changed = nm->uChanged;
        }
        self->log.push_back(r);
        if (self->onNotify) return self->onNotify(*header);
        if (header->code == LVN_ITEMCHANGING && self->vetoChanging) return TRUE;
        return 0;
      }
      case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(self->rowHeight);
        self->log.push_back(r);
        return TRUE;
      case WM_DRAWITEM:
        self->drawn.push_back(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemID);
        self->log.push_back(r);
        return TRUE;
      case WM_COMMAND:
      case WM_CHAR:
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_SETTINGCHANGE:
      case WM_HOTKEY:
      case WM_INITMENUPOPUP:
      case WM_ACTIVATE:
        self->log.push_back(r);
        break;
      default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

class Device {
 public:
  Device(platform::Edition edition, int width, int height) {
    auto& config = platform::DeviceConfig::current();
    saved_ = config;
    config.edition = edition;
    config.screenWidth = width;
    config.screenHeight = height;
    config.headless = true;
    platform::Clock::instance().useVirtual(1'700'000'000'000);
    platform::WindowManager::instance().reset();
    platform::sys::resetSystemParameters();
    platform::openScreen(width, height);
    platform::setHost(&host);
    platform::controls::registerControlClasses();
  }
  ~Device() {
    platform::WindowManager::instance().reset();
    platform::setHost(nullptr);
    platform::sys::resetSystemParameters();
    platform::DeviceConfig::current() = saved_;
  }
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;

  // Handles everything queued (input, posted messages, paints) without waiting.
  void pump() {
    MSG msg{};
    for (int guard = 0; guard < 100000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
      if (msg.message == WM_QUIT) break;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }

  // Texts a window drew in its last paint.
  static std::vector<std::u16string> texts(HWND hwnd) {
    std::vector<std::u16string> out;
    for (const auto& t : platform::gdi::capturedTexts(hwnd)) out.push_back(t.text);
    return out;
  }

  ScriptHost host;

 private:
  platform::DeviceConfig saved_;
};

}  // namespace testing_device
