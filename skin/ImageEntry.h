// One skin image of the cache: a colour image and, for alpha-blended images, its mask.
#pragma once

#include "platform/base/WinTypes.h"
#include "skin/DibBitmap.h"

namespace pellucard {

struct ImageEntry {
  DibBitmap colour;  // empty until loaded, and when the resource is missing
  DibBitmap mask;    // empty when maskId is 0 or the resource is missing
  bool loaded = false;
  UINT colourId = 0;
  UINT maskId = 0;  // 0: no mask, the image is drawn with the magenta colour key
};

}  // namespace pellucard
