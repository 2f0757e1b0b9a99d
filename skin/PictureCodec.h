// What a friend's picture needs of the imaging code: turning a picked image file into the
// stored JPEG, and a stored picture into a picture of a given box size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"
#include "skin/RgbImage.h"

namespace pellucard {

class PictureCodec {
 public:
  // Files larger than this are refused before they are read.
  static constexpr std::uint64_t kMaxFileBytes = 128ull * 1024 * 1024;

  // The picture fitted into box (aspect kept, full height preferred) and encoded as JPEG.
  // None when the bytes are not a PNG or JPEG we can read.
  static std::optional<std::vector<std::uint8_t>> encodeForBox(std::span<const std::uint8_t> imageBytes, SIZE box);

  // The same from a host file, or from a file in the device's notation ("\My Pictures\a.jpg").
  static std::optional<std::vector<std::uint8_t>> encodeFileForBox(const std::string& hostPath, SIZE box);
  static std::optional<std::vector<std::uint8_t>> encodeDeviceFileForBox(std::u16string_view devicePath, SIZE box);

  // A stored picture (any encoding we decode) fitted into box, ready to become a bitmap.
  static std::optional<RgbImage> decodeForBox(std::span<const std::uint8_t> storedBytes, SIZE box);

  // The whole content of a host file, or none when it cannot be read or exceeds maxBytes.
  static std::optional<std::vector<std::uint8_t>> readFile(const std::string& hostPath,
                                                           std::uint64_t maxBytes = kMaxFileBytes);
};

}  // namespace pellucard
