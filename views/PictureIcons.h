// The small bitmaps of friends' pictures that list rows draw, made on first use and kept until
// the picture's bytes or the screen layout change. Shared by every list of the process.
#pragma once

#include <cstdint>
#include <unordered_map>

#include "skin/PictureBitmaps.h"
#include "store/Friend.h"

namespace pellucard {

class PictureIcons {
 public:
  static PictureIcons& instance();

  // The friend's small picture, or none when the friend has no picture or it does not decode.
  const DibBitmap* smallPicture(const Friend& person, const ScreenLayout& layout);
  void clear() { icons_.clear(); }

 private:
  struct Icon {
    std::uint64_t fingerprint = 0;
    LayoutKind layout = LayoutKind::Portrait;
    PictureBitmaps bitmaps;
  };
  static std::uint64_t fingerprint(const std::vector<std::uint8_t>& bytes);

  std::unordered_map<RecordId, Icon> icons_;
};

}  // namespace pellucard
