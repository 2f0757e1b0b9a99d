#include "views/FriendCard.h"

#include "platform/gdi/MemoryDc.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/FriendCollection.h"
#include "views/CardLook.h"

namespace pellucard {

const platform::MessageMap<FriendCard>& FriendCard::messageMap() {
  using M = FriendCard;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_VSCROLL>(&M::onVScroll)
                              .on<WM_KEYDOWN>(&M::onKeyDown);
  return map;
}

platform::WindowClassInfo FriendCard::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"FriendCard";
  return info;
}

HWND FriendCard::create(HWND parent, const RECT& rect, UINT id) {
  notes_.releaseBuffer();
  notes_.setRect(CardLook::fitNotes(ImageCache::instance().layout().rectR1(), rect.right - rect.left));
  return WindowImpl::create(parent, rect, kWindowName, kStyle, 0, id);
}

void FriendCard::setFriend(RecordId id) {
  friend_ = id;
  picture_.reset();
  const Friend* person = getFriendCollection().find(id);
  if (hwnd() != nullptr)
    notes_.measure(hwnd(), person != nullptr ? person->notes() : std::u16string_view(), CardLook::font());
}

void FriendCard::onDestroy() {
  notes_.releaseBuffer();
  passOn();
}

void FriendCard::onPaint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd(), &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (const platform::gdi::MemoryDc buffer(hdc, client.right, client.bottom); buffer) {
    // The whole background every time: a paint without erase must not show the last friend.
    CardLook::drawBackground(buffer.dc(), SIZE{client.right, client.bottom});
    SetBkMode(buffer.dc(), TRANSPARENT);
    HFONT font = CardLook::font();
    const platform::gdi::SelectedObject selectedFont(buffer.dc(), font);
    if (const Friend* person = getFriendCollection().find(friend_)) {
      drawHeader(buffer.dc(), friend_);
      notes_.draw(buffer.dc(), person->notes(), font, SIZE{client.right, client.bottom});
    }
    buffer.copyTo(hdc, 0, 0);
  }
  EndPaint(hwnd(), &ps);
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

void FriendCard::onVScroll(UINT code, int position, HWND) { notes_.onVScroll(hwnd(), code, position); }

void FriendCard::onKeyDown(UINT vk, UINT) {
  if (!notes_.onKeyDown(hwnd(), vk)) passOn();
}

}  // namespace pellucard
