#include "tests/support/MessageLog.h"

#include <algorithm>

#include "platform/controls/CommCtrl.h"
#include "platform/gdi/WinGdi.h"

namespace platform::testing {

namespace {

LRESULT logProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog& log = MessageLog::instance();
  log.record(hwnd, message, wParam, lParam);
  return log.reply(hwnd, message, wParam, lParam);
}

bool contains(const std::vector<UINT>& list, UINT value) {
  return std::find(list.begin(), list.end(), value) != list.end();
}

// What a list view notification carries besides its code.
void readNotification(const NMHDR& header, LoggedMessage& entry) {
  entry.code = header.code;
  switch (header.code) {
    case LVN_KEYDOWN:
      entry.key = reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey;
      break;
    case UDN_DELTAPOS:
    case UDN_EXPANDING: {
      const auto& step = reinterpret_cast<const NMUPDOWN&>(header);
      entry.from = step.iPos;
      entry.to = step.iDelta;
      break;
    }
    case LVN_ODCACHEHINT: {
      const auto& hint = reinterpret_cast<const NMLVCACHEHINT&>(header);
      entry.from = hint.iFrom;
      entry.to = hint.iTo;
      break;
    }
    case LVN_ITEMCHANGING:
    case LVN_ITEMCHANGED:
    case LVN_INSERTITEM:
    case LVN_DELETEITEM:
    case LVN_DELETEALLITEMS:
    case LVN_ITEMACTIVATE: {
      const auto& item = reinterpret_cast<const NMLISTVIEW&>(header);
      entry.item = item.iItem;
      entry.newState = item.uNewState;
      entry.oldState = item.uOldState;
      entry.changed = item.uChanged;
      break;
    }
    case TVN_SELCHANGINGW:
    case TVN_SELCHANGEDW:
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
      entry.item = static_cast<int>(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.lParam);
      break;
    case TVN_DELETEITEMW:
      entry.item = static_cast<int>(reinterpret_cast<const NMTREEVIEWW&>(header).itemOld.lParam);
      break;
    case TVN_GETDISPINFOW:
      entry.item = static_cast<int>(reinterpret_cast<const NMTVDISPINFOW&>(header).item.lParam);
      break;
    case TVN_KEYDOWN:
      entry.key = reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey;
      break;
    default:
      break;
  }
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

void MessageLog::answer(UINT message, Answer answer) {
  if (answer) {
    answers_[message] = std::move(answer);
  } else {
    answers_.erase(message);
  }
}

void MessageLog::record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!pending_.empty() && nameOf(hwnd) == "?") {
    name(hwnd, pending_);
    pending_.clear();
  }
  if (!filter_.empty() && !contains(filter_, message)) return;
  LoggedMessage entry{nameOf(hwnd), message, wParam, lParam};
  if (message == WM_NOTIFY && lParam != 0) {
    readNotification(*reinterpret_cast<const NMHDR*>(lParam), entry);
    if (contains(skipped_, entry.code)) return;
  } else if (message == WM_DRAWITEM && lParam != 0) {
    entry.item = static_cast<int>(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->itemID);
  }
  entries_.push_back(entry);
}

LRESULT MessageLog::reply(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const {
  const auto it = answers_.find(message);
  // A copy: the answer may change the answers.
  if (it != answers_.end()) return Answer(it->second)(hwnd, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void MessageLog::reset() {
  names_.clear();
  filter_.clear();
  skipped_.clear();
  answers_.clear();
  pending_.clear();
  entries_.clear();
}

std::vector<LoggedMessage> MessageLog::messages(UINT message) const {
  std::vector<LoggedMessage> out;
  std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(out),
               [message](const LoggedMessage& e) { return e.message == message; });
  return out;
}

std::vector<LoggedMessage> MessageLog::notifications(UINT code) const {
  std::vector<LoggedMessage> out;
  std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(out),
               [code](const LoggedMessage& e) { return e.message == WM_NOTIFY && e.code == code; });
  return out;
}

std::vector<std::string> MessageLog::sequence() const {
  std::vector<std::string> out;
  for (const auto& e : entries_) {
    out.push_back(e.window + ":" + (e.message == WM_NOTIFY ? notificationName(e.code) : messageName(e.message)));
  }
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
      {WM_DRAWITEM, "WM_DRAWITEM"},
      {WM_MEASUREITEM, "WM_MEASUREITEM"},
      {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
      {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
      {WM_NOTIFY, "WM_NOTIFY"},
      {WM_NCCREATE, "WM_NCCREATE"},
      {WM_NCDESTROY, "WM_NCDESTROY"},
      {WM_GETDLGCODE, "WM_GETDLGCODE"},
      {WM_KEYDOWN, "WM_KEYDOWN"},
      {WM_KEYUP, "WM_KEYUP"},
      {WM_CHAR, "WM_CHAR"},
      {WM_INITDIALOG, "WM_INITDIALOG"},
      {WM_COMMAND, "WM_COMMAND"},
      {WM_TIMER, "WM_TIMER"},
      {WM_HSCROLL, "WM_HSCROLL"},
      {WM_VSCROLL, "WM_VSCROLL"},
      {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
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

std::string notificationName(UINT code) {
  static const std::map<UINT, std::string> names = {
      {NM_CLICK, "NM_CLICK"},
      {NM_DBLCLK, "NM_DBLCLK"},
      {NM_RETURN, "NM_RETURN"},
      {NM_SETFOCUS, "NM_SETFOCUS"},
      {NM_KILLFOCUS, "NM_KILLFOCUS"},
      {NM_CUSTOMDRAW, "NM_CUSTOMDRAW"},
      {LVN_ITEMCHANGING, "LVN_ITEMCHANGING"},
      {LVN_ITEMCHANGED, "LVN_ITEMCHANGED"},
      {LVN_INSERTITEM, "LVN_INSERTITEM"},
      {LVN_DELETEITEM, "LVN_DELETEITEM"},
      {LVN_DELETEALLITEMS, "LVN_DELETEALLITEMS"},
      {LVN_COLUMNCLICK, "LVN_COLUMNCLICK"},
      {LVN_BEGINDRAG, "LVN_BEGINDRAG"},
      {LVN_ODCACHEHINT, "LVN_ODCACHEHINT"},
      {LVN_ITEMACTIVATE, "LVN_ITEMACTIVATE"},
      {LVN_ODSTATECHANGED, "LVN_ODSTATECHANGED"},
      {LVN_KEYDOWN, "LVN_KEYDOWN"},
      {LVN_GETDISPINFOW, "LVN_GETDISPINFO"},
      {LVN_SETDISPINFOW, "LVN_SETDISPINFO"},
      {UDN_DELTAPOS, "UDN_DELTAPOS"},
      {UDN_EXPANDING, "UDN_EXPANDING"},
  };
  auto it = names.find(code);
  return it == names.end() ? std::to_string(code) : it->second;
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
