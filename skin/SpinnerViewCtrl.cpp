#include "skin/SpinnerViewCtrl.h"

#include <optional>

#include "device/DeviceProfile.h"
#include "platform/gdi/WinGdi.h"
#include "platform/sys/SysParams.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"

namespace pellucard {

namespace {

// Shared by every header: a held Back key starts one timer, however many headers exist.
bool g_backDown = false;

std::optional<std::u16string> platformType() {
  WCHAR buffer[128] = {};
  if (!SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0)) return std::nullopt;
  buffer[127] = 0;
  return std::u16string(buffer);
}

int pointX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int pointY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

// Half of an arrow image: the top half is the arrow at rest, the bottom half pressed.
void drawArrow(HDC hdc, ImageEntry* arrow, int x, int clientHeight, bool pressed) {
  if (arrow == nullptr || !arrow->colour) return;
  const int width = arrow->colour.width();
  const int half = arrow->colour.height() / 2;
  const int y = (clientHeight - half) / 2;
  const RECT source{0, pressed ? half : 0, width, pressed ? 2 * half : half};
  SkinPainter::drawSkinImage(hdc, arrow, RECT{x, y, x + width, y + half}, source);
}

}  // namespace

SpinnerViewCtrl::SpinnerViewCtrl() = default;

// The base class destroys a window still attached without telling this object, so the
// timers, the capture and the shared Back flag are let go here.
SpinnerViewCtrl::~SpinnerViewCtrl() {
  if (hwnd() != nullptr) {
    tracking_ = false;
    KillTimer(hwnd(), kRepeatTimer);
    if (GetCapture() == hwnd()) ReleaseCapture();
  }
  stopBackTimer();
}

const platform::MessageMap<SpinnerViewCtrl>& SpinnerViewCtrl::messageMap() {
  using Map = platform::MessageMap<SpinnerViewCtrl>;
  static const Map map = Map()
                             .message(WM_CREATE, &SpinnerViewCtrl::onCreate)
                             .message(WM_DESTROY, &SpinnerViewCtrl::onDestroy)
                             .message(WM_ERASEBKGND, &SpinnerViewCtrl::onEraseBackground)
                             .message(WM_PAINT, &SpinnerViewCtrl::onPaint)
                             .message(WM_SETFONT, &SpinnerViewCtrl::onSetFont)
                             .message(WM_GETFONT, &SpinnerViewCtrl::onGetFont)
                             .message(WM_KEYDOWN, &SpinnerViewCtrl::onKeyDown)
                             .message(WM_KEYUP, &SpinnerViewCtrl::onKeyUp)
                             .message(WM_CHAR, &SpinnerViewCtrl::onChar)
                             .message(WM_KILLFOCUS, &SpinnerViewCtrl::onKillFocus)
                             .message(WM_LBUTTONDOWN, &SpinnerViewCtrl::onStylusDown)
                             .message(WM_MOUSEMOVE, &SpinnerViewCtrl::onStylusMove)
                             .message(WM_LBUTTONUP, &SpinnerViewCtrl::onStylusUp)
                             .message(WM_CAPTURECHANGED, &SpinnerViewCtrl::onCaptureChanged)
                             .message(WM_TIMER, &SpinnerViewCtrl::onTimer)
                             .message(WM_HOTKEY, &SpinnerViewCtrl::onHotKey);
  return map;
}

platform::WindowClassInfo SpinnerViewCtrl::windowClass() const {
  platform::WindowClassInfo info;
  info.name = kClassName;
  info.style = CS_HREDRAW | CS_VREDRAW;
  info.background = reinterpret_cast<HBRUSH>(static_cast<UINT_PTR>(COLOR_WINDOW + 1));
  return info;
}

HWND SpinnerViewCtrl::create(HWND parent, const RECT& rect, UINT id, DWORD style, LPCWSTR windowName) {
  if (hwnd() != nullptr) return nullptr;
  // A header built again (after a relayout) starts without the pages of its last window.
  pages_.clear();
  current_ = 0;
  leftPressed_ = false;
  rightPressed_ = false;
  backHeld_ = false;
  return WindowImpl::create(parent, rect, windowName, style, 0, id);
}

// ---------------------------------------------------------------------------------------------
// Pages

int SpinnerViewCtrl::indexOf(UINT key) const {
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

bool SpinnerViewCtrl::addPage(UINT key, const std::u16string& label, HWND page) {
  if (indexOf(key) >= 0) return false;
  pages_.push_back(Page{key, false, label, page});
  if (pages_.size() == 1) repaint();
  return true;
}

bool SpinnerViewCtrl::setMarker(UINT key, bool marked) {
  const int index = indexOf(key);
  if (index < 0) return false;
  if (pages_[index].marked != marked) {
    pages_[index].marked = marked;
    if (index == current_) repaint();
  }
  return true;
}

bool SpinnerViewCtrl::marker(UINT key) const {
  const int index = indexOf(key);
  return index >= 0 && pages_[index].marked;
}

bool SpinnerViewCtrl::selectPage(UINT key) {
  const int index = indexOf(key);
  if (index < 0) return false;
  if (index != current_) {
    current_ = index;
    repaint();
  }
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i].window != nullptr) {
      ShowWindow(pages_[i].window, static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
    }
  }
  const HWND parent = hwnd() != nullptr ? GetParent(hwnd()) : nullptr;
  if (parent != nullptr) PostMessageW(parent, UM_TABCHANGED, key, 0);
  return true;
}

