#include "skin/PictureCodec.h"

#include <fstream>

#include "platform/sys/DevicePath.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegEncoder.h"
#include "skin/PictureScaler.h"

namespace pellucard {

std::optional<RgbImage> PictureCodec::decodeForBox(std::span<const std::uint8_t> storedBytes, SIZE box) {
  const std::optional<SIZE> size = ImageDecoder::readSize(storedBytes);
  if (!size) return std::nullopt;
  const SIZE fitted = PictureScaler::fitIntoBox(box, *size);
  if (fitted.cx <= 0 || fitted.cy <= 0) return std::nullopt;
  const std::optional<RgbImage> image = ImageDecoder::decode(storedBytes, fitted);
  if (!image) return std::nullopt;
  return PictureScaler::resample(*image, fitted.cx, fitted.cy);
}

std::optional<std::vector<std::uint8_t>> PictureCodec::encodeForBox(std::span<const std::uint8_t> imageBytes,
                                                                    SIZE box) {
  const std::optional<RgbImage> picture = decodeForBox(imageBytes, box);
  if (!picture) return std::nullopt;
  return JpegEncoder::encode(*picture);
}

std::optional<std::vector<std::uint8_t>> PictureCodec::encodeFileForBox(const std::string& hostPath, SIZE box) {
  const std::optional<std::vector<std::uint8_t>> bytes = readFile(hostPath);
  if (!bytes) return std::nullopt;
  return encodeForBox(*bytes, box);
}

std::optional<std::vector<std::uint8_t>> PictureCodec::encodeDeviceFileForBox(std::u16string_view devicePath,
                                                                              SIZE box) {
  if (devicePath.empty()) return std::nullopt;
  return encodeFileForBox(platform::sys::DevicePath::toHost(devicePath), box);
}

std::optional<std::vector<std::uint8_t>> PictureCodec::readFile(const std::string& hostPath, std::uint64_t maxBytes) {
  std::ifstream file(hostPath, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff end = file.tellg();
  if (end < 0 || static_cast<std::uint64_t>(end) > maxBytes) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end));
  file.seekg(0);
  if (!bytes.empty() && !file.read(reinterpret_cast<char*>(bytes.data()), end)) return std::nullopt;
  return bytes;
}

}  // namespace pellucard
