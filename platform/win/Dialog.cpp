// Dialogs from in-memory templates, the dialog manager and modal loops.
//
// Rules kept here:
// - A dialog is a window of class "#32770" (or the template's class) whose procedure is
//   DefDlgProc; the dialog procedure sees messages from WM_INITDIALOG on (the controls exist by
//   then). Returning TRUE from WM_INITDIALOG gives the focus to wParam, the first WS_TABSTOP
//   control. Template units are dialog units of the system font.
// - A modal dialog disables its owner before WM_INITDIALOG and runs its own loop on the same
//   queue until EndDialog; EndDialog enables the owner again and hides the dialog, which is
//   destroyed when its loop returns, so activation goes back to the owner. Modal loops nest.
//   WM_QUIT ends every modal loop and is posted again for the loop outside.
// - The dialog manager (IsDialogMessage) asks the focus control WM_GETDLGCODE first:
//   DLGC_WANTALLKEYS takes every key; otherwise Tab and Shift+Tab move between WS_TABSTOP
//   controls (unless DLGC_WANTTAB), arrows move within a WS_GROUP group (unless
//   DLGC_WANTARROWS), Enter sends the default command (IDOK) and Escape IDCANCEL.
// - On the Smartphone, Up and Down move between WS_TABSTOP controls as Tab does (unless the focus
//   control wants them), and a dialog whose controls reach below it moves them up and down so that
//   the focus control stays in view, with the labels just above it: such forms have no scroll bar.
#include <algorithm>
#include <climits>
#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/base/WinError.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/win/WindowManager.h"

using platform::inputState;
using platform::Window;
using platform::windowTree;

