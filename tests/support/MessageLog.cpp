#include "tests/support/MessageLog.h"

#include <algorithm>
#include <map>

#include "platform/gdi/WinGdi.h"

namespace platform::testing {

namespace {
LRESULT logProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::instance().record(hwnd, message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

MessageLog& MessageLog::instance() {
  static MessageLog log;
  return log;
}

void MessageLog::registerLogClass() {
  WNDCLASSW existing;
  if (GetClassInfoW(nullptr, u"LogWindow", &existing)) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = logProc;
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = u"LogWindow";
  RegisterClassW(&wc);
}

void MessageLog::name(HWND hwnd, const std::string& n) {
  names_.erase(std::remove_if(names_.begin(), names_.end(), [&](const auto& p) { return p.first == hwnd; }),
               names_.end());
  names_.emplace_back(hwnd, n);
}

std::string MessageLog::nameOf(HWND hwnd) const {
  for (const auto& [h, n] : names_)
    if (h == hwnd) return n;
  return "?";
}

void MessageLog::record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!pending_.empty() && nameOf(hwnd) == "?") {
    name(hwnd, pending_);
    pending_.clear();
  }
  if (!filter_.empty() && std::find(filter_.begin(), filter_.end(), message) == filter_.end()) return;
  entries_.push_back(LoggedMessage{nameOf(hwnd), message, wParam, lParam});
}

std::vector<std::string> MessageLog::sequence() const {
  std::vector<std::string> out;
  for (const auto& e : entries_) out.push_back(e.window + ":" + messageName(e.message));
  return out;
}

std::string messageName(UINT message) {
  static const std::map<UINT, std::string> names = {
      {WM_CREATE, "WM_CREATE"},
      {WM_DESTROY, "WM_DESTROY"},
      {WM_MOVE, "WM_MOVE"},
      {WM_SIZE, "WM_SIZE"},
      {WM_ACTIVATE, "WM_ACTIVATE"},
      {WM_SETFOCUS, "WM_SETFOCUS"},
      {WM_KILLFOCUS, "WM_KILLFOCUS"},
      {WM_ENABLE, "WM_ENABLE"},
      {WM_SETREDRAW, "WM_SETREDRAW"},
      {WM_SETTEXT, "WM_SETTEXT"},
      {WM_PAINT, "WM_PAINT"},
      {WM_CLOSE, "WM_CLOSE"},
      {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
      {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
      {WM_CANCELMODE, "WM_CANCELMODE"},
      {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_GETDLGCODE, "WM_GETDLGCODE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
      {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
      {WM_LBUTTONUP, "WM_LBUTTONUP"},
      {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
      {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
      {WM_HOTKEY, "WM_HOTKEY"},
      {WM_STYLECHANGING, "WM_STYLECHANGING"},
      {WM_STYLECHANGED, "WM_STYLECHANGED"},
      {WM_USER, "WM_USER"},
  };
  auto it = names.find(message);
  return it == names.end() ? std::to_string(message) : it->second;
}

HWND createLogWindow(const std::string& name, DWORD style, int x, int y, int width, int height, HWND parent, UINT id,
                     DWORD exStyle) {
  MessageLog::registerLogClass();
  // The window has its name from its first message (WM_NCCREATE) on.
  MessageLog& log = MessageLog::instance();
  log.namePending(name);
  const HWND hwnd = CreateWindowExW(exStyle, u"LogWindow", u"", style, x, y, width, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  log.namePending("");
  return hwnd;
}

}  // namespace platform::testing
