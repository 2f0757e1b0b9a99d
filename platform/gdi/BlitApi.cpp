// Pixel transfers: BitBlt, StretchBlt, TransparentBlt, PatBlt, GetPixel and SetPixel.
// Texts drawn into a source surface travel with its pixels to the destination.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::BrushData;
using platform::gdi::DeviceContext;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::offsetRect;
using platform::gdi::Painter;
using platform::gdi::PixelFormat;
using platform::gdi::Surface;

namespace {

bool ropUsesSource(std::uint8_t rop) { return ((rop >> 2) & 0x33) != (rop & 0x33); }
bool ropUsesPattern(std::uint8_t rop) { return ((rop >> 4) & 0x0F) != (rop & 0x0F); }
bool ropUsesDest(std::uint8_t rop) { return ((rop >> 1) & 0x55) != (rop & 0x55); }

// Converts source pixels to the destination's format, with the monochrome rules of Win32:
// mono 0/1 become the destination's text/background colours; a colour source becomes 1
// where it equals the source DC's background colour.
class PixelConverter {
 public:
  PixelConverter(const Surface& src, DeviceContext& srcDc, const Surface& dst, DeviceContext& dstDc)
      : from_(src.format()), to_(dst.format()) {
    if (from_ == PixelFormat::Mono && to_ != PixelFormat::Mono) {
      zero_ = platform::gdi::colorToRaw(to_, dstDc.textColor());
      one_ = platform::gdi::colorToRaw(to_, dstDc.bkColor());
    }
    if (from_ != PixelFormat::Mono && to_ == PixelFormat::Mono) {
      srcBk_ = platform::gdi::colorToRaw(from_, srcDc.bkColor());
    }
  }

  std::uint32_t operator()(std::uint32_t raw) const {
    if (from_ == to_) return raw;
    if (from_ == PixelFormat::Mono) return raw ? one_ : zero_;
    if (to_ == PixelFormat::Mono) return raw == srcBk_ ? 1u : 0u;
    if (from_ == PixelFormat::Rgb565 && to_ == PixelFormat::Rgb555) return ((raw >> 1) & 0x7FE0) | (raw & 0x1F);
    if (from_ == PixelFormat::Rgb555 && to_ == PixelFormat::Rgb565) {
      const std::uint32_t g5 = (raw >> 5) & 0x1F;
      return ((raw & 0x7C00) << 1) | (((g5 << 1) | (g5 >> 4)) << 5) | (raw & 0x1F);
    }
    return platform::gdi::colorToRaw(to_, platform::gdi::rawToColor(from_, raw));
  }

