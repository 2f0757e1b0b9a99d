// One picture of an icon or of an image list: colours with an optional alpha channel, and the
// mask that says which pixels let the background through. Drawing it is the one primitive that
// icons and image lists share.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

// How a picture meets what lies under it.
struct IconBlend {
  enum class Mode {
    Normal,  // alpha when the picture has it, else the mask (AND mask, XOR colours)
    Mask,    // the mask alone: white where transparent, black elsewhere
    Image,   // the colours alone, every pixel opaque
  };
  Mode mode = Mode::Normal;
  // Transparent pixels take this colour instead of showing the background (CLR_NONE: they don't).
  COLORREF background = CLR_NONE;
  // Visible pixels are mixed with this colour by `percent` (0: not at all).
  COLORREF tint = CLR_NONE;
  int percent = 0;
};

class IconImage {
 public:
  IconImage() = default;
  // A picture of that size, every pixel transparent black.
  IconImage(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }

  // Straight (not premultiplied) 0xAARRGGBB; the alpha byte counts only when hasAlpha().
  std::uint32_t argb(int x, int y) const { return argb_[index(x, y)]; }
  void setArgb(int x, int y, std::uint32_t value) { argb_[index(x, y)] = value; }
  bool transparent(int x, int y) const { return mask_[index(x, y)] != 0; }
  void setTransparent(int x, int y, bool transparent) { mask_[index(x, y)] = transparent ? 1 : 0; }
  bool hasAlpha() const { return alpha_; }
  void setHasAlpha(bool alpha) { alpha_ = alpha; }

  // The picture at another size: averaged (premultiplied) when shrinking, pixels repeated when
  // growing. The mask follows the result's alpha, or the nearest source pixel without alpha.
  IconImage scaled(int width, int height) const;

  // Reads a colour bitmap and a mask bitmap (white: transparent; none: all opaque) from the
  // area at (x, y) of the image's size. None when a bitmap cannot be read or is too small.
  static std::optional<IconImage> fromBitmaps(HBITMAP color, HBITMAP mask, int x, int y, int width, int height);
  // Pixels of `color` equal to `key` become transparent (and black, as image lists keep them).
  static std::optional<IconImage> fromKeyedBitmap(HBITMAP color, COLORREF key, int x, int y, int width, int height);

  // Draws the picture into (x, y, width, height) of the DC, scaled to that size; honours the
  // DC's clipping. FALSE with ERROR_INVALID_HANDLE for a bad DC.
  BOOL draw(HDC hdc, int x, int y, int width, int height, const IconBlend& blend) const;

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  bool alpha_ = false;
  std::vector<std::uint32_t> argb_;
  std::vector<std::uint8_t> mask_;  // 1 = transparent
};

}  // namespace platform::gdi
