// The entries of the handle table: pens, brushes, fonts, bitmaps and regions.
#pragma once

#include <memory>
#include <variant>

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

class GdiObject {
 public:
  using Data = std::variant<PenData, BrushData, FontData, BitmapData, RegionData>;

  explicit GdiObject(Data data, bool stock = false) : data_(std::move(data)), stock_(stock) {}

  DWORD type() const;
  bool stock() const { return stock_; }
  template <class T>
  T* as() {
    return std::get_if<T>(&data_);
  }

  // How many DC states (current or saved) hold this object; deletion waits for zero.
  int references = 0;
  bool deletePending = false;

 private:
  Data data_;
  bool stock_;
};

}  // namespace platform::gdi
