// Sizing friend pictures: the fit into the avatar box and an area-averaging resampler.
#pragma once

#include <optional>

#include "platform/base/WinTypes.h"
#include "skin/RgbImage.h"

namespace pellucard {

class PictureScaler {
 public:
  // The picture's size inside a box, keeping its aspect ratio and preferring the full box
  // height. Products are computed in 64 bits. A side that would round down to 0 is made 1;
  // an empty picture or box gives {0, 0}.
  static SIZE fitIntoBox(SIZE box, SIZE image);

  // Resamples to width x height; every target pixel is the area-weighted mean of the source
  // pixels it covers, so reduced photos stay sharp and free of aliasing. None for an empty
  // source or target.
  static std::optional<RgbImage> resample(const RgbImage& source, int width, int height);
};

}  // namespace pellucard
