#include "platform/shell/PopupMenu.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "platform/base/WinError.h"
#include "platform/controls/ControlLook.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"
#include "platform/shell/WinMenu.h"

namespace platform::shell {
namespace {

struct PopupWindow {
  HMENU menu = nullptr;
  int highlight = -1;
};

std::unordered_map<HWND, PopupWindow>& popups() {
  static std::unordered_map<HWND, PopupWindow> table;
  return table;
}

PopupMenu*& currentMenu() {
  static PopupMenu* menu = nullptr;
  return menu;
}

int itemHeight() { return controls::fontHeight(controls::systemFont()) + controls::scaled(pocketPc() ? 6 : 8); }
int separatorHeight() { return controls::scaled(5); }
int checkColumn() { return controls::scaled(14); }
int arrowColumn() { return controls::scaled(14); }
int numberColumn() { return pocketPc() ? 0 : controls::scaled(16); }

// The digit a Smartphone menu shows before its n-th item (counting from 0, separators
// skipped): 1 to 9, then 0 for the tenth; none after that.
std::u16string numberLabel(int n) {
  if (n < 9) return std::u16string(1, static_cast<char16_t>(u'1' + n));
  if (n == 9) return u"0";
  return {};
}

void drawCheck(HDC hdc, const RECT& cell, COLORREF color) {
  const int k = controls::uiScale();
  const int cx = (cell.left + cell.right) / 2;
  const int cy = (cell.top + cell.bottom) / 2;
  for (int t = 0; t < 2 * k; ++t) {
    controls::drawLine(hdc, cx - 4 * k, cy - k + t, cx - k, cy + 2 * k + t, color);
    controls::drawLine(hdc, cx - k, cy + 2 * k + t, cx + 4 * k + 1, cy - 3 * k + t - 1, color);
  }
}

void drawArrow(HDC hdc, const RECT& cell, COLORREF color) {
  const int k = controls::uiScale();
  const int size = 3 * k;
  const int x = (cell.left + cell.right) / 2 - size / 2;
  const int cy = (cell.top + cell.bottom) / 2;
  for (int i = 0; i <= size; ++i) controls::drawLine(hdc, x + i, cy - (size - i), x + i, cy + (size - i) + 1, color);
}

void paintPopup(HWND hwnd) {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd, &ps);
  if (hdc == nullptr) return;
  RECT rc{};
  GetClientRect(hwnd, &rc);
  controls::fillSysColor(hdc, rc, COLOR_MENU);
  controls::frameRect(hdc, rc, GetSysColor(COLOR_WINDOWFRAME));
  auto it = popups().find(hwnd);
  Menu* menu = it != popups().end() ? MenuTable::instance().find(it->second.menu) : nullptr;
  if (menu != nullptr) {
    HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
    const MenuLayout layout = layoutMenu(it->second.menu);
    int number = 0;
    for (std::size_t i = 0; i < menu->items.size() && i < layout.items.size(); ++i) {
      const MenuItem& item = menu->items[i];
      const RECT r = layout.items[i];
      if (item.separator()) {
        const int y = (r.top + r.bottom) / 2;
        controls::drawLine(hdc, r.left + controls::scaled(2), y, r.right - controls::scaled(2), y,
                           GetSysColor(COLOR_BTNSHADOW));
        continue;
      }
      const bool lit = static_cast<int>(i) == it->second.highlight;
      if (lit) controls::fillSysColor(hdc, r, COLOR_HIGHLIGHT);
      const COLORREF color = !item.enabled() ? GetSysColor(COLOR_GRAYTEXT)
                             : lit           ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                             : GetSysColor(COLOR_MENUTEXT);
      int x = r.left;
      if (numberColumn() > 0) {
        const RECT cell{x, r.top, x + numberColumn(), r.bottom};
        drawText(hdc, numberLabel(number), cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, color);
        x = cell.right;
      }
      ++number;
      const RECT check{x, r.top, x + checkColumn(), r.bottom};
      if (item.checked()) drawCheck(hdc, check, color);
      RECT text{check.right, r.top, r.right - arrowColumn(), r.bottom};
      drawText(hdc, item.text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, color);
      if (item.popup()) drawArrow(hdc, RECT{r.right - arrowColumn(), r.top, r.right, r.bottom}, color);
    }
    SelectObject(hdc, oldFont);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

MenuLayout layoutMenu(HMENU handle) {
  MenuLayout layout;
  Menu* menu = MenuTable::instance().find(handle);
  if (menu == nullptr) return layout;
  int widest = 0;
  {
    const gdi::MemoryDc dc(nullptr);
    const gdi::SelectedObject font(dc.dc(), controls::systemFont());
    for (const MenuItem& item : menu->items) {
      SIZE size{};
      if (!item.separator() && !item.text.empty() &&
          GetTextExtentPoint32W(dc.dc(), item.text.c_str(), static_cast<int>(item.text.size()), &size)) {
        widest = std::max(widest, static_cast<int>(size.cx));
      }
    }
  }
  layout.width =
      std::max(2 + numberColumn() + checkColumn() + widest + controls::scaled(8) + arrowColumn(), controls::scaled(80));
  int y = 1;
  for (const MenuItem& item : menu->items) {
    const int h = item.separator() ? separatorHeight() : itemHeight();
    layout.items.push_back(RECT{1, y, layout.width - 1, y + h});
    y += h;
  }
  layout.height = y + 1;
  return layout;
}

PopupMenu::PopupMenu(HWND owner, UINT flags) : owner_(owner), flags_(flags) {
  previous_ = currentMenu();
  currentMenu() = this;
}

PopupMenu::~PopupMenu() {
  closeAll();
  currentMenu() = previous_;
}

void PopupMenu::endCurrent() {
  if (currentMenu() != nullptr) currentMenu()->done_ = true;
}

LRESULT CALLBACK PopupMenu::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (keepInactive(hwnd, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      paintPopup(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      popups().erase(hwnd);
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

bool PopupMenu::open(HMENU menu, RECT anchor, bool beside, int highlightItem) {
  registerShellClass(kPopupMenuClass, &PopupMenu::windowProc, CS_SAVEBITS);
  const MenuLayout layout = layoutMenu(menu);
  const int screenW = GetSystemMetrics(SM_CXSCREEN);
  const int screenH = GetSystemMetrics(SM_CYSCREEN);
  int x = anchor.left;
  int y = anchor.top;
  if (beside) {
    // A submenu opens right of its item, or left of its menu when there is no room.
    x = anchor.right - 2;
    if (x + layout.width > screenW) x = anchor.left - layout.width + 2;
    y = anchor.top - 1;
  } else {
    if (flags_ & TPM_RIGHTALIGN) {
      x -= layout.width;
    } else if (flags_ & TPM_CENTERALIGN) {
      x -= layout.width / 2;
    }
    if (flags_ & TPM_BOTTOMALIGN) {
      y -= layout.height;
    } else if (flags_ & TPM_VCENTERALIGN) {
      y -= layout.height / 2;
    }
  }
  x = std::clamp(x, 0, std::max(screenW - layout.width, 0));
  y = std::clamp(y, 0, std::max(screenH - layout.height, 0));
  HWND top = owner_;
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kPopupMenuClass, u"", WS_POPUP, x, y, layout.width, layout.height, top,
                              nullptr, nullptr, nullptr);
  if (hwnd == nullptr) return false;
  popups()[hwnd] = PopupWindow{menu, highlightItem};
  levels_.push_back(Level{menu, hwnd, highlightItem});
  showWithoutActivation(hwnd, RECT{x, y, x + layout.width, y + layout.height});
  return true;
}

void PopupMenu::closeLevel() {
  if (levels_.empty()) return;
  const HWND hwnd = levels_.back().hwnd;
  levels_.pop_back();
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
}

void PopupMenu::closeAll() {
  while (!levels_.empty()) closeLevel();
}

void PopupMenu::highlight(std::size_t level, int item) {
  if (level >= levels_.size()) return;
  Level& l = levels_[level];
  if (l.highlight == item) return;
  l.highlight = item;
  popups()[l.hwnd].highlight = item;
  InvalidateRect(l.hwnd, nullptr, FALSE);
}

int PopupMenu::stepHighlight(const Level& level, int from, int step) const {
  const Menu* menu = MenuTable::instance().find(level.menu);
  if (menu == nullptr || menu->items.empty()) return -1;
  const int n = static_cast<int>(menu->items.size());
  int i = from < 0 ? (step > 0 ? -1 : n) : from;
  for (int tries = 0; tries < n; ++tries) {
    i = (i + step + n) % n;
    if (!menu->items[static_cast<std::size_t>(i)].separator()) return i;
  }
  return -1;
}

void PopupMenu::activateItem(int index, bool fromKeyboard) {
  if (levels_.empty()) return;
  Level& level = levels_.back();
  Menu* menu = MenuTable::instance().find(level.menu);
  if (menu == nullptr || index < 0 || index >= static_cast<int>(menu->items.size())) return;
  const MenuItem item = menu->items[static_cast<std::size_t>(index)];
  highlight(levels_.size() - 1, index);
  if (item.separator() || !item.enabled()) return;
  if (item.popup()) {
    if (!MenuTable::instance().find(item.subMenu)) return;
    SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.subMenu),
                 MAKELPARAM(static_cast<WORD>(index), 0));
    if (done_ || levels_.empty()) return;
    RECT wr{};
    GetWindowRect(levels_.back().hwnd, &wr);
    const MenuLayout layout = layoutMenu(levels_.back().menu);
    RECT anchor = layout.items[static_cast<std::size_t>(index)];
    OffsetRect(&anchor, wr.left, wr.top);
    anchor.left = wr.left;
    anchor.right = wr.right;
    const Level child{item.subMenu, nullptr, -1};
    open(item.subMenu, anchor, true, fromKeyboard || !pocketPc() ? stepHighlight(child, -1, 1) : -1);
    return;
  }
  result_ = item.id;
  done_ = true;
}

void PopupMenu::onBack() {
  // Back closes the innermost menu when it is released, so that its release does not go on to
  // the owner as a Back of its own.
  if (levels_.size() > 1) {
    closeLevel();
  } else {
    done_ = true;
  }
}

void PopupMenu::onKey(UINT vk) {
  if (levels_.empty()) return;
  Level& level = levels_.back();
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
      highlight(levels_.size() - 1, stepHighlight(level, level.highlight, vk == VK_DOWN ? 1 : -1));
      return;
    case VK_RIGHT: {
      const Menu* menu = MenuTable::instance().find(level.menu);
      if (menu != nullptr && level.highlight >= 0 && menu->items[static_cast<std::size_t>(level.highlight)].popup()) {
        activateItem(level.highlight, true);
      }
      return;
    }
    case VK_LEFT:
      if (levels_.size() > 1) closeLevel();
      return;
    case VK_RETURN:
    case VK_F1:
      if (level.highlight >= 0) activateItem(level.highlight, true);
      return;
    case VK_F2:
      done_ = true;
      return;
    default:
      break;
  }
  if (!pocketPc() && vk >= '0' && vk <= '9') {
    // The digit of a numbered item chooses it: 1 to 9, and 0 for the tenth.
    const int wanted = vk == '0' ? 9 : static_cast<int>(vk - '1');
    const Menu* menu = MenuTable::instance().find(level.menu);
    if (menu == nullptr) return;
    int number = 0;
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
      if (menu->items[i].separator()) continue;
      if (number == wanted) {
        activateItem(static_cast<int>(i), true);
        return;
      }
      ++number;
    }
  }
}

int PopupMenu::levelAt(POINT pt) const {
  for (int i = static_cast<int>(levels_.size()) - 1; i >= 0; --i) {
    RECT wr{};
    GetWindowRect(levels_[static_cast<std::size_t>(i)].hwnd, &wr);
    if (PtInRect(&wr, pt)) return i;
  }
  return -1;
}

int PopupMenu::itemAt(const Level& level, POINT pt) const {
  RECT wr{};
  GetWindowRect(level.hwnd, &wr);
  const POINT local{pt.x - wr.left, pt.y - wr.top};
  const MenuLayout layout = layoutMenu(level.menu);
  for (std::size_t i = 0; i < layout.items.size(); ++i) {
    if (PtInRect(&layout.items[i], local)) return static_cast<int>(i);
  }
  return -1;
}

void PopupMenu::onStylus(const MSG& msg) {
  const POINT pt = msg.pt;
  const int level = levelAt(pt);
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK) {
    stylusDown_ = true;
    if (level < 0) {
      // A tap outside every menu closes them all; the tap itself is used up.
      done_ = true;
      return;
    }
    while (static_cast<int>(levels_.size()) > level + 1) closeLevel();
    const int item = itemAt(levels_[static_cast<std::size_t>(level)], pt);
    const Menu* menu = MenuTable::instance().find(levels_[static_cast<std::size_t>(level)].menu);
    if (item >= 0 && menu != nullptr && menu->items[static_cast<std::size_t>(item)].popup()) {
      activateItem(item, false);
    } else {
      highlight(static_cast<std::size_t>(level), item);
    }
    return;
  }
  if (msg.message == WM_MOUSEMOVE) {
    if (stylusDown_ && level >= 0 && level == static_cast<int>(levels_.size()) - 1) {
      highlight(static_cast<std::size_t>(level), itemAt(levels_[static_cast<std::size_t>(level)], pt));
    }
    return;
  }
  if (msg.message == WM_LBUTTONUP) {
    const bool wasDown = stylusDown_;
    stylusDown_ = false;
    // Lifting the stylus off the item that opened a submenu leaves the submenu open.
    if (!wasDown || level < 0 || level != static_cast<int>(levels_.size()) - 1) return;
    const int item = itemAt(levels_[static_cast<std::size_t>(level)], pt);
    const Menu* menu = MenuTable::instance().find(levels_[static_cast<std::size_t>(level)].menu);
    if (item >= 0 && menu != nullptr && !menu->items[static_cast<std::size_t>(item)].popup()) activateItem(item, false);
  }
}

