#include "forms/FormDialog.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "device/PrivateMessages.h"
#include "forms/ExpandButton.h"
#include "forms/PlatformEdition.h"
#include "forms/SeparatorLine.h"
#include "platform/controls/WinButton.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinUpDown.h"
#include "platform/shell/AygShell.h"

namespace pellucard {

namespace {

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// Class names compare without regard to case.
bool hasClass(HWND hwnd, std::u16string_view wanted) {
  WCHAR name[32] = {};
  if (hwnd == nullptr || GetClassNameW(hwnd, name, 32) == 0) return false;
  const std::u16string_view cls(name);
  return cls.size() == wanted.size() && std::equal(cls.begin(), cls.end(), wanted.begin(),
                                                   [](char16_t a, char16_t b) { return lower(a) == lower(b); });
}

// Back goes back to the focused control when it is one of these: it deletes a character.
bool isEditClass(HWND hwnd) { return hasClass(hwnd, u"EDIT") || hasClass(hwnd, u"CAPEDIT"); }

std::vector<HWND> childrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
  return children;
}

// The template: a visible popup with a caption and the title, no controls, no size, no menu,
// no class; the shell sizes it.
std::vector<WORD> dialogTemplate(const std::u16string& title) {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  DLGTEMPLATE head{};
  head.style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (char16_t c : title) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

}  // namespace

FormDialog::FormDialog(UINT menuBarId, bool scrolling) : menuBarId_(menuBarId), scrolling_(scrolling) {}

// A form opened without a loop may go before its window: the window goes with it.
FormDialog::~FormDialog() {
  if (const HWND dialog = unsubclassWindow()) DestroyWindow(dialog);
}

const platform::MessageMap<FormDialog>& FormDialog::messageMap() {
  using M = FormDialog;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_ACTIVATE>(&M::onActivate)
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_SETFONT>(&M::onSetFont)
                              .on<WM_GETFONT>(&M::onGetFont)
                              .on<WM_COMMAND>(&M::onCommand)
                              .on<WM_HOTKEY>(&M::onHotKey)
                              .on<WM_SETTINGCHANGE>(&M::onSettingChange)
                              .on<WM_VSCROLL>(&M::onVScroll)
                              .on(UM_RECOMPUTESCROLL, &M::onRecomputeScroll);
  return map;
}

// ---------------------------------------------------------------------------------------------
// Running

INT_PTR FormDialog::run(HWND parent, const std::u16string& title) {
  if (hwnd() != nullptr) return IDCANCEL;
  modal_ = true;
  result_ = 0;
  const std::vector<WORD> words = dialogTemplate(title);
  const INT_PTR answer = DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()), parent,
                                                 &FormDialog::dialogProc, reinterpret_cast<LPARAM>(this));
  // A loop ended by WM_QUIT, or a dialog that never opened, stored nothing.
  result_ = answer == IDOK ? IDOK : IDCANCEL;
  return result_;
}

HWND FormDialog::open(HWND parent, const std::u16string& title) {
  if (hwnd() != nullptr) return nullptr;
  modal_ = false;
  result_ = 0;
  const std::vector<WORD> words = dialogTemplate(title);
  return CreateDialogIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(words.data()), parent,
                                    &FormDialog::dialogProc, reinterpret_cast<LPARAM>(this));
}

void FormDialog::end(INT_PTR result) {
  result_ = result;
  if (hwnd() == nullptr) return;
  if (modal_) {
    EndDialog(hwnd(), result);
  } else {
    DestroyWindow(hwnd());
  }
}

// The dialog procedure only binds the object: from WM_INITDIALOG on the object's message map
// sees every message first, and what it leaves goes on to the dialog's default procedure.
INT_PTR CALLBACK FormDialog::dialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* self = reinterpret_cast<FormDialog*>(lParam);
  if (self == nullptr || !self->subclassWindow(hwnd)) return FALSE;
  self->initialize();
  return TRUE;
}

void FormDialog::initialize() {
  pocketPc_ = onPocketPc();
  screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  createMenuBar();
  if (plainFont_ == nullptr) plainFont_ = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  boldFont_ = FontHandle::derived(plainFont_, FW_BOLD, 0);

  SHINITDLGINFO info{};
  info.dwMask = SHIDIM_FLAGS;
  info.hDlg = hwnd();
  if (!pocketPc_) {
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
  } else {
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | (scrolling_ ? SHIDIF_WANTSCROLLBAR : 0);
  }
  SHInitDialog(&info);
  // The Smartphone's dialog manager keeps the focused field in view without a scroll bar.
  if (scrolling_ && pocketPc_) SetWindowLongW(hwnd(), GWL_STYLE, GetWindowLongW(hwnd(), GWL_STYLE) | WS_VSCROLL);
  SetWindowLongW(hwnd(), GWL_EXSTYLE, GetWindowLongW(hwnd(), GWL_EXSTYLE) & ~static_cast<LONG>(WS_EX_DLGMODALFRAME));
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  createContent(hwnd());
  if (hwnd() == nullptr) return;
  prepareChildren(nullptr);
  if (scrolling_) SendMessageW(hwnd(), UM_RECOMPUTESCROLL, TRUE, TRUE);
  SetForegroundWindow(hwnd());
}