namespace {

constexpr const char16_t* kDialogClass = u"#32770";
constexpr UINT kEmSetSel = 0x00B1;
constexpr WORD kBnClicked = 0;

void ensureDialogClass() {
  if (windowTree().findClass(kDialogClass)) return;
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS | CS_SAVEBITS;
  wc.lpfnWndProc = DefDlgProcW;
  wc.lpszClassName = kDialogClass;
  RegisterClassW(&wc);
}

// Reads one WORD-aligned template array: 0x0000 (none), 0xFFFF + ordinal, or a string.
const WORD* readArray(const WORD* p, std::u16string& text, WORD& ordinal) {
  text.clear();
  ordinal = 0;
  if (*p == 0x0000) return p + 1;
  if (*p == 0xFFFF) {
    ordinal = p[1];
    return p + 2;
  }
  while (*p) text.push_back(static_cast<char16_t>(*p++));
  return p + 1;
}

const WORD* alignDword(const WORD* p) {
  auto v = reinterpret_cast<UINT_PTR>(p);
  v = (v + 3) & ~static_cast<UINT_PTR>(3);
  return reinterpret_cast<const WORD*>(v);
}

const char16_t* controlClass(WORD ordinal) {
  switch (ordinal) {
    case 0x80:
      return u"BUTTON";
    case 0x81:
      return u"EDIT";
    case 0x82:
      return u"STATIC";
    case 0x83:
      return u"LISTBOX";
    case 0x84:
      return u"SCROLLBAR";
    case 0x85:
      return u"COMBOBOX";
    default:
      return nullptr;
  }
}

RECT dialogUnitsToPixels(int x, int y, int cx, int cy) {
  const LONG base = GetDialogBaseUnits();
  const int bx = LOWORD(static_cast<DWORD>(base));
  const int by = HIWORD(static_cast<DWORD>(base));
  const int left = x * bx / 4;
  const int top = y * by / 8;
  return RECT{left, top, left + cx * bx / 4, top + cy * by / 8};
}

bool tabCandidate(HWND h) {
  Window* w = windowTree().find(h);
  return w && (w->style & WS_VISIBLE) && !(w->style & WS_DISABLED);
}

HWND firstTabStop(HWND dialog) {
  Window* d = windowTree().find(dialog);
  if (!d) return nullptr;
  for (HWND c : d->children) {
    Window* cw = windowTree().find(c);
    if (cw && (cw->style & WS_TABSTOP) && tabCandidate(c)) return c;
  }
  return nullptr;
}

bool smartphone() { return platform::DeviceConfig::current().edition == platform::Edition::Smartphone; }

// The child of the dialog that holds `h` (h itself when it is one).
HWND dialogChildOf(HWND dialog, HWND h) {
  for (Window* w = windowTree().find(h); w != nullptr; w = windowTree().find(w->parent)) {
    if (w->parent == dialog) return w->handle;
    if (!(w->style & WS_CHILD)) break;
  }
  return nullptr;
}

// Scrolls a Smartphone dialog's controls so that the focus control is in view, together with the
// controls that are no tab stops just above it (its label), when they fit.
void keepFocusInView(HWND dialog) {
  Window* d = windowTree().find(dialog);
  const HWND focus = inputState().focus();
  if (!d || !d->dialog || !focus) return;
  const HWND target = dialogChildOf(dialog, focus);
  if (!target) return;
  RECT client{};
  GetClientRect(dialog, &client);
  const int height = client.bottom - client.top;
  if (height <= 0) return;
  const auto& kids = d->children;
  const auto at = std::find(kids.begin(), kids.end(), target);
  if (at == kids.end()) return;
  // The controls' extent as laid out; the space above the first one is kept as a margin.
  const int scrolled = d->dialog->scrolled;
  int contentTop = INT_MAX;
  int contentBottom = 0;
  for (HWND c : kids) {
    Window* cw = windowTree().find(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    contentTop = std::min(contentTop, static_cast<int>(cw->rect.top) + scrolled);
    contentBottom = std::max(contentBottom, static_cast<int>(cw->rect.bottom) + scrolled);
  }
  const int margin = std::clamp(contentTop, 0, height / 8);
  RECT want = windowTree().find(target)->rect;
  for (auto it = at; it != kids.begin();) {
    Window* cw = windowTree().find(*--it);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    if (cw->style & WS_TABSTOP) break;
    const int top = std::min(static_cast<int>(want.top), static_cast<int>(cw->rect.top));
    if (want.bottom - top + 2 * margin > height) break;
    want.top = top;
  }
  if (want.bottom - want.top + 2 * margin <= height) {
    want.top -= margin;
    want.bottom += margin;
  }
  int next = scrolled;
  if (want.bottom - want.top > height || want.top < client.top) {
    next = scrolled + want.top - client.top;
  } else if (want.bottom > client.bottom) {
    next = scrolled + want.bottom - client.bottom;
  }
  // Never past the first control's place, nor further than the last control needs.
  next = std::clamp(next, 0, std::max(contentBottom + margin - client.bottom, 0));
  if (next == scrolled) return;
  ScrollWindowEx(dialog, 0, scrolled - next, nullptr, nullptr, nullptr, nullptr, SW_SCROLLCHILDREN);
  if (!(d = windowTree().find(dialog)) || !d->dialog) return;
  d->dialog->scrolled = next;
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND createDialog(HINSTANCE instance, const DLGTEMPLATE* tpl, HWND owner, DLGPROC proc, LPARAM param, bool modal) {
  if (!tpl) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (owner && !windowTree().get(owner)) return nullptr;
  // The extended template (version 1, signature 0xFFFF) is not what the program builds.
  if (tpl->style == 0xFFFF0001u) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  ensureDialogClass();
  const WORD* p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(tpl) + sizeof(DLGTEMPLATE));
  std::u16string menu, className, title;
  WORD menuId = 0, classAtom = 0, titleId = 0;
  p = readArray(p, menu, menuId);
  p = readArray(p, className, classAtom);
  p = readArray(p, title, titleId);
  if (tpl->style & DS_SETFONT) {
    ++p;  // point size; the handheld's dialogs use the system font
    std::u16string face;
    WORD none = 0;
    p = readArray(p, face, none);
  }
  const DWORD style = tpl->style;
  RECT client = dialogUnitsToPixels(tpl->x, tpl->y, tpl->cx, tpl->cy);
  // The template gives the client size; the window adds its frame.
  Window probe;
  probe.style = style;
  probe.exStyle = tpl->dwExtendedStyle;
  const int border = platform::frameBorder(probe);
  const int caption = platform::frameCaption(probe);
  const int width = client.right - client.left + 2 * border;
  const int height = client.bottom - client.top + 2 * border + caption;
  int x = client.left;
  int y = client.top;
  if (style & DS_CENTER) {
    x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  } else if (owner && !(style & DS_ABSALIGN)) {
    POINT o{0, 0};
    ClientToScreen(owner, &o);
    x += o.x;
    y += o.y;
  }
  const LPCWSTR cls = className.empty() ? kDialogClass : className.c_str();
  const HWND hwnd = CreateWindowExW(tpl->dwExtendedStyle, cls, title.c_str(), style & ~WS_VISIBLE, x, y, width, height,
                                    owner, nullptr, instance, nullptr);
  if (!hwnd) return nullptr;
  Window* w = windowTree().find(hwnd);
  w->dialog = std::make_unique<platform::DialogState>();
  w->dialog->modal = modal;
  for (WORD i = 0; i < tpl->cdit; ++i) {
    p = alignDword(p);
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(p);
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + sizeof(DLGITEMTEMPLATE));
    std::u16string itemClass, itemText;
    WORD itemAtom = 0, textId = 0;
    p = readArray(p, itemClass, itemAtom);
    p = readArray(p, itemText, textId);
    const WORD extraBytes = *p++;
    const void* creationData = extraBytes ? static_cast<const void*>(p) : nullptr;
    p = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(p) + extraBytes);
    const char16_t* itemCls = itemClass.empty() ? controlClass(itemAtom) : itemClass.c_str();
    const RECT r = dialogUnitsToPixels(item->x, item->y, item->cx, item->cy);
    const HWND ctl = itemCls ? CreateWindowExW(item->dwExtendedStyle, itemCls, itemText.c_str(), item->style | WS_CHILD,
                                               r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd,
                                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item->id)), instance,
                                               const_cast<void*>(creationData))
                             : nullptr;
    if (!ctl && !(style & DS_NOFAILCREATE)) {
      DestroyWindow(hwnd);
      return nullptr;
    }
  }
  if (!(w = windowTree().find(hwnd))) return nullptr;
  if (modal && owner) {
    const HWND top = windowTree().topLevelOf(owner);
    if (IsWindowEnabled(top)) {
      EnableWindow(top, FALSE);
      w->dialog->disabledOwner = top;
    }
  }
  w->dialog->proc = proc;
  const HWND first = firstTabStop(hwnd);
  const bool setFocus =
      SendMessageW(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) != 0 && windowTree().find(hwnd);
  if (!(w = windowTree().find(hwnd))) return nullptr;
  if (setFocus) w->dialog->savedFocus = first ? first : nullptr;
  if ((style & WS_VISIBLE) || modal) {
    ShowWindow(hwnd, SW_SHOW);
    if (setFocus && first && windowTree().find(first) && inputState().active() == hwnd) SetFocus(first);
    if (smartphone() && windowTree().find(hwnd)) keepFocusInView(hwnd);
  }
  return hwnd;
}

