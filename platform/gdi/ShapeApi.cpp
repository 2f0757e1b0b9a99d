// Filled rectangles, outlines, lines and the rounded shapes, drawn with the DC's pen and brush.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::BrushData;
using platform::gdi::colorToRaw;
using platform::gdi::DeviceContext;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::Painter;
using platform::gdi::PenData;

namespace {

constexpr int kDashOn = 18;
constexpr int kDashOff = 6;

struct Span {
  int left;
  int right;  // exclusive; left >= right means an empty row
};

PenData currentPen(DeviceContext& dc) {
  PenData* pen = ObjectTable::instance().findAs<PenData>(dc.selected(OBJ_PEN));
  return pen ? *pen : PenData{PS_NULL, 1, 0};
}

const BrushData* currentBrush(DeviceContext& dc) {
  const BrushData* brush = ObjectTable::instance().findAs<BrushData>(dc.selected(OBJ_BRUSH));
  return brush && brush->style != BS_NULL ? brush : nullptr;
}

// Rows of a disc `width` pixels across, as offsets from the pen position.
std::vector<Span> penShape(int width) {
  std::vector<Span> rows;
  const double c = (width - 1) / 2.0, r2 = (width / 2.0) * (width / 2.0);
  const int shift = (width - 1) / 2;
  for (int oy = 0; oy < width; ++oy) {
    int left = width, right = 0;
    for (int ox = 0; ox < width; ++ox) {
      if ((ox - c) * (ox - c) + (oy - c) * (oy - c) <= r2 + 0.25) {
        left = std::min(left, ox);
        right = std::max(right, ox + 1);
      }
    }
    rows.push_back(Span{left - shift, right - shift});
  }
  return rows;
}

// Cuts a line to the box (Liang-Barsky); false when nothing of it is inside.
bool clipLine(const RECT& box, int& x0, int& y0, int& x1, int& y1) {
  double t0 = 0, t1 = 1;
  const double dx = static_cast<double>(x1) - x0, dy = static_cast<double>(y1) - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {static_cast<double>(x0) - box.left, static_cast<double>(box.right) - 1 - x0,
                       static_cast<double>(y0) - box.top, static_cast<double>(box.bottom) - 1 - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, r);
    } else {
      t1 = std::min(t1, r);
    }
    if (t0 > t1) return false;
  }
  const int nx0 = static_cast<int>(std::lround(x0 + t0 * dx)), ny0 = static_cast<int>(std::lround(y0 + t0 * dy));
  x1 = static_cast<int>(std::lround(x0 + t1 * dx));
  y1 = static_cast<int>(std::lround(y0 + t1 * dy));
  x0 = nx0;
  y0 = ny0;
  return true;
}

// Bresenham in surface coordinates; each visited point is stamped with the pen.
void strokeLine(Painter& p, DeviceContext& dc, const PenData& pen, int x0, int y0, int x1, int y1, bool includeLast) {
  if (pen.style == PS_NULL) return;
  // Lines reaching far outside the drawable area are cut first, so stepping stays short;
  // lines within reach are stepped whole so their pixels are exact.
  const RECT reach = [&] {
    const RECT b = p.clipBounds();
    const int margin = pen.width + 2;
    return RECT{b.left - margin, b.top - margin, b.right + margin, b.bottom + margin};
  }();
  const auto outside = [&](int x, int y) {
    return x < reach.left || x >= reach.right || y < reach.top || y >= reach.bottom;
  };
  if (outside(x0, y0) || outside(x1, y1)) {
    if (!clipLine(reach, x0, y0, x1, y1)) return;
  }
  const std::uint32_t raw = colorToRaw(p.surface().format(), pen.color);
  const bool dashed = pen.width == 1 && pen.style != PS_SOLID && pen.style != 6;
  const std::uint32_t gapRaw = colorToRaw(p.surface().format(), dc.bkColor());
  const bool fillGaps = dc.bkMode() == OPAQUE;
  const std::vector<Span> shape = pen.width > 1 ? penShape(pen.width) : std::vector<Span>{};
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  int err = dx + dy, x = x0, y = y0, n = 0;
  const int shift = (pen.width - 1) / 2;
  while (true) {
    const bool last = x == x1 && y == y1;
    if (last && !includeLast && pen.width == 1) break;
    if (pen.width > 1) {
      for (int row = 0; row < static_cast<int>(shape.size()); ++row) {
        p.span(y + row - shift, x + shape[row].left, x + shape[row].right, raw);
      }
    } else if (!dashed || (n % (kDashOn + kDashOff)) < kDashOn) {
      p.plot(x, y, raw);
    } else if (fillGaps) {
      p.plot(x, y, gapRaw);
    }
    ++n;
    if (last) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x += stepX;
    if (e2 <= dx) err += dx, y += stepY;
  }
}

using RowShape = std::function<Span(int y)>;

