// libFuzzer entry: every input goes through the picture path a picked file takes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "skin/ExifOrientation.h"
#include "skin/ImageDecoder.h"
#include "skin/PictureCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  pellucard::ExifOrientation::fromApp1(bytes);
  pellucard::ImageDecoder::readSize(bytes);
  pellucard::PictureCodec::decodeForBox(bytes, {26, 26});
  pellucard::PictureCodec::encodeForBox(bytes, {80, 80});
  return 0;
}
