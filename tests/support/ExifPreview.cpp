#include "tests/support/ExifPreview.h"

namespace platform::testing {

namespace {

void put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> withExifPreview(const std::vector<std::uint8_t>& jpeg,
                                          const std::vector<std::uint8_t>& preview) {
  std::vector<std::uint8_t> tiff = {'I', 'I', 42, 0};
  put32(tiff, 8);
  put16(tiff, 0);   // the first directory holds nothing
  put32(tiff, 14);  // the second directory follows
  put16(tiff, 2);
  put16(tiff, 0x0201);  // where the preview starts
  put16(tiff, 4);
  put32(tiff, 1);
  put32(tiff, 44);
  put16(tiff, 0x0202);  // and its length
  put16(tiff, 4);
  put32(tiff, 1);
  put32(tiff, static_cast<unsigned>(preview.size()));
  put32(tiff, 0);
  tiff.insert(tiff.end(), preview.begin(), preview.end());
  std::vector<std::uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
  payload.insert(payload.end(), tiff.begin(), tiff.end());
  const std::size_t length = payload.size() + 2;
  std::vector<std::uint8_t> out;
  out.reserve(jpeg.size() + payload.size() + 4);
  out.push_back(jpeg[0]);
  out.push_back(jpeg[1]);
  out.push_back(0xFF);
  out.push_back(0xE1);
  out.push_back(static_cast<std::uint8_t>(length >> 8));
  out.push_back(static_cast<std::uint8_t>(length));
  out.insert(out.end(), payload.begin(), payload.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

}  // namespace platform::testing
