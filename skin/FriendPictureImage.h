// Image files and imported photos made into a friend's stored picture: decoded, fitted into a
// box (by default the avatar size of the active layout) and kept as JPEG.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "store/FriendPicture.h"

namespace pellucard {

class FriendPictureImage {
 public:
  // A PNG or JPEG file, named by a device path ("\My Pictures\a.jpg") or a host path. A file
  // that cannot be read or decoded, or is too large, leaves the picture as it was.
  static bool setFromFile(FriendPicture& picture, std::u16string_view path);
  static bool setFromFile(FriendPicture& picture, std::u16string_view path, SIZE box);
  // The same for an image already in memory.
  static bool setFromImage(FriendPicture& picture, std::span<const std::uint8_t> imageBytes, SIZE box);
};

}  // namespace pellucard
