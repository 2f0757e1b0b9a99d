// The entries of the handle table: pens, brushes, fonts, bitmaps and regions.
#pragma once

#include <memory>

#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

struct PenData {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct BrushData {
  int style = BS_SOLID;
  COLORREF color = 0;
};

struct FontData {
  LOGFONTW log{};
};

struct BitmapData {
  std::unique_ptr<Surface> surface;
  bool dib = false;
  BITMAPINFOHEADER header{};  // as given to CreateDIBSection
  DWORD masks[3] = {0, 0, 0};
  HDC selectedInto = nullptr;
};

struct RegionData {
  Region region;
};

// One entry: the kind is fixed at creation and only that kind's data is used.
class GdiObject {
 public:
  explicit GdiObject(PenData data, bool stock = false) : type_(OBJ_PEN), stock_(stock), pen_(data) {}
  explicit GdiObject(BrushData data, bool stock = false) : type_(OBJ_BRUSH), stock_(stock), brush_(data) {}
  explicit GdiObject(FontData data, bool stock = false) : type_(OBJ_FONT), stock_(stock), font_(data) {}
  explicit GdiObject(BitmapData data, bool stock = false)
      : type_(OBJ_BITMAP), stock_(stock), bitmap_(std::move(data)) {}
  explicit GdiObject(RegionData data, bool stock = false)
      : type_(OBJ_REGION), stock_(stock), region_(std::move(data)) {}

  DWORD type() const { return type_; }
  bool stock() const { return stock_; }
  template <class T>
  T* as();

  // How many DC states (current or saved) hold this object; deletion waits for zero.
  int references = 0;
  bool deletePending = false;

 private:
  DWORD type_;
  bool stock_;
  PenData pen_;
  BrushData brush_;
  FontData font_;
  BitmapData bitmap_;
  RegionData region_;
};

template <>
inline PenData* GdiObject::as<PenData>() {
  return type_ == OBJ_PEN ? &pen_ : nullptr;
}
template <>
inline BrushData* GdiObject::as<BrushData>() {
  return type_ == OBJ_BRUSH ? &brush_ : nullptr;
}
template <>
inline FontData* GdiObject::as<FontData>() {
  return type_ == OBJ_FONT ? &font_ : nullptr;
}
template <>
inline BitmapData* GdiObject::as<BitmapData>() {
  return type_ == OBJ_BITMAP ? &bitmap_ : nullptr;
}
template <>
inline RegionData* GdiObject::as<RegionData>() {
  return type_ == OBJ_REGION ? &region_ : nullptr;
}

}  // namespace platform::gdi
