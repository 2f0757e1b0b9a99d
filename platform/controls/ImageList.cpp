#include "platform/controls/ImageList.h"

#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/Surface.h"

namespace platform::controls {

namespace {

bool keepsTrueColor(UINT flags) {
  const UINT depth = flags & 0xFE;
  return depth == ILC_COLOR24 || depth == ILC_COLOR32;
}

// The colour as a 5-6-5 picture stores it.
std::uint32_t to565(std::uint32_t argb) {
  const COLORREF c = RGB(static_cast<BYTE>((argb >> 16) & 0xFF), static_cast<BYTE>((argb >> 8) & 0xFF),
                         static_cast<BYTE>(argb & 0xFF));
  const COLORREF q = gdi::color565ToColor(gdi::colorTo565(c));
  return (argb & 0xFF000000u) | static_cast<std::uint32_t>(GetRValue(q)) << 16 |
         static_cast<std::uint32_t>(GetGValue(q)) << 8 | GetBValue(q);
}

}  // namespace

ImageList::ImageList(int width, int height, UINT flags) : width_(width), height_(height), flags_(flags) {}

COLORREF ImageList::setBackground(COLORREF color) {
  const COLORREF old = background_;
  background_ = color;
  return old;
}

gdi::IconImage ImageList::fitted(const gdi::IconImage& picture) const {
  gdi::IconImage out = picture.scaled(width_, height_);
  const bool alpha = out.hasAlpha() && (flags_ & 0xFE) == ILC_COLOR32;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      std::uint32_t p = out.argb(x, y);
      if (!alpha) p |= 0xFF000000u;
      if (!keepsTrueColor(flags_)) p = to565(p);
      if (!masked()) {
        // Without a mask a picture is a plain rectangle: its transparent parts show what colour
        // lay under the mask, black for icons.
        out.setTransparent(x, y, false);
      } else if (out.transparent(x, y) && !alpha) {
        // As the list keeps them, transparent pixels are black, so they leave the background be.
        p = 0;
      }
      out.setArgb(x, y, p);
    }
  }
  out.setHasAlpha(alpha);
  return out;
}

int ImageList::add(const gdi::IconImage& picture) {
  pictures_.push_back(fitted(picture));
  return count() - 1;
}

bool ImageList::replace(int i, const gdi::IconImage& picture) {
  if (i < 0 || i >= count()) return false;
  pictures_[static_cast<std::size_t>(i)] = fitted(picture);
  return true;
}

bool ImageList::remove(int i) {
  if (i < 0 || i >= count()) return false;
  pictures_.erase(pictures_.begin() + i);
  return true;
}

void ImageList::resize(int width, int height) {
  width_ = width;
  height_ = height;
  pictures_.clear();
}

const gdi::IconImage* ImageList::at(int i) const {
  return i >= 0 && i < count() ? &pictures_[static_cast<std::size_t>(i)] : nullptr;
}

BOOL ImageList::draw(int i, HDC hdc, int x, int y, int dx, int dy, COLORREF background, COLORREF blend,
                     UINT style) const {
  const gdi::IconImage* picture = at(i);
  if (picture == nullptr || hdc == nullptr) return FALSE;
  gdi::IconBlend how;
  if (style & ILD_MASK) {
    how.mode = gdi::IconBlend::Mode::Mask;
  } else if ((style & ILD_IMAGE) || (!masked() && !picture->hasAlpha())) {
    how.mode = gdi::IconBlend::Mode::Image;
  } else if (masked() && !(style & ILD_TRANSPARENT)) {
    how.background = background == CLR_DEFAULT ? background_ : background;
  }
  if (masked() && (style & (ILD_BLEND25 | ILD_BLEND50)) && blend != CLR_NONE) {
    how.tint = blend == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : blend;
    how.percent = (style & ILD_BLEND50) ? 50 : 25;
  }
  gdi::SavedDcState saved(hdc);
  if (dx > 0 || dy > 0) {
    IntersectClipRect(hdc, x, y, x + (dx > 0 ? dx : width_), y + (dy > 0 ? dy : height_));
  }
  return picture->draw(hdc, x, y, width_, height_, how);
}

}  // namespace platform::controls
