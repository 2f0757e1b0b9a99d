#include "platform/gdi/IconImage.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/RectMath.h"

namespace platform::gdi {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

COLORREF rgbOf(std::uint32_t argb) {
  return RGB(static_cast<BYTE>((argb >> 16) & 0xFF), static_cast<BYTE>((argb >> 8) & 0xFF),
             static_cast<BYTE>(argb & 0xFF));
}

std::uint32_t argbOf(COLORREF color, std::uint32_t alpha) {
  return (alpha << 24) | (static_cast<std::uint32_t>(GetRValue(color)) << 16) |
         (static_cast<std::uint32_t>(GetGValue(color)) << 8) | GetBValue(color);
}

// `over` laid on `under` with coverage a (0..255), rounded.
COLORREF mix(COLORREF under, COLORREF over, int a) {
  auto channel = [a](int u, int o) { return static_cast<BYTE>((u * (255 - a) + o * a + 127) / 255); };
  return RGB(channel(GetRValue(under), GetRValue(over)), channel(GetGValue(under), GetGValue(over)),
             channel(GetBValue(under), GetBValue(over)));
}

COLORREF tinted(COLORREF color, const IconBlend& blend) {
  if (blend.tint == CLR_NONE || blend.percent <= 0) return color;
  return mix(color, blend.tint, std::min(blend.percent, 100) * 255 / 100);
}

// Where along the source a destination span [d, d + 1) of `dst` pixels falls, in source pixels.
struct Span {
  double from;
  double to;
};
Span sourceSpan(int d, int dst, int src) {
  return Span{static_cast<double>(d) * src / dst, static_cast<double>(d + 1) * src / dst};
}

}  // namespace

IconImage::IconImage(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      argb_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0),
      mask_(argb_.size(), 1) {}

IconImage IconImage::scaled(int width, int height) const {
  if (width == width_ && height == height_) return *this;
  IconImage out(width, height);
  out.alpha_ = alpha_;
  if (out.empty() || empty()) return out;
  // Area averaging: each destination pixel takes the source pixels it covers, weighted by how
  // much of them it covers. Growing by a whole factor repeats pixels exactly.
  for (int dy = 0; dy < height; ++dy) {
    const Span ys = sourceSpan(dy, height, height_);
    for (int dx = 0; dx < width; ++dx) {
      const Span xs = sourceSpan(dx, width, width_);
      double weight = 0, opaque = 0, alpha = 0, r = 0, g = 0, b = 0;
      for (int sy = static_cast<int>(ys.from); sy < height_ && sy < ys.to; ++sy) {
        const double wy = std::min<double>(sy + 1, ys.to) - std::max<double>(sy, ys.from);
        for (int sx = static_cast<int>(xs.from); sx < width_ && sx < xs.to; ++sx) {
          const double w = wy * (std::min<double>(sx + 1, xs.to) - std::max<double>(sx, xs.from));
          if (w <= 0) continue;
          const std::uint32_t p = argb(sx, sy);
          const bool clear = transparent(sx, sy);
          const double a = alpha_ ? static_cast<double>(p >> 24) : (clear ? 0.0 : 255.0);
          weight += w;
          opaque += clear ? 0 : w;
          alpha += a * w;
          r += ((p >> 16) & 0xFF) * a * w;
          g += ((p >> 8) & 0xFF) * a * w;
          b += (p & 0xFF) * a * w;
        }
      }
      if (weight <= 0) continue;
      const bool clear = opaque < weight / 2;
      out.setTransparent(dx, dy, clear);
      if (alpha <= 0) continue;
      auto channel = [alpha](double sum) {
        return static_cast<std::uint32_t>(std::clamp(std::lround(sum / alpha), 0L, 255L));
      };
      const auto a = static_cast<std::uint32_t>(std::clamp(std::lround(alpha / weight), 0L, 255L));
      // Without an alpha channel the colour under a transparent pixel stays black, so the XOR
      // of the mask draw leaves the background as it is.
      if (!alpha_ && clear) continue;
      out.setArgb(dx, dy, (alpha_ ? a << 24 : 0xFF000000u) | channel(r) << 16 | channel(g) << 8 | channel(b));
    }
  }
  return out;
}

