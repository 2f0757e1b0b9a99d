// A memory bitmap with its device context, for painting a window in one block.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class PaintBuffer {
 public:
  PaintBuffer(HDC like, int width, int height);
  ~PaintBuffer();
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  explicit operator bool() const { return dc_ != nullptr && bitmap_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace pellucard
