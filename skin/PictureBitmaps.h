// The two bitmaps of a friend's picture (avatar size and small picture size of the layout),
// made on demand from the picture's bytes. The owner calls reset() whenever the bytes change.
#pragma once

#include <cstdint>
#include <span>

#include "device/ScreenLayout.h"
#include "skin/DibBitmap.h"

namespace pellucard {

class PictureBitmaps {
 public:
  // Both bitmaps are made from the bytes when the large one is missing; none without bytes or
  // when the bytes do not decode. Bytes that failed once are not decoded again until reset().
  HBITMAP large(std::span<const std::uint8_t> bytes, const ScreenLayout& layout);
  HBITMAP small(std::span<const std::uint8_t> bytes, const ScreenLayout& layout);

  // The pixels, for callers that need the size of what they draw.
  const DibBitmap& largeBitmap() const { return large_; }
  const DibBitmap& smallBitmap() const { return small_; }

  // Deletes both bitmaps (the picture was replaced or cleared, or the layout changed).
  void reset();

 private:
  void make(std::span<const std::uint8_t> bytes, const ScreenLayout& layout);

  DibBitmap large_;
  DibBitmap small_;
  bool undecodable_ = false;
};

}  // namespace pellucard
