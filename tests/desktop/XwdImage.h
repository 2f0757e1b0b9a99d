// A picture of an X display as `xwd` writes it (ZPixmap, 24 or 32 bits a pixel, true colour).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellucard::testing {

class XwdImage {
 public:
  // False, with the reason, when the bytes are not such a picture.
  bool read(const std::string& bytes, std::string& error);

  int width() const { return width_; }
  int height() const { return height_; }
  // 0xRRGGBB.
  std::uint32_t pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

}  // namespace pellucard::testing
