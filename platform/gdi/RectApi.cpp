// Rectangle helpers. As on Win32, an empty rectangle is one with no area, and results that
// would be empty are returned as all zeros.
#include "platform/gdi/RectMath.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::rectEmpty;

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dest, const RECT* src) {
  if (!dest || !src) return FALSE;
  *dest = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rectEmpty(*rect) ? TRUE : FALSE; }

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = RECT{rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
  return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  *rect = platform::gdi::offsetRect(*rect, dx, dy);
  return TRUE;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest) return FALSE;
  if (!a || !b) {
    *dest = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dest = rectEmpty(*a) || rectEmpty(*b) ? RECT{0, 0, 0, 0} : platform::gdi::intersectRects(*a, *b);
  return rectEmpty(*dest) ? FALSE : TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest) return FALSE;
  if (!a || !b) {
    *dest = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dest = platform::gdi::unionRects(*a, *b);
  return rectEmpty(*dest) ? FALSE : TRUE;
}

BOOL SubtractRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT result = *a;
  const RECT cut = platform::gdi::intersectRects(*a, *b);
  if (!rectEmpty(cut)) {
    // Only a cut spanning a whole side shrinks the rectangle.
    if (cut.top <= a->top && cut.bottom >= a->bottom) {
      if (cut.left <= a->left) result.left = std::min(cut.right, a->right);
      if (cut.right >= a->right) result.right = std::max(cut.left, a->left);
    }
    if (cut.left <= a->left && cut.right >= a->right) {
      if (cut.top <= a->top) result.top = std::min(cut.bottom, a->bottom);
      if (cut.bottom >= a->bottom) result.bottom = std::max(cut.top, a->top);
    }
  }
  if (rectEmpty(result)) {
    *dest = RECT{0, 0, 0, 0};
    return FALSE;
  }
  *dest = result;
  return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) { return a && b && platform::gdi::rectsEqual(*a, *b) ? TRUE : FALSE; }

BOOL PtInRect(const RECT* rect, POINT point) {
  return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom
             ? TRUE
             : FALSE;
}
