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

void NotesPane::measure(HWND card, std::u16string_view text, HFONT font) {
  int needed = 0;
  if (!text.empty()) {
    HDC dc = GetDC(card);
    if (dc != nullptr) {
      {
        const platform::gdi::SelectedObject selectedFont(dc, font);
        RECT calc{0, 0, widthOf(rect_), heightOf(rect_)};
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &calc, DT_CALCRECT | DT_WORDBREAK);
        needed = calc.bottom - calc.top;
      }
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

void NotesPane::onVScroll(HWND card, UINT code, int position) {
  if (!CardLook::pocketPc()) return;
  if (scroll(card, static_cast<int>(code), static_cast<short>(position))) InvalidateRect(card, &rect_, FALSE);
}

bool NotesPane::onKeyDown(HWND card, UINT vk) {
  if (!key(card, vk)) return false;
  InvalidateRect(card, &rect_, FALSE);
  return true;
}

void NotesPane::draw(HDC target, std::u16string_view text, HFONT font, SIZE card) {
  const int w = widthOf(rect_);
  const int h = heightOf(rect_);
  if (w <= 0 || h <= 0) return;
  if (!buffer_) {
    buffer_ = std::make_unique<platform::gdi::MemoryDc>(target, w, h);
    if (!*buffer_) {
      buffer_.reset();
      return;
    }
  }
  const HDC dc = buffer_->dc();
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kCardBackground);
  if (background != nullptr) SkinPainter::drawExtended(dc, background, card, POINT{-rect_.left, -rect_.top});
  if (!text.empty()) {
    const platform::gdi::SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT area{0, -position_, w, std::max(h, rangeMax_) - position_};
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &area, DT_WORDBREAK);
  }
  BitBlt(target, rect_.left, rect_.top, w, h, dc, 0, 0, SRCCOPY);
}

void NotesPane::releaseBuffer() { buffer_.reset(); }

}  // namespace pellucard
