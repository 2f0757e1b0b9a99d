#include "platform/gdi/Painter.h"

#include <algorithm>

#include "platform/gdi/RectMath.h"

namespace platform::gdi {

std::uint32_t applyRop(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t result = 0;
  for (int i = 0; i < 8; ++i) {
    if ((rop >> i) & 1) result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

Painter::Painter(DeviceContext& dc) : dc_(dc), surface_(dc.surface()) {
  if (surface_) clip_ = dc.clipRegion().rects();
}

Painter::~Painter() { dc_.noteDrawn(touched_); }

void Painter::restrictTo(const RECT& surfaceRect) {
  std::vector<RECT> out;
  for (const RECT& r : clip_) {
    const RECT i = intersectRects(r, surfaceRect);
    if (!rectEmpty(i)) out.push_back(i);
  }
  clip_ = std::move(out);
}

RECT Painter::toSurface(const RECT& logical) const { return offsetRect(logical, dc_.origin().x, dc_.origin().y); }

RECT Painter::clipBounds() const {
  RECT b{0, 0, 0, 0};
  for (const RECT& r : clip_) b = unionRects(b, r);
  return b;
}

bool Painter::visible(int x, int y) const {
  for (const RECT& r : clip_) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

void Painter::touched(const RECT& area) { touched_ = unionRects(touched_, area); }

void Painter::fill(const RECT& area, std::uint32_t raw) {
  if (!surface_) return;
  TextRecordList* texts = dc_.textStore();
  for (const RECT& c : clip_) {
    const RECT r = intersectRects(c, area);
    if (rectEmpty(r)) continue;
    if (surface_->format() == PixelFormat::Rgb565 || surface_->format() == PixelFormat::Rgb555) {
      const auto value = static_cast<std::uint16_t>(raw);
      for (int y = r.top; y < r.bottom; ++y)
        std::fill(surface_->row16(y) + r.left, surface_->row16(y) + r.right, value);
    } else {
      for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) surface_->setRaw(x, y, raw);
      }
    }
    if (texts) texts->eraseInside(r);
    touched(r);
  }
}

void Painter::patternOp(const RECT& area, std::uint32_t patternRaw, std::uint8_t rop) {
  if (!surface_) return;
  if (rop == 0xF0) return fill(area, patternRaw);
  if (rop == 0x00) return fill(area, 0);
  const std::uint32_t mask = surface_->rawMask();
  if (rop == 0xFF) return fill(area, mask);
  for (const RECT& c : clip_) {
    const RECT r = intersectRects(c, area);
    if (rectEmpty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        surface_->setRaw(x, y, applyRop(rop, patternRaw, 0, surface_->raw(x, y)) & mask);
      }
    }
    touched(r);
  }
}

void Painter::plot(int x, int y, std::uint32_t raw) {
  if (!surface_ || !visible(x, y)) return;
  surface_->setRaw(x, y, raw);
  touched(RECT{x, y, x + 1, y + 1});
}

void Painter::span(int y, int x0, int x1, std::uint32_t raw) {
  if (!surface_ || x0 >= x1) return;
  for (const RECT& c : clip_) {
    if (y < c.top || y >= c.bottom) continue;
    const int a = std::max<int>(x0, c.left), b = std::min<int>(x1, c.right);
    for (int x = a; x < b; ++x) surface_->setRaw(x, y, raw);
    if (a < b) touched(RECT{a, y, b, y + 1});
  }
}

void Painter::glyph(const Glyph& g, int x, int baseline, COLORREF color, const RECT& limit) {
  if (!surface_ || g.width <= 0 || g.height <= 0) return;
  const RECT box{x + g.left, baseline - g.top, x + g.left + g.width, baseline - g.top + g.height};
  const RECT area = intersectRects(box, limit);
  if (rectEmpty(area)) return;
  const bool is565 = surface_->format() == PixelFormat::Rgb565;
  const std::uint16_t solid = colorTo565(color);
  const int cr = GetRValue(color), cg = GetGValue(color), cb = GetBValue(color);
  const int r5 = solid >> 11, g6 = (solid >> 5) & 0x3F, b5 = solid & 0x1F;
  for (const RECT& c : clip_) {
    const RECT r = intersectRects(c, area);
    if (rectEmpty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      const std::uint8_t* cov = g.coverage.data() + static_cast<std::size_t>((y - box.top) * g.width);
      if (is565) {
        std::uint16_t* row = surface_->row16(y);
        for (int px = r.left; px < r.right; ++px) {
          const int a = cov[px - box.left];
          if (a == 0) continue;
          if (a == 255) {
            row[px] = solid;
            continue;
          }
          const int d = row[px];
          const int dr = d >> 11, dg = (d >> 5) & 0x3F, db = d & 0x1F;
          const int nr = dr + ((r5 - dr) * a + 127) / 255;
          const int ng = dg + ((g6 - dg) * a + 127) / 255;
          const int nb = db + ((b5 - db) * a + 127) / 255;
          row[px] = static_cast<std::uint16_t>((nr << 11) | (ng << 5) | nb);
        }
      } else {
        for (int px = r.left; px < r.right; ++px) {
          const int a = cov[px - box.left];
          if (a == 0) continue;
          if (surface_->format() == PixelFormat::Mono) {
            if (a >= 128) surface_->setPixel(px, y, color);
            continue;
          }
          const COLORREF d = surface_->pixel(px, y);
          auto mix = [a](int from, int to) { return static_cast<BYTE>(from + ((to - from) * a + 127) / 255); };
          surface_->setPixel(px, y, RGB(mix(GetRValue(d), cr), mix(GetGValue(d), cg), mix(GetBValue(d), cb)));
        }
      }
    }
    touched(r);
  }
}

}  // namespace platform::gdi
