// Pixel work for one drawing call on one DC: resolves the target surface and the clip
// rectangles once, draws in surface coordinates, and reports what changed when done.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/FontInstance.h"
#include "platform/gdi/RectMath.h"

namespace platform::gdi {

class Painter {
 public:
  explicit Painter(DeviceContext& dc);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool valid() const { return surface_ != nullptr; }
  Surface& surface() { return *surface_; }
  DeviceContext& dc() { return dc_; }
  const std::vector<RECT>& clip() const { return clip_; }
  // Narrows the clip further (surface coordinates).
  void restrictTo(const RECT& surfaceRect);
  RECT toSurface(const RECT& logical) const;
  // Far logical coordinates are pinned before the origin is added, so slopes survive.
  int sx(long long logicalX) const { return clampCoordinate(logicalX) + dc_.origin().x; }
  int sy(long long logicalY) const { return clampCoordinate(logicalY) + dc_.origin().y; }
  // The bounds of the clip in surface coordinates.
  RECT clipBounds() const;
  bool visible(int x, int y) const;

  // Fills a surface rectangle with a raw pixel value; covered texts are forgotten.
  void fill(const RECT& area, std::uint32_t raw);
  // Applies a ternary raster code with a constant pattern to a surface rectangle.
  void patternOp(const RECT& area, std::uint32_t patternRaw, std::uint8_t rop);
  void plot(int x, int y, std::uint32_t raw);
  void span(int y, int x0, int x1, std::uint32_t raw);  // [x0, x1)
  // Blends a glyph's coverage in `color` with its pen position at (x, baseline).
  void glyph(const Glyph& g, int x, int baseline, COLORREF color, const RECT& limit);
  void touched(const RECT& area);

 private:
  DeviceContext& dc_;
  Surface* surface_;
  std::vector<RECT> clip_;
  RECT touched_{0, 0, 0, 0};
};

// Result of the ternary raster code on pattern, source and destination bits.
std::uint32_t applyRop(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d);

}  // namespace platform::gdi
