// Reads the numbers of a TIFF structure (the body of an Exif block) in its byte order, with
// the bounds checks every caller needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pellucard {

class TiffReader {
 public:
  TiffReader(std::span<const std::uint8_t> data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}

  bool has(std::size_t offset, std::size_t length) const {
    return offset <= data_.size() && length <= data_.size() - offset;
  }
  std::uint16_t u16(std::size_t offset) const {
    const std::uint16_t a = data_[offset], b = data_[offset + 1];
    return static_cast<std::uint16_t>(bigEndian_ ? (a << 8) | b : (b << 8) | a);
  }
  std::uint32_t u32(std::size_t offset) const {
    const std::uint32_t hi = u16(offset), lo = u16(offset + 2);
    return bigEndian_ ? (hi << 16) | lo : (lo << 16) | hi;
  }

 private:
  std::span<const std::uint8_t> data_;
  bool bigEndian_;
};

}  // namespace pellucard
