#include "platform/controls/ComboBox.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/base/DeviceConfig.h"
#include "platform/controls/ArrowGlyph.h"
#include "platform/controls/ComboDropList.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/sys/SysParams.h"

namespace platform::controls {
namespace {

bool smartphone() { return DeviceConfig::current().edition == Edition::Smartphone; }
bool altDown() { return GetKeyState(VK_MENU) < 0; }

int copyText(const std::u16string& text, LPWSTR buffer) {
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<int>(text.size());
}

}  // namespace

void ComboBox::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_COMBOBOXW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &ComboBox::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_COMBOBOXW;
  RegisterClassW(&wc);
  ComboDropList::registerClass();
}

ComboBox* ComboBox::fromWindow(HWND hwnd) { return ControlTable<ComboBox>::find(hwnd); }

LRESULT CALLBACK ComboBox::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<ComboBox>::dispatch(hwnd, message, wParam, lParam);
}

DWORD ComboBox::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }

LRESULT ComboBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= CB_ADDSTRING && message <= CB_SETDROPPEDWIDTH) return handleComboMessage(message, wParam, lParam);
  switch (message) {
    case WM_NCCREATE: {
      // Scroll bars are the list's and the frame is drawn with the field: the window has neither.
      const DWORD own = style();
      listScrollBar_ = (own & WS_VSCROLL) != 0;
      SetWindowLongW(hwnd_, GWL_STYLE, static_cast<LONG>(own & ~(WS_VSCROLL | WS_HSCROLL | WS_BORDER)));
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    case WM_CREATE:
      if (lParam != 0) onCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
      return 0;
    case WM_DESTROY:
      onDestroy();
      return 0;
    case WM_SIZE:
      // A new height is the field and the list together, as at creation; the field keeps its own.
      if (!resizing_) {
        const int height = HIWORD(static_cast<DWORD_PTR>(lParam));
        if (height != fieldHeight_) {
          listHeight_ = std::max(height - fieldHeight_, 0);
          keepFieldHeight();
        }
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      // Hidden or moved away from under its list, the field closes it.
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      const UINT still = SWP_NOMOVE | SWP_NOSIZE;
      if (pos != nullptr && ((pos->flags & SWP_HIDEWINDOW) || (pos->flags & still) != still)) close(false, true);
      return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      measure();
      keepFieldHeight();
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SETREDRAW:
      DefWindowProcW(hwnd_, message, wParam, lParam);
      redraw_ = wParam != 0;
      if (redraw_) contentChanged();
      return 0;
    case WM_ENABLE:
      if (wParam == 0) close(false, true);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(hwnd_, nullptr, FALSE);
      notify(CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      close(false, true);
      if (dead_) return 0;
      InvalidateRect(hwnd_, nullptr, FALSE);
      notify(CBN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return dialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      onChar(static_cast<WCHAR>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      if (dead_ || GetFocus() != hwnd_) return 0;
      if (dropped_) {
        close(false, true);
      } else {
        open(true);
      }
      return 0;
    case WM_GETTEXT:
      return selectedText(static_cast<int>(wParam), reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: {
      const int i = rows_.selected();
      return i >= 0 ? static_cast<LRESULT>(rows_.items().at(i).text.size()) : 0;
    }
    case WM_SETTEXT: {
      // The field shows items only: a text selects the item that has it.
      const auto* text = reinterpret_cast<LPCWSTR>(lParam);
      const int found = rows_.items().findExact(-1, text != nullptr ? text : u"");
      if (found < 0) return CB_ERR;
      setCurSel(found);
      return TRUE;
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT ComboBox::handleComboMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int i = static_cast<int>(wParam);
  const ListBoxItems& items = rows_.items();
  switch (message) {
    case CB_ADDSTRING:
      return addString(reinterpret_cast<LPCWSTR>(lParam));
    case CB_INSERTSTRING:
      return insertString(i, reinterpret_cast<LPCWSTR>(lParam));
    case CB_DELETESTRING:
      if (!rows_.erase(i)) return CB_ERR;
      contentChanged();
      return rows_.count();
    case CB_RESETCONTENT:
      rows_.clear();
      contentChanged();
      return CB_OKAY;
    case CB_GETCOUNT:
      return rows_.count();
    case CB_GETLBTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!items.valid(i) || buffer == nullptr) return CB_ERR;
      return copyText(items.at(i).text, buffer);
    }
    case CB_GETLBTEXTLEN:
      return items.valid(i) ? static_cast<LRESULT>(items.at(i).text.size()) : CB_ERR;
    case CB_SETITEMDATA:
      if (!items.valid(i)) return CB_ERR;
      rows_.items().setData(i, lParam);
      return TRUE;
    case CB_GETITEMDATA:
      return items.valid(i) ? items.at(i).data : CB_ERR;
    case CB_GETCURSEL:
      return rows_.selected();
    case CB_SETCURSEL:
      return setCurSel(i);
    case CB_FINDSTRINGEXACT:
    case CB_FINDSTRING:
    case CB_SELECTSTRING: {
      const auto* text = reinterpret_cast<LPCWSTR>(lParam);
      if (text == nullptr) return CB_ERR;
      const int found = message == CB_FINDSTRINGEXACT ? items.findExact(i, text) : items.findPrefix(i, text);
      if (found < 0) return CB_ERR;
      if (message == CB_SELECTSTRING) setCurSel(found);
      return found;
    }
    case CB_SHOWDROPDOWN:
      if (wParam != 0) {
        open(false);
      } else {
        close(false, false);
      }
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return dropped_ ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect == nullptr) return CB_ERR;
      *rect = dropRect();
      return TRUE;
    }
    case CB_SETITEMHEIGHT: {
      const int height = LOWORD(static_cast<DWORD_PTR>(lParam));
      if (height <= 0 || height > 255) return CB_ERR;
      if (i == -1) {
        fixedFieldHeight_ = true;
        fieldHeight_ = height;
        keepFieldHeight();
      } else {
        fixedItemHeight_ = true;
        rows_.setItemHeight(height);
        contentChanged();
      }
      InvalidateRect(hwnd_, nullptr, FALSE);
      return CB_OKAY;
    }
    case CB_GETITEMHEIGHT:
      return i == -1 ? fieldHeight_ : rows_.itemHeight();
    case CB_SETEXTENDEDUI:
      extendedUi_ = wParam != 0;
      return CB_OKAY;
    case CB_GETEXTENDEDUI:
      return extendedUi_ ? TRUE : FALSE;
    case CB_GETTOPINDEX:
      return rows_.top();
    case CB_SETTOPINDEX: {
      if (!items.valid(i)) return CB_ERR;
      ComboDropList* list = ComboDropList::fromWindow(list_);
      rows_.setTop(i, list != nullptr && dropped_ ? list->clientHeight() : listHeight_);
      if (list != nullptr && dropped_) InvalidateRect(list_, nullptr, FALSE);
      return CB_OKAY;
    }
    case CB_GETDROPPEDWIDTH: {
      RECT rc{};
      GetWindowRect(hwnd_, &rc);
      return std::max(droppedWidth_, static_cast<int>(rc.right - rc.left));
    }
    case CB_SETDROPPEDWIDTH:
      if (i < 0) return CB_ERR;
      droppedWidth_ = i;
      return std::max(droppedWidth_, static_cast<int>(dropRect().right - dropRect().left));
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void ComboBox::onCreate(const CREATESTRUCTW& cs) {
  measure();
  listHeight_ = std::max(cs.cy - fieldHeight_, 0);
  list_ = ComboDropList::create(hwnd_, listScrollBar_);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  keepFieldHeight();
}

void ComboBox::onDestroy() {
  if (dropped_) {
    dropped_ = false;
    if (IsWindow(list_)) {
      if (ComboDropList* list = ComboDropList::fromWindow(list_)) list->close();
    }
  }
  if (IsWindow(list_)) DestroyWindow(list_);
  list_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Items and selection

int ComboBox::addString(LPCWSTR text) {
  std::u16string value = text != nullptr ? std::u16string(text) : std::u16string();
  const int at = (style() & CBS_SORT) ? rows_.items().sortedPosition(value) : -1;
  const int index = rows_.insert(at, std::move(value));
  contentChanged();
  return index;
}

int ComboBox::insertString(int at, LPCWSTR text) {
  const int index = rows_.insert(at, text != nullptr ? std::u16string(text) : std::u16string());
  if (index < 0) return CB_ERR;
  contentChanged();
  return index;
}

// An index out of range is refused and leaves the selection as it is; -1 clears it.
LRESULT ComboBox::setCurSel(int i) {
  if (i != -1 && !rows_.items().valid(i)) return CB_ERR;
  select(i, false);
  return i == -1 ? CB_ERR : i;
}

void ComboBox::select(int i, bool byUser) {
  const int old = rows_.selected();
  rows_.setSelected(i);
  if (dropped_) {
    if (ComboDropList* list = ComboDropList::fromWindow(list_)) list->refresh();
  }
  if (i == old) return;
  if (redraw_) InvalidateRect(hwnd_, nullptr, FALSE);
  if (byUser) notify(CBN_SELCHANGE);
}

void ComboBox::contentChanged() {
  if (!redraw_ || dead_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  if (dropped_) {
    if (ComboDropList* list = ComboDropList::fromWindow(list_)) list->refresh();
  }
}

LRESULT ComboBox::selectedText(int size, LPWSTR buffer) const {
  if (buffer == nullptr || size <= 0) return 0;
  const int i = rows_.selected();
  const std::u16string empty;
  const std::u16string& text = i >= 0 ? rows_.items().at(i).text : empty;
  const int n = std::min(static_cast<int>(text.size()), size - 1);
  std::copy(text.begin(), text.begin() + n, buffer);
  buffer[n] = 0;
  return n;
}

void ComboBox::choose(int i) {
  if (rows_.items().valid(i)) close(true, false, i);
}

void ComboBox::cancel() { close(false, true); }

// ---------------------------------------------------------------------------------------------
// The field and the list

void ComboBox::measure() {
  const int row = fontHeight(font_ != nullptr ? font_ : systemFont()) + scaled(2);
  if (!fixedItemHeight_) rows_.setItemHeight(row);
  if (!fixedFieldHeight_) fieldHeight_ = row + 2;
}

void ComboBox::keepFieldHeight() {
  RECT rc{};
  GetWindowRect(hwnd_, &rc);
  if (rc.bottom - rc.top == fieldHeight_) return;
  resizing_ = true;
  SetWindowPos(hwnd_, nullptr, 0, 0, rc.right - rc.left, fieldHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  resizing_ = false;
}

// Below the field when the list fits there or has more room there than above; cut to whole
// rows and to the work area, and never taller than its items.
RECT ComboBox::dropRect() const {
  RECT field{};
  GetWindowRect(hwnd_, &field);
  const int border = GetSystemMetrics(SM_CYBORDER);
  const int row = rows_.itemHeight();
  const bool integral = !(style() & CBS_NOINTEGRALHEIGHT);
  auto fit = [&](int height) {
    const int rows = std::max((height - 2 * border) / row, 1);
    return integral ? 2 * border + rows * row : std::max(height, 2 * border + row);
  };
  const int wanted = 2 * border + std::max(rows_.count(), 1) * row;
  int height = fit(std::min(std::max(listHeight_, 2 * border + row), wanted));

  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int below = work.bottom - field.bottom;
  const int above = field.top - work.top;
  int top = field.bottom;
  if (height > below && above > below) {
    height = std::min(height, fit(above));
    top = field.top - height;
  } else if (height > below) {
    height = std::min(height, fit(below));
  }
  const int width = std::max(static_cast<int>(field.right - field.left), droppedWidth_);
  int left = field.left;
  if (left + width > work.right) left = std::max(static_cast<int>(work.right) - width, static_cast<int>(work.left));
  return RECT{left, top, left + width, top + height};
}

void ComboBox::open(bool byStylus) {
  if (dropped_ || !IsWindowEnabled(hwnd_)) return;
  notify(CBN_DROPDOWN);
  ComboDropList* list = ComboDropList::fromWindow(list_);
  if (dead_ || list == nullptr || dropped_) return;
  droppedWith_ = rows_.selected();
  dropped_ = true;
  list->open(dropRect(), byStylus);
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ComboBox::close(bool ok, bool restore, int choice) {
  if (!dropped_) return;
  const int before = rows_.selected();
  if (choice >= 0) {
    rows_.setSelected(choice);
  } else if (restore) {
    rows_.setSelected(droppedWith_);
  }
  notify(ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (dead_ || !dropped_) return;
  dropped_ = false;
  if (ComboDropList* list = ComboDropList::fromWindow(list_)) list->close();
  InvalidateRect(hwnd_, nullptr, FALSE);
  notify(CBN_CLOSEUP);
  if (dead_) return;
  // A choice in the list, or the selection put back, is a change the user made.
  if (rows_.selected() != before) notify(CBN_SELCHANGE);
}

// ---------------------------------------------------------------------------------------------
// Keys

LRESULT ComboBox::dialogCode(const MSG* msg) const {
  LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (msg != nullptr && msg->message == WM_KEYDOWN) {
    const WPARAM vk = msg->wParam;
    if (dropped_ && (vk == VK_RETURN || vk == VK_ESCAPE)) code |= DLGC_WANTMESSAGE;
    if (!dropped_ && vk == VK_RETURN && smartphone()) code |= DLGC_WANTMESSAGE;
    // Closed on the Smartphone, the field is one line of a form: Up and Down go to the next field.
    if (!dropped_ && smartphone() && (vk == VK_UP || vk == VK_DOWN)) code &= ~static_cast<LRESULT>(DLGC_WANTARROWS);
  }
  return code;
}

void ComboBox::onKeyDown(UINT vk) {
  const bool toggle = (vk == VK_F4 && !extendedUi_) || ((vk == VK_DOWN || vk == VK_UP) && altDown());
  if (dropped_) {
    if (toggle || vk == VK_RETURN) {
      close(true, false);
      return;
    }
    if (vk == VK_ESCAPE) {
      close(false, true);
      return;
    }
  } else if (toggle || (extendedUi_ && vk == VK_DOWN) || (vk == VK_RETURN && smartphone())) {
    open(false);
    return;
  }
  ComboDropList* list = ComboDropList::fromWindow(list_);
  const int page = dropped_ && list != nullptr ? list->clientHeight() : listHeight_;
  const int target = rows_.keyTarget(vk, page);
  if (target >= 0) select(target, true);
}

// A typed character selects the next item that begins with it.
void ComboBox::onChar(WCHAR ch) {
  if (ch < 0x20) return;
  const int found = rows_.items().findPrefix(rows_.selected(), std::u16string(1, ch));
  if (found >= 0) select(found, true);
}

// ---------------------------------------------------------------------------------------------
// Painting and notifications

void ComboBox::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      const int i = rows_.selected();
      const std::u16string empty;
      ComboFieldLook look;
      look.font = font_ != nullptr ? font_ : systemFont();
      look.text = i >= 0 ? &rows_.items().at(i).text : &empty;
      look.focused = GetFocus() == hwnd_;
      look.enabled = IsWindowEnabled(hwnd_) != FALSE;
      look.pressed = dropped_;
      drawComboField(buffer.dc(), client, look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

void ComboBox::notify(int code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), static_cast<WORD>(code)),
               reinterpret_cast<LPARAM>(hwnd_));
}

void drawComboField(HDC hdc, const RECT& rect, const ComboFieldLook& look) {
  const int height = rect.bottom - rect.top;
  const COLORREF frame = GetSysColor(look.enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT);
  fillSysColor(hdc, rect, look.enabled ? COLOR_WINDOW : COLOR_BTNFACE);
  frameRect(hdc, rect, frame);

  RECT button{std::max(rect.right - height, rect.left + 1), rect.top + 1, rect.right - 1, rect.bottom - 1};
  fillSysColor(hdc, button, look.pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  drawLine(hdc, button.left - 1, button.top, button.left - 1, button.bottom, frame);
  drawArrowGlyph(hdc, button, ArrowDirection::Down,
                 GetSysColor(look.pressed   ? COLOR_BTNHIGHLIGHT
                             : look.enabled ? COLOR_BTNTEXT
                                            : COLOR_GRAYTEXT));

  RECT area{rect.left + 1, rect.top + 1, button.left - 1, rect.bottom - 1};
  const bool lit = look.focused && look.enabled;
  if (lit) {
    RECT band = area;
    InflateRect(&band, -1, -1);
    fillSysColor(hdc, band, COLOR_HIGHLIGHT);
  }
  if (look.text == nullptr || look.text->empty()) return;
  gdi::SavedDcState saved(hdc);
  SelectObject(hdc, look.font);
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(!look.enabled ? COLOR_GRAYTEXT : lit ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  RECT text{area.left + scaled(2), area.top, area.right - scaled(2), area.bottom};
  DrawTextW(hdc, look.text->c_str(), static_cast<int>(look.text->size()), &text,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

}  // namespace platform::controls
