#include "platform/controls/UpDown.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "platform/base/DeviceConfig.h"
#include "platform/controls/ArrowGlyph.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/controls/FieldExpander.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/WinBase.h"

namespace platform::controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 500;
constexpr UINT kRepeatMs = 100;

// The buddies whose procedure an up-down put in front of theirs. An entry outlives its up-down
// while someone else has subclassed the buddy over it: it then only passes messages on.
struct BuddyHook {
  WNDPROC next = nullptr;
  HWND upDown = nullptr;
};

std::unordered_map<HWND, BuddyHook>& buddyHooks() {
  static std::unordered_map<HWND, BuddyHook> table;
  return table;
}

std::u16string classOf(HWND hwnd) {
  WCHAR name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

std::u16string textOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

bool equalCase(const std::u16string& a, const char16_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i] != 0; ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return i == a.size() && b[i] == 0;
}

RECT rectInParent(HWND hwnd, HWND parent) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND topLevelOf(HWND hwnd) {
  HWND top = hwnd;
  while (top != nullptr && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
  return top;
}

// The text of a label as a title: no mnemonic marks, no closing colon.
std::u16string asTitle(std::u16string label) {
  std::u16string out;
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == u'&' && i + 1 < label.size()) ++i;
    out += label[i];
  }
  while (!out.empty() && (out.back() == u' ' || out.back() == u':')) out.pop_back();
  return out;
}

// A number in the buddy's text: decimal with an optional sign and grouping marks, or hexadecimal
// with an optional 0x. False when anything else is there.
bool parseNumber(const std::u16string& text, int base, long long& value) {
  std::size_t i = 0;
  const auto skipSpaces = [&] {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  };
  skipSpaces();
  bool negative = false;
  if (base == 10 && i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (base == 16 && i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) i += 2;
  value = 0;
  int digits = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    int digit = -1;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (base == 16 && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (base == 16 && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else if (base == 10 && digits > 0 && (c == u',' || c == u'\'' || c == u'\u00A0' || c == u'\u202F')) {
      continue;
    } else {
      break;
    }
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return false;
    ++digits;
  }
  skipSpaces();
  if (digits == 0 || i != text.size()) return false;
  if (negative) value = -value;
  return true;
}

// The device's arrows at the end of a Smartphone field: a narrow triangle per arrow.
void drawSideArrow(HDC hdc, const RECT& cell, bool right, COLORREF color) {
  const int height = cell.bottom - cell.top;
  const int size = std::clamp(height / 6, 3, scaled(5));
  const int cx = (cell.left + cell.right) / 2;
  const int cy = cell.top + height / 2;
  HBRUSH brush = CreateSolidBrush(color);
  for (int i = 0; i < size; ++i) {
    // Column i, counted from the point, is 2i+1 pixels tall.
    const int x = right ? cx + size / 2 - i : cx - size / 2 + i;
    RECT column{x, cy - i, x + 1, cy + i + 1};
    FillRect(hdc, &column, brush);
  }
  DeleteObject(brush);
}

}  // namespace

void UpDown::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, UPDOWN_CLASSW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &UpDown::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = UPDOWN_CLASSW;
  RegisterClassW(&wc);
}

UpDown* UpDown::fromWindow(HWND hwnd) { return ControlTable<UpDown>::find(hwnd); }

LRESULT CALLBACK UpDown::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<UpDown>::dispatch(hwnd, message, wParam, lParam);
}

DWORD UpDown::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
bool UpDown::smartphone() const { return DeviceConfig::current().edition == Edition::Smartphone; }
bool UpDown::expandable() const { return smartphone() && (style() & UDS_EXPANDABLE); }
bool UpDown::steps() const { return !(style() & UDS_NOSCROLL); }