std::optional<IconImage> IconImage::fromBitmaps(HBITMAP color, HBITMAP mask, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0 || x < 0 || y < 0) return std::nullopt;
  MemoryDc colors(nullptr, color);
  if (!colors || colors.width() < x + width || colors.height() < y + height) return std::nullopt;
  IconImage image(width, height);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      image.setArgb(column, row, argbOf(GetPixel(colors.dc(), x + column, y + row), 255));
      image.setTransparent(column, row, false);
    }
  }
  if (mask == nullptr) return image;
  MemoryDc masks(nullptr, mask);
  if (!masks || masks.width() < x + width || masks.height() < y + height) return std::nullopt;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      if (GetPixel(masks.dc(), x + column, y + row) == kWhite) image.setTransparent(column, row, true);
    }
  }
  return image;
}

std::optional<IconImage> IconImage::fromKeyedBitmap(HBITMAP color, COLORREF key, int x, int y, int width, int height) {
  std::optional<IconImage> image = fromBitmaps(color, nullptr, x, y, width, height);
  if (!image) return std::nullopt;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      if (rgbOf(image->argb(column, row)) != (key & 0xFFFFFF)) continue;
      image->setArgb(column, row, 0);
      image->setTransparent(column, row, true);
    }
  }
  return image;
}

BOOL IconImage::draw(HDC hdc, int x, int y, int width, int height, const IconBlend& blend) const {
  DeviceContext* dc = lookupDC(hdc);
  if (dc == nullptr) return FALSE;
  if (width <= 0 || height <= 0 || empty()) return TRUE;
  if (width != width_ || height != height_) return scaled(width, height).draw(hdc, x, y, width, height, blend);

  Painter painter(*dc);
  if (!painter.valid()) return TRUE;
  Surface& out = painter.surface();
  const RECT area = painter.toSurface(RECT{x, y, x + width, y + height});
  const bool hasBackground = blend.background != CLR_NONE;
  const COLORREF background = blend.background & 0xFFFFFF;
  for (const RECT& clip : painter.clip()) {
    const RECT r = intersectRects(clip, area);
    if (rectEmpty(r)) continue;
    for (int sy = r.top; sy < r.bottom; ++sy) {
      const int iy = sy - area.top;
      for (int sx = r.left; sx < r.right; ++sx) {
        const int ix = sx - area.left;
        const std::uint32_t p = argb(ix, iy);
        const bool clear = transparent(ix, iy);
        COLORREF color = rgbOf(p);
        switch (blend.mode) {
          case IconBlend::Mode::Mask:
            out.setPixel(sx, sy, clear ? kWhite : RGB(0, 0, 0));
            continue;
          case IconBlend::Mode::Image:
            out.setPixel(sx, sy, tinted(color, blend));
            continue;
          case IconBlend::Mode::Normal:
            break;
        }
        if (alpha_) {
          const int a = static_cast<int>(p >> 24);
          const COLORREF under = hasBackground ? background : out.pixel(sx, sy);
          if (a == 0) {
            if (hasBackground) out.setPixel(sx, sy, background);
            continue;
          }
          out.setPixel(sx, sy, a == 255 ? tinted(color, blend) : mix(under, tinted(color, blend), a));
        } else if (clear) {
          // The screen AND the mask, XOR the colour: black under the mask leaves it alone.
          if (hasBackground) {
            out.setPixel(sx, sy, background);
          } else if ((p & 0xFFFFFF) != 0) {
            out.setRaw(sx, sy, out.raw(sx, sy) ^ colorToRaw(out.format(), color));
          }
        } else {
          out.setPixel(sx, sy, tinted(color, blend));
        }
      }
    }
    painter.touched(r);
  }
  return TRUE;
}

}  // namespace platform::gdi
