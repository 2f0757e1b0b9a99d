#include "skin/SpinnerViewCtrl.h"

#include <optional>

#include "device/DeviceProfile.h"
#include "platform/gdi/MemoryDc.h"
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
  using M = SpinnerViewCtrl;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_CREATE>(&M::onCreate)
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_SETFONT>(&M::onSetFont)
                              .on<WM_GETFONT>(&M::onGetFont)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_KEYUP>(&M::onKeyUp)
                              .on<WM_CHAR>(&M::onChar)
                              .on<WM_KILLFOCUS>(&M::onKillFocus)
                              .on<WM_LBUTTONDOWN>(&M::onStylusDown)
                              .on<WM_MOUSEMOVE>(&M::onStylusMove)
                              .on<WM_LBUTTONUP>(&M::onStylusUp)
                              .on<WM_CAPTURECHANGED>(&M::onCaptureChanged)
                              .on<WM_TIMER>(&M::onTimer)
                              .on<WM_HOTKEY>(&M::onHotKey);
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

bool SpinnerViewCtrl::onCreate(const CREATESTRUCTW&) {
  pocketPc_ = DeviceProfile::isPocketPcPlatformType(platformType());
  return true;
}

void SpinnerViewCtrl::onDestroy() {
  KillTimer(hwnd(), kRepeatTimer);
  tracking_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  stopBackTimer();
  passOn();
}

void SpinnerViewCtrl::onSetFont(HFONT font, bool redraw) {
  font_ = font;
  if (redraw) repaint();
}

int SpinnerViewCtrl::arrowWidth() const {
  ImageEntry* left = ImageCache::instance().loadedEntry(ImageCache::kLeftArrow);
  return left != nullptr && left->colour ? left->colour.width() : 0;
}

void SpinnerViewCtrl::onPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  if (const platform::gdi::MemoryDc buffer(dc, width, height); buffer) {
    // The whole buffer is copied out, so it always starts from the background: the window
    // colour, then the screen background as it lies behind the header.
    FillRect(buffer.dc(), &client, GetSysColorBrush(COLOR_WINDOW));
    RECT onScreen{};
    GetWindowRect(hwnd(), &onScreen);
    ImageCache& cache = ImageCache::instance();
    SkinPainter::drawScreenBackground(buffer.dc(), client, onScreen);

    const platform::gdi::SelectedObject font(buffer.dc(), pocketPc_ ? font_ : nullptr);
    SetBkMode(buffer.dc(), TRANSPARENT);

    drawArrow(buffer.dc(), cache.loadedEntry(ImageCache::kLeftArrow), 0, height, leftPressed_);
    ImageEntry* right = cache.loadedEntry(ImageCache::kRightArrow);
    if (right != nullptr && right->colour) {
      drawArrow(buffer.dc(), right, width - right->colour.width(), height, rightPressed_);
    }

    const std::u16string label = displayLabel(current_);
    if (!label.empty()) {
      RECT textRect = client;
      textRect.bottom -= 2;
      DrawTextW(buffer.dc(), label.c_str(), static_cast<int>(label.size()), &textRect, DT_CENTER | DT_VCENTER);
    }
    BitBlt(dc, 0, 0, width, height, buffer.dc(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

// ---------------------------------------------------------------------------------------------
// Keys

void SpinnerViewCtrl::onKeyDown(UINT vk, UINT flags) {
  switch (vk) {
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
      if (HWND page = currentPage()) SendMessageW(page, WM_KEYDOWN, vk, flags);
      break;
  }
  repaint();
}

void SpinnerViewCtrl::onKeyUp(UINT vk, UINT flags) {
  if (vk == VK_LEFT || vk == VK_RIGHT) {
    leftPressed_ = false;
    rightPressed_ = false;
    repaint();
    if (!pages_.empty()) selectPage(currentKey());
  } else if (HWND page = currentPage()) {
    SendMessageW(page, WM_KEYUP, vk, flags);
  }
}

void SpinnerViewCtrl::onChar(WCHAR ch, UINT flags) {
  if (HWND page = currentPage()) SendMessageW(page, WM_CHAR, ch, flags);
}

void SpinnerViewCtrl::onKillFocus(HWND next) {
  if (next != nullptr && next == currentPage()) SetFocus(hwnd());
  passOn();
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

void SpinnerViewCtrl::onStylusDown(POINT point, UINT) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int x = point.x;
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
}

void SpinnerViewCtrl::onStylusMove(POINT point, UINT) {
  if (tracking_ && !insideHeldArrow(point.x, point.y)) releaseStylus();
}

void SpinnerViewCtrl::onStylusUp(POINT, UINT) {
  if (tracking_) releaseStylus();
}

void SpinnerViewCtrl::onCaptureChanged(HWND) {
  if (tracking_) releaseStylus();
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

void SpinnerViewCtrl::onTimer(UINT_PTR id) {
  if (id == kRepeatTimer) {
    if (leftPressed_) {
      stepLeft();
      repaint();
    } else if (rightPressed_) {
      stepRight();
      repaint();
    } else {
      KillTimer(hwnd(), kRepeatTimer);
    }
  } else if (id == kBackHoldTimer) {
    stopBackTimer();
    backHeld_ = true;
    SendMessageW(hwnd(), WM_CHAR, kClearSearchChar, 0);
  }
}

void SpinnerViewCtrl::stopBackTimer() {
  if (hwnd() != nullptr) KillTimer(hwnd(), kBackHoldTimer);
  if (backTimerRunning_) {
    backTimerRunning_ = false;
    g_backDown = false;
  }
}

LRESULT SpinnerViewCtrl::onHotKey(int, UINT modifiers, UINT vk) {
  const bool searching = pageIsSearching();
  if (vk != VK_TBACK) {
    // A search in progress keeps the other hot keys from the screen.
    if (searching) return TRUE;
    passOn();
    return 0;
  }
  if (!searching && !backHeld_) {
    passOn();
    return 0;
  }
  if ((modifiers & MOD_KEYUP) != 0) {
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
