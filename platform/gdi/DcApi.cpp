// Device contexts: creation, selection, saved states, colours and modes, clipping, capabilities.
#include <utility>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Screen.h"
#include "platform/gdi/StockFont.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::DeviceContext;
using platform::gdi::GdiObject;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::Region;
using platform::gdi::RegionData;

namespace {

// "No application clip" behaves as a clip to everything.
constexpr RECT kEverything{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

int clipComplexity(DeviceContext& dc) { return dc.logicalClipRegion().complexity(); }

}  // namespace

namespace platform::gdi {

HDC createDC(DeviceContext::Kind kind, HWND hwnd, POINT origin, Region visible) {
  return ObjectTable::instance().addDC(kind, hwnd, origin, std::move(visible));
}

void destroyDC(HDC hdc) { ObjectTable::instance().removeDC(hdc); }

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
  return dc ? dc->save() : 0;
}

BOOL RestoreDC(HDC hdc, int savedDc) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!dc->restore(savedDc)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
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
  if (entry->type() == OBJ_REGION) {
    return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(hdc, static_cast<HRGN>(object))));
  }
  return dc->select(object);
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return nullptr;
  if (type != OBJ_PEN && type != OBJ_BRUSH && type != OBJ_FONT && type != OBJ_BITMAP) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return dc->selected(type);
}

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  return dc->setTextColor(color & 0xFFFFFF);
}

COLORREF GetTextColor(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->textColor() : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return CLR_INVALID;
  return dc->setBkColor(color & 0xFFFFFF);
}

COLORREF GetBkColor(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->bkColor() : CLR_INVALID;
}

int SetBkMode(HDC hdc, int mode) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return dc->setBkMode(mode);
}

int GetBkMode(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->bkMode() : 0;
}

UINT SetTextAlign(HDC hdc, UINT align) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return GDI_ERROR;
  return dc->setTextAlign(align);
}

UINT GetTextAlign(HDC hdc) {
  DeviceContext* dc = lookupDC(hdc);
  return dc ? dc->textAlign() : GDI_ERROR;
}

int SelectClipRgn(HDC hdc, HRGN region) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  if (!region) {
    dc->setClip(std::nullopt);
    return clipComplexity(*dc);
  }
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR;
  }
  dc->setClip(data->region);
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
  if (!dc->clip()) return 0;
  data->region = *dc->clip();
  return 1;
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  Region clip = dc->clip().value_or(Region(kEverything));
  clip.intersect(RECT{left, top, right, bottom});
  dc->setClip(std::move(clip));
  return clipComplexity(*dc);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return ERROR;
  Region clip = dc->clip().value_or(Region(kEverything));
  clip.subtract(RECT{left, top, right, bottom});
  dc->setClip(std::move(clip));
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
