#include "platform/controls/ListBox.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/base/DeviceConfig.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"

namespace platform::controls {
namespace {

std::u16string textOf(LPARAM lParam) {
  const auto* text = reinterpret_cast<LPCWSTR>(lParam);
  return text != nullptr ? std::u16string(text) : std::u16string();
}

bool smartphone() { return DeviceConfig::current().edition == Edition::Smartphone; }

}  // namespace

void ListBox::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_LISTBOXW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &ListBox::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_LISTBOXW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK ListBox::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<ListBox>::dispatch(hwnd, message, wParam, lParam);
}

DWORD ListBox::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }

LRESULT ListBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= LB_ADDSTRING && message <= LB_ITEMFROMPOINT) return handleListMessage(message, wParam, lParam);
  switch (message) {
    case WM_CREATE: {
      const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      hasScrollBar_ = cs != nullptr && (static_cast<DWORD>(cs->style) & WS_VSCROLL) != 0;
      measure();
      keepIntegralHeight();
      updateScrollBar();
      return 0;
    }
    case WM_SIZE:
      keepIntegralHeight();
      measure();
      rows_.setTop(rows_.top(), clientHeight());
      updateScrollBar();
      invalidateAll();
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      measure();
      keepIntegralHeight();
      rows_.setTop(rows_.top(), clientHeight());
      updateScrollBar();
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) invalidateAll();
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
      if (redraw_) {
        rows_.setTop(rows_.top(), clientHeight());
        updateScrollBar();
        invalidateAll();
      }
      return 0;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      invalidateAll();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      invalidateRow(rows_.selected());
      notify(message == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      onKeyDown(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      onChar(static_cast<WCHAR>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_MOUSEMOVE:
      if (tracking_) onMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      if (tracking_) {
        tracking_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
      }
      return 0;
    case WM_CAPTURECHANGED:
      tracking_ = false;
      return 0;
    case WM_VSCROLL:
      onVScroll(LOWORD(wParam));
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT ListBox::handleListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int i = static_cast<int>(wParam);
  const ListBoxItems& items = rows_.items();
  switch (message) {
    case LB_ADDSTRING:
      return addString(reinterpret_cast<LPCWSTR>(lParam));
    case LB_INSERTSTRING:
      return insertString(i, reinterpret_cast<LPCWSTR>(lParam));
    case LB_DELETESTRING:
      if (!rows_.erase(i)) return LB_ERR;
      contentChanged();
      return rows_.count();
    case LB_RESETCONTENT:
      rows_.clear();
      contentChanged();
      return 0;
    case LB_GETCOUNT:
      return rows_.count();
    case LB_GETTEXT: {
      auto* buffer = reinterpret_cast<LPWSTR>(lParam);
      if (!items.valid(i) || buffer == nullptr) return LB_ERR;
      const std::u16string& text = items.at(i).text;
      std::copy(text.begin(), text.end(), buffer);
      buffer[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case LB_GETTEXTLEN:
      return items.valid(i) ? static_cast<LRESULT>(items.at(i).text.size()) : LB_ERR;
    case LB_SETITEMDATA:
      if (!items.valid(i)) return LB_ERR;
      rows_.items().setData(i, lParam);
      return TRUE;
    case LB_GETITEMDATA:
      return items.valid(i) ? items.at(i).data : LB_ERR;
    case LB_GETCURSEL:
      return rows_.selected();
    case LB_SETCURSEL:
      return setCurSel(i);
    case LB_GETSEL:
      return items.valid(i) ? (i == rows_.selected() ? 1 : 0) : LB_ERR;
    case LB_SETSEL:
    case LB_GETSELCOUNT:
      return LB_ERR;  // multiple selection only
    case LB_FINDSTRINGEXACT:
    case LB_FINDSTRING:
    case LB_SELECTSTRING: {
      if (lParam == 0) return LB_ERR;
      const std::u16string text = textOf(lParam);
      const int found = message == LB_FINDSTRINGEXACT ? items.findExact(i, text) : items.findPrefix(i, text);
      if (found < 0) return LB_ERR;
      if (message == LB_SELECTSTRING) setCurSel(found);
      return found;
    }
    case LB_GETTOPINDEX:
      return rows_.top();
    case LB_SETTOPINDEX:
      if (!items.valid(i) && !(i == 0 && rows_.count() == 0)) return LB_ERR;
      scrollTo(i);
      return LB_OKAY;
    case LB_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (rect == nullptr || (!items.valid(i) && i != 0)) return LB_ERR;
      RECT client{};
      GetClientRect(hwnd_, &client);
      *rect = rows_.rowRect(i, client.right);
      return 1;
    }
    case LB_GETITEMHEIGHT:
      return rows_.itemHeight();
    case LB_SETITEMHEIGHT: {
      const int height = LOWORD(static_cast<DWORD_PTR>(lParam));
      if (height <= 0 || height > 255) return LB_ERR;
      fixedItemHeight_ = true;
      rows_.setItemHeight(height);
      keepIntegralHeight();
      contentChanged();
      return LB_OKAY;
    }
    case LB_ITEMFROMPOINT: {
      const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client{};
      GetClientRect(hwnd_, &client);
      if (rows_.count() == 0) return MAKELONG(0, 1);
      const int y = std::clamp(static_cast<int>(pt.y), 0, std::max(static_cast<int>(client.bottom) - 1, 0));
      const int row = std::min(rows_.top() + y / rows_.itemHeight(), rows_.count() - 1);
      const RECT rect = rows_.rowRect(row, client.right);
      const bool outside = !PtInRect(&client, pt) || !PtInRect(&rect, pt);
      return MAKELONG(static_cast<WORD>(row), outside ? 1 : 0);
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

int ListBox::addString(LPCWSTR text) {
  std::u16string value = text != nullptr ? std::u16string(text) : std::u16string();
  const int at = (style() & LBS_SORT) ? rows_.items().sortedPosition(value) : -1;
  const int index = rows_.insert(at, std::move(value));
  contentChanged();
  return index;
}

int ListBox::insertString(int at, LPCWSTR text) {
  const int index = rows_.insert(at, text != nullptr ? std::u16string(text) : std::u16string());
  if (index < 0) return LB_ERR;
  contentChanged();
  return index;
}

LRESULT ListBox::setCurSel(int i) {
  if (i == -1) {
    select(-1, false);
    return LB_ERR;  // as documented, even though the selection was cleared
  }
  if (!rows_.items().valid(i)) return LB_ERR;
  select(i, false);
  return i;
}

void ListBox::select(int i, bool byUser) {
  const int old = rows_.selected();
  if (i != old) {
    rows_.setSelected(i);
    invalidateRow(old);
    invalidateRow(i);
  }
  if (i >= 0 && rows_.ensureVisible(i, clientHeight())) {
    updateScrollBar();
    invalidateAll();
  }
  if (byUser && i != old && (style() & LBS_NOTIFY)) notify(LBN_SELCHANGE);
}

void ListBox::contentChanged() {
  if (!redraw_ || dead_) return;
  rows_.setTop(rows_.top(), clientHeight());
  updateScrollBar();
  invalidateAll();
}

// ---------------------------------------------------------------------------------------------
// Geometry

int ListBox::clientHeight() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc.bottom - rc.top;
}

void ListBox::measure() {
  if (fixedItemHeight_) return;
  const int natural = fontHeight(font_ != nullptr ? font_ : systemFont()) + scaled(2);
  const int height = clientHeight();
  rows_.setItemHeight(height >= natural && height < 2 * natural ? height : natural);
}

// Without LBS_NOINTEGRALHEIGHT the list is cut to whole rows, as the platform does.
void ListBox::keepIntegralHeight() {
  if ((style() & LBS_NOINTEGRALHEIGHT) || resizing_) return;
  const int height = clientHeight();
  const int row = rows_.itemHeight();
  const int extra = height % row;
  if (height <= row || extra == 0) return;
  RECT window{};
  GetWindowRect(hwnd_, &window);
  resizing_ = true;
  SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - extra,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  resizing_ = false;
}

void ListBox::scrollTo(int top) {
  if (!rows_.setTop(top, clientHeight())) return;
  updateScrollBar();
  invalidateAll();
}

void ListBox::updateScrollBar() {
  if (!hasScrollBar_ || !redraw_ || dead_ || updatingScrollBar_) return;
  updatingScrollBar_ = true;
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (style() & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  si.nMin = 0;
  si.nMax = std::max(rows_.count() - 1, 0);
  si.nPage = static_cast<UINT>(rows_.perPage(clientHeight()));
  si.nPos = rows_.top();
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  updatingScrollBar_ = false;
}

void ListBox::invalidateRow(int i) {
  if (!redraw_ || dead_ || !rows_.items().valid(i)) return;
  const int page = rows_.perPage(clientHeight());
  if (i < rows_.top() || i > rows_.top() + page) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const RECT row = rows_.rowRect(i, client.right);
  InvalidateRect(hwnd_, &row, FALSE);
}

void ListBox::invalidateAll() {
  if (redraw_ && !dead_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListBox::onVScroll(int code) {
  const int page = rows_.perPage(clientHeight());
  int top = rows_.top();
  switch (code) {
    case SB_LINEUP:
      --top;
      break;
    case SB_LINEDOWN:
      ++top;
      break;
    case SB_PAGEUP:
      top -= page;
      break;
    case SB_PAGEDOWN:
      top += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, SB_VERT, &si)) top = si.nTrackPos;
      break;
    }
    case SB_TOP:
      top = 0;
      break;
    case SB_BOTTOM:
      top = rows_.count();
      break;
    default:
      return;
  }
  scrollTo(top);
}

// ---------------------------------------------------------------------------------------------
// Input

void ListBox::onKeyDown(UINT vk) {
  const int target = rows_.keyTarget(vk, clientHeight());
  if (target >= 0) select(target, true);
}

// A typed character selects the next item that begins with it.
void ListBox::onChar(WCHAR ch) {
  if (ch < 0x20) return;
  const int found = rows_.items().findPrefix(rows_.selected(), std::u16string(1, ch));
  if (found >= 0) select(found, true);
}

void ListBox::onLButtonDown(POINT pt, bool doubleTap) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (dead_) return;
  const int i = rows_.rowAt(pt.y);
  if (i >= 0) select(i, true);
  if (dead_) return;
  if (doubleTap && i >= 0 && (style() & LBS_NOTIFY)) {
    notify(LBN_DBLCLK);
    return;
  }
  tracking_ = true;
  SetCapture(hwnd_);
}

// Dragging moves the selection; beyond the top or bottom edge the list scrolls a row a move.
void ListBox::onMouseMove(POINT pt) {
  const int height = clientHeight();
  int target = -1;
  if (pt.y < 0) {
    target = rows_.top() - 1;
  } else if (pt.y >= height) {
    target = rows_.top() + rows_.perPage(height);
  } else {
    target = rows_.rowAt(pt.y);
  }
  if (target < 0 || target >= rows_.count() || target == rows_.selected()) return;
  select(target, true);
}

// ---------------------------------------------------------------------------------------------
// Painting and notifications

void ListBox::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      // The parent may choose the colours, as dialogs do.
      SetTextColor(buffer.dc(), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(buffer.dc(), GetSysColor(COLOR_WINDOW));
      HWND parent = GetParent(hwnd_);
      HBRUSH brush = nullptr;
      if (parent != nullptr) {
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(buffer.dc()),
                                                      reinterpret_cast<LPARAM>(hwnd_)));
      }
      const bool enabled = IsWindowEnabled(hwnd_) != FALSE;
      const bool focused = GetFocus() == hwnd_;
      ListRowLook look;
      look.font = font_ != nullptr ? font_ : systemFont();
      look.background = brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
      look.text = enabled ? GetTextColor(buffer.dc()) : GetSysColor(COLOR_GRAYTEXT);
      look.padding = scaled(2);
      // Without the focus the Pocket PC keeps the selection in a quieter colour; the
      // Smartphone marks only the field that has the focus.
      int marked = rows_.selected();
      if (focused && enabled) {
        look.highlight = GetSysColor(COLOR_HIGHLIGHT);
        look.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
      } else if (!smartphone()) {
        look.highlight = GetSysColor(COLOR_BTNFACE);
        look.highlightText = enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
      } else {
        marked = -1;
      }
      drawListBoxRows(buffer.dc(), rows_, client, marked, look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

void ListBox::notify(int code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), static_cast<WORD>(code)),
               reinterpret_cast<LPARAM>(hwnd_));
}

}  // namespace platform::controls
