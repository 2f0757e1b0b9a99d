#include "views/PaintBuffer.h"

#include <algorithm>

namespace pellucard {

PaintBuffer::PaintBuffer(HDC like, int width, int height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {
  dc_ = CreateCompatibleDC(like);
  bitmap_ = CreateCompatibleBitmap(like, width_, height_);
  if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
}

PaintBuffer::~PaintBuffer() {
  if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
}

}  // namespace pellucard
