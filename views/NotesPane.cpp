#include "views/NotesPane.h"

#include <algorithm>

#include "platform/win/WinUser.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "views/CardLook.h"

namespace pellucard {

namespace {

int widthOf(const RECT& r) { return r.right - r.left; }
int heightOf(const RECT& r) { return r.bottom - r.top; }

}  // namespace

NotesPane::~NotesPane() { releaseBuffer(); }

void NotesPane::measure(HWND card, std::u16string_view text, HFONT font) {
  int needed = 0;
  if (!text.empty()) {
    HDC dc = GetDC(card);
    if (dc != nullptr) {
      HGDIOBJ oldFont = font != nullptr ? SelectObject(dc, font) : nullptr;
      RECT calc{0, 0, widthOf(rect_), heightOf(rect_)};
      DrawTextW(dc, text.data(), static_cast<int>(text.size()), &calc, DT_CALCRECT | DT_WORDBREAK);
      needed = calc.bottom - calc.top;
      if (oldFont != nullptr) SelectObject(dc, oldFont);
      ReleaseDC(card, dc);
    }
  }
  position_ = 0;
  const LONG style = GetWindowLongW(card, GWL_STYLE);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (needed > heightOf(rect_)) {
    rangeMax_ = needed;
    if ((style & WS_VSCROLL) == 0) SetWindowLongW(card, GWL_STYLE, style | WS_VSCROLL);
    info.nMax = needed;
    info.nPage = static_cast<UINT>(heightOf(rect_));
  } else {
    rangeMax_ = 0;
    if ((style & WS_VSCROLL) != 0) SetWindowLongW(card, GWL_STYLE, style & ~static_cast<LONG>(WS_VSCROLL));
  }
  SetScrollInfo(card, SB_VERT, &info, TRUE);
  if (((style & WS_VSCROLL) != 0) != (rangeMax_ != 0)) {
    SetWindowPos(card, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  }
}

void NotesPane::applyPosition(HWND card, int position) {
  const int limit = std::max(0, rangeMax_ - heightOf(rect_));
  position_ = std::clamp(position, 0, limit);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_POS;
  info.nPos = position_;
  SetScrollInfo(card, SB_VERT, &info, TRUE);
}

bool NotesPane::scroll(HWND card, int code, int thumb) {
  const int page = heightOf(rect_);
  int target = position_;
  switch (code) {
    case SB_LINEUP:
      target -= kLineStep;
      break;
    case SB_LINEDOWN:
      target += kLineStep;
      break;
    case SB_PAGEUP:
      target -= page;
      break;
    case SB_PAGEDOWN:
      target += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      target = thumb;
      break;
    case SB_TOP:
      target = 0;
      break;
    case SB_BOTTOM:
      target = rangeMax_;
      break;
    default:
      return false;
  }
  const int before = position_;
  applyPosition(card, target);
  return position_ != before;
}

bool NotesPane::key(HWND card, UINT vk) {
  if (vk == VK_UP) {
    applyPosition(card, position_ - kKeyStep);
    return true;
  }
  if (vk == VK_DOWN) {
    // Notes that fit have no range to move in.
    if (rangeMax_ != 0) applyPosition(card, (position_ + kKeyStep) % rangeMax_);
    return true;
  }
  return false;
}

void NotesPane::onVScroll(HWND card, WPARAM wParam) {
  if (!CardLook::pocketPc()) return;
  if (scroll(card, LOWORD(wParam), static_cast<short>(HIWORD(wParam)))) InvalidateRect(card, &rect_, FALSE);
}

bool NotesPane::onKeyDown(HWND card, WPARAM wParam) {
  if (!key(card, static_cast<UINT>(wParam))) return false;
  InvalidateRect(card, &rect_, FALSE);
  return true;
}

void NotesPane::draw(HDC target, std::u16string_view text, HFONT font, SIZE card) {
  const int w = widthOf(rect_);
  const int h = heightOf(rect_);
  if (w <= 0 || h <= 0) return;
  if (bufferDc_ == nullptr) {
    bufferDc_ = CreateCompatibleDC(target);
    buffer_ = CreateCompatibleBitmap(target, w, h);
    if (bufferDc_ == nullptr || buffer_ == nullptr) {
      releaseBuffer();
      return;
    }
    oldBitmap_ = SelectObject(bufferDc_, buffer_);
  }
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kCardBackground);
  if (background != nullptr) SkinPainter::drawExtended(bufferDc_, background, card, POINT{-rect_.left, -rect_.top});
  if (!text.empty()) {
    HGDIOBJ oldFont = font != nullptr ? SelectObject(bufferDc_, font) : nullptr;
    SetBkMode(bufferDc_, TRANSPARENT);
    RECT area{0, -position_, w, std::max(h, rangeMax_) - position_};
    DrawTextW(bufferDc_, text.data(), static_cast<int>(text.size()), &area, DT_WORDBREAK);
    if (oldFont != nullptr) SelectObject(bufferDc_, oldFont);
  }
  BitBlt(target, rect_.left, rect_.top, w, h, bufferDc_, 0, 0, SRCCOPY);
}

void NotesPane::releaseBuffer() {
  if (bufferDc_ != nullptr && oldBitmap_ != nullptr) SelectObject(bufferDc_, oldBitmap_);
  if (buffer_ != nullptr) DeleteObject(buffer_);
  if (bufferDc_ != nullptr) DeleteDC(bufferDc_);
  bufferDc_ = nullptr;
  buffer_ = nullptr;
  oldBitmap_ = nullptr;
}

}  // namespace pellucard
