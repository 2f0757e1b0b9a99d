// Device contexts: creation, selection, saved states, colours and modes, clipping, capabilities.
#include <algorithm>
#include <memory>
#include <utility>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Screen.h"
#include "platform/gdi/StockFont.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::BitmapData;
using platform::gdi::DcState;
using platform::gdi::DeviceContext;
using platform::gdi::GdiObject;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::Region;
using platform::gdi::RegionData;

namespace {

// "No application clip" behaves as a clip to everything.
constexpr RECT kEverything{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

void retainState(const DcState& s) {
  ObjectTable& table = ObjectTable::instance();
  for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap}) table.retain(h);
}

void releaseState(const DcState& s) {
  ObjectTable& table = ObjectTable::instance();
  for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap}) table.release(h);
}

void setBitmapOwner(HGDIOBJ bitmap, HDC owner) {
  GdiObject* object = ObjectTable::instance().find(bitmap, true);
  if (object && !object->stock()) {
    if (BitmapData* data = object->as<BitmapData>()) data->selectedInto = owner;
  }
}

int clipComplexity(DeviceContext& dc) { return dc.logicalClipRegion().complexity(); }

}  // namespace

namespace platform::gdi {

HDC createDC(DeviceContext::Kind kind, HWND hwnd, POINT origin, Region visible) {
  ObjectTable& table = ObjectTable::instance();
  auto dc = std::make_unique<DeviceContext>(kind, hwnd, origin, std::move(visible));
  DcState& s = dc->state();
  s.pen = table.stockObject(BLACK_PEN);
  s.brush = table.stockObject(WHITE_BRUSH);
  s.font = table.stockObject(SYSTEM_FONT);
  s.bitmap = kind == DeviceContext::Kind::Memory ? table.defaultBitmap() : nullptr;
  retainState(s);
  return table.addDC(std::move(dc));
}

void destroyDC(HDC hdc) {
  ObjectTable& table = ObjectTable::instance();
  DeviceContext* dc = table.findDC(hdc);
  if (!dc) return;
  for (const DcState& s : dc->saved()) releaseState(s);
  setBitmapOwner(dc->state().bitmap, nullptr);
  releaseState(dc->state());
  table.removeDC(hdc);
}

}  // namespace platform::gdi

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !lookupDC(hdc)) return nullptr;
  return platform::gdi::createDC(DeviceContext::Kind::Memory, nullptr, POINT{0, 0}, Region());
}

BOOL DeleteDC(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  platform::gdi::destroyDC(hdc);
  return TRUE;
}

int SaveDC(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  retainState(dc->state());
  dc->saved().push_back(dc->state());
  return static_cast<int>(dc->saved().size());
}

BOOL RestoreDC(HDC hdc, int savedDc) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  const int depth = static_cast<int>(dc->saved().size());
  // Positive: that instance; negative: relative to the current state.
  const int target = savedDc > 0 ? savedDc : depth + savedDc + 1;
  if (savedDc == 0 || target < 1 || target > depth) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  while (static_cast<int>(dc->saved().size()) > target) {
    releaseState(dc->saved().back());
    dc->saved().pop_back();
  }
  DcState restored = std::move(dc->saved().back());
  dc->saved().pop_back();
  if (restored.bitmap != dc->state().bitmap) {
    setBitmapOwner(dc->state().bitmap, nullptr);
    setBitmapOwner(restored.bitmap, hdc);
  }
  releaseState(dc->state());
  dc->state() = std::move(restored);
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (hdc && !lookupDC(hdc)) return 0;
  platform::gdi::Screen& screen = platform::gdi::Screen::instance();
  const int dpi = platform::gdi::logPixels();
  switch (index) {
    case DRIVERVERSION:
      return 0x0500;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZSIZE:
      return screen.width() * 254 / (dpi * 10);
    case VERTSIZE:
      return screen.height() * 254 / (dpi * 10);
    case HORZRES:
      return screen.width();
    case VERTRES:
      return screen.height();
    case BITSPIXEL:
      return 16;
    case PLANES:
      return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
      return -1;
    case NUMFONTS:
      return 0;
    case ASPECTX:
    case ASPECTY:
      return 36;
    case ASPECTXY:
      return 51;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return dpi;
    case SIZEPALETTE:
      return 0;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT;
    default:
      return 0;
  }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return nullptr;
  ObjectTable& table = ObjectTable::instance();
  GdiObject* entry = table.find(object);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // (HBRUSH)(COLOR_xxx + 1) resolves to the real brush handle.
  if (reinterpret_cast<std::uintptr_t>(object) <= ObjectTable::kSysColorCount) {
    object = table.sysColorBrush(static_cast<int>(reinterpret_cast<std::uintptr_t>(object)) - 1);
  }
  DcState& s = dc->state();
  HGDIOBJ* slot = nullptr;
  switch (entry->type()) {
    case OBJ_PEN:
      slot = &s.pen;
      break;
    case OBJ_BRUSH:
      slot = &s.brush;
      break;
    case OBJ_FONT:
      slot = &s.font;
      break;
    case OBJ_BITMAP: {
      if (dc->kind() != DeviceContext::Kind::Memory) return nullptr;
      BitmapData* bitmap = entry->as<BitmapData>();
      if (!entry->stock() && bitmap->selectedInto && bitmap->selectedInto != hdc) return nullptr;
      slot = &s.bitmap;
      if (*slot != object) {
        setBitmapOwner(*slot, nullptr);
        setBitmapOwner(object, hdc);
      }
      break;
    }
    case OBJ_REGION:
      return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(object))));
    default:
      return nullptr;
  }
  HGDIOBJ previous = *slot;
  table.retain(object);
  *slot = object;
  table.release(previous);
  return previous;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->state().pen;
    case OBJ_BRUSH:
      return dc->state().brush;
    case OBJ_FONT:
      return dc->state().font;
    case OBJ_BITMAP:
      return dc->state().bitmap;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->state().textColor, color & 0xFFFFFF);
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->state().textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  return std::exchange(dc->state().bkColor, color & 0xFFFFFF);
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->state().bkColor : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return std::exchange(dc->state().bkMode, mode);
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->state().bkMode : 0;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return GDI_ERROR;
  return std::exchange(dc->state().textAlign, align);
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->state().textAlign : GDI_ERROR;
}

int SelectClipRgn(HDC hdc, HRGN region) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  if (!region) {
    dc->state().clip.reset();
    return clipComplexity(*dc);
  }
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR;
  }
  dc->state().clip = data->region;
  return clipComplexity(*dc);
}

int GetClipRgn(HDC hdc, HRGN region) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return -1;
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return -1;
  }
  if (!dc->state().clip) return 0;
  data->region = *dc->state().clip;
  return 1;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  Region clip = dc->state().clip.value_or(Region(kEverything));
  clip.intersect(RECT{left, top, right, bottom});
  dc->state().clip = std::move(clip);
  return clipComplexity(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  Region clip = dc->state().clip.value_or(Region(kEverything));
  clip.subtract(RECT{left, top, right, bottom});
  dc->state().clip = std::move(clip);
  return clipComplexity(*dc);
}

int GetClipBox(HDC hdc, LPRECT rect) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  const Region clip = dc->logicalClipRegion();
  *rect = clip.bounds();
  return clip.complexity();
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc || !rect) return FALSE;
  Region clip = dc->logicalClipRegion();
  clip.intersect(*rect);
  return clip.empty() ? FALSE : TRUE;
}
