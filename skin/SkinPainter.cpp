#include "skin/SkinPainter.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/MemoryDc.h"
#include "platform/win/WinUser.h"
#include "skin/ImageCache.h"
#include "skin/MaskBlend.h"

namespace pellucard {

namespace {

void drawBlended(HDC hdc, const ImageEntry& entry, const RECT& destination, const RECT& source) {
  const int width = destination.right - destination.left;
  const int height = destination.bottom - destination.top;
  if (width <= 0 || height <= 0) return;
  DibBitmap buffer = DibBitmap::create(width, height, DibBitmap::Format::Rgb555);
  if (!buffer) return;
  const platform::gdi::MemoryDc memory(hdc, buffer.handle());
  if (!memory) return;
  BitBlt(memory.dc(), 0, 0, width, height, hdc, destination.left, destination.top, SRCCOPY);
  MaskBlend::blend(entry.colour.constPlane(), entry.mask.constPlane(), source, buffer.plane());
  BitBlt(hdc, destination.left, destination.top, width, height, memory.dc(), 0, 0, SRCCOPY);
}

}  // namespace

void SkinPainter::drawSkinImage(HDC hdc, ImageEntry* entry, const RECT& destination, const RECT& source) {
  if (entry == nullptr) return;
  ImageCache::instance().load(*entry);
  if (!entry->colour) return;
  if (!entry->mask) {
    const platform::gdi::MemoryDc memory(hdc, entry->colour.handle());
    if (!memory) return;
    TransparentBlt(hdc, destination.left, destination.top, destination.right - destination.left,
                   destination.bottom - destination.top, memory.dc(), source.left, source.top,
                   source.right - source.left, source.bottom - source.top, kColourKey);
    return;
  }
  if (!MaskBlend::sourceInsideImage(source, entry->colour.width(), entry->colour.height()) ||
      !MaskBlend::sourceInsideImage(source, entry->mask.width(), entry->mask.height())) {
    return;
  }
  drawBlended(hdc, *entry, destination, source);
}

void SkinPainter::drawSkinImageAt(HDC hdc, ImageEntry* entry, int x, int y) {
  if (entry == nullptr) return;
  ImageCache::instance().load(*entry);
  if (!entry->colour) return;
  const int width = entry->colour.width();
  const int height = entry->colour.height();
  drawSkinImage(hdc, entry, RECT{x, y, x + width, y + height}, RECT{0, 0, width, height});
}

void SkinPainter::drawCoveringPart(HDC hdc, ImageEntry* entry, const RECT& destination, const RECT& source, SIZE area) {
  if (entry == nullptr) return;
  ImageCache::instance().load(*entry);
  if (!entry->colour) return;
  const int imageWidth = entry->colour.width();
  const int imageHeight = entry->colour.height();
  const int coverWidth = std::max(imageWidth, static_cast<int>(area.cx));
  const int coverHeight = std::max(imageHeight, static_cast<int>(area.cy));
  if (entry->mask || (coverWidth == imageWidth && coverHeight == imageHeight)) {
    drawSkinImage(hdc, entry, destination, source);
    return;
  }
  if (destination.right <= destination.left || destination.bottom <= destination.top) return;
  const platform::gdi::MemoryDc memory(hdc, entry->colour.handle());
  if (!memory) return;
  // The whole stretched image is placed where the area's origin falls and clipped to the
  // destination, so neighbouring windows sample the same pixels at their common edges.
  const platform::gdi::SavedDcState saved(hdc);
  if (IntersectClipRect(hdc, destination.left, destination.top, destination.right, destination.bottom) != ERROR) {
    TransparentBlt(hdc, destination.left - source.left, destination.top - source.top, coverWidth, coverHeight,
                   memory.dc(), 0, 0, imageWidth, imageHeight, kColourKey);
  }
}

void SkinPainter::drawScreenBackground(HDC hdc, const RECT& destination, const RECT& source) {
  const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  drawCoveringPart(hdc, ImageCache::instance().loadedEntry(ImageCache::kBackground), destination, source, screen);
}

void SkinPainter::drawAcross(HDC hdc, ImageEntry* entry, int x, int y, int width) {
  if (entry == nullptr) return;
  ImageCache::instance().load(*entry);
  if (!entry->colour) return;
  const int imageWidth = entry->colour.width();
  const int imageHeight = entry->colour.height();
  if (imageWidth < 2 || width <= imageWidth) {
    drawSkinImageAt(hdc, entry, x, y);
    return;
  }
  // Left half, then the middle half of the image repeated, then the right half: both ends of
  // a rounded bar stay where they belong and no end shows up in the middle.
  const int half = imageWidth / 2;
  const int quarter = imageWidth / 4;
  const long long end = static_cast<long long>(x) + width;
  const long long rightStart = end - (imageWidth - half);
  drawSkinImage(hdc, entry, RECT{x, y, x + half, y + imageHeight}, RECT{0, 0, half, imageHeight});
  for (long long left = static_cast<long long>(x) + half; left < rightStart; left += half) {
    const int part = static_cast<int>(std::min<long long>(half, rightStart - left));
    const int at = static_cast<int>(left);
    drawSkinImage(hdc, entry, RECT{at, y, at + part, y + imageHeight}, RECT{quarter, 0, quarter + part, imageHeight});
  }
  const int at = static_cast<int>(rightStart);
  drawSkinImage(hdc, entry, RECT{at, y, at + imageWidth - half, y + imageHeight},
                RECT{half, 0, imageWidth, imageHeight});
}

namespace {

struct Span {
  int source;
  int sourceLength;
  int destination;
  int length;
};

// Pieces of one axis for drawExtended: the whole image when the area is no larger; otherwise
// the image's first half and the rest after its middle line at the two ends, with that middle
// line stretched over the gap.
std::vector<Span> extendedSpans(int image, int area) {
  if (area <= image || image < 3) return {Span{0, image, 0, image}};
  const int half = image / 2;
  const int tail = image - half - 1;
  return {Span{0, half, 0, half}, Span{half, 1, half, area - half - tail}, Span{half + 1, tail, area - tail, tail}};
}

}  // namespace

void SkinPainter::drawExtended(HDC hdc, ImageEntry* entry, SIZE area, POINT origin) {
  if (entry == nullptr) return;
  ImageCache::instance().load(*entry);
  if (!entry->colour) return;
  const auto columns = extendedSpans(entry->colour.width(), static_cast<int>(area.cx));
  const auto rows = extendedSpans(entry->colour.height(), static_cast<int>(area.cy));
  for (const Span& row : rows) {
    for (const Span& column : columns) {
      const LONG left = origin.x + column.destination;
      const LONG top = origin.y + row.destination;
      drawSkinImage(
          hdc, entry, RECT{left, top, left + column.length, top + row.length},
          RECT{column.source, row.source, column.source + column.sourceLength, row.source + row.sourceLength});
    }
  }
}

void SkinPainter::fillRectangle(HDC hdc, const RECT& rect, COLORREF colour) {
  const COLORREF previous = SetBkColor(hdc, colour);
  ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, u"", 0, nullptr);
  if (previous != CLR_INVALID) SetBkColor(hdc, previous);
}

}  // namespace pellucard