LRESULT UpDown::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kRepeatTimer);
      if (GetCapture() == hwnd_) ReleaseCapture();
      unhookBuddy();
      buddy_ = nullptr;
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SIZE:
    case WM_ENABLE:
    case WM_STYLECHANGED:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam), lParam);
      return 0;
    case WM_KEYUP:
      onKeyUp(static_cast<UINT>(wParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      stopPress();
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) {
        POINT pt{};
        GetCursorPos(&pt);
        ScreenToClient(hwnd_, &pt);
        // The arrow repeats while the stylus stays on it.
        if (pressed_ != 0 && arrowAt(pt) == pressed_) spin(pressed_, pressedSince_);
        if (!dead_ && pressed_ != 0) SetTimer(hwnd_, kRepeatTimer, kRepeatMs, nullptr);
      }
      return 0;
    case UDM_SETBUDDY:
      return reinterpret_cast<LRESULT>(setBuddy(reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
      return reinterpret_cast<LRESULT>(buddy_);
    case UDM_SETRANGE:
      range_.setRange(static_cast<short>(HIWORD(static_cast<DWORD>(lParam))),
                      static_cast<short>(LOWORD(static_cast<DWORD>(lParam))));
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case UDM_SETRANGE32:
      range_.setRange(static_cast<int>(wParam), static_cast<int>(lParam));
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case UDM_GETRANGE:
      return MAKELONG(static_cast<WORD>(range_.upper()), static_cast<WORD>(range_.lower()));
    case UDM_GETRANGE32:
      if (auto* lower = reinterpret_cast<int*>(wParam)) *lower = range_.lower();
      if (auto* upper = reinterpret_cast<int*>(lParam)) *upper = range_.upper();
      return 0;
    case UDM_SETPOS:
      return static_cast<WORD>(setPosition(static_cast<short>(LOWORD(static_cast<DWORD>(lParam)))));
    case UDM_SETPOS32:
      return setPosition(static_cast<int>(lParam));
    case UDM_GETPOS:
      return positionReply(false, nullptr);
    case UDM_GETPOS32:
      return positionReply(true, reinterpret_cast<BOOL*>(lParam));
    case UDM_SETBASE: {
      if (wParam != 10 && wParam != 16) return 0;
      const int before = base_;
      base_ = static_cast<int>(wParam);
      return before;
    }
    case UDM_GETBASE:
      return base_;
    case UDM_SETACCEL: {
      const auto* given = reinterpret_cast<const UDACCEL*>(lParam);
      if (given == nullptr || wParam == 0) return FALSE;
      accels_.assign(given, given + wParam);
      return TRUE;
    }
    case UDM_GETACCEL: {
      auto* out = reinterpret_cast<UDACCEL*>(lParam);
      if (out != nullptr) std::copy_n(accels_.begin(), std::min<std::size_t>(wParam, accels_.size()), out);
      return static_cast<LRESULT>(accels_.size());
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void UpDown::onCreate(const CREATESTRUCTW& cs) {
  width_ = cs.cx;
  if (!(cs.style & UDS_AUTOBUDDY)) return;
  // The window created just before it, as a dialog template lists them.
  if (HWND previous = GetWindow(hwnd_, GW_HWNDPREV)) setBuddy(previous);
}

// ---------------------------------------------------------------------------------------------
// The buddy

HWND UpDown::setBuddy(HWND buddy) {
  const HWND before = buddy_;
  if (buddy != nullptr && !IsWindow(buddy)) buddy = nullptr;
  if (buddy != before) {
    unhookBuddy();
    buddy_ = buddy;
    aligned_ = false;
    hookBuddy();
  }
  align();
  InvalidateRect(hwnd_, nullptr, FALSE);
  return before;
}

UpDown::BuddyKind UpDown::buddyKind() const {
  if (buddy_ == nullptr || !IsWindow(buddy_)) return BuddyKind::None;
  const std::u16string cls = classOf(buddy_);
  if (equalCase(cls, WC_EDITW)) return BuddyKind::Edit;
  if (equalCase(cls, WC_LISTBOXW)) return BuddyKind::List;
  return BuddyKind::Other;
}

int UpDown::naturalWidth() const {
  if (smartphone()) return steps() ? scaled(16) : 0;
  if (width_ > 0) return width_;
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  return bar > 0 ? bar : scaled(13);
}

void UpDown::align() {
  const DWORD s = style();
  if (buddy_ == nullptr || !(s & (UDS_ALIGNLEFT | UDS_ALIGNRIGHT))) return;
  HWND parent = GetParent(hwnd_);
  RECT full = rectInParent(buddy_, parent);
  // The buddy as this control left it is still narrowed: align to its width before.
  if (aligned_ && EqualRect(&full, &buddyAfter_)) full = buddyBefore_;
  const int width = std::min(naturalWidth(), static_cast<int>(full.right - full.left));
  RECT buddy = full;
  RECT self = full;
  if (s & UDS_ALIGNLEFT) {
    self.right = full.left + width;
    buddy.left = self.right;
  } else {
    self.left = full.right - width;
    buddy.right = self.left;
  }
  // The buddy's parent may be another window than ours.
  RECT buddyOwn = buddy;
  MapWindowPoints(parent, GetParent(buddy_), reinterpret_cast<POINT*>(&buddyOwn), 2);
  SetWindowPos(buddy_, nullptr, buddyOwn.left, buddyOwn.top, buddyOwn.right - buddyOwn.left,
               buddyOwn.bottom - buddyOwn.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (dead_ || buddy_ == nullptr) return;
  SetWindowPos(hwnd_, nullptr, self.left, self.top, self.right - self.left, self.bottom - self.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  aligned_ = true;
  buddyBefore_ = full;
  buddyAfter_ = rectInParent(buddy_, parent);
}

void UpDown::hookBuddy() {
  if (buddy_ == nullptr) return;
  auto& hooks = buddyHooks();
  auto it = hooks.find(buddy_);
  if (it != hooks.end()) {
    // Our procedure is still in the buddy's chain from before: it serves again.
    it->second.upDown = hwnd_;
    return;
  }
  const auto next =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&buddyProc)));
  hooks[buddy_] = BuddyHook{next, hwnd_};
}

void UpDown::unhookBuddy() {
  if (buddy_ == nullptr) return;
  auto& hooks = buddyHooks();
  auto it = hooks.find(buddy_);
  if (it == hooks.end() || it->second.upDown != hwnd_) return;
  if (IsWindow(buddy_) && GetWindowLongPtrW(buddy_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&UpDown::buddyProc)) {
    SetWindowLongPtrW(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.next));
    hooks.erase(it);
  } else {
    // Another subclass sits on top of ours; ours stays in the chain and only passes messages on.
    it->second.upDown = nullptr;
  }
}

LRESULT CALLBACK UpDown::buddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& hooks = buddyHooks();
  auto it = hooks.find(hwnd);
  if (it == hooks.end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  const BuddyHook hook = it->second;
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcW(hook.next, hwnd, message, wParam, lParam);
    buddyHooks().erase(hwnd);
    if (UpDown* upDown = fromWindow(hook.upDown); upDown != nullptr && upDown->buddy_ == hwnd) {
      upDown->buddy_ = nullptr;
      upDown->aligned_ = false;
      InvalidateRect(upDown->hwnd_, nullptr, FALSE);
    }
    return result;
  }
  UpDown* upDown = fromWindow(hook.upDown);
  if (upDown != nullptr && upDown->buddy_ == hwnd) {
    LRESULT result = 0;
    // The up-down lives through the message even if its parent destroys it meanwhile.
    const HWND self = upDown->hwnd_;
    ++upDown->depth_;
    const bool handled = upDown->filterBuddyMessage(hook.next, message, wParam, lParam, result);
    --upDown->depth_;
    ControlTable<UpDown>::settle(self, *upDown);
    if (handled) return result;
  }
  return CallWindowProcW(hook.next, hwnd, message, wParam, lParam);
}

bool UpDown::filterBuddyMessage(WNDPROC next, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const HWND buddy = buddy_;
  switch (message) {
    case WM_GETDLGCODE: {
      result = CallWindowProcW(next, buddy, message, wParam, lParam);
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      if (dead_ || msg == nullptr || msg->message != WM_KEYDOWN) return true;
      const auto vk = static_cast<UINT>(msg->wParam);
      // On the Smartphone a spinner or an expandable field is one line of a form: Up and Down
      // belong to the form.
      if (smartphone() && (vk == VK_UP || vk == VK_DOWN) && (expandable() || buddyKind() == BuddyKind::List)) {
        result &= ~static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTALLKEYS);
      }
      if (spinDirection(vk) != 0) result |= DLGC_WANTARROWS;
      if (vk == VK_RETURN && expandable()) result |= DLGC_WANTMESSAGE;
      return true;
    }
    case WM_KEYDOWN:
      return onKeyDown(static_cast<UINT>(wParam), lParam);
    case WM_KEYUP:
      return onKeyUp(static_cast<UINT>(wParam));
    case WM_CHAR:
      if (swallowReturn_ && wParam == u'\r') {
        swallowReturn_ = false;
        return true;
      }
      return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETREDRAW:
    case LB_SETCURSEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case WM_LBUTTONDOWN:
      // What the arrows show follows the field's focus and the list's ends.
      result = CallWindowProcW(next, buddy, message, wParam, lParam);
      if (!dead_) InvalidateRect(hwnd_, nullptr, FALSE);
      return true;
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------------------------
// The position

UpDownRange UpDown::current() const {
  if (buddyKind() != BuddyKind::List) return range_;
  UpDownRange list;
  const int count = static_cast<int>(SendMessageW(buddy_, LB_GETCOUNT, 0, 0));
  list.setRange(0, std::max(count - 1, 0));
  list.setPosition(static_cast<int>(SendMessageW(buddy_, LB_GETCURSEL, 0, 0)));
  return list;
}

bool UpDown::readBuddy() {
  if (buddy_ == nullptr || !(style() & UDS_SETBUDDYINT) || buddyKind() == BuddyKind::List) return true;
  long long value = 0;
  if (!parseNumber(textOf(buddy_), base_, value)) return false;
  if (value < range_.least() || value > range_.most()) return false;
  range_.setPosition(static_cast<int>(value));
  return true;
}

std::u16string UpDown::formatted(int value) const {
  std::string digits;
  if (base_ == 16) {
    char buffer[16] = {};
    std::snprintf(buffer, sizeof(buffer), "0x%04X", static_cast<unsigned>(value));
    digits = buffer;
  } else {
    // The handheld's number fields take digits only, so the position goes in without grouping.
    digits = std::to_string(value);
  }
  return std::u16string(digits.begin(), digits.end());
}

void UpDown::writeBuddy(int position, bool byUser) {
  if (buddy_ == nullptr) return;
  if (buddyKind() == BuddyKind::List) {
    const HWND list = buddy_;
    if (SendMessageW(list, LB_GETCURSEL, 0, 0) == position) return;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(position), 0);
    HWND listParent = GetParent(list);
    if (byUser && listParent != nullptr) {
      SendMessageW(listParent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(list)), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    }
    return;
  }
  if (style() & UDS_SETBUDDYINT) SetWindowTextW(buddy_, formatted(position).c_str());
}

int UpDown::setPosition(int position) {
  if (buddyKind() == BuddyKind::List) {
    UpDownRange list = current();
    const int before = static_cast<int>(SendMessageW(buddy_, LB_GETCURSEL, 0, 0));
    if (SendMessageW(buddy_, LB_GETCOUNT, 0, 0) == 0) return before;
    list.setPosition(position);
    writeBuddy(list.position(), false);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return before;
  }
  const int before = range_.setPosition(position);
  writeBuddy(range_.position(), false);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return before;
}

LRESULT UpDown::positionReply(bool wide, BOOL* error) {
  const bool ok = readBuddy();
  const int position = current().position();
  if (wide) {
    if (error != nullptr) *error = ok ? FALSE : TRUE;
    return position;
  }
  return MAKELONG(static_cast<WORD>(position), ok ? 0 : 1);
}

// ---------------------------------------------------------------------------------------------
// Stepping and expanding

// +1 for the key of the up (or right) arrow, -1 for the other one, 0 for keys that do not step.
int UpDown::spinDirection(UINT vk) const {
  const DWORD s = style();
  if (!(s & UDS_ARROWKEYS) || !steps() || !IsWindowEnabled(hwnd_)) return 0;
  if (smartphone()) return vk == VK_RIGHT ? 1 : vk == VK_LEFT ? -1 : 0;
  return vk == VK_UP ? 1 : vk == VK_DOWN ? -1 : 0;
}

int UpDown::increment(DWORD heldSince) const {
  const DWORD seconds = (GetTickCount() - heldSince) / 1000;
  int step = 1;
  for (const UDACCEL& a : accels_) {
    if (a.nSec <= seconds) step = static_cast<int>(a.nInc);
  }
  return std::max(step, 1);
}

bool UpDown::spin(int direction, DWORD heldSince) {
  if (!steps() || !IsWindowEnabled(hwnd_)) return false;
  const bool list = buddyKind() == BuddyKind::List;
  const int count = list ? static_cast<int>(SendMessageW(buddy_, LB_GETCOUNT, 0, 0)) : 0;
  if (list && count <= 0) return false;
  readBuddy();
  const bool wrap = (style() & UDS_WRAP) != 0;
  NMUPDOWN nm{};
  if (list) {
    // With nothing chosen, the right arrow starts at the first item and the left at the last.
    const int selected = static_cast<int>(SendMessageW(buddy_, LB_GETCURSEL, 0, 0));
    nm.iPos = selected >= 0 ? selected : direction > 0 ? -1 : (wrap ? count : 0);
    nm.iDelta = direction;
  } else {
    nm.iPos = range_.position();
    nm.iDelta = range_.deltaFor(direction * increment(heldSince));
  }
  if (notify(UDN_DELTAPOS, nm) == 0 && !dead_) {
    if (list) {
      const int target = nm.iPos + nm.iDelta;
      const int position = target >= 0 && target < count ? target
                           : wrap                        ? ((target % count) + count) % count
                           : target < 0                  ? 0
                                                         : count - 1;
      writeBuddy(position, true);
    } else {
      const int before = range_.position();
      range_.setPosition(range_.stepped(nm.iDelta, wrap));
      if (range_.position() != before) writeBuddy(range_.position(), true);
    }
  }
  if (dead_) return true;
  notifyScroll(SB_THUMBPOSITION);
  if (!dead_) InvalidateRect(hwnd_, nullptr, FALSE);
  return true;
}

void UpDown::endSpin() { notifyScroll(SB_ENDSCROLL); }

void UpDown::expand() {
  if (!expandable() || expanding_ || buddy_ == nullptr || !IsWindowEnabled(hwnd_)) return;
  NMUPDOWN nm{};
  nm.iPos = current().position();
  if (notify(UDN_EXPANDING, nm) != 0 || dead_ || buddy_ == nullptr) return;
  const HWND field = buddy_;
  const bool hadFocus = GetFocus() == field;
  expanding_ = true;
  switch (buddyKind()) {
    case BuddyKind::Edit:
      expandText();
      break;
    case BuddyKind::List:
      expandList();
      break;
    default:
      break;
  }
  if (!dead_) expanding_ = false;
  // Back from the full screen, the field has the focus again even where no dialog keeps it.
  if (hadFocus && IsWindow(field) && GetFocus() != field && GetActiveWindow() == topLevelOf(field)) SetFocus(field);
}

void UpDown::expandText() {
  const HWND edit = buddy_;
  TextExpansion request;
  request.owner = topLevelOf(hwnd_);
  request.title = expansionTitle();
  request.text = textOf(edit);
  request.editStyle = static_cast<DWORD>(GetWindowLongW(edit, GWL_STYLE)) & (ES_NUMBER | ES_PASSWORD | ES_READONLY);
  request.limit = static_cast<int>(std::min<LRESULT>(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFF));
  const std::optional<std::u16string> edited = FieldExpander::editText(request);
  if (!edited || !IsWindow(edit) || (request.editStyle & ES_READONLY) || *edited == request.text) return;
  // As typed: the field's parent hears EN_UPDATE and EN_CHANGE, and Undo brings the old text back.
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(edited->c_str()));
}

