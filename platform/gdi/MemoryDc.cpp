#include "platform/gdi/MemoryDc.h"

#include <algorithm>

namespace platform::gdi {

MemoryDc::MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)), width_(1), height_(1) { usable_ = dc_ != nullptr; }

MemoryDc::MemoryDc(HDC like, int width, int height)
    : dc_(CreateCompatibleDC(like)), ownsBitmap_(true), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  // Compatible with the target, not with the fresh memory DC (whose bitmap is monochrome).
  bitmap_ = CreateCompatibleBitmap(like, width_, height_);
  selectBitmap();
}

MemoryDc::MemoryDc(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)), bitmap_(bitmap) {
  BITMAP info{};
  if (bitmap_ != nullptr && GetObjectW(bitmap_, sizeof info, &info) == sizeof info) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  }
  selectBitmap();
}

void MemoryDc::selectBitmap() {
  if (dc_ != nullptr && bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
  usable_ = previous_ != nullptr && previous_ != HGDI_ERROR;
}

MemoryDc::~MemoryDc() {
  if (usable_ && previous_ != nullptr) SelectObject(dc_, previous_);
  if (ownsBitmap_ && bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
}

BOOL MemoryDc::copyTo(HDC target, int x, int y) const {
  if (!*this) return FALSE;
  return BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace platform::gdi
