#include "tests/controls/ControlParent.h"

#include <map>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinListBox.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"

namespace controls_test {
namespace {

using platform::testing::MessageLog;

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    MessageLog::instance().record(hwnd, message, wParam, lParam);
    return 0;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    MessageLog::instance().record(hwnd, message, wParam, lParam);
    if (header->code == DTN_DATETIMECHANGE) {
      const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
      reportedTimes().push_back(change->dwFlags == GDT_VALID ? change->st : SYSTEMTIME{});
    } else if (header->code == MCN_SELECT) {
      reportedTimes().push_back(reinterpret_cast<const NMSELECT*>(lParam)->stSelStart);
    }
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::string className(HWND hwnd) {
  WCHAR buffer[64] = {};
  GetClassNameW(hwnd, buffer, 64);
  std::string name;
  for (const WCHAR* c = buffer; *c != 0; ++c) name += static_cast<char>(*c);
  return name;
}

std::string commandName(WPARAM wParam, LPARAM lParam) {
  static const std::map<int, std::string> listBox = {{LBN_SELCHANGE, "LBN_SELCHANGE"},
                                                     {LBN_DBLCLK, "LBN_DBLCLK"},
                                                     {LBN_SETFOCUS, "LBN_SETFOCUS"},
                                                     {LBN_KILLFOCUS, "LBN_KILLFOCUS"},
                                                     {LBN_SELCANCEL, "LBN_SELCANCEL"}};
  static const std::map<int, std::string> comboBox = {
      {CBN_SELCHANGE, "CBN_SELCHANGE"},      {CBN_SETFOCUS, "CBN_SETFOCUS"}, {CBN_KILLFOCUS, "CBN_KILLFOCUS"},
      {CBN_DROPDOWN, "CBN_DROPDOWN"},        {CBN_CLOSEUP, "CBN_CLOSEUP"},   {CBN_SELENDOK, "CBN_SELENDOK"},
      {CBN_SELENDCANCEL, "CBN_SELENDCANCEL"}};
  const int code = HIWORD(wParam);
  const std::string cls = className(reinterpret_cast<HWND>(lParam));
  const auto& table = cls == "ComboBox" ? comboBox : listBox;
  auto it = table.find(code);
  return it != table.end() ? it->second : cls + ":" + std::to_string(code);
}

std::string notifyName(UINT code) {
  static const std::map<UINT, std::string> names = {
      {DTN_DATETIMECHANGE, "DTN_DATETIMECHANGE"},
      {DTN_DROPDOWN, "DTN_DROPDOWN"},
      {DTN_CLOSEUP, "DTN_CLOSEUP"},
      {MCN_SELCHANGE, "MCN_SELCHANGE"},
      {MCN_SELECT, "MCN_SELECT"},
      {NM_SETFOCUS, "NM_SETFOCUS"},
      {NM_KILLFOCUS, "NM_KILLFOCUS"},
  };
  auto it = names.find(code);
  return it != names.end() ? it->second : "WM_NOTIFY:" + std::to_string(static_cast<int>(code));
}

}  // namespace

HWND createParent(int width, int height) {
  platform::controls::registerControlClasses();
  WNDCLASSW existing{};
  if (!GetClassInfoW(nullptr, u"ControlParent", &existing)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &parentProc;
    wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    wc.lpszClassName = u"ControlParent";
    RegisterClassW(&wc);
  }
  MessageLog& log = MessageLog::instance();
  log.clear();
  log.keepOnly({WM_COMMAND, WM_NOTIFY});
  reportedTimes().clear();
  HWND hwnd = CreateWindowExW(0, u"ControlParent", u"", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                              nullptr, nullptr);
  log.name(hwnd, "parent");
  return hwnd;
}

std::vector<std::string> notifications() {
  std::vector<std::string> out;
  for (const auto& entry : MessageLog::instance().entries()) {
    if (entry.message == WM_COMMAND) out.push_back(commandName(entry.wParam, entry.lParam));
    if (entry.message == WM_NOTIFY) out.push_back(notifyName(entry.code));
  }
  return out;
}

std::vector<SYSTEMTIME>& reportedTimes() {
  static std::vector<SYSTEMTIME> times;
  return times;
}

COLORREF onScreen(int sysColorIndex) {
  const COLORREF c = GetSysColor(sysColorIndex);
  const auto widen = [](int v, int bits) { return (v >> (8 - bits)) * 255 / ((1 << bits) - 1); };
  return RGB(widen(GetRValue(c), 5), widen(GetGValue(c), 6), widen(GetBValue(c), 5));
}

std::vector<std::u16string> drawnTexts(HWND hwnd) {
  std::vector<std::u16string> out;
  for (const auto& t : platform::gdi::capturedTexts(hwnd)) out.push_back(t.text);
  return out;
}

}  // namespace controls_test
