// Bitmaps of friend pictures, made on demand from the stored picture bytes.
#pragma once

#include <cstdint>
#include <span>

#include "platform/gdi/WinGdi.h"
#include "skin/DibBitmap.h"

namespace pellucard {

class PictureBitmap {
 public:
  // The stored picture fitted into box (aspect kept, full height preferred) as a 16-bit DIB
  // section; an empty bitmap when the bytes do not decode.
  static DibBitmap make(std::span<const std::uint8_t> storedBytes, SIZE box);
};

}  // namespace pellucard
