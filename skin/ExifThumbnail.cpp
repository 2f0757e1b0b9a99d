#include "skin/ExifThumbnail.h"

#include <cstring>

#include "skin/TiffReader.h"

namespace pellucard {

std::span<const std::uint8_t> ExifThumbnail::fromApp1(std::span<const std::uint8_t> payload) {
  static constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (payload.size() < 14 || std::memcmp(payload.data(), kExif, 6) != 0) return {};
  const std::span<const std::uint8_t> tiff = payload.subspan(6);
  bool bigEndian;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    bigEndian = true;
  } else if (tiff[0] == 'I' && tiff[1] == 'I') {
    bigEndian = false;
  } else {
    return {};
  }
  const TiffReader reader(tiff, bigEndian);
  if (reader.u16(2) != 42) return {};
  // The preview is described by the second directory, which follows the first one's entries.
  const std::uint32_t ifd0 = reader.u32(4);
  if (!reader.has(ifd0, 2)) return {};
  const std::size_t next = ifd0 + 2 + static_cast<std::size_t>(reader.u16(ifd0)) * 12;
  if (!reader.has(next, 4)) return {};
  const std::uint32_t ifd1 = reader.u32(next);
  if (ifd1 == 0 || !reader.has(ifd1, 2)) return {};
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
  const std::uint16_t count = reader.u16(ifd1);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd1 + 2 + static_cast<std::size_t>(i) * 12;
    if (!reader.has(entry, 12)) return {};
    const std::uint16_t tag = reader.u16(entry);
    if (tag == 0x0201) offset = reader.u32(entry + 8);  // JPEGInterchangeFormat
    if (tag == 0x0202) length = reader.u32(entry + 8);  // JPEGInterchangeFormatLength
  }
  if (offset == 0 || length < 4 || !reader.has(offset, length)) return {};
  return tiff.subspan(offset, length);
}

}  // namespace pellucard
