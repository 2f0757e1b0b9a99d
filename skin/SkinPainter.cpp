#include "skin/SkinPainter.h"

#include "skin/ImageCache.h"
#include "skin/MaskBlend.h"

namespace pellucard {

namespace {

// A memory DC with one bitmap selected for its lifetime.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC like, HBITMAP bitmap) : dc_(CreateCompatibleDC(like)) {
    if (dc_ != nullptr) previous_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (dc_ == nullptr) return;
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;

  HDC dc() const { return dc_; }
  bool ok() const { return dc_ != nullptr && previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

void drawBlended(HDC hdc, const ImageEntry& entry, const RECT& destination, const RECT& source) {
  const int width = destination.right - destination.left;
  const int height = destination.bottom - destination.top;
  if (width <= 0 || height <= 0) return;
  DibBitmap buffer = DibBitmap::create(width, height, DibBitmap::Format::Rgb555);
  if (!buffer) return;
  SelectedBitmap memory(hdc, buffer.handle());
  if (!memory.ok()) return;
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
    SelectedBitmap memory(hdc, entry->colour.handle());
    if (!memory.ok()) return;
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

void SkinPainter::fillRectangle(HDC hdc, const RECT& rect, COLORREF colour) {
  const COLORREF previous = SetBkColor(hdc, colour);
  ExtTextOutW(hdc, 0, 0, ETO_OPAQUE, &rect, u"", 0, nullptr);
  if (previous != CLR_INVALID) SetBkColor(hdc, previous);
}

}  // namespace pellucard
