#include "platform/controls/ComboDropList.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "platform/controls/ComboBox.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"

namespace platform::controls {
namespace {

constexpr const char16_t* kClassName = u"ComboLBox";

// The parts of the vertical scroll bar along a client area `height` high, as the window
// manager draws them: arrows at both ends, the thumb in the track between.
struct ScrollBarParts {
  int arrow = 0;
  int trackLength = 0;
  int thumbTop = 0;  // from the top of the bar
  int thumbLength = 0;
  int minPos = 0;
  int maxPos = 0;

  ScrollBarParts(const SCROLLINFO& si, int height) {
    arrow = std::min(GetSystemMetrics(SM_CYVSCROLL), height / 2);
    trackLength = std::max(height - 2 * arrow, 0);
    minPos = si.nMin;
    maxPos = std::max(si.nMin, si.nMax - (si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0));
    const int range = si.nMax - si.nMin + 1;
    thumbLength =
        si.nPage > 0 && range > 0 ? static_cast<int>(static_cast<long long>(trackLength) * si.nPage / range) : arrow;
    thumbLength = std::clamp(thumbLength, std::min(arrow / 2 + 2, trackLength), trackLength);
    const int span = maxPos - minPos;
    const int offset =
        span > 0 ? static_cast<int>(static_cast<long long>(trackLength - thumbLength) * (si.nPos - minPos) / span) : 0;
    thumbTop = arrow + offset;
  }

  int positionForThumbTop(int top) const {
    const int free = trackLength - thumbLength;
    if (free <= 0) return minPos;
    const int offset = std::clamp(top - arrow, 0, free);
    return minPos + static_cast<int>((static_cast<long long>(maxPos - minPos) * offset + free / 2) / free);
  }
};

}  // namespace

void ComboDropList::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, kClassName, &wc)) return;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = &ComboDropList::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);
}

HWND ComboDropList::create(HWND combo, bool scrollBar) {
  registerClass();
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, u"",
                         WS_POPUP | WS_BORDER | (scrollBar ? WS_VSCROLL : 0), 0, 0, 1, 1, combo, nullptr, nullptr,
                         nullptr);
}

ComboDropList* ComboDropList::fromWindow(HWND hwnd) { return ControlTable<ComboDropList>::find(hwnd); }

LRESULT CALLBACK ComboDropList::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<ComboDropList>::dispatch(hwnd, message, wParam, lParam);
}

ComboBox* ComboDropList::combo() const { return ComboBox::fromWindow(combo_); }

int ComboDropList::clientHeight() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc.bottom - rc.top;
}

LRESULT ComboDropList::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEMOVE:
      onMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_LBUTTONUP:
      onLButtonUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_CAPTURECHANGED:
      // Another window took the stylus (a message box, a menu): the list cannot stay open.
      if (reinterpret_cast<HWND>(lParam) != hwnd_) {
        if (ComboBox* box = combo(); box != nullptr && box->dropped()) box->cancel();
      }
      return 0;
    case WM_VSCROLL:
      onVScroll(LOWORD(wParam));
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

void ComboDropList::open(const RECT& screenRect, bool byStylus) {
  ComboBox* box = combo();
  if (box == nullptr) return;
  hot_ = -1;
  tracking_ = false;
  draggingThumb_ = false;
  pressFromField_ = byStylus;
  SetWindowPos(hwnd_, HWND_TOPMOST, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
               screenRect.bottom - screenRect.top, SWP_NOACTIVATE);
  ListBoxRows& rows = box->rows();
  const int height = clientHeight();
  // The selection opens at the top of the list unless it is in view already.
  const int selected = rows.selected();
  if (selected < 0) {
    rows.setTop(0, height);
  } else if (selected < rows.top() || selected >= rows.top() + rows.perPage(height)) {
    rows.setTop(selected, height);
  }
  updateScrollBar();
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hwnd_, nullptr, FALSE);
  SetCapture(hwnd_);
}

void ComboDropList::close() {
  hot_ = -1;
  tracking_ = false;
  pressFromField_ = false;
  draggingThumb_ = false;
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (GetCapture() == hwnd_) ReleaseCapture();
}

void ComboDropList::refresh() {
  ComboBox* box = combo();
  if (box == nullptr || !IsWindowVisible(hwnd_)) return;
  ListBoxRows& rows = box->rows();
  rows.setTop(rows.top(), clientHeight());
  rows.ensureVisible(rows.selected(), clientHeight());
  hot_ = -1;
  updateScrollBar();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

// ---------------------------------------------------------------------------------------------
// Stylus

void ComboDropList::onLButtonDown(POINT pt) {
  ComboBox* box = combo();
  if (box == nullptr) return;
  pressFromField_ = false;
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (PtInRect(&client, pt)) {
    tracking_ = true;
    setHot(box->rows().rowAt(pt.y));
    return;
  }
  POINT screen = pt;
  ClientToScreen(hwnd_, &screen);
  RECT window{};
  GetWindowRect(hwnd_, &window);
  const bool hasBar = (static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)) & WS_VSCROLL) != 0;
  if (hasBar && PtInRect(&window, screen) && pt.x >= client.right && pt.y >= 0 && pt.y < client.bottom) {
    onScrollBarDown(pt.y);
    return;
  }
  // Anywhere else, the field included, the list closes without a choice; the tap ends there.
  box->cancel();
}