 private:
  PixelFormat from_;
  PixelFormat to_;
  std::uint32_t zero_ = 0, one_ = 0, srcBk_ = 0;
};

struct Extent {
  int pos;
  int size;
  bool mirrored;
};

Extent normalize(long long pos, long long size) {
  const bool mirrored = size < 0;
  if (mirrored) pos += size, size = -size;
  return Extent{platform::gdi::clampCoordinate(pos), static_cast<int>(std::min(size, platform::gdi::kCoordinateLimit)),
                mirrored};
}

// Source coordinate (relative) sampled by destination index i, at pixel centres.
int sampleIndex(int i, int dstSize, int srcSize, bool mirrored) {
  const long long s = ((2LL * i + 1) * srcSize) / (2LL * dstSize);
  return mirrored ? srcSize - 1 - static_cast<int>(s) : static_cast<int>(s);
}

enum class Mode { Rop, Transparent };

struct Transfer {
  Extent dx, dy, sx, sy;
  std::uint8_t rop = 0xCC;
  Mode mode = Mode::Rop;
  COLORREF key = 0;
};

// The source's texts are taken before any pixel moves, so a copy within one surface works too.
std::vector<platform::gdi::CapturedText> textsToCarry(DeviceContext& src, const RECT& srcArea) {
  platform::gdi::TextRecordList* from = src.textStore();
  return from ? from->intersecting(srcArea) : std::vector<platform::gdi::CapturedText>{};
}

void carryTexts(std::vector<platform::gdi::CapturedText> carried, const RECT& srcArea, Painter& dst,
                const RECT& dstArea, const Transfer& t) {
  platform::gdi::TextRecordList* to = dst.dc().textStore();
  if (!to) return;
  for (platform::gdi::CapturedText& record : carried) {
    const RECT r = platform::gdi::intersectRects(record.screenRect, srcArea);
    auto mapX = [&](long long x) {
      return static_cast<LONG>(dstArea.left + (x - srcArea.left) * t.dx.size / std::max(1, t.sx.size));
    };
    auto mapY = [&](long long y) {
      return static_cast<LONG>(dstArea.top + (y - srcArea.top) * t.dy.size / std::max(1, t.sy.size));
    };
    const RECT mapped{mapX(r.left), mapY(r.top), mapX(r.right), mapY(r.bottom)};
    RECT visible{0, 0, 0, 0};
    for (const RECT& c : dst.clip())
      visible = platform::gdi::unionRects(visible, platform::gdi::intersectRects(c, mapped));
    if (platform::gdi::rectEmpty(visible)) continue;
    const RECT& d = record.drawnRect;
    record.drawnRect = RECT{mapX(d.left), mapY(d.top), mapX(d.right), mapY(d.bottom)};
    record.screenRect = visible;
    to->add(std::move(record));
  }
}

BOOL transfer(HDC hdcDest, HDC hdcSrc, Transfer t) {
  DeviceContext* dst = lookupDC(hdcDest);
  if (!dst) return FALSE;
  const bool needsSource = t.mode == Mode::Transparent || ropUsesSource(t.rop);
  DeviceContext* src = nullptr;
  if (needsSource && !(src = lookupDC(hdcSrc))) return FALSE;
  if (t.dx.size == 0 || t.dy.size == 0) return TRUE;
  if (needsSource && (t.sx.size == 0 || t.sy.size == 0)) return TRUE;

  Painter painter(*dst);
  if (!painter.valid()) return TRUE;
  Surface& out = painter.surface();
  const RECT dstArea = painter.toSurface(RECT{t.dx.pos, t.dy.pos, t.dx.pos + t.dx.size, t.dy.pos + t.dy.size});

  std::uint32_t pattern = 0;
  if (ropUsesPattern(t.rop) && t.mode == Mode::Rop) {
    BrushData* brush = ObjectTable::instance().findAs<BrushData>(dst->selected(OBJ_BRUSH));
    if (!brush || brush->style == BS_NULL) return TRUE;
    pattern = platform::gdi::colorToRaw(out.format(), brush->color);
  }

  if (!needsSource) {
    painter.patternOp(dstArea, pattern, t.rop);
    return TRUE;
  }

  Surface* in = src->surface();
  if (!in) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  // Copying a surface onto itself reads from a snapshot so overlapping areas stay correct.
  std::unique_ptr<Surface> snapshot;
  if (in == &out) {
    snapshot = std::make_unique<Surface>(in->format(), in->width(), in->height(), true, in->stride());
    for (int y = 0; y < in->height(); ++y)
      std::memcpy(snapshot->row(y), in->row(y), static_cast<std::size_t>(in->stride()));
    in = snapshot.get();
  }
  const PixelConverter convert(*in, *src, out, *dst);
  const int srcOx = t.sx.pos + src->origin().x, srcOy = t.sy.pos + src->origin().y;
  const RECT srcArea{srcOx, srcOy, srcOx + t.sx.size, srcOy + t.sy.size};
  std::vector<platform::gdi::CapturedText> carried = textsToCarry(*src, srcArea);
  const bool stretched = t.sx.size != t.dx.size || t.sy.size != t.dy.size || t.sx.mirrored != t.dx.mirrored ||
                         t.sy.mirrored != t.dy.mirrored;
  const bool halftone = stretched && t.mode == Mode::Rop && t.rop == 0xCC && dst->stretchMode() == HALFTONE &&
                        in->format() != PixelFormat::Mono && out.format() != PixelFormat::Mono;
  const std::uint32_t keyRaw = platform::gdi::colorToRaw(in->format(), t.key);
  const std::uint32_t mask = out.rawMask();
  const bool opaque = t.mode == Mode::Rop && !ropUsesDest(t.rop);
  platform::gdi::TextRecordList* dstTexts = dst->textStore();

  for (const RECT& c : painter.clip()) {
    const RECT area = platform::gdi::intersectRects(c, dstArea);
    if (platform::gdi::rectEmpty(area)) continue;
    // Plain copies between 16-bit surfaces of the same format take the row-copy path.
    if (!stretched && t.mode == Mode::Rop && t.rop == 0xCC && in->format() == out.format() &&
        (out.format() == PixelFormat::Rgb565 || out.format() == PixelFormat::Rgb555)) {
      const int offX = srcOx - dstArea.left, offY = srcOy - dstArea.top;
      const RECT readable = platform::gdi::intersectRects(offsetRect(area, offX, offY), in->bounds());
      const RECT target = offsetRect(readable, -offX, -offY);
      for (int y = target.top; y < target.bottom; ++y) {
        std::memcpy(out.row16(y) + target.left, in->row16(y + offY) + target.left + offX,
                    static_cast<std::size_t>(target.right - target.left) * 2);
      }
      if (dstTexts) dstTexts->eraseInside(target);
      painter.touched(target);
      continue;
    }
    for (int y = area.top; y < area.bottom; ++y) {
      const int relY = sampleIndex(y - dstArea.top, t.dy.size, t.sy.size, t.sy.mirrored != t.dy.mirrored);
      const int sy = srcOy + relY;
      if (sy < 0 || sy >= in->height()) continue;
      for (int x = area.left; x < area.right; ++x) {
        const int relX = sampleIndex(x - dstArea.left, t.dx.size, t.sx.size, t.sx.mirrored != t.dx.mirrored);
        const int sx = srcOx + relX;
        if (sx < 0 || sx >= in->width()) continue;
        if (t.mode == Mode::Transparent) {
          const std::uint32_t raw = in->raw(sx, sy);
          if (raw != keyRaw) out.setRaw(x, y, convert(raw));
          continue;
        }
        std::uint32_t s;
        if (halftone) {
          // Averages the block of source pixels this destination pixel covers.
          const long long x0 = srcOx + static_cast<long long>(x - dstArea.left) * t.sx.size / t.dx.size;
          const long long x1 =
              std::max(x0 + 1, srcOx + static_cast<long long>(x - dstArea.left + 1) * t.sx.size / t.dx.size);
          const long long y0 = srcOy + static_cast<long long>(y - dstArea.top) * t.sy.size / t.dy.size;
          const long long y1 =
              std::max(y0 + 1, srcOy + static_cast<long long>(y - dstArea.top + 1) * t.sy.size / t.dy.size);
          unsigned long long r = 0, g = 0, b = 0, n = 0;
          for (long long yy = std::max(0LL, y0); yy < std::min<long long>(y1, in->height()); ++yy) {
            for (long long xx = std::max(0LL, x0); xx < std::min<long long>(x1, in->width()); ++xx) {
              const COLORREF cc = in->pixel(static_cast<int>(xx), static_cast<int>(yy));
              r += GetRValue(cc), g += GetGValue(cc), b += GetBValue(cc), ++n;
            }
          }
          if (n == 0) continue;
          s = platform::gdi::colorToRaw(out.format(),
                                        RGB(static_cast<BYTE>((r + n / 2) / n), static_cast<BYTE>((g + n / 2) / n),
                                            static_cast<BYTE>((b + n / 2) / n)));
        } else {
          s = convert(in->raw(sx, sy));
        }
        if (t.rop == 0xCC) {
          out.setRaw(x, y, s);
        } else {
          out.setRaw(x, y, platform::gdi::applyRop(t.rop, pattern, s, out.raw(x, y)) & mask);
        }
      }
    }
    if (opaque && dstTexts) dstTexts->eraseInside(area);
    painter.touched(area);
  }
  carryTexts(std::move(carried), srcArea, painter, dstArea, t);
  return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  Transfer t;
  t.dx = normalize(x, width);
  t.dy = normalize(y, height);
  t.sx = Extent{platform::gdi::clampCoordinate(srcX + (t.dx.mirrored ? static_cast<long long>(width) : 0)), t.dx.size,
                false};
  t.sy = Extent{platform::gdi::clampCoordinate(srcY + (t.dy.mirrored ? static_cast<long long>(height) : 0)), t.dy.size,
                false};
  t.dx.mirrored = t.dy.mirrored = false;
  t.rop = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
  return transfer(dest, src, t);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth, int srcHeight,
                DWORD rop) {
  Transfer t;
  t.dx = normalize(x, width);
  t.dy = normalize(y, height);
  t.sx = normalize(srcX, srcWidth);
  t.sy = normalize(srcY, srcHeight);
  t.rop = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
  return transfer(dest, src, t);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT transparentColor) {
  if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transfer t;
  t.dx = normalize(x, width);
  t.dy = normalize(y, height);
  t.sx = normalize(srcX, srcWidth);
  t.sy = normalize(srcY, srcHeight);
  t.mode = Mode::Transparent;
  t.key = transparentColor & 0xFFFFFF;
  return transfer(dest, src, t);
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  const auto code = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
  if (ropUsesSource(code)) {
    if (lookupDC(hdc)) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Transfer t;
  t.dx = normalize(x, width);
  t.dy = normalize(y, height);
  t.rop = code;
  return transfer(hdc, nullptr, t);
}

int SetStretchBltMode(HDC hdc, int mode) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  if (mode < BLACKONWHITE || mode > HALFTONE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return dc->setStretchMode(mode);
}

int GetStretchBltMode(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->stretchMode() : 0;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  Painter painter(*dc);
  const int px = painter.sx(x), py = painter.sy(y);
  if (!painter.valid() || !painter.visible(px, py)) return CLR_INVALID;
  return painter.surface().pixel(px, py);
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  Painter painter(*dc);
  const int px = painter.sx(x), py = painter.sy(y);
  if (!painter.valid() || !painter.visible(px, py)) return CLR_INVALID;
  const std::uint32_t raw = platform::gdi::colorToRaw(painter.surface().format(), color & 0xFFFFFF);
  painter.plot(px, py, raw);
  return platform::gdi::rawToColor(painter.surface().format(), raw);
}
