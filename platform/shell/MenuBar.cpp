#include "platform/shell/MenuBar.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/controls/ControlLook.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/MenuTable.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"
#include "platform/shell/SoftKeys.h"
#include "platform/shell/WinMenu.h"
#include "platform/sys/SysParams.h"

namespace platform::shell {
namespace {

struct Entry {
  std::unique_ptr<MenuBar> bar;
  int depth = 0;
  bool dead = false;
};

std::unordered_map<HWND, Entry>& bars() {
  static std::unordered_map<HWND, Entry> table;
  return table;
}

unsigned nextSerial() {
  static unsigned serial = 0;
  return ++serial;
}

constexpr UINT kNoSubMenu = 0xFFFF;

}  // namespace

void MenuBar::registerClass() { registerShellClass(kMenuBarClass, &MenuBar::windowProc); }

MenuBar* MenuBar::fromWindow(HWND hwnd) {
  auto it = bars().find(hwnd);
  return it == bars().end() || it->second.dead ? nullptr : it->second.bar.get();
}

MenuBar* MenuBar::forOwner(HWND owner) {
  MenuBar* best = nullptr;
  if (owner == nullptr) return nullptr;
  for (auto& [hwnd, entry] : bars()) {
    if (entry.dead || entry.bar->owner_ != owner || !IsWindow(hwnd)) continue;
    if (best == nullptr || entry.bar->serial_ > best->serial_) best = entry.bar.get();
  }
  return best;
}

MenuBar* MenuBar::current() { return forOwner(GetActiveWindow()); }

bool MenuBar::anyBackOverride() {
  for (auto& [hwnd, entry] : bars()) {
    if (!entry.dead && entry.bar->overrideFlags(VK_ESCAPE) != 0) return true;
  }
  return false;
}

HWND MenuBar::create(const SHMENUBARINFO& info) {
  registerClass();
  const bool hidden = (info.dwFlags & SHCMBF_HIDDEN) != 0;
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kMenuBarClass, u"", WS_POPUP, 0, 0, 0, 0, info.hwndParent, nullptr,
                              info.hInstRes, nullptr);
  if (hwnd == nullptr) return nullptr;
  MenuBar* bar = fromWindow(hwnd);
  if (bar == nullptr || !bar->loadButtons(info)) {
    DestroyWindow(hwnd);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  bar->owner_ = GetParent(hwnd) != nullptr ? GetParent(hwnd) : info.hwndParent;
  bar->sipButton_ = pocketPc() && !(info.dwFlags & SHCMBF_HIDESIPBUTTON);
  bar->serial_ = nextSerial();
  if (!hidden) {
    bar->place();
  } else {
    const int h = menuBarHeight();
    SetWindowPos(hwnd, HWND_TOPMOST, 0, GetSystemMetrics(SM_CYSCREEN) - h, GetSystemMetrics(SM_CXSCREEN), h,
                 SWP_NOACTIVATE);
  }
  refreshTitleBar();
  return hwnd;
}

HWND MenuBar::createWithButtons(HWND owner, std::vector<SoftKeyButton> buttons) {
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = owner;
  info.dwFlags = SHCMBF_EMPTYBAR | SHCMBF_HIDDEN;
  HWND hwnd = create(info);
  MenuBar* bar = fromWindow(hwnd);
  if (bar == nullptr) return nullptr;
  bar->buttons_ = std::move(buttons);
  bar->place();
  return hwnd;
}

bool MenuBar::loadButtons(const SHMENUBARINFO& info) {
  if (info.dwFlags & SHCMBF_EMPTYBAR) return true;
  MenuTable& menus = MenuTable::instance();
  if (info.dwFlags & SHCMBF_HMENU) {
    // The bar's buttons are the top-level entries of a menu resource.
    menu_ = menus.load(info.nToolBarId);
    if (menu_ == nullptr) return false;
    for (const MenuItem& item : menus.find(menu_)->items) {
      if (item.separator()) continue;
      SoftKeyButton button;
      button.text = item.text;
      button.command = item.id;
      button.menu = item.subMenu;
      if (item.subMenu != nullptr) button.style |= TBSTYLE_DROPDOWN;
      if (!item.enabled()) button.state = 0;
      buttons_.push_back(std::move(button));
    }
    return true;
  }
  const MenuBarResource* resource = ResourceTable::instance().findMenuBar(info.nToolBarId);
  if (resource == nullptr) return false;
  if (resource->menuId != 0) menu_ = menus.load(resource->menuId);
  for (const MenuBarButtonResource& r : resource->buttons) {
    SoftKeyButton button;
    button.command = r.command;
    button.state = r.state;
    button.style = r.style;
    if (r.stringId != 0) button.text = loadString(r.stringId);
    if (r.subMenu != kNoSubMenu && menu_ != nullptr) button.menu = GetSubMenu(menu_, static_cast<int>(r.subMenu));
    buttons_.push_back(std::move(button));
  }
  return true;
}

void MenuBar::place() {
  const int h = menuBarHeight();
  const int w = GetSystemMetrics(SM_CXSCREEN);
  showWithoutActivation(hwnd_, RECT{0, GetSystemMetrics(SM_CYSCREEN) - h, w, GetSystemMetrics(SM_CYSCREEN)});
}

WORD MenuBar::overrideFlags(UINT vk) const {
  auto it = overrides_.find(vk & 0xFF);
  return it == overrides_.end() ? 0 : it->second;
}

void MenuBar::setSipButton(bool shown) {
  sipButton_ = shown && pocketPc();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

SoftKeyButton* MenuBar::byCommand(int command) {
  for (SoftKeyButton& b : buttons_) {
    if (static_cast<int>(b.command) == command) return &b;
  }
  return nullptr;
}

bool MenuBar::softKey(UINT vk) {
  const int index = vk == VK_F1 ? 0 : vk == VK_F2 ? 1 : -1;
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return false;
  press(index);
  return true;
}

RECT MenuBar::sipRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  if (!sipButton_) return RECT{rc.right / 2, 0, rc.right / 2, rc.bottom};
  const int w = controls::scaled(32);
  return RECT{(rc.right - w) / 2, 0, (rc.right - w) / 2 + w, rc.bottom};
}

RECT MenuBar::buttonRect(int index) const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const RECT sip = sipRect();
  if (index == 0) return RECT{0, 0, sip.left, rc.bottom};
  if (index == 1) return RECT{sip.right, 0, rc.right, rc.bottom};
  return RECT{};
}

