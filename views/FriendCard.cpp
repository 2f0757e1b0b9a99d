#include "views/FriendCard.h"

#include "platform/gdi/MemoryDc.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/FriendCollection.h"
#include "views/CardLook.h"

namespace pellucard {

platform::WindowClassInfo FriendCard::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"FriendCard";
  return info;
}

HWND FriendCard::create(HWND parent, const RECT& rect, UINT id) {
  return createCard(parent, rect, kWindowName, kStyle, id);
}

void FriendCard::setFriend(RecordId id) {
  friend_ = id;
  picture_.reset();
  const Friend* person = getFriendCollection().find(id);
  if (hwnd() != nullptr)
    notes().measure(hwnd(), person != nullptr ? person->notes() : std::u16string_view(), CardLook::font());
}

void FriendCard::drawContent(HDC dc, HFONT font, SIZE card) {
  const Friend* person = getFriendCollection().find(friend_);
  if (person == nullptr) return;
  drawHeader(dc, friend_);
  notes().draw(dc, person->notes(), font, card);
}

void FriendCard::drawHeader(HDC hdc, RecordId id) {
  const Friend* person = getFriendCollection().find(id);
  if (person == nullptr) return;
  const ScreenLayout& layout = ImageCache::instance().layout();
  RECT window{};
  GetWindowRect(hwnd(), &window);
  const RECT header = CardLook::fitHeader(layout.headerRect(), window.right - window.left, layout.margin());
  const int headerHeight = header.bottom - header.top;
  int faceWidth = 0;
  bool drawn = false;
  if (person->picture().hasPicture() && picture_.large(person->picture().bytes(), layout) != nullptr) {
    const DibBitmap& picture = picture_.largeBitmap();
    faceWidth = picture.width();
    if (const platform::gdi::MemoryDc source(hdc, picture.handle()); source) {
      source.copyTo(hdc, header.right - picture.width(), header.top + (headerHeight - picture.height()) / 2);
      drawn = true;
    }
  }
  if (!drawn) {
    ImageEntry* strip = ImageCache::instance().loadedEntry(CardLook::pocketPc() ? ImageCache::kMediumAvatars
                                                                                : ImageCache::kLargeAvatars);
    if (strip != nullptr && strip->colour && strip->colour.height() > 0) {
      const int size = strip->colour.height();
      const int frames = strip->colour.width() / size;
      faceWidth = size;
      const LONG index = person->avatarIndex();
      if (index >= 0 && index < frames) {
        const int x = header.right - size;
        const int y = header.top + (headerHeight - size) / 2;
        SkinPainter::drawSkinImage(
            hdc, strip, RECT{x, y, x + size, y + size},
            RECT{static_cast<LONG>(index * size), 0, static_cast<LONG>((index + 1) * size), size});
      }
    }
  }
  RECT names{header.left, header.top, header.right - faceWidth - layout.margin(), header.bottom};
  std::u16string text(person->firstName());
  text.append(u"\r\n").append(person->lastName());
  DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &names, DT_WORDBREAK);
}

}  // namespace pellucard
