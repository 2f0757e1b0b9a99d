#include "views/CardLook.h"

#include <algorithm>

#include "platform/win/WinUser.h"

#include "device/DeviceProfile.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "views/FontCache.h"

namespace pellucard {

bool CardLook::pocketPc() { return getSettings().deviceProfile().isPocketPc(); }

HFONT CardLook::font() { return pocketPc() ? FontCache::instance().font(FontCache::kBold) : nullptr; }

void CardLook::drawBackground(HDC hdc, SIZE card) {
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kCardBackground);
  if (background == nullptr) return;
  // Extended rather than stretched: the layout's header and notes rectangles keep their place.
  SkinPainter::drawExtended(hdc, background, card);
}

RECT CardLook::fitNotes(RECT notes, int cardWidth) {
  if (notes.right > cardWidth) notes.right = std::max(notes.left + 1, cardWidth - GetSystemMetrics(SM_CXVSCROLL));
  return notes;
}

RECT CardLook::fitHeader(RECT header, int cardWidth, int margin) {
  if (header.right > cardWidth) header.right = std::max(header.left + 1, cardWidth - margin);
  return header;
}

}  // namespace pellucard