int MenuBar::buttonAt(POINT pt) const {
  for (int i = 0; i < static_cast<int>(std::min<std::size_t>(buttons_.size(), 2)); ++i) {
    const RECT r = buttonRect(i);
    if (PtInRect(&r, pt)) return i;
  }
  return -1;
}

void MenuBar::press(int index) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  const SoftKeyButton button = buttons_[static_cast<std::size_t>(index)];
  if (!button.enabled()) return;
  const HWND self = hwnd_;
  const HWND owner = owner_;
  if (button.menu != nullptr && IsMenu(button.menu)) {
    pressed_ = index;
    InvalidateRect(hwnd_, nullptr, FALSE);
    RECT wr{};
    GetWindowRect(hwnd_, &wr);
    const RECT br = buttonRect(index);
    const UINT align = index == 0 ? TPM_LEFTALIGN : TPM_RIGHTALIGN;
    const int x = index == 0 ? wr.left + br.left : wr.left + br.right;
    TrackPopupMenuEx(button.menu, align | TPM_BOTTOMALIGN, x, wr.top, owner, nullptr);
    if (fromWindow(self) == nullptr) return;
    pressed_ = -1;
    InvalidateRect(hwnd_, nullptr, FALSE);
    return;
  }
  if (button.command != 0 && IsWindow(owner)) {
    // Posted, so that the owner may replace or destroy this bar while it handles the command.
    PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(button.command), 0), 0);
  }
}