UINT SpinnerViewCtrl::currentKey() const { return pages_.empty() ? 0 : pages_[current_].key; }

HWND SpinnerViewCtrl::currentPage() const { return pages_.empty() ? nullptr : pages_[current_].window; }

HWND SpinnerViewCtrl::pageWindow(UINT key) const {
  const int index = indexOf(key);
  return index < 0 ? nullptr : pages_[index].window;
}

std::u16string SpinnerViewCtrl::displayLabel(int index) const {
  if (index < 0 || index >= pageCount()) return {};
  const Page& page = pages_[index];
  return page.marked ? page.label + kMarkerSuffix : page.label;
}

bool SpinnerViewCtrl::pageIsSearching() const {
  const HWND page = currentPage();
  return page != nullptr && SendMessageW(page, kIsSearchingMessage, 0, 0) != 0;
}

// The index moves at once; the page follows when the arrow comes up.
void SpinnerViewCtrl::stepLeft() {
  leftPressed_ = true;
  if (!pages_.empty()) current_ = (current_ - 1 + pageCount()) % pageCount();
}

void SpinnerViewCtrl::stepRight() {
  rightPressed_ = true;
  if (!pages_.empty()) current_ = (current_ + 1) % pageCount();
}

void SpinnerViewCtrl::repaint() {
  if (hwnd() != nullptr) InvalidateRect(hwnd(), nullptr, TRUE);
}

// ---------------------------------------------------------------------------------------------
// Life and drawing

LRESULT SpinnerViewCtrl::onCreate(UINT, WPARAM, LPARAM, BOOL&) {
  pocketPc_ = DeviceProfile::isPocketPcPlatformType(platformType());
  return 0;
}

LRESULT SpinnerViewCtrl::onDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  KillTimer(hwnd(), kRepeatTimer);
  tracking_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  stopBackTimer();
  handled = FALSE;
  return 0;
}

LRESULT SpinnerViewCtrl::onSetFont(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  font_ = reinterpret_cast<HFONT>(wParam);
  if (LOWORD(lParam) != 0) repaint();
  return 0;
}

int SpinnerViewCtrl::arrowWidth() const {
  ImageEntry* left = ImageCache::instance().loadedEntry(ImageCache::kLeftArrow);
  return left != nullptr && left->colour ? left->colour.width() : 0;
}

LRESULT SpinnerViewCtrl::onPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return 0;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width > 0 ? width : 1, height > 0 ? height : 1);
  if (buffer == nullptr || bitmap == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (buffer != nullptr) DeleteDC(buffer);
    EndPaint(hwnd(), &ps);
    return 0;
  }
  HGDIOBJ oldBitmap = SelectObject(buffer, bitmap);

  // The whole buffer is copied out, so it always starts from the background: the window
  // colour, then the screen background as it lies behind the header.
  FillRect(buffer, &client, GetSysColorBrush(COLOR_WINDOW));
  RECT onScreen{};
  GetWindowRect(hwnd(), &onScreen);
  ImageCache& cache = ImageCache::instance();
  SkinPainter::drawScreenBackground(buffer, client, onScreen);

  HGDIOBJ oldFont = nullptr;
  if (pocketPc_ && font_ != nullptr) oldFont = SelectObject(buffer, font_);
  SetBkMode(buffer, TRANSPARENT);

  drawArrow(buffer, cache.loadedEntry(ImageCache::kLeftArrow), 0, height, leftPressed_);
  ImageEntry* right = cache.loadedEntry(ImageCache::kRightArrow);
  if (right != nullptr && right->colour) drawArrow(buffer, right, width - right->colour.width(), height, rightPressed_);

  const std::u16string label = displayLabel(current_);
  if (!label.empty()) {
    RECT textRect = client;
    textRect.bottom -= 2;
    DrawTextW(buffer, label.c_str(), static_cast<int>(label.size()), &textRect, DT_CENTER | DT_VCENTER);
  }

  BitBlt(dc, 0, 0, width, height, buffer, 0, 0, SRCCOPY);
  if (oldFont != nullptr) SelectObject(buffer, oldFont);
  SelectObject(buffer, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(buffer);
  EndPaint(hwnd(), &ps);
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Keys

LRESULT SpinnerViewCtrl::onKeyDown(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  switch (wParam) {
    case VK_LEFT:
      stepLeft();
      break;
    case VK_RIGHT:
      stepRight();
      break;
    case VK_F8:
      SendMessageW(hwnd(), WM_CHAR, u'*', 0);
      break;
    case VK_F9:
      SendMessageW(hwnd(), WM_CHAR, u'#', 0);
      break;
    default:
      if (HWND page = currentPage()) SendMessageW(page, WM_KEYDOWN, wParam, lParam);
      break;
  }
  repaint();
  return 0;
}

LRESULT SpinnerViewCtrl::onKeyUp(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == VK_LEFT || wParam == VK_RIGHT) {
    leftPressed_ = false;
    rightPressed_ = false;
    repaint();
    if (!pages_.empty()) selectPage(currentKey());
  } else if (HWND page = currentPage()) {
    SendMessageW(page, WM_KEYUP, wParam, lParam);
  }
  return 0;
}

