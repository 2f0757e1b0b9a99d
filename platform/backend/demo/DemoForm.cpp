#include "platform/backend/demo/DemoForm.h"

#include <algorithm>
#include <string>

#include "platform/base/ResourceTable.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinButton.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/sys/SysParams.h"

namespace platform::demo {
namespace {

// The form's soft keys, as the program keeps its own: a menubar resource and its strings.
constexpr UINT kMenuBar = 9000;
constexpr UINT kDoneText = 9001;
constexpr UINT kCancelText = 9002;
constexpr int kLineStep = 14;  // pixels a scroll-bar arrow moves the form

void registerMenuBar() {
  ResourceTable& table = ResourceTable::instance();
  if (table.findMenuBar(kMenuBar) != nullptr) return;
  table.addString(kDoneText, u"Done");
  table.addString(kCancelText, u"Cancel");
  MenuBarButtonResource done;
  done.command = IDOK;
  done.stringId = kDoneText;
  MenuBarButtonResource cancel;
  cancel.command = IDCANCEL;
  cancel.stringId = kCancelText;
  MenuBarResource bar;
  bar.buttons = {done, cancel};
  table.addMenuBar(kMenuBar, bar);
}

std::vector<WORD> formTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  reinterpret_cast<DLGTEMPLATE*>(words.data())->style = WS_POPUP | WS_CAPTION;
  words.push_back(0);  // menu
  words.push_back(0);  // class
  for (char16_t c : std::u16string(u"Every control")) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

bool isClass(HWND hwnd, const char16_t* name) {
  WCHAR cls[32] = {};
  GetClassNameW(hwnd, cls, 32);
  return std::u16string(cls) == name;
}

SYSTEMTIME day(WORD year, WORD month, WORD dayOfMonth, WORD hour = 0, WORD minute = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = dayOfMonth;
  t.wHour = hour;
  t.wMinute = minute;
  return t;
}

}  // namespace

INT_PTR DemoForm::run(HWND owner) {
  registerMenuBar();
  DemoForm form;
  const std::vector<WORD> tpl = formTemplate();
  const INT_PTR result = DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), owner,
                                                 &DemoForm::dialogProc, reinterpret_cast<LPARAM>(&form));
  // The labels are gone with the page; their font goes after them.
  if (form.bold_ != nullptr) DeleteObject(form.bold_);
  return result;
}

INT_PTR CALLBACK DemoForm::dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    reinterpret_cast<DemoForm*>(lParam)->page_ = hwnd;
  }
  auto* form = reinterpret_cast<DemoForm*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return form != nullptr ? form->handle(message, wParam, lParam) : FALSE;
}

INT_PTR DemoForm::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      start();
      return FALSE;
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const WORD code = HIWORD(wParam);
      if (id == IDOK || id == IDCANCEL) {
        EndDialog(page_, id);
        return TRUE;
      }
      if (id == kHello && code == BN_CLICKED) {
        MessageBoxW(page_, u"Hello from the form.", u"Every control", MB_OK | MB_ICONINFORMATION);
        return TRUE;
      }
      if (code == EN_SETFOCUS || (code == LBN_SETFOCUS && isClass(reinterpret_cast<HWND>(lParam), u"LISTBOX")) ||
          code == CBN_SETFOCUS || code == BN_SETFOCUS) {
        keepInView(reinterpret_cast<HWND>(lParam));
      }
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header != nullptr && header->code == NM_SETFOCUS) keepInView(header->hwndFrom);
      return FALSE;
    }
    case WM_VSCROLL:
      if (lParam == 0) onVScroll(LOWORD(wParam));
      return TRUE;
    case WM_HOTKEY:
      if (HIWORD(static_cast<DWORD_PTR>(lParam)) == VK_ESCAPE) {
        onBack((LOWORD(static_cast<DWORD_PTR>(lParam)) & MOD_KEYUP) != 0);
        return TRUE;
      }
      return FALSE;
    case WM_SETTINGCHANGE:
      relayout();
      return FALSE;
    case WM_DESTROY:
      if (menuBar_ != nullptr && IsWindow(menuBar_)) DestroyWindow(menuBar_);
      menuBar_ = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

void DemoForm::start() {
  pocketPc_ = [] {
    WCHAR type[32] = {};
    return SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof(type), type, 0) && std::u16string(type) == u"PocketPC";
  }();
  unit_ = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) >= 480 ? 2 : 1;
  SHMENUBARINFO bar{};
  bar.cbSize = sizeof(bar);
  bar.hwndParent = page_;
  bar.nToolBarId = kMenuBar;
  if (SHCreateMenuBar(&bar)) menuBar_ = bar.hwndMB;
  SHINITDLGINFO init{};
  init.dwMask = SHIDIM_FLAGS;
  init.hDlg = page_;
  init.dwFlags =
      pocketPc_ ? (SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_WANTSCROLLBAR) : SHIDIF_SIZEDLGFULLSCREEN;
  SHInitDialog(&init);
  if (!pocketPc_) {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    bold_ = CreateFontIndirectW(&lf);
  }
  createRows();
  // Back deletes in a text field, as in the program's forms.
  if (menuBar_ != nullptr) {
    SendMessageW(menuBar_, SHCMBM_OVERRIDEKEY, VK_ESCAPE,
                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  }
  updateScrollRange();
  SetFocus(rows_.front().field);
}