LRESULT CALLBACK MenuBar::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& table = bars();
  auto it = table.find(hwnd);
  if (it == table.end()) {
    if (message != WM_NCCREATE) return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    Entry entry;
    entry.bar.reset(new MenuBar(hwnd, cs ? cs->hwndParent : nullptr));
    it = table.emplace(hwnd, std::move(entry)).first;
  }
  Entry& entry = it->second;
  ++entry.depth;
  const LRESULT result = entry.bar->handle(message, wParam, lParam);
  auto again = table.find(hwnd);
  if (again == table.end()) return result;
  Entry& after = again->second;
  --after.depth;
  if (message == WM_NCDESTROY) after.dead = true;
  if (after.dead && after.depth == 0) {
    table.erase(again);
    SoftKeys::updateBackKey();
  }
  return result;
}

LRESULT MenuBar::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (keepInactive(hwnd_, message, wParam, lParam, result)) return result;
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      if (menu_ != nullptr) DestroyMenu(menu_);
      menu_ = nullptr;
      for (SoftKeyButton& b : buttons_) b.menu = nullptr;
      return 0;
    case WM_SETTINGCHANGE:
      if (IsWindowVisible(hwnd_)) place();
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const RECT sip = sipRect();
      if (sipButton_ && PtInRect(&sip, pt)) {
        SIPINFO info{};
        info.cbSize = sizeof(info);
        SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
        info.fdwFlags ^= SIPF_ON;
        SHSipInfo(SPI_SETSIPINFO, 0, &info, 0);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
      }
      const int index = buttonAt(pt);
      if (index >= 0 && buttons_[static_cast<std::size_t>(index)].enabled()) {
        pressed_ = index;
        tracking_ = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!tracking_) return 0;
      tracking_ = false;
      ReleaseCapture();
      const int index = pressed_;
      pressed_ = -1;
      InvalidateRect(hwnd_, nullptr, FALSE);
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (index >= 0 && buttonAt(pt) == index) press(index);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (tracking_) {
        tracking_ = false;
        pressed_ = -1;
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    case SHCMBM_GETSUBMENU: {
      SoftKeyButton* b = byCommand(static_cast<int>(lParam));
      return reinterpret_cast<LRESULT>(b ? b->menu : nullptr);
    }
    case SHCMBM_SETSUBMENU: {
      SoftKeyButton* b = byCommand(static_cast<int>(wParam));
      if (b == nullptr) return 0;
      HMENU old = b->menu;
      b->menu = reinterpret_cast<HMENU>(lParam);
      if (b->menu != nullptr) b->style |= TBSTYLE_DROPDOWN;
      return reinterpret_cast<LRESULT>(old);
    }
    case SHCMBM_GETMENU:
      return reinterpret_cast<LRESULT>(menu_);
    case SHCMBM_OVERRIDEKEY: {
      const UINT vk = static_cast<UINT>(wParam) & 0xFF;
      const WORD mask = LOWORD(static_cast<DWORD_PTR>(lParam));
      const WORD flags = HIWORD(static_cast<DWORD_PTR>(lParam));
      const WORD now = static_cast<WORD>((overrideFlags(vk) & ~mask) | (flags & mask));
      if (now == 0) {
        overrides_.erase(vk);
      } else {
        overrides_[vk] = now;
      }
      SoftKeys::updateBackKey();
      return TRUE;
    }
    case SHCMBM_SETBKCOLOR:
      return TRUE;
    case TB_ENABLEBUTTON:
    case TB_ISBUTTONENABLED: {
      SoftKeyButton* b = byCommand(static_cast<int>(wParam));
      if (b == nullptr) return FALSE;
      if (message == TB_ISBUTTONENABLED) return b->enabled() ? TRUE : FALSE;
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) {
        b->state |= TBSTATE_ENABLED;
      } else {
        b->state &= static_cast<BYTE>(~TBSTATE_ENABLED);
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return TRUE;
    }
    case TB_GETBUTTONINFOW:
    case TB_SETBUTTONINFOW: {
      auto* info = reinterpret_cast<TBBUTTONINFOW*>(lParam);
      SoftKeyButton* b = byCommand(static_cast<int>(wParam));
      if (info == nullptr || b == nullptr) return -1;
      const int index = static_cast<int>(b - buttons_.data());
      if (message == TB_GETBUTTONINFOW) {
        if (info->dwMask & TBIF_STATE) info->fsState = b->state;
        if (info->dwMask & TBIF_STYLE) info->fsStyle = b->style;
        if (info->dwMask & TBIF_COMMAND) info->idCommand = static_cast<int>(b->command);
        if ((info->dwMask & TBIF_TEXT) && info->pszText != nullptr && info->cchText > 0) {
          const int n = std::min(static_cast<int>(b->text.size()), info->cchText - 1);
          std::copy_n(b->text.data(), n, info->pszText);
          info->pszText[n] = 0;
        }
        return index;
      }
      if (info->dwMask & TBIF_STATE) b->state = info->fsState;
      if (info->dwMask & TBIF_STYLE) b->style = info->fsStyle;
      if (info->dwMask & TBIF_COMMAND) b->command = static_cast<UINT>(info->idCommand);
      if ((info->dwMask & TBIF_TEXT) && info->pszText != nullptr) b->text = info->pszText;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return TRUE;
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void MenuBar::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  controls::fillSysColor(hdc, rc, COLOR_ACTIVECAPTION);
  controls::drawLine(hdc, 0, 0, rc.right, 0, GetSysColor(COLOR_3DDKSHADOW));
  HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
  for (int i = 0; i < static_cast<int>(std::min<std::size_t>(buttons_.size(), 2)); ++i) {
    const SoftKeyButton& b = buttons_[static_cast<std::size_t>(i)];
    RECT r = buttonRect(i);
    r.top += 1;
    if (i == pressed_) controls::fillSysColor(hdc, r, COLOR_HIGHLIGHT);
    const COLORREF color = b.enabled() ? GetSysColor(COLOR_CAPTIONTEXT) : GetSysColor(COLOR_INACTIVECAPTION);
    drawText(hdc, b.text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, color);
  }
  if (!pocketPc() && buttons_.size() > 1) {
    const int x = rc.right / 2;
    const int inset = rc.bottom / 4;
    controls::drawLine(hdc, x, inset, x, rc.bottom - inset, GetSysColor(COLOR_INACTIVECAPTIONTEXT));
  }
  if (sipButton_) {
    // The input-panel button: a small keyboard, lit while the panel is up.
    RECT s = sipRect();
    SIPINFO info{};
    info.cbSize = sizeof(info);
    SHSipInfo(SPI_GETSIPINFO, 0, &info, 0);
    if (info.fdwFlags & SIPF_ON)
      controls::fillSysColor(hdc, RECT{s.left, s.top + 1, s.right, s.bottom}, COLOR_HIGHLIGHT);
    const int k = controls::uiScale();
    const int w = 18 * k;
    const int h = 11 * k;
    RECT kb{s.left + (s.right - s.left - w) / 2, s.top + (s.bottom - s.top - h) / 2, 0, 0};
    kb.right = kb.left + w;
    kb.bottom = kb.top + h;
    const COLORREF white = GetSysColor(COLOR_CAPTIONTEXT);
    controls::frameRect(hdc, kb, white);
    for (int row = 0; row < 2; ++row) {
      for (int col = 0; col < 5; ++col) {
        const int x = kb.left + 2 * k + col * 3 * k;
        const int y = kb.top + 2 * k + row * 3 * k;
        RECT key{x, y, x + 2 * k, y + 2 * k};
        controls::fillSysColor(hdc, key, COLOR_CAPTIONTEXT);
      }
    }
    controls::drawLine(hdc, kb.left + 4 * k, kb.bottom - 3 * k, kb.right - 4 * k, kb.bottom - 3 * k, white);
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

}  // namespace platform::shell
