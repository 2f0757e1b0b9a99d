// Images built into the program as resources of type "GIF" (PNG data), and the shell's loader.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/WinGdi.h"
#include "skin/DibBitmap.h"

// Loads image resource uIdImageList of the program as a 16-bit (5-6-5) DIB section; the caller
// deletes it. NULL with ERROR_RESOURCE_NAME_NOT_FOUND when there is no such image, or
// ERROR_INVALID_DATA when its data does not decode. Every instance handle names the program.
HBITMAP SHLoadImageResource(HINSTANCE hinst, UINT uIdImageList);

namespace pellucard {

// Resource type of the skin images.
inline constexpr char16_t kImageResourceType[] = u"GIF";

// Registers every built-in image with the program's resources (again after a clear).
void registerSkinImages();

// The same load as SHLoadImageResource, keeping the pixels at hand for blending.
DibBitmap loadImageResource(UINT id);

}  // namespace pellucard
