#include "skin/PictureBitmaps.h"

#include "skin/PictureBitmap.h"

namespace pellucard {

void PictureBitmaps::make(std::span<const std::uint8_t> bytes, const ScreenLayout& layout) {
  if (large_ || undecodable_ || bytes.empty()) return;
  large_ = PictureBitmap::make(bytes, layout.avatarSize());
  if (!large_) {
    // A stored picture that does not decode would otherwise be decoded again at every paint.
    undecodable_ = true;
    small_ = DibBitmap();
    return;
  }
  small_ = PictureBitmap::make(bytes, layout.smallPictureSize());
}

HBITMAP PictureBitmaps::large(std::span<const std::uint8_t> bytes, const ScreenLayout& layout) {
  make(bytes, layout);
  return bytes.empty() ? nullptr : large_.handle();
}

HBITMAP PictureBitmaps::small(std::span<const std::uint8_t> bytes, const ScreenLayout& layout) {
  make(bytes, layout);
  return bytes.empty() ? nullptr : small_.handle();
}

void PictureBitmaps::reset() {
  large_ = DibBitmap();
  small_ = DibBitmap();
  undecodable_ = false;
}

}  // namespace pellucard
