// GDI objects: pens, brushes, bitmaps, regions, stock objects, system colours, and their lifetime.
#include <cstring>
#include <limits>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/StockFont.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::BitmapData;
using platform::gdi::BrushData;
using platform::gdi::DeviceContext;
using platform::gdi::FontData;
using platform::gdi::GdiObject;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::PenData;
using platform::gdi::PixelFormat;
using platform::gdi::Region;
using platform::gdi::RegionData;
using platform::gdi::Surface;

namespace {

// Beyond this a bitmap request is treated as out of memory rather than attempted.
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

template <class T>
HGDIOBJ addObject(T data) {
  return ObjectTable::instance().add(std::make_unique<GdiObject>(std::move(data)));
}

HBITMAP addBitmap(BitmapData data) { return static_cast<HBITMAP>(addObject(std::move(data))); }

bool sizeAcceptable(long long width, long long height) {
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (width * height > kMaxPixels) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  return true;
}

int sysColorIndex(int index) {
  // The handheld also accepts the indexes with SYS_COLOR_INDEX_FLAG set.
  index &= ~0x40000000;
  return index >= 0 && index < ObjectTable::kSysColorCount ? index : -1;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
  HGDIOBJ object = ObjectTable::instance().stockObject(index);
  if (!object) SetLastError(ERROR_INVALID_PARAMETER);
  return object;
}

BOOL DeleteObject(HGDIOBJ object) {
  ObjectTable& table = ObjectTable::instance();
  GdiObject* entry = object ? table.find(object) : nullptr;
  if (!entry) {
    SetLastError(object ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (entry->stock()) return TRUE;
  // A bitmap selected into a DC cannot be deleted (as on Win32); pens, brushes and fonts go
  // when the last DC lets go of them.
  if (BitmapData* bitmap = entry->as<BitmapData>(); bitmap && bitmap->selectedInto) return FALSE;
  table.destroy(object);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ object) {
  ObjectTable& table = ObjectTable::instance();
  if (DeviceContext* dc = table.findDC(static_cast<HDC>(object))) {
    return dc->kind() == DeviceContext::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
  }
  GdiObject* entry = table.find(object);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return entry->type();
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  ObjectTable& table = ObjectTable::instance();
  GdiObject* entry = table.find(object);
  if (!entry) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (size < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto copyOut = [&](const void* data, int dataSize) {
    if (!buffer) return dataSize;
    const int n = std::min(size, dataSize);
    std::memcpy(buffer, data, static_cast<std::size_t>(n));
    return n;
  };
  if (PenData* pen = entry->as<PenData>()) {
    LOGPEN log{static_cast<UINT>(pen->style), POINT{pen->width, 0}, pen->color};
    return copyOut(&log, sizeof(log));
  }
  if (BrushData* brush = entry->as<BrushData>()) {
    LOGBRUSH log{static_cast<UINT>(brush->style), brush->color, 0};
    return copyOut(&log, sizeof(log));
  }
  if (FontData* font = entry->as<FontData>()) {
    // The system font follows the screen density, so its description is built on demand.
    const LOGFONTW log = object == table.stockObject(SYSTEM_FONT) ? platform::gdi::systemFontDescription() : font->log;
    return copyOut(&log, sizeof(log));
  }
  if (BitmapData* bitmap = entry->as<BitmapData>()) {
    const Surface& s = *bitmap->surface;
    DIBSECTION ds{};
    ds.dsBm.bmType = 0;
    ds.dsBm.bmWidth = s.width();
    ds.dsBm.bmHeight = s.height();
    ds.dsBm.bmPlanes = 1;
    ds.dsBm.bmBitsPixel = static_cast<WORD>(platform::gdi::bitsPerPixel(s.format()));
    if (bitmap->dib) {
      ds.dsBm.bmWidthBytes = s.stride();
      ds.dsBm.bmBits = const_cast<std::uint8_t*>(s.bits());
      ds.dsBmih = bitmap->header;
      ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
      ds.dsBmih.biSizeImage = static_cast<DWORD>(s.byteSize());
      std::memcpy(ds.dsBitfields, bitmap->masks, sizeof(ds.dsBitfields));
    } else {
      // Device bitmaps report word-aligned rows and no pixel pointer.
      ds.dsBm.bmWidthBytes = ((s.width() * ds.dsBm.bmBitsPixel + 15) / 16) * 2;
    }
    if (!buffer)
      return bitmap->dib && size >= static_cast<int>(sizeof(DIBSECTION)) ? sizeof(DIBSECTION) : sizeof(BITMAP);
    if (bitmap->dib && size >= static_cast<int>(sizeof(DIBSECTION))) return copyOut(&ds, sizeof(DIBSECTION));
    if (size < static_cast<int>(sizeof(BITMAP))) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    return copyOut(&ds.dsBm, sizeof(BITMAP));
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  if (style < PS_SOLID || style > 6) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // Width 0 is the one-pixel cosmetic pen.
  return static_cast<HPEN>(addObject(PenData{style, std::clamp(width, 1, 1000), color & 0xFFFFFF}));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return static_cast<HBRUSH>(addObject(BrushData{BS_SOLID, color & 0xFFFFFF}));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || (brush->lbStyle != BS_SOLID && brush->lbStyle != BS_NULL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return static_cast<HBRUSH>(addObject(BrushData{static_cast<int>(brush->lbStyle), brush->lbColor & 0xFFFFFF}));
}

DWORD GetSysColor(int index) {
  const int i = sysColorIndex(index);
  return i < 0 ? 0 : ObjectTable::instance().sysColor(i);
}

HBRUSH GetSysColorBrush(int index) {
  const int i = sysColorIndex(index);
  return i < 0 ? nullptr : ObjectTable::instance().sysColorBrush(i);
}

BOOL SetSysColors(int count, const int* indexes, const COLORREF* colors) {
  if (count < 0 || (count > 0 && (!indexes || !colors))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    const int index = sysColorIndex(indexes[i]);
    if (index >= 0) ObjectTable::instance().setSysColor(index, colors[i] & 0xFFFFFF);
  }
  return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  DeviceContext* dc = nullptr;
  if (hdc && !(dc = lookupDC(hdc))) return nullptr;
  BitmapData data;
  if (width == 0 || height == 0) {
    data.surface = std::make_unique<Surface>(PixelFormat::Mono, 1, 1, true, 2);
    return addBitmap(std::move(data));
  }
  if (!sizeAcceptable(width, height)) return nullptr;
  // As on Win32: a memory DC still holding its default bitmap is monochrome, and so is
  // what is made compatible with it.
  const Surface* current = dc ? dc->surface() : nullptr;
  const bool mono =
      dc && dc->kind() == DeviceContext::Kind::Memory && current && current->format() == PixelFormat::Mono;
  if (mono) {
    data.surface = std::make_unique<Surface>(PixelFormat::Mono, width, height, true, ((width + 15) / 16) * 2);
  } else {
    data.surface = std::make_unique<Surface>(PixelFormat::Rgb565, width, height, true, width * 2);
  }
  return addBitmap(std::move(data));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (planes != 1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  PixelFormat format;
  switch (bitsPerPixel) {
    case 1:
      format = PixelFormat::Mono;
      break;
    case 16:
      format = PixelFormat::Rgb565;
      break;
    case 24:
      format = PixelFormat::Rgb888;
      break;
    case 32:
      format = PixelFormat::Xrgb8888;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
  }
  if (!sizeAcceptable(width, height)) return nullptr;
  const int stride = ((width * static_cast<int>(bitsPerPixel) + 15) / 16) * 2;
  BitmapData data;
  data.surface = std::make_unique<Surface>(format, width, height, true, stride);
  if (bits) std::memcpy(data.surface->bits(), bits, data.surface->byteSize());
  return addBitmap(std::move(data));
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset) {
  if (bits) *bits = nullptr;
  if (hdc && !lookupDC(hdc)) return nullptr;
  (void)offset;
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) || section ||
      (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biPlanes != 1 || h.biHeight == std::numeric_limits<LONG>::min()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  DWORD masks[3] = {0, 0, 0};
  if (h.biCompression == BI_BITFIELDS) {
    // The masks follow the 40-byte header, in the colour table or inside a larger header.
    std::memcpy(masks, reinterpret_cast<const BYTE*>(info) + sizeof(BITMAPINFOHEADER), sizeof(masks));
  }
  PixelFormat format;
  if (h.biBitCount == 16 && h.biCompression == BI_RGB) {
    format = PixelFormat::Rgb555;
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (h.biBitCount == 16 && h.biCompression == BI_BITFIELDS && masks[0] == 0xF800 && masks[1] == 0x07E0 &&
             masks[2] == 0x001F) {
    format = PixelFormat::Rgb565;
  } else if (h.biBitCount == 16 && h.biCompression == BI_BITFIELDS && masks[0] == 0x7C00 && masks[1] == 0x03E0 &&
             masks[2] == 0x001F) {
    format = PixelFormat::Rgb555;
  } else if (h.biBitCount == 24 && h.biCompression == BI_RGB) {
    format = PixelFormat::Rgb888;
  } else if (h.biBitCount == 32 &&
             (h.biCompression == BI_RGB || (h.biCompression == BI_BITFIELDS && masks[0] == 0xFF0000 &&
                                            masks[1] == 0x00FF00 && masks[2] == 0x0000FF))) {
    format = PixelFormat::Xrgb8888;
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const long long width = h.biWidth;
  const long long height = h.biHeight < 0 ? -static_cast<long long>(h.biHeight) : h.biHeight;
  if (!sizeAcceptable(width, height)) return nullptr;
  BitmapData data;
  data.dib = true;
  data.header = h;
  std::memcpy(data.masks, masks, sizeof(masks));
  data.surface = std::make_unique<Surface>(format, static_cast<int>(width), static_cast<int>(height), h.biHeight < 0);
  void* pixels = data.surface->bits();
  HBITMAP bitmap = addBitmap(std::move(data));
  if (bits) *bits = pixels;
  return bitmap;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return static_cast<HRGN>(addObject(RegionData{Region(platform::gdi::normalizedRect(left, top, right, bottom))}));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  data->region = Region(platform::gdi::normalizedRect(left, top, right, bottom));
  return TRUE;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  ObjectTable& table = ObjectTable::instance();
  RegionData* d = table.findAs<RegionData>(dest, false);
  RegionData* a = table.findAs<RegionData>(src1, false);
  RegionData* b = mode == RGN_COPY ? a : table.findAs<RegionData>(src2, false);
  if (!d || !a || !b) {
    SetLastError(ERROR_INVALID_HANDLE);
    return ERROR;
  }
  Region result = a->region;
  switch (mode) {
    case RGN_AND:
      result.intersect(b->region);
      break;
    case RGN_OR:
      result.unite(b->region);
      break;
    case RGN_XOR:
      result.exclusiveOr(b->region);
      break;
    case RGN_DIFF:
      result.subtract(b->region);
      break;
    case RGN_COPY:
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return ERROR;
  }
  d->region = std::move(result);
  return d->region.complexity();
}

int GetRgnBox(HRGN region, LPRECT rect) {
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data || !rect) {
    SetLastError(data ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return ERROR;
  }
  *rect = data->region.bounds();
  return data->region.complexity();
}

BOOL PtInRegion(HRGN region, int x, int y) {
  RegionData* data = ObjectTable::instance().findAs<RegionData>(region, false);
  if (!data) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return data->region.contains(x, y) ? TRUE : FALSE;
}
