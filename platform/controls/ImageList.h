// One image list: pictures of one size, kept at the list's colour depth, with or without masks.
#pragma once

#include <vector>

#include "platform/controls/WinImageList.h"
#include "platform/gdi/IconImage.h"

namespace platform::controls {

class ImageList {
 public:
  ImageList(int width, int height, UINT flags);

  int width() const { return width_; }
  int height() const { return height_; }
  UINT flags() const { return flags_; }
  bool masked() const { return (flags_ & ILC_MASK) != 0; }
  int count() const { return static_cast<int>(pictures_.size()); }
  COLORREF background() const { return background_; }
  COLORREF setBackground(COLORREF color);

  // The picture as the list keeps it: scaled to the list's size, colours at its depth, alpha
  // only in 32-bit lists, every pixel opaque without a mask.
  gdi::IconImage fitted(const gdi::IconImage& picture) const;
  // The index of the picture.
  int add(const gdi::IconImage& picture);
  bool replace(int i, const gdi::IconImage& picture);
  bool remove(int i);
  void clear() { pictures_.clear(); }
  // Changes the size of the pictures and empties the list.
  void resize(int width, int height);
  const gdi::IconImage* at(int i) const;

  // Draws picture i at (x, y), cut to dx x dy (0: the list's size), with the ILD_ style, the
  // background for ILD_NORMAL (CLR_DEFAULT: the list's) and the blend colour (CLR_DEFAULT: the
  // highlight colour).
  BOOL draw(int i, HDC hdc, int x, int y, int dx, int dy, COLORREF background, COLORREF blend, UINT style) const;

 private:
  int width_;
  int height_;
  UINT flags_;
  COLORREF background_ = CLR_NONE;
  std::vector<gdi::IconImage> pictures_;
};

}  // namespace platform::controls
