// Scope objects for drawing: a memory device context with a bitmap selected into it, an object
// selected into a DC, and the saved state of a DC. Each puts back what it changed when it goes,
// so a paint function cannot leave a DC holding a bitmap, font or brush it does not own.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

// A memory DC compatible with `like`, drawing into a bitmap of its own (made compatible with
// `like`, at least 1x1) or into one the caller owns. Typical use is double buffering:
//   MemoryDc buffer(paintDc, width, height);
//   draw(buffer.dc(), ...);
//   buffer.copyTo(paintDc, 0, 0);
// Without a size or bitmap, it keeps the 1x1 bitmap a fresh memory DC has: enough for measuring
// text with a selected font.
class MemoryDc {
 public:
  explicit MemoryDc(HDC like);
  MemoryDc(HDC like, int width, int height);
  MemoryDc(HDC like, HBITMAP bitmap);
  ~MemoryDc();
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  // False when the DC or the bitmap could not be made or selected; then nothing may be drawn.
  explicit operator bool() const { return usable_; }
  HDC dc() const { return dc_; }
  HBITMAP bitmap() const { return bitmap_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Copies the whole bitmap to (x, y) of `target`.
  BOOL copyTo(HDC target, int x, int y) const;

 private:
  void selectBitmap();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  bool ownsBitmap_ = false;
  HGDIOBJ previous_ = nullptr;  // what the bitmap replaced, put back at the end
  bool usable_ = false;
  int width_ = 0;
  int height_ = 0;
};

// Selects an object (font, pen, brush, bitmap) into a DC for a scope; a null object selects
// nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// SaveDC for a scope: colours, modes, selected objects, origin and clipping come back as they
// were.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
  }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

}  // namespace platform::gdi
