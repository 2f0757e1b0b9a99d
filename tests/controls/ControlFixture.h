// A headless device with the standard controls registered, a logging parent window for them and
// the WM_COMMAND notifications the parent received, by name, for expected-sequence tables.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/controls/CommonControls.h"
#include "platform/gdi/GdiBridge.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

namespace platform::testing {

class ControlFixture {
 public:
  explicit ControlFixture(Edition edition = Edition::PocketPc, int width = 240, int height = 320)
      : device(edition, width, height) {
    controls::registerControlClasses();
    MessageLog& log = MessageLog::instance();
    log.keepOnly({});
    log.clear();
    parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, width, height);
    SetActiveWindow(parent);
    device.runUntilIdle();
    log.clear();
  }

  HWND create(const char16_t* cls, const char16_t* text, DWORD style, RECT rect, UINT id = 100) {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
    device.runUntilIdle();
    return hwnd;
  }

  // The notification codes the parent received from its children since the last clear, named
  // through `names` ("EN_CHANGE"), or as numbers.
  std::vector<std::string> notifications(const std::map<WORD, std::string>& names) const {
    std::vector<std::string> out;
    for (const LoggedMessage& m : MessageLog::instance().entries()) {
      if (m.window != "parent" || m.message != WM_COMMAND || m.lParam == 0) continue;
      const WORD code = HIWORD(static_cast<DWORD>(m.wParam));
      auto it = names.find(code);
      out.push_back(it != names.end() ? it->second : std::to_string(code));
    }
    return out;
  }

  static void clearLog() { MessageLog::instance().clear(); }

  // The texts a window drew in its last paint.
  static std::vector<std::u16string> texts(HWND hwnd) {
    std::vector<std::u16string> out;
    for (const auto& t : gdi::capturedTexts(hwnd)) out.push_back(t.text);
    return out;
  }

  static std::u16string windowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
    GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<std::size_t>(n));
    return text;
  }

  // Centre of a window in screen coordinates.
  static POINT centre(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  TestDevice device;
  HWND parent = nullptr;
};

}  // namespace platform::testing
