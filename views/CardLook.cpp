#include "views/CardLook.h"

#include "app/DeviceProfile.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "views/FontCache.h"

namespace pellucard {

bool CardLook::pocketPc() { return getSettings().deviceProfile().isPocketPc(); }

HFONT CardLook::font() { return pocketPc() ? FontCache::instance().font(FontCache::kBold) : nullptr; }

void CardLook::drawBackground(HDC hdc) {
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kCardBackground);
  if (background != nullptr) SkinPainter::drawSkinImageAt(hdc, background, 0, 0);
}

}  // namespace pellucard