Span ellipseRow(double left, double top, double right, double bottom, int y) {
  const double a = (right - left) / 2.0, b = (bottom - top) / 2.0;
  if (a <= 0 || b <= 0) return Span{0, 0};
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double t = (y + 0.5 - cy) / b;
  if (t <= -1 || t >= 1) return Span{0, 0};
  const double half = a * std::sqrt(1 - t * t);
  return Span{static_cast<int>(std::lround(cx - half)), static_cast<int>(std::lround(cx + half))};
}

Span roundRectRow(const RECT& box, int ew, int eh, int y) {
  if (y < box.top || y >= box.bottom || box.left >= box.right) return Span{0, 0};
  ew = std::min<int>(ew, box.right - box.left);
  eh = std::min<int>(eh, box.bottom - box.top);
  if (ew <= 1 || eh <= 1) return Span{box.left, box.right};
  int cornerTop = -1;
  if (y < box.top + eh / 2) cornerTop = box.top;
  if (y >= box.bottom - eh / 2) cornerTop = box.bottom - eh;
  if (cornerTop < 0) return Span{box.left, box.right};
  const Span corner = ellipseRow(box.left, cornerTop, box.left + ew, cornerTop + eh, y);
  if (corner.left >= corner.right) return Span{0, 0};
  const int inset = corner.left - box.left;
  return Span{box.left + inset, box.right - inset};
}

// Draws a convex shape: the pen band between the outer and inner outlines, the brush inside.
void drawShape(Painter& p, DeviceContext& dc, int top, int bottom, const RowShape& outer, const RowShape& inner,
               bool hasOutline) {
  const PenData pen = currentPen(dc);
  const BrushData* brush = currentBrush(dc);
  const std::uint32_t penRaw = colorToRaw(p.surface().format(), pen.color);
  const RECT bounds = p.clipBounds();
  top = std::max<long long>(top, static_cast<long long>(bounds.top) - p.sy(0));
  bottom = std::min<long long>(bottom, static_cast<long long>(bounds.bottom) - p.sy(0));
  for (int y = top; y < bottom; ++y) {
    const Span o = outer(y);
    if (o.left >= o.right) continue;
    const Span i = inner(y);
    const int sy = p.sy(y);
    if (!hasOutline) {
      if (brush) p.span(sy, p.sx(o.left), p.sx(o.right), colorToRaw(p.surface().format(), brush->color));
      continue;
    }
    if (i.left >= i.right) {
      p.span(sy, p.sx(o.left), p.sx(o.right), penRaw);
      continue;
    }
    p.span(sy, p.sx(o.left), p.sx(i.left), penRaw);
    p.span(sy, p.sx(i.right), p.sx(o.right), penRaw);
    if (brush) p.span(sy, p.sx(i.left), p.sx(i.right), colorToRaw(p.surface().format(), brush->color));
  }
}

// Outer and inner boxes of a pen of width w around (left, top, right, bottom), as Win32 places
// geometric pens: centred on the outline through the edge pixels (inside it for PS_INSIDEFRAME).
void penBoxes(const PenData& pen, RECT box, RECT& outer, RECT& inner) {
  const int w = pen.width;
  if (pen.style == 6 || w == 1) {
    outer = box;
  } else {
    outer = RECT{box.left - (w - 1) / 2, box.top - (w - 1) / 2, box.right + w / 2, box.bottom + w / 2};
  }
  inner = RECT{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
}

BrushData* brushArgument(HBRUSH brush) {
  BrushData* data = ObjectTable::instance().findAs<BrushData>(brush, false);
  if (!data) SetLastError(ERROR_INVALID_HANDLE);
  return data;
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  BrushData* data = brushArgument(brush);
  if (!data) return 0;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (data->style == BS_NULL) return 1;
  Painter p(*dc);
  if (p.valid()) p.fill(p.toSurface(*rect), colorToRaw(p.surface().format(), data->color));
  return 1;
}

int FrameRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  BrushData* data = brushArgument(brush);
  if (!data) return 0;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (data->style == BS_NULL || platform::gdi::rectEmpty(*rect)) return 1;
  Painter p(*dc);
  if (!p.valid()) return 1;
  const std::uint32_t raw = colorToRaw(p.surface().format(), data->color);
  const RECT r = p.toSurface(*rect);
  p.patternOp(RECT{r.left, r.top, r.right, r.top + 1}, raw, 0xF0);
  p.patternOp(RECT{r.left, r.bottom - 1, r.right, r.bottom}, raw, 0xF0);
  p.patternOp(RECT{r.left, r.top, r.left + 1, r.bottom}, raw, 0xF0);
  p.patternOp(RECT{r.right - 1, r.top, r.right, r.bottom}, raw, 0xF0);
  return 1;
}