void UpDown::expandList() {
  const HWND list = buddy_;
  ListExpansion request;
  request.owner = topLevelOf(hwnd_);
  request.title = expansionTitle();
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::u16string item(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, u'\0');
    const auto got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    request.items.push_back(std::move(item));
  }
  request.selected = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
  const int chosen = FieldExpander::pickItem(request);
  if (chosen < 0 || chosen >= count || chosen == request.selected || !IsWindow(list) ||
      SendMessageW(list, LB_GETCOUNT, 0, 0) != count) {
    return;
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  if (HWND listParent = GetParent(list)) {
    SendMessageW(listParent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(list)), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
}

std::u16string UpDown::expansionTitle() const {
  if (std::u16string own = textOf(hwnd_); !own.empty()) return own;
  // The field's label comes just before it; other up-downs in between do not count.
  for (HWND h = GetWindow(buddy_, GW_HWNDPREV); h != nullptr; h = GetWindow(h, GW_HWNDPREV)) {
    const std::u16string cls = classOf(h);
    if (equalCase(cls, UPDOWN_CLASSW)) continue;
    if (equalCase(cls, u"STATIC")) {
      std::u16string label = asTitle(textOf(h));
      if (!label.empty()) return label;
    }
    break;
  }
  return textOf(topLevelOf(hwnd_));
}

// ---------------------------------------------------------------------------------------------
// Input

int UpDown::arrowAt(POINT pt) const {
  RECT client{};
  GetClientRect(hwnd_, &client);
  return upDownArrowAt(client, smartphone() || (style() & UDS_HORZ), pt);
}

void UpDown::onLButtonDown(POINT pt) {
  if (!IsWindowEnabled(hwnd_)) return;
  // The buddy keeps the focus, as the field is what the user edits.
  HWND target = buddy_ != nullptr ? buddy_ : hwnd_;
  if (GetFocus() != target) SetFocus(target);
  if (dead_) return;
  if (!steps()) {
    expand();
    return;
  }
  const int arrow = arrowAt(pt);
  if (arrow == 0) return;
  pressed_ = arrow;
  pressedSince_ = GetTickCount();
  SetCapture(hwnd_);
  InvalidateRect(hwnd_, nullptr, FALSE);
  spin(arrow, pressedSince_);
  if (!dead_ && pressed_ != 0) SetTimer(hwnd_, kRepeatTimer, kFirstRepeatMs, nullptr);
}

void UpDown::stopPress() {
  if (pressed_ == 0) return;
  pressed_ = 0;
  KillTimer(hwnd_, kRepeatTimer);
  if (GetCapture() == hwnd_) ReleaseCapture();
  InvalidateRect(hwnd_, nullptr, FALSE);
  endSpin();
}

bool UpDown::onKeyDown(UINT vk, LPARAM lParam) {
  if (vk == VK_RETURN && expandable() && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
    swallowReturn_ = true;
    expand();
    return true;
  }
  const int direction = spinDirection(vk);
  if (direction == 0) return false;
  const bool repeat = (lParam & (1L << 30)) != 0;
  if (!repeat || spinKey_ != vk) keySince_ = GetTickCount();
  if (spin(direction, keySince_) && !dead_) spinKey_ = vk;
  return true;
}

bool UpDown::onKeyUp(UINT vk) {
  if (spinKey_ == 0 || vk != spinKey_) return false;
  spinKey_ = 0;
  endSpin();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Look and notifications

void UpDown::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (!IsRectEmpty(&client)) {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      const UpDownRange now = current();
      const bool wrap = (style() & UDS_WRAP) != 0;
      const bool list = buddyKind() == BuddyKind::List;
      const bool chosen = !list || SendMessageW(buddy_, LB_GETCURSEL, 0, 0) >= 0;
      UpDownLook look;
      look.smartphone = smartphone();
      look.horizontal = look.smartphone || (style() & UDS_HORZ);
      look.enabled = IsWindowEnabled(hwnd_) && (buddy_ == nullptr || IsWindowEnabled(buddy_));
      const HWND focus = GetFocus();
      look.focused = focus != nullptr && (focus == hwnd_ || focus == buddy_);
      look.pressed = pressed_;
      const bool up = now.upper() >= now.lower();
      const bool atMost = now.position() >= now.most() && chosen;
      const bool atLeast = now.position() <= now.least() && chosen;
      look.canIncrease = wrap || !(up ? atMost : atLeast);
      look.canDecrease = wrap || !(up ? atLeast : atMost);
      drawUpDown(buffer.dc(), client, look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

void UpDown::notifyScroll(int code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return;
  const UINT message = (style() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL;
  SendMessageW(parent, message, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(current().position())),
               reinterpret_cast<LPARAM>(hwnd_));
}

LRESULT UpDown::notify(UINT code, NMUPDOWN& nm) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return 0;
  nm.hdr.hwndFrom = hwnd_;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  nm.hdr.code = code;
  return SendMessageW(parent, WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

int upDownArrowAt(const RECT& client, bool horizontal, POINT pt) {
  if (!PtInRect(&client, pt)) return 0;
  if (horizontal) return pt.x < (client.left + client.right) / 2 ? -1 : 1;
  return pt.y < (client.top + client.bottom) / 2 ? 1 : -1;
}

void drawUpDown(HDC hdc, const RECT& client, const UpDownLook& look) {
  const int midX = (client.left + client.right) / 2;
  const int midY = (client.top + client.bottom) / 2;
  // The decreasing arrow first: left, or the lower one.
  const RECT cells[2] = {
      look.horizontal ? RECT{client.left, client.top, midX, client.bottom}
                      : RECT{client.left, midY, client.right, client.bottom},
      look.horizontal ? RECT{midX, client.top, client.right, client.bottom}
                      : RECT{client.left, client.top, client.right, midY},
  };
  if (look.smartphone) {
    fillSysColor(hdc, client, COLOR_WINDOW);
    for (int i = 0; i < 2; ++i) {
      const bool can = i == 0 ? look.canDecrease : look.canIncrease;
      const int index = !look.enabled || !can ? COLOR_3DLIGHT : look.focused ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW;
      drawSideArrow(hdc, cells[i], i == 1, GetSysColor(index));
    }
    return;
  }
  const COLORREF edge = GetSysColor(COLOR_BTNSHADOW);
  for (int i = 0; i < 2; ++i) {
    const RECT& cell = cells[i];
    const bool pressed = look.pressed == (i == 0 ? -1 : 1);
    fillSysColor(hdc, cell, pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    frameRect(hdc, cell, edge);
    const bool can = i == 0 ? look.canDecrease : look.canIncrease;
    const int ink = !look.enabled || !can ? COLOR_GRAYTEXT : pressed ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT;
    const ArrowDirection direction = look.horizontal ? (i == 0 ? ArrowDirection::Left : ArrowDirection::Right)
                                                     : (i == 0 ? ArrowDirection::Down : ArrowDirection::Up);
    drawArrowGlyph(hdc, cell, direction, GetSysColor(ink));
  }
}

}  // namespace platform::controls
