#include "platform/backend/sdl/SdlWindowIcon.h"

#include <SDL.h>

#include "platform/base/ResourceTable.h"
#include "platform/gdi/IconFile.h"

namespace platform {

bool setSdlWindowIcon(SDL_Window* window) {
  const ResourceTable& resources = ResourceTable::instance();
  const UINT id = resources.firstImageId(u"ICON");
  if (window == nullptr || id == 0) return false;
  const std::vector<gdi::IconImage> pictures = gdi::IconFile::read(resources.findImage(u"ICON", id));
  const gdi::IconImage* largest = gdi::IconFile::nearest(pictures, 256, 256);
  // A resource that does not read is not tried again.
  if (largest == nullptr) return true;
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, largest->width(), largest->height(), 32, SDL_PIXELFORMAT_ARGB8888);
  if (surface == nullptr) return true;
  SDL_LockSurface(surface);
  for (int y = 0; y < largest->height(); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < largest->width(); ++x) {
      const std::uint32_t argb = largest->argb(x, y);
      const std::uint32_t alpha = largest->hasAlpha() ? argb >> 24 : (largest->transparent(x, y) ? 0 : 255);
      row[x] = alpha << 24 | (argb & 0xFFFFFFu);
    }
  }
  SDL_UnlockSurface(surface);
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
  return true;
}

}  // namespace platform
