// A memory DC with a bitmap selected, released at the end of the test.
#pragma once

#include <gtest/gtest.h>

#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"

class MemoryCanvas {
 public:
  MemoryCanvas(int width, int height) {
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateBitmap(width, height, 1, 16, nullptr);
    previous = SelectObject(dc, bitmap);
  }
  ~MemoryCanvas() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  void fill(COLORREF color, RECT r) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }

  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
};

// Counts pixels of the rectangle that differ from `background`.
inline int inkCount(HDC dc, RECT r, COLORREF background) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) count += GetPixel(dc, x, y) != background ? 1 : 0;
  }
  return count;
}

// The smallest rectangle holding every pixel that differs from `background`.
inline RECT inkBounds(HDC dc, RECT r, COLORREF background) {
  RECT b{r.right, r.bottom, r.left, r.top};
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (GetPixel(dc, x, y) == background) continue;
      b.left = std::min<LONG>(b.left, x);
      b.top = std::min<LONG>(b.top, y);
      b.right = std::max<LONG>(b.right, x + 1);
      b.bottom = std::max<LONG>(b.bottom, y + 1);
    }
  }
  return b;
}
