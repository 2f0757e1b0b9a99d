// One device context: a memory DC drawing into its selected bitmap, or a window DC drawing
// into the screen inside the window's visible rectangles. It holds the objects selected into it
// (and into its saved states) for as long as it lives, so a deleted object waits for it.
#pragma once

#include <optional>
#include <vector>

#include "platform/gdi/Region.h"
#include "platform/gdi/Surface.h"
#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

class ObjectTable;
class TextRecordList;

class DeviceContext {
 public:
  enum class Kind { Memory, Window };

  // Starts with the stock pen, brush and font, and a memory DC with the default bitmap.
  DeviceContext(ObjectTable& table, HDC handle, Kind kind, HWND hwnd, POINT origin, Region visible);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  Kind kind() const { return kind_; }
  HWND hwnd() const { return hwnd_; }
  POINT origin() const { return origin_; }

  // The object of a type (OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP) now selected, or null.
  HGDIOBJ selected(DWORD type) const;
  // Selects a pen, brush, font or (memory DCs) bitmap and returns the one it replaces; null
  // when the object cannot be selected here (another DC holds the bitmap, a window DC).
  HGDIOBJ select(HGDIOBJ object);

  COLORREF textColor() const { return state_.textColor; }
  COLORREF setTextColor(COLORREF color);
  COLORREF bkColor() const { return state_.bkColor; }
  COLORREF setBkColor(COLORREF color);
  int bkMode() const { return state_.bkMode; }
  int setBkMode(int mode);
  int stretchMode() const { return state_.stretchMode; }
  int setStretchMode(int mode);
  UINT textAlign() const { return state_.textAlign; }
  UINT setTextAlign(UINT align);
  POINT position() const { return state_.position; }
  void setPosition(POINT position) { state_.position = position; }

  // The application clip in logical coordinates; none = no application clip.
  const std::optional<Region>& clip() const { return state_.clip; }
  void setClip(std::optional<Region> clip) { state_.clip = std::move(clip); }

  // SaveDC: returns the new depth of the saved-state stack.
  int save();
  // RestoreDC: a positive instance, or a negative count back from the current state. False
  // (nothing changes) for 0 or an instance that is not there.
  bool restore(int instance);

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
  struct State {
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
    std::optional<Region> clip;
  };

  void hold(const State& state);
  void letGo(const State& state);
  void setBitmapOwner(HGDIOBJ bitmap, HDC owner);

  ObjectTable& table_;
  HDC handle_;
  Kind kind_;
  HWND hwnd_;
  POINT origin_;
  Region visible_;  // window DCs: screen coordinates
  State state_;
  std::vector<State> saved_;
};

}  // namespace platform::gdi