int DemoForm::fieldLeft() const { return pocketPc_ ? 84 * unit_ : 5 * unit_; }

int DemoForm::fieldRight() const {
  RECT client{};
  GetClientRect(page_, &client);
  return client.right - (pocketPc_ ? 4 : 5) * unit_;
}

DemoForm::Row& DemoForm::addRow(const char16_t* label, const char16_t* cls, const char16_t* text, DWORD style, UINT id,
                                int lines) {
  const int u = unit_;
  Row row;
  const int fieldHeight = (pocketPc_ ? 20 : 26) * u;
  const int height = fieldHeight + (lines - 1) * (pocketPc_ ? 15 : 18) * u;
  int fieldTop = nextTop_;
  if (pocketPc_) {
    if (*label != 0) {
      row.label = CreateWindowExW(0, u"STATIC", label, WS_CHILD | WS_VISIBLE | SS_RIGHT, 4 * u, nextTop_ + 3 * u,
                                  76 * u, 16 * u, page_, nullptr, nullptr, nullptr);
    }
    nextTop_ += height + 3 * u;
  } else {
    if (*label != 0) {
      row.label = CreateWindowExW(0, u"STATIC", label, WS_CHILD | WS_VISIBLE, 5 * u, nextTop_, fieldRight() - 5 * u,
                                  26 * u, page_, nullptr, nullptr, nullptr);
      fieldTop += 27 * u;
    }
    nextTop_ = fieldTop + height + 6 * u;
  }
  // A combo box's height holds its dropped list too.
  const bool combo = std::u16string(cls) == WC_COMBOBOXW;
  row.field = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, fieldLeft(), fieldTop,
                              fieldRight() - fieldLeft(), combo ? 6 * height : height, page_,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  // The Smartphone's labels are bold.
  if (row.label != nullptr && bold_ != nullptr)
    SendMessageW(row.label, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
  rows_.push_back(row);
  return rows_.back();
}

void DemoForm::attachUpDown(Row& row, DWORD style, UINT id) {
  row.upDown = CreateWindowExW(0, UPDOWN_CLASSW, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, page_,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  SendMessageW(row.upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(row.field), 0);
}

void DemoForm::createRows() {
  nextTop_ = (pocketPc_ ? 4 : 5) * unit_;
  addRow(u"Name:", WC_EDITW, u"Ada Lovelace", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, kName);
  addRow(u"Password:", WC_EDITW, u"secret", WS_TABSTOP | WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL, kPassword);

  Row& age = addRow(u"Age:", WC_EDITW, u"", WS_TABSTOP | WS_BORDER | ES_NUMBER, kAge);
  attachUpDown(age, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, kAgeSpin);
  SendMessageW(age.upDown, UDM_SETRANGE32, 0, 120);
  SendMessageW(age.upDown, UDM_SETPOS32, 0, 36);

  if (pocketPc_) {
    addRow(u"Notes:", WC_EDITW, u"Likes tea.\r\nBorrowed the blue umbrella.",
           WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, kNotes, 3);
  } else {
    Row& notes = addRow(u"Notes:", WC_EDITW, u"Likes tea. Borrowed the blue umbrella.",
                        WS_TABSTOP | WS_BORDER | ES_MULTILINE | ES_AUTOHSCROLL, kNotes);
    attachUpDown(notes, UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_EXPANDABLE | UDS_NOSCROLL, kNotesExpand);
  }

  const char16_t* colours[] = {u"Red", u"Orange", u"Yellow", u"Green", u"Blue", u"Indigo", u"Violet"};
  Row& colour = pocketPc_ ? addRow(u"Colour:", WC_LISTBOXW, u"",
                                   WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, kColour, 4)
                          : addRow(u"Colour:", WC_LISTBOXW, u"", WS_TABSTOP | LBS_NOINTEGRALHEIGHT, kColour);
  for (const char16_t* c : colours) SendMessageW(colour.field, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c));
  SendMessageW(colour.field, LB_SETCURSEL, 4, 0);
  if (!pocketPc_) {
    attachUpDown(colour, UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE,
                 kColourSpin);
  }

  Row& size = addRow(u"Size:", WC_COMBOBOXW, u"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kSize);
  SendMessageW(size.field, WM_SETREDRAW, FALSE, 0);
  for (const char16_t* s : {u"Small", u"Medium", u"Large", u"Extra large"}) {
    SendMessageW(size.field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  SendMessageW(size.field, WM_SETREDRAW, TRUE, 0);
  SendMessageW(size.field, CB_SETCURSEL, 1, 0);

  const DWORD none = DTS_SHOWNONE | (pocketPc_ ? DTS_NONEBUTTON : 0);
  Row& birthday = addRow(u"Birthday:", DATETIMEPICK_CLASSW, u"", WS_TABSTOP, kBirthday);
  SYSTEMTIME t = day(1990, 12, 10, 12);
  SendMessageW(birthday.field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
  Row& returned = addRow(u"Returned:", DATETIMEPICK_CLASSW, u"", WS_TABSTOP | none, kReturned);
  SendMessageW(returned.field, DTM_SETSYSTEMTIME, GDT_NONE, 0);
  Row& alarm = addRow(u"Alarm:", DATETIMEPICK_CLASSW, u"", WS_TABSTOP | 0x0008, kAlarm);
  SendMessageW(alarm.field, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(u"HH:mm"));
  t = day(2025, 1, 15, 7, 30);
  SendMessageW(alarm.field, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
  Row& reminder = addRow(u"Reminder:", DATETIMEPICK_CLASSW, u"", WS_TABSTOP | 0x0008 | none, kReminder);
  SendMessageW(reminder.field, DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(u"HH:mm"));
  SendMessageW(reminder.field, DTM_SETSYSTEMTIME, GDT_NONE, 0);

  Row& remind = addRow(u"", WC_BUTTONW, u"Remind me", WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, kRemindMe);
  SendMessageW(remind.field, BM_SETCHECK, BST_CHECKED, 0);
  addRow(u"", WC_BUTTONW, u"Overdue only", WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY, kOverdueOnly);
  addRow(u"", WC_BUTTONW, u"Say hello", WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY, kHello);
}

void DemoForm::relayout() {
  SHINITDLGINFO init{};
  init.dwMask = SHIDIM_FLAGS;
  init.hDlg = page_;
  init.dwFlags = SHIDIF_SIZEDLGFULLSCREEN | (pocketPc_ ? SHIDIF_WANTSCROLLBAR : 0);
  SHInitDialog(&init);
  const int left = fieldLeft();
  const int right = fieldRight();
  for (const Row& row : rows_) {
    RECT r{};
    GetWindowRect(row.field, &r);
    MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
    MoveWindow(row.field, left, r.top, right - left, r.bottom - r.top, TRUE);
    if (row.label != nullptr && !pocketPc_) {
      GetWindowRect(row.label, &r);
      MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
      MoveWindow(row.label, left, r.top, right - left, r.bottom - r.top, TRUE);
    }
    // Told its buddy again, an up-down takes its place beside the widened field.
    if (row.upDown != nullptr) SendMessageW(row.upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(row.field), 0);
  }
  updateScrollRange();
  InvalidateRect(page_, nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Pocket PC scrolling

void DemoForm::updateScrollRange() {
  if (!pocketPc_) return;
  RECT client{};
  GetClientRect(page_, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMin = 0;
  si.nMax = std::max(nextTop_ - 1, 0);
  si.nPage = static_cast<UINT>(client.bottom);
  SetScrollInfo(page_, SB_VERT, &si, TRUE);
  scrollTo(scroll_);
}

void DemoForm::scrollTo(int position) {
  RECT client{};
  GetClientRect(page_, &client);
  const int target = std::clamp(position, 0, std::max(nextTop_ - static_cast<int>(client.bottom), 0));
  if (target != scroll_) {
    ScrollWindowEx(page_, 0, scroll_ - target, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    scroll_ = target;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  si.nPos = scroll_;
  SetScrollInfo(page_, SB_VERT, &si, TRUE);
}

void DemoForm::onVScroll(int code) {
  RECT client{};
  GetClientRect(page_, &client);
  const int page = client.bottom;
  switch (code) {
    case SB_LINEUP:
      scrollTo(scroll_ - kLineStep * unit_);
      break;
    case SB_LINEDOWN:
      scrollTo(scroll_ + kLineStep * unit_);
      break;
    case SB_PAGEUP:
      scrollTo(scroll_ - page);
      break;
    case SB_PAGEDOWN:
      scrollTo(scroll_ + page);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(page_, SB_VERT, &si)) scrollTo(si.nTrackPos);
      break;
    }
    case SB_TOP:
      scrollTo(0);
      break;
    case SB_BOTTOM:
      scrollTo(nextTop_);
      break;
    default:
      break;
  }
}

// A field that takes the focus below or above the visible part comes into view with its label.
void DemoForm::keepInView(HWND control) {
  if (!pocketPc_ || control == nullptr) return;
  RECT client{};
  GetClientRect(page_, &client);
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, page_, reinterpret_cast<POINT*>(&r), 2);
  const int margin = 4 * unit_;
  if (r.bottom + margin > client.bottom) {
    scrollTo(scroll_ + r.bottom + margin - client.bottom);
  } else if (r.top - margin < 0) {
    scrollTo(scroll_ + r.top - margin);
  }
}

void DemoForm::onBack(bool keyUp) {
  HWND focus = GetFocus();
  if (focus != nullptr && isClass(focus, WC_EDITW) && !(GetWindowLongW(focus, GWL_STYLE) & ES_READONLY)) {
    SHSendBackToFocusWindow(WM_HOTKEY, 0, MAKELPARAM(keyUp ? MOD_KEYUP : 0, VK_ESCAPE));
    return;
  }
  if (keyUp) PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
}

}  // namespace platform::demo
