// Icons: LoadIcon, LoadImage, CreateIconIndirect, GetIconInfo, CopyIcon, DestroyIcon, DrawIcon
// and DrawIconEx over the icon table and the program's "ICON" resources.
#include <cstdlib>
#include <optional>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/gdi/IconFile.h"
#include "platform/gdi/IconTable.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/StockFont.h"
#include "platform/gdi/WinIcon.h"

using platform::gdi::IconBlend;
using platform::gdi::IconFile;
using platform::gdi::IconImage;
using platform::gdi::IconTable;

namespace {

constexpr char16_t kIconType[] = u"ICON";

// SM_CXICON: 32 pixels, doubled on VGA screens.
int systemIconSize() { return 32 * platform::gdi::logPixels() / 96; }

HICON loadIconResource(LPCWSTR name, int width, int height, UINT flags) {
  if (name == nullptr || !IS_INTRESOURCE(name)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const auto id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(name));
  const std::span<const std::uint8_t> bytes = platform::ResourceTable::instance().findImage(kIconType, id);
  if (bytes.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  IconTable& table = IconTable::instance();
  const bool shared = (flags & LR_SHARED) != 0;
  if (shared && width > 0 && height > 0) {
    if (HICON icon = table.shared(bytes.data(), width, height)) return icon;
  }
  const std::vector<IconImage> pictures = IconFile::read(bytes);
  if (pictures.empty()) {
    SetLastError(ERROR_INVALID_DATA);
    return nullptr;
  }
  if (width <= 0 || height <= 0) {
    // The resource's own size: its first picture's.
    const IconImage& first = pictures.front();
    width = width > 0 ? width : (flags & LR_DEFAULTSIZE) ? systemIconSize() : first.width();
    height = height > 0 ? height : (flags & LR_DEFAULTSIZE) ? systemIconSize() : first.height();
    if (shared) {
      if (HICON icon = table.shared(bytes.data(), width, height)) return icon;
    }
  }
  IconImage picture = IconFile::nearest(pictures, width, height)->scaled(width, height);
  return shared ? table.addShared(bytes.data(), width, height, std::move(picture)) : table.add(std::move(picture));
}

const IconImage* lookupIcon(HICON icon) {
  const IconImage* image = IconTable::instance().find(icon);
  if (image == nullptr) SetLastError(ERROR_INVALID_CURSOR_HANDLE);
  return image;
}

}  // namespace

HICON LoadIconW(HINSTANCE, LPCWSTR name) { return loadIconResource(name, 0, 0, LR_DEFAULTSIZE | LR_SHARED); }

HANDLE LoadImageW(HINSTANCE, LPCWSTR name, UINT type, int width, int height, UINT flags) {
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (flags & LR_LOADFROMFILE) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (type == IMAGE_ICON) return loadIconResource(name, width, height, flags);
  SetLastError(type == IMAGE_BITMAP || type == IMAGE_CURSOR ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_INVALID_PARAMETER);
  return nullptr;
}

HICON CreateIconIndirect(PICONINFO info) {
  if (info == nullptr || info->hbmColor == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  BITMAP bm{};
  if (GetObjectW(info->hbmColor, sizeof bm, &bm) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  std::optional<IconImage> image =
      IconImage::fromBitmaps(info->hbmColor, info->hbmMask, 0, 0, bm.bmWidth, std::abs(bm.bmHeight));
  if (!image) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return IconTable::instance().add(std::move(*image));
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  const IconImage* image = lookupIcon(icon);
  if (image == nullptr) return FALSE;
  if (info == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const int width = image->width();
  const int height = image->height();
  BITMAPINFO bmi{};
  bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = -height;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP color = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
  if (color == nullptr || mask == nullptr || bits == nullptr) {
    if (color != nullptr) DeleteObject(color);
    if (mask != nullptr) DeleteObject(mask);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  // Top-down 32-bit rows: the colours with their alpha, as the icon keeps them.
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[y * width + x] = image->argb(x, y) & (image->hasAlpha() ? ~0u : 0xFFFFFFu);
  }
  {
    platform::gdi::MemoryDc masks(nullptr, mask);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        SetPixel(masks.dc(), x, y, image->transparent(x, y) ? RGB(255, 255, 255) : RGB(0, 0, 0));
      }
    }
  }
  info->fIcon = TRUE;
  info->xHotspot = static_cast<DWORD>(width / 2);
  info->yHotspot = static_cast<DWORD>(height / 2);
  info->hbmColor = color;
  info->hbmMask = mask;
  return TRUE;
}

HICON CopyIcon(HICON icon) {
  const IconImage* image = lookupIcon(icon);
  return image != nullptr ? IconTable::instance().add(*image) : nullptr;
}

BOOL DestroyIcon(HICON icon) {
  if (IconTable::instance().destroy(icon)) return TRUE;
  SetLastError(ERROR_INVALID_CURSOR_HANDLE);
  return FALSE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
  return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT, HBRUSH flickerFreeBrush, UINT flags) {
  const IconImage* image = lookupIcon(icon);
  if (image == nullptr) return FALSE;
  if (platform::gdi::lookupDC(hdc) == nullptr) return FALSE;
  if (width < 0 || height < 0 || (flags & DI_NORMAL) == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (width == 0) width = (flags & DI_DEFAULTSIZE) ? systemIconSize() : image->width();
  if (height == 0) height = (flags & DI_DEFAULTSIZE) ? systemIconSize() : image->height();
  if (flickerFreeBrush != nullptr) {
    const RECT area{x, y, x + width, y + height};
    FillRect(hdc, &area, flickerFreeBrush);
  }
  IconBlend blend;
  // The colours alone are copied, except that an alpha channel still blends them.
  if ((flags & DI_NORMAL) == DI_MASK) blend.mode = IconBlend::Mode::Mask;
  if ((flags & DI_NORMAL) == DI_IMAGE && !image->hasAlpha()) blend.mode = IconBlend::Mode::Image;
  return image->draw(hdc, x, y, width, height, blend);
}