BOOL InvertRect(HDC hdc, const RECT* rect) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Painter p(*dc);
  if (p.valid()) p.patternOp(p.toSurface(*rect), 0, 0x55);
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rect) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Painter p(*dc);
  if (!p.valid() || platform::gdi::rectEmpty(*rect)) return TRUE;
  // A dotted outline drawn by inverting every other pixel, so drawing it twice removes it.
  const RECT r = p.toSurface(*rect);
  const std::uint32_t mask = p.surface().rawMask();
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) == 0 && p.visible(x, y)) p.plot(x, y, ~p.surface().raw(x, y) & mask);
  };
  // Only the part that can be seen is walked.
  const RECT seen = platform::gdi::intersectRects(r, p.clipBounds());
  for (int x = seen.left; x < seen.right; ++x) {
    invert(x, r.top);
    if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
  }
  for (int y = std::max(seen.top, r.top + 1); y < std::min(seen.bottom, r.bottom - 1); ++y) {
    invert(r.left, y);
    if (r.right - 1 > r.left) invert(r.right - 1, y);
  }
  return TRUE;
}

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  Painter p(*dc);
  if (!p.valid()) return TRUE;
  const RECT box = platform::gdi::normalizedRect(left, top, right, bottom);
  const PenData pen = currentPen(*dc);
  if (pen.style == PS_NULL) {
    // Without an outline the figure is one pixel smaller, as on Win32.
    const RECT fill{box.left, box.top, box.right - 1, box.bottom - 1};
    drawShape(
        p, *dc, fill.top, fill.bottom,
        [&](int) {
          return Span{fill.left, fill.right};
        },
        [](int) {
          return Span{0, 0};
        },
        false);
    return TRUE;
  }
  RECT outer, inner;
  penBoxes(pen, box, outer, inner);
  drawShape(
      p, *dc, outer.top, outer.bottom,
      [&](int) {
        return Span{outer.left, outer.right};
      },
      [&](int y) {
        return y >= inner.top && y < inner.bottom ? Span{inner.left, inner.right} : Span{0, 0};
      },
      true);
  return TRUE;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  Painter p(*dc);
  if (!p.valid()) return TRUE;
  const RECT box = platform::gdi::normalizedRect(left, top, right, bottom);
  const int ew = platform::gdi::clampCoordinate(std::llabs(ellipseWidth));
  const int eh = platform::gdi::clampCoordinate(std::llabs(ellipseHeight));
  const PenData pen = currentPen(*dc);
  if (pen.style == PS_NULL) {
    const RECT fill{box.left, box.top, box.right - 1, box.bottom - 1};
    drawShape(
        p, *dc, fill.top, fill.bottom, [&](int y) { return roundRectRow(fill, ew, eh, y); },
        [](int) {
          return Span{0, 0};
        },
        false);
    return TRUE;
  }
  RECT outer, inner;
  penBoxes(pen, box, outer, inner);
  const int w = pen.width;
  drawShape(
      p, *dc, outer.top, outer.bottom, [&](int y) { return roundRectRow(outer, ew + w - 1, eh + w - 1, y); },
      [&](int y) { return roundRectRow(inner, std::max(0, ew - w - 1), std::max(0, eh - w - 1), y); }, true);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  Painter p(*dc);
  if (!p.valid()) return TRUE;
  const RECT box = platform::gdi::normalizedRect(left, top, right, bottom);
  const PenData pen = currentPen(*dc);
  if (pen.style == PS_NULL) {
    const RECT fill{box.left, box.top, box.right - 1, box.bottom - 1};
    drawShape(
        p, *dc, fill.top, fill.bottom,
        [&](int y) { return ellipseRow(fill.left, fill.top, fill.right, fill.bottom, y); },
        [](int) {
          return Span{0, 0};
        },
        false);
    return TRUE;
  }
  RECT outer, inner;
  penBoxes(pen, box, outer, inner);
  drawShape(
      p, *dc, outer.top, outer.bottom,
      [&](int y) { return ellipseRow(outer.left, outer.top, outer.right, outer.bottom, y); },
      [&](int y) { return ellipseRow(inner.left, inner.top, inner.right, inner.bottom, y); }, true);
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT previous) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->position();
  dc->setPosition(POINT{x, y});
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  Painter p(*dc);
  const POINT from = dc->position();
  if (p.valid()) strokeLine(p, *dc, currentPen(*dc), p.sx(from.x), p.sy(from.y), p.sx(x), p.sy(y), false);
  dc->setPosition(POINT{x, y});
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* points, int count) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!points || count < 2) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Painter p(*dc);
  if (!p.valid()) return TRUE;
  const PenData pen = currentPen(*dc);
  for (int i = 1; i < count; ++i) {
    strokeLine(p, *dc, pen, p.sx(points[i - 1].x), p.sy(points[i - 1].y), p.sx(points[i].x), p.sy(points[i].y), false);
  }
  return TRUE;
}
