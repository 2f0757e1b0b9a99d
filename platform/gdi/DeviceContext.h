// One device context: a memory DC drawing into its selected bitmap, or a window DC drawing
// into the screen inside the window's visible rectangles.
#pragma once

#include <optional>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

struct DcState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;  // memory DCs only
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  // The handheld stretches by dropping pixels unless told otherwise.
  int stretchMode = COLORONCOLOR;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{0, 0};
  std::optional<Region> clip;  // in logical coordinates; none = no application clip
};

class DeviceContext {
 public:
  enum class Kind { Memory, Window };

  DeviceContext(Kind kind, HWND hwnd, POINT origin, Region visible);

  Kind kind() const { return kind_; }
  HWND hwnd() const { return hwnd_; }
  POINT origin() const { return origin_; }

  DcState& state() { return state_; }
  std::vector<DcState>& saved() { return saved_; }

  // The pixels this DC draws into, or null (a window DC before the screen exists).
  Surface* surface();
  // Where drawing may land, in surface coordinates.
  Region clipRegion();
  // The clip region in logical coordinates (what GetClipBox reports).
  Region logicalClipRegion();
  // Where the texts drawn through this DC are kept: the bitmap's list or the window's list.
  TextRecordList* textStore();
  // Reports surface pixels that changed, for the screen's dirty rectangle.
  void noteDrawn(const RECT& surfaceArea);

 private:
  Kind kind_;
  HWND hwnd_;
  POINT origin_;
  Region visible_;  // window DCs: screen coordinates
  DcState state_;
  std::vector<DcState> saved_;
};

}  // namespace platform::gdi