// ---------------------------------------------------------------------------------------------
// Menubar and fonts

void FormDialog::createMenuBar() {
  SHMENUBARINFO info{};
  info.cbSize = sizeof info;
  info.hwndParent = hwnd();
  info.nToolBarId = menuBarId_;
  menuBar_ = SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
  if (menuBar_ != nullptr) onMenuBarCreated();
}

void FormDialog::destroyMenuBar() {
  const HWND bar = std::exchange(menuBar_, nullptr);
  if (bar != nullptr && IsWindow(bar)) DestroyWindow(bar);
}

// Rows and headings bring fonts of their own; the dialog's font goes to the children without
// one, and to those that had the dialog's earlier font.
void FormDialog::prepareChildren(HFONT previousFont) {
  bool hasEdit = false;
  for (HWND child : childrenOf(hwnd())) {
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (font == nullptr || (font == previousFont && font != plainFont_)) {
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(plainFont_), TRUE);
    }
    hasEdit = hasEdit || isEditClass(child);
  }
  if ((hasEdit || wantsBackKey()) && menuBar_ != nullptr) {
    const WORD both = SHMBOF_NODEFAULT | SHMBOF_NOTIFY;
    SendMessageW(menuBar_, SHCMBM_OVERRIDEKEY, VK_ESCAPE, MAKELPARAM(both, both));
  }
}

void FormDialog::onActivate(UINT state, HWND) {
  if (state != WA_INACTIVE) {
    destroyMenuBar();
    createMenuBar();
    prepareChildren(plainFont_);
  }
  passOn();
}

void FormDialog::onDestroy() {
  menuBar_ = nullptr;
  boldFont_.reset();
  plainFont_ = nullptr;
  passOn();
}

void FormDialog::onSetFont(HFONT font, bool) {
  const HFONT previous = plainFont_;
  plainFont_ = font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  boldFont_ = FontHandle::derived(plainFont_, FW_BOLD, 0);
  if (previous != nullptr) prepareChildren(previous);
}

// ---------------------------------------------------------------------------------------------
// Commands and keys

void FormDialog::onDone() { end(IDOK); }

void FormDialog::onCancel() { end(IDCANCEL); }

bool FormDialog::onFormCommand(WORD, WORD, HWND) { return false; }

void FormDialog::onCommand(WORD id, WORD code, HWND from) {
  if (code == BN_CLICKED && id == IDOK) {
    onDone();
    return;
  }
  if (code == BN_CLICKED && id == IDCANCEL) {
    onCancel();
    return;
  }
  if ((code == EN_SETFOCUS || code == CBN_SETFOCUS) && from != nullptr && IsChild(hwnd(), from)) bringIntoView(from);
  if (!onFormCommand(id, code, from)) passOn();
}