LRESULT SpinnerViewCtrl::onChar(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (HWND page = currentPage()) SendMessageW(page, WM_CHAR, wParam, lParam);
  return 0;
}

LRESULT SpinnerViewCtrl::onKillFocus(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  const HWND next = reinterpret_cast<HWND>(wParam);
  if (next != nullptr && next == currentPage()) SetFocus(hwnd());
  handled = FALSE;
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Stylus

bool SpinnerViewCtrl::insideHeldArrow(int x, int y) const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (x < 0 || y < 0 || x >= client.right || y >= client.bottom) return false;
  const int w = arrowWidth();
  if (leftPressed_ && x <= w) return true;
  if (rightPressed_ && x >= client.right - w) return true;
  return false;
}

LRESULT SpinnerViewCtrl::onStylusDown(UINT, WPARAM, LPARAM lParam, BOOL&) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int x = pointX(lParam);
  const int w = arrowWidth();
  if (x <= w) {
    stepLeft();
    SetTimer(hwnd(), kRepeatTimer, kRepeatMs, nullptr);
  } else if (x >= client.right - w) {
    stepRight();
    SetTimer(hwnd(), kRepeatTimer, kRepeatMs, nullptr);
  }
  tracking_ = true;
  SetCapture(hwnd());
  repaint();
  return 0;
}

LRESULT SpinnerViewCtrl::onStylusMove(UINT, WPARAM, LPARAM lParam, BOOL&) {
  if (tracking_ && !insideHeldArrow(pointX(lParam), pointY(lParam))) releaseStylus();
  return 0;
}

LRESULT SpinnerViewCtrl::onStylusUp(UINT, WPARAM, LPARAM, BOOL&) {
  if (tracking_) releaseStylus();
  return 0;
}

LRESULT SpinnerViewCtrl::onCaptureChanged(UINT, WPARAM, LPARAM, BOOL&) {
  if (tracking_) releaseStylus();
  return 0;
}

void SpinnerViewCtrl::releaseStylus() {
  // Cleared first: giving the capture back reports WM_CAPTURECHANGED to this window again.
  tracking_ = false;
  leftPressed_ = false;
  rightPressed_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  repaint();
  KillTimer(hwnd(), kRepeatTimer);
  if (!pages_.empty()) selectPage(currentKey());
}

// ---------------------------------------------------------------------------------------------
// Timers and the Back key

LRESULT SpinnerViewCtrl::onTimer(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (wParam == kRepeatTimer) {
    if (leftPressed_) {
      stepLeft();
      repaint();
    } else if (rightPressed_) {
      stepRight();
      repaint();
    } else {
      KillTimer(hwnd(), kRepeatTimer);
    }
  } else if (wParam == kBackHoldTimer) {
    stopBackTimer();
    backHeld_ = true;
    SendMessageW(hwnd(), WM_CHAR, kClearSearchChar, 0);
  }
  return 0;
}

void SpinnerViewCtrl::stopBackTimer() {
  if (hwnd() != nullptr) KillTimer(hwnd(), kBackHoldTimer);
  if (backTimerRunning_) {
    backTimerRunning_ = false;
    g_backDown = false;
  }
}

LRESULT SpinnerViewCtrl::onHotKey(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  const bool searching = pageIsSearching();
  if (HIWORD(lParam) != VK_TBACK) {
    // A search in progress keeps the other hot keys from the screen.
    if (searching) return TRUE;
    handled = FALSE;
    return 0;
  }
  if (!searching && !backHeld_) {
    handled = FALSE;
    return 0;
  }
  if ((LOWORD(lParam) & MOD_KEYUP) != 0) {
    KillTimer(hwnd(), kBackHoldTimer);
    backTimerRunning_ = false;
    g_backDown = false;
    if (backHeld_) {
      backHeld_ = false;
    } else {
      SendMessageW(hwnd(), WM_CHAR, VK_BACK, 0);
    }
  } else if (!g_backDown) {
    g_backDown = true;
    backTimerRunning_ = true;
    SetTimer(hwnd(), kBackHoldTimer, kBackHoldMs, nullptr);
  }
  return TRUE;
}

}  // namespace pellucard