void ComboDropList::onMouseMove(POINT pt) {
  if (draggingThumb_) {
    dragThumb(pt.y);
    return;
  }
  if (!tracking_ && !pressFromField_) return;
  ComboBox* box = combo();
  if (box == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  ListBoxRows& rows = box->rows();
  const bool inside = PtInRect(&client, pt) != FALSE;
  if (pressFromField_ && !inside) return;  // still over the field it was opened from
  pressFromField_ = false;
  tracking_ = true;
  // Held beyond the top or bottom edge, the list scrolls a row a move.
  if (pt.y < 0 && pt.x >= 0 && pt.x < client.right) {
    scrollTo(rows.top() - 1);
    setHot(rows.top());
  } else if (pt.y >= client.bottom && pt.x >= 0 && pt.x < client.right) {
    scrollTo(rows.top() + 1);
    setHot(std::min(rows.top() + rows.perPage(client.bottom) - 1, rows.count() - 1));
  } else {
    setHot(inside ? rows.rowAt(pt.y) : -1);
  }
}

void ComboDropList::onLButtonUp(POINT pt) {
  if (draggingThumb_) {
    draggingThumb_ = false;
    return;
  }
  const bool wasTracking = tracking_;
  tracking_ = false;
  pressFromField_ = false;
  ComboBox* box = combo();
  if (box == nullptr || !wasTracking) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int row = PtInRect(&client, pt) ? box->rows().rowAt(pt.y) : -1;
  if (row >= 0) {
    box->choose(row);
  } else {
    setHot(-1);
  }
}

void ComboDropList::onScrollBarDown(int y) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd_, SB_VERT, &si)) return;
  const ScrollBarParts parts(si, clientHeight());
  if (y < parts.arrow) {
    onVScroll(SB_LINEUP);
  } else if (y >= parts.arrow + parts.trackLength) {
    onVScroll(SB_LINEDOWN);
  } else if (y < parts.thumbTop) {
    onVScroll(SB_PAGEUP);
  } else if (y >= parts.thumbTop + parts.thumbLength) {
    onVScroll(SB_PAGEDOWN);
  } else {
    draggingThumb_ = true;
    thumbGrab_ = y - parts.thumbTop;
  }
}

void ComboDropList::dragThumb(int y) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (!GetScrollInfo(hwnd_, SB_VERT, &si)) return;
  scrollTo(ScrollBarParts(si, clientHeight()).positionForThumbTop(y - thumbGrab_));
}

// ---------------------------------------------------------------------------------------------
// Scrolling

void ComboDropList::scrollTo(int top) {
  ComboBox* box = combo();
  if (box == nullptr || !box->rows().setTop(top, clientHeight())) return;
  updateScrollBar();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ComboDropList::onVScroll(int code) {
  ComboBox* box = combo();
  if (box == nullptr) return;
  const ListBoxRows& rows = box->rows();
  const int page = rows.perPage(clientHeight());
  switch (code) {
    case SB_LINEUP:
      scrollTo(rows.top() - 1);
      break;
    case SB_LINEDOWN:
      scrollTo(rows.top() + 1);
      break;
    case SB_PAGEUP:
      scrollTo(rows.top() - page);
      break;
    case SB_PAGEDOWN:
      scrollTo(rows.top() + page);
      break;
    case SB_TOP:
      scrollTo(0);
      break;
    case SB_BOTTOM:
      scrollTo(rows.count());
      break;
    default:
      break;
  }
}

void ComboDropList::updateScrollBar() {
  ComboBox* box = combo();
  if (box == nullptr || !scrollBar_) return;
  const ListBoxRows& rows = box->rows();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(rows.count() - 1, 0);
  si.nPage = static_cast<UINT>(rows.perPage(clientHeight()));
  si.nPos = rows.top();
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void ComboDropList::setHot(int i) {
  if (i == hot_) return;
  hot_ = i;
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void ComboDropList::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  ComboBox* box = combo();
  if (box != nullptr) {
    gdi::MemoryDc buffer(hdc, client.right, client.bottom);
    if (buffer) {
      ListRowLook look;
      look.font = windowFont(combo_);
      look.background = GetSysColorBrush(COLOR_WINDOW);
      look.text = GetSysColor(COLOR_WINDOWTEXT);
      look.highlight = GetSysColor(COLOR_HIGHLIGHT);
      look.highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
      look.padding = scaled(2);
      drawListBoxRows(buffer.dc(), box->rows(), client, hot_ >= 0 ? hot_ : box->rows().selected(), look);
      buffer.copyTo(hdc, 0, 0);
    }
  }
  EndPaint(hwnd_, &ps);
}

}  // namespace platform::controls