LRESULT FormDialog::onHotKey(int id, UINT modifiers, UINT vk) {
  if (vk != VK_ESCAPE) {
    passOn();
    return 0;
  }
  const HWND focus = GetFocus();
  const bool up = (modifiers & MOD_KEYUP) != 0;
  if (focus != nullptr && IsChild(hwnd(), focus) && isEditClass(focus)) {
    SHSendBackToFocusWindow(WM_HOTKEY, static_cast<WPARAM>(id), currentMessage()->lParam);
  } else if (!up) {
    // A list or calendar dropped from a field closes first; the form stays.
    backClosedDropDown_ = closeDropDown(focus);
  } else if (std::exchange(backClosedDropDown_, false)) {
    // The press that closed a drop-down ends here.
  } else {
    PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  return TRUE;
}

bool FormDialog::closeDropDown(HWND focus) {
  if (focus == nullptr || !IsChild(hwnd(), focus)) return false;
  const bool dropped = (hasClass(focus, WC_COMBOBOXW) && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != 0) ||
                       (hasClass(focus, DATETIMEPICK_CLASSW) && DateTime_GetMonthCal(focus) != nullptr);
  if (dropped) SendMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
  return dropped;
}

// ---------------------------------------------------------------------------------------------
// Fitting the screen

void FormDialog::onSettingChange(UINT flag, LPCWSTR) {
  const UINT rotation = pocketPc_ ? SETTINGCHANGE_RESET : SPI_SETWORKAREA;
  if (flag == rotation && GetSystemMetrics(SM_CXSCREEN) != screenWidth_) {
    screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
    relayout();
  } else if (pocketPc_ && flag == SPI_SETSIPINFO) {
    fitToInputPanel();
  }
  passOn();
}

void FormDialog::relayout() {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  if (frame.right - frame.left != width) {
    const int newHeight = std::max(static_cast<int>(frame.bottom - frame.top) + height - width, 0);
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, width, newHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const std::vector<HWND> children = childrenOf(hwnd());
  if (!children.empty()) {
    auto clientRectOf = [&](HWND child) {
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
      return r;
    };
    const int left = clientRectOf(children.front()).left;
    const int bar = scrolling_ ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    std::vector<HWND> buddied;
    for (HWND child : children) {
      if (child == menuBar_) continue;
      auto* base = platform::WindowBase::fromHandle(child);
      if (hasClass(child, UPDOWN_CLASSW) || dynamic_cast<ExpandButton*>(base) != nullptr) {
        buddied.push_back(child);
        continue;
      }
      const RECT r = clientRectOf(child);
      int right = r.right;
      if (!pocketPc_) {
        right = r.left + width - 2 * left - bar;
      } else if (!hasClass(child, u"STATIC") || dynamic_cast<SeparatorLine*>(base) != nullptr) {
        // Labels keep their size; the line under a field goes with the field.
        right = width - left - bar;
      }
      if (right != r.right) {
        SetWindowPos(child, nullptr, 0, 0, std::max(right - static_cast<int>(r.left), 0), r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
    }
    // Told their buddies again once these have their new width, they align to them.
    for (HWND child : buddied) {
      const LRESULT buddy = SendMessageW(child, UDM_GETBUDDY, 0, 0);
      SendMessageW(child, UDM_SETBUDDY, static_cast<WPARAM>(buddy), 0);
    }
  }

  if (scrolling_) recomputeScrollRange(true, true);
  if (GetActiveWindow() == hwnd()) {
    destroyMenuBar();
    createMenuBar();
    prepareChildren(plainFont_);
  }
  onLayoutChanged();
  InvalidateRect(hwnd(), nullptr, TRUE);
  UpdateWindow(hwnd());
}

void FormDialog::fitToInputPanel() {
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  if (!SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0)) return;
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  int bottom = GetSystemMetrics(SM_CYSCREEN);
  RECT bar{};
  if (sip.fdwFlags & SIPF_ON) {
    bottom = sip.rcVisibleDesktop.bottom;
  } else if (menuBar_ != nullptr && GetWindowRect(menuBar_, &bar)) {
    bottom = bar.top;
  }
  SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
               std::max(bottom - static_cast<int>(frame.top), 0), SWP_NOZORDER | SWP_NOACTIVATE);
  if (scrolling_) recomputeScrollRange(false, true);
  onLayoutChanged();
}

// ---------------------------------------------------------------------------------------------
// Scrolling (Pocket PC)

LRESULT FormDialog::onRecomputeScroll(WPARAM toTop, LPARAM setBar) {
  recomputeScrollRange(toTop != 0, setBar != 0);
  return 0;
}

// The extent is measured in content coordinates (the client's plus the scroll position), so it
// comes out the same wherever the content is scrolled to.
void FormDialog::recomputeScrollRange(bool toTop, bool setBar) {
  if (!pocketPc_ || !scrolling_ || hwnd() == nullptr) return;
  POINT origin{0, 0};
  ClientToScreen(hwnd(), &origin);
  int top = 0;
  int bottom = 0;
  for (HWND child : childrenOf(hwnd())) {
    // The dialog itself may not be shown yet: a child counts by its own style.
    if (child == menuBar_ || !(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    top = std::min(top, static_cast<int>(r.top) - origin.y + position_);
    bottom = std::max(bottom, static_cast<int>(r.bottom) - origin.y + position_);
  }
  RECT client{};
  GetClientRect(hwnd(), &client);
  rangeMax_ = bottom - top;
  page_ = client.bottom - client.top;
  if (setBar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = rangeMax_;
    info.nPage = static_cast<UINT>(std::max(page_, 0));
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
    GetClientRect(hwnd(), &client);
    page_ = client.bottom - client.top;
  }
  scrollTo(toTop ? 0 : position_);
}

void FormDialog::onVScroll(UINT code, int position, HWND) {
  if (!pocketPc_ || !scrolling_) {
    passOn();
    return;
  }
  switch (code) {
    case SB_LINEUP:
      scrollTo(position_ - kScrollLine);
      break;
    case SB_LINEDOWN:
      scrollTo(position_ + kScrollLine);
      break;
    case SB_PAGEUP:
      scrollTo(position_ - page_);
      break;
    case SB_PAGEDOWN:
      scrollTo(position_ + page_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      scrollTo(position);
      break;
    case SB_TOP:
      scrollTo(0);
      break;
    case SB_BOTTOM:
      scrollTo(rangeMax_ - page_);
      break;
    default:
      break;
  }
}

void FormDialog::scrollTo(int target) {
  const int last = std::max(rangeMax_ - page_, 0);
  target = std::clamp(target, 0, last);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = target;
  SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
  const int delta = position_ - target;
  if (delta == 0) return;
  position_ = target;
  ScrollWindowEx(hwnd(), 0, delta, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  UpdateWindow(hwnd());
}

void FormDialog::bringIntoView(HWND field) {
  if (!pocketPc_ || !scrolling_) return;
  RECT r{};
  RECT client{};
  GetWindowRect(field, &r);
  GetClientRect(hwnd(), &client);
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (r.bottom > client.bottom) {
    SendMessageW(hwnd(), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  } else if (r.top < client.top) {
    SendMessageW(hwnd(), WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
  }
}

}  // namespace pellucard