UINT PopupMenu::run(HMENU menu, int x, int y) {
  SendMessageW(owner_, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, 0));
  if (!MenuTable::instance().find(menu)) return 0;
  const Level top{menu, nullptr, -1};
  // The Smartphone has no stylus: its menus open with the first item lit.
  if (!open(menu, RECT{x, y, x, y}, false, pocketPc() ? -1 : stepHighlight(top, -1, 1))) return 0;
  refreshTitleBar();
  const HWND captureBefore = GetCapture();
  SetCapture(levels_.front().hwnd);
  MSG msg{};
  while (!done_) {
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      // The program is quitting: leave the menu and keep the quit for the outer loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        onKey(static_cast<UINT>(msg.wParam));
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (msg.wParam == VK_ESCAPE) onBack();
        break;
      case WM_CHAR:
      case WM_SYSCHAR:
        break;
      case WM_HOTKEY: {
        const UINT vk = HIWORD(static_cast<DWORD_PTR>(msg.lParam));
        const bool up = (LOWORD(static_cast<DWORD_PTR>(msg.lParam)) & MOD_KEYUP) != 0;
        if (vk == VK_ESCAPE) {
          if (up) onBack();
        } else if (!up) {
          onKey(vk);
        }
        break;
      }
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_MOUSEMOVE:
        onStylus(msg);
        break;
      default:
        DispatchMessageW(&msg);
        break;
    }
    if (!IsWindow(owner_)) done_ = true;
    if (!levels_.empty() && GetCapture() != levels_.front().hwnd && !done_) SetCapture(levels_.front().hwnd);
  }
  if (!levels_.empty() && GetCapture() == levels_.front().hwnd) ReleaseCapture();
  if (captureBefore != nullptr && IsWindow(captureBefore)) SetCapture(captureBefore);
  closeAll();
  refreshTitleBar();
  return result_;
}

}  // namespace platform::shell

using platform::shell::MenuTable;
using platform::shell::PopupMenu;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
  if (MenuTable::instance().find(menu) == nullptr) {
    SetLastError(ERROR_INVALID_MENU_HANDLE);
    return FALSE;
  }
  if (!IsWindow(owner)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  UINT chosen = 0;
  {
    PopupMenu popup(owner, flags);
    chosen = popup.run(menu, x, y);
  }
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen != 0 && IsWindow(owner)) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
  PopupMenu::endCurrent();
  return TRUE;
}