bool returnsDirectly(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
         message == WM_INITDIALOG;
}

void restoreFocus(HWND dialog) {
  Window* d = windowTree().find(dialog);
  if (!d || !d->dialog) return;
  HWND target = d->dialog->savedFocus;
  if (!target || !windowTree().find(target) || !IsChild(dialog, target)) target = firstTabStop(dialog);
  if (target) SetFocus(target);
}
}  // namespace

LRESULT DefDlgProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = windowTree().find(hwnd);
  if (!w) return 0;
  if (w->dialog && w->dialog->proc) {
    w->dialog->msgResult = 0;
    const INT_PTR r = w->dialog->proc(hwnd, message, wParam, lParam);
    w = windowTree().find(hwnd);
    if (!w) return returnsDirectly(message) ? r : 0;
    if (r) return returnsDirectly(message) ? r : (w->dialog ? w->dialog->msgResult : 0);
  }
  switch (message) {
    case WM_CLOSE:
      PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, kBnClicked),
                   reinterpret_cast<LPARAM>(windowTree().find(hwnd) ? GetDlgItem(hwnd, IDCANCEL) : nullptr));
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
      if (!brush) brush = GetSysColorBrush(COLOR_STATIC);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, brush);
      return 1;
    }
    case WM_ACTIVATE:
      if (!w->dialog) break;
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (inputState().focus() && IsChild(hwnd, inputState().focus())) w->dialog->savedFocus = inputState().focus();
      } else {
        restoreFocus(hwnd);
      }
      return 0;
    case WM_SETFOCUS:
      if (w->dialog) restoreFocus(hwnd);
      return 0;
    case DM_GETDEFID:
      return MAKELONG(IDOK, DC_HASDEFID);
    default:
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tpl, HWND owner, DLGPROC proc, LPARAM param) {
  return createDialog(instance, tpl, owner, proc, param, false);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW tpl, HWND owner, DLGPROC proc, LPARAM param) {
  const HWND hwnd = createDialog(instance, tpl, owner, proc, param, true);
  if (!hwnd) return -1;
  MSG msg;
  for (;;) {
    Window* w = windowTree().find(hwnd);
    if (!w || !w->dialog || w->dialog->ended) break;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got < 0) break;
    if (!IsDialogMessageW(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  Window* w = windowTree().find(hwnd);
  INT_PTR result = 0;
  if (w && w->dialog) {
    result = w->dialog->ended ? w->dialog->result : 0;
    if (w->dialog->disabledOwner) {
      EnableWindow(w->dialog->disabledOwner, TRUE);
      w->dialog->disabledOwner = nullptr;
    }
    DestroyWindow(hwnd);
  }
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  Window* w = windowTree().get(dialog);
  if (!w) return FALSE;
  if (!w->dialog) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  w->dialog->ended = true;
  w->dialog->result = result;
  if (const HWND owner = w->dialog->disabledOwner) {
    w->dialog->disabledOwner = nullptr;
    EnableWindow(owner, TRUE);
  }
  if (!(w = windowTree().find(dialog))) return TRUE;
  if (w->dialog->modal) {
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PostMessageW(nullptr, WM_NULL, 0, 0);  // wakes the modal loop
  return TRUE;
}

namespace {

BOOL dialogMessage(HWND dialog, LPMSG msg) {
  const HWND focus = inputState().focus();
  if (msg->message == WM_KEYDOWN) {
    const LRESULT code =
        msg->hwnd ? SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) : 0;
    if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
      switch (msg->wParam) {
        case VK_TAB:
          if (code & DLGC_WANTTAB) break;
          if (HWND next = GetNextDlgTabItem(dialog, focus, GetKeyState(VK_SHIFT) < 0)) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(next, kEmSetSel, 0, -1);
          }
          return TRUE;
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN:
          if (code & DLGC_WANTARROWS) break;
          if (smartphone() && (msg->wParam == VK_UP || msg->wParam == VK_DOWN)) {
            if (HWND next = GetNextDlgTabItem(dialog, focus, msg->wParam == VK_UP)) {
              if (next != focus) SetFocus(next);
            }
            return TRUE;
          }
          if (focus && IsChild(dialog, focus)) {
            if (HWND next = GetNextDlgGroupItem(dialog, focus, msg->wParam == VK_LEFT || msg->wParam == VK_UP)) {
              SetFocus(next);
            }
          }
          return TRUE;
        case VK_ESCAPE:
          SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, kBnClicked),
                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
          return TRUE;
        case VK_RETURN: {
          // A push button with the focus is the one Enter presses; otherwise the default one.
          const LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
          WORD id = HIWORD(static_cast<DWORD>(def)) == DC_HASDEFID ? LOWORD(static_cast<DWORD>(def)) : IDOK;
          if (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) id = static_cast<WORD>(GetDlgCtrlID(msg->hwnd));
          SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, kBnClicked),
                       reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
          return TRUE;
        }
        default:
          break;
      }
    }
  } else if (msg->message == WM_CHAR) {
    const LRESULT code =
        msg->hwnd ? SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg)) : 0;
    if (!(code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) && msg->wParam == u'\t' &&
        !(code & DLGC_WANTTAB)) {
      return TRUE;
    }
  }
  TranslateMessage(msg);
  DispatchMessageW(msg);
  return TRUE;
}

}  // namespace

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (!msg || !windowTree().find(dialog)) return FALSE;
  if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
  const HWND focus = inputState().focus();
  const BOOL handled = dialogMessage(dialog, msg);
  // Wherever the focus went (the dialog manager, a control, the program), it stays in view.
  if (smartphone() && inputState().focus() != focus && windowTree().find(dialog)) keepFocusInView(dialog);
  return handled;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = windowTree().get(dialog);
  if (!d) return nullptr;
  std::vector<HWND> stops;
  for (HWND c : d->children) {
    Window* cw = windowTree().find(c);
    if (cw && (cw->style & WS_TABSTOP) && tabCandidate(c)) stops.push_back(c);
  }
  if (stops.empty()) return control;
  auto it = std::find(stops.begin(), stops.end(), control);
  if (it == stops.end()) return previous ? stops.back() : stops.front();
  const size_t i = static_cast<size_t>(it - stops.begin());
  const size_t n = stops.size();
  return stops[previous ? (i + n - 1) % n : (i + 1) % n];
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = windowTree().get(dialog);
  if (!d) return nullptr;
  const auto& kids = d->children;
  auto it = std::find(kids.begin(), kids.end(), control);
  if (it == kids.end()) return nullptr;
  // The group runs from the WS_GROUP control at or before `control` to the next WS_GROUP.
  size_t start = static_cast<size_t>(it - kids.begin());
  while (start > 0) {
    Window* cw = windowTree().find(kids[start]);
    if (cw && (cw->style & WS_GROUP)) break;
    --start;
  }
  size_t end = start + 1;
  while (end < kids.size()) {
    Window* cw = windowTree().find(kids[end]);
    if (cw && (cw->style & WS_GROUP)) break;
    ++end;
  }
  std::vector<HWND> group;
  for (size_t i = start; i < end; ++i)
    if (tabCandidate(kids[i]) || kids[i] == control) group.push_back(kids[i]);
  auto pos = std::find(group.begin(), group.end(), control);
  const size_t i = static_cast<size_t>(pos - group.begin());
  const size_t n = group.size();
  return group[previous ? (i + n - 1) % n : (i + 1) % n];
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int maxCount) {
  const HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (buffer && maxCount > 0) buffer[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, buffer, maxCount));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  std::string digits = isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  const std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  WCHAR buffer[32];
  if (!GetDlgItemTextW(dialog, id, buffer, 32)) return 0;
  const WCHAR* p = buffer;
  while (*p == u' ') ++p;
  bool negative = false;
  if (isSigned && (*p == u'-' || *p == u'+')) negative = *p++ == u'-';
  if (*p < u'0' || *p > u'9') return 0;
  long long v = 0;
  while (*p >= u'0' && *p <= u'9') {
    v = v * 10 + (*p++ - u'0');
    if (v > 0xFFFFFFFFLL) return 0;  // overflow is a failed translation
  }
  while (*p == u' ') ++p;
  if (*p) return 0;
  if (negative) v = -v;
  if (isSigned && (v > 0x7FFFFFFFLL || v < -0x80000000LL)) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

// Dialog base units from the system font; the handheld's font is about 12 pixels high at 240.
LONG GetDialogBaseUnits() {
  int bx = 6, by = 13;
  const platform::gdi::MemoryDc dc(nullptr);
  if (dc) {
    const platform::gdi::SelectedObject font(dc.dc(), GetStockObject(SYSTEM_FONT));
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc.dc(), &tm) && tm.tmAveCharWidth > 0 && tm.tmHeight > 0) {
      bx = tm.tmAveCharWidth;
      by = tm.tmHeight;
    }
  }
  return MAKELONG(static_cast<WORD>(bx), static_cast<WORD>(by));
}

BOOL MapDialogRect(HWND dialog, LPRECT rect) {
  if (!windowTree().get(dialog)) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT topLeft = dialogUnitsToPixels(rect->left, rect->top, 0, 0);
  const RECT bottomRight = dialogUnitsToPixels(rect->right, rect->bottom, 0, 0);
  *rect = RECT{topLeft.left, topLeft.top, bottomRight.left, bottomRight.top};
  return TRUE;
}
