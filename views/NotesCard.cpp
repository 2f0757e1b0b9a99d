#include "views/NotesCard.h"

#include "platform/gdi/MemoryDc.h"
#include "skin/ImageCache.h"
#include "views/CardLook.h"

namespace pellucard {

const platform::MessageMap<NotesCard>& NotesCard::messageMap() {
  using M = NotesCard;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_VSCROLL>(&M::onVScroll)
                              .on<WM_KEYDOWN>(&M::onKeyDown);
  return map;
}

HWND NotesCard::createCard(HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style, UINT id) {
  notes_.releaseBuffer();
  notes_.setRect(CardLook::fitNotes(ImageCache::instance().layout().rectR1(), rect.right - rect.left));
  return create(parent, rect, windowName, style, 0, id);
}

void NotesCard::onDestroy() {
  notes_.releaseBuffer();
  passOn();
}

void NotesCard::onPaint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd(), &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const SIZE size{client.right, client.bottom};
  if (const platform::gdi::MemoryDc buffer(hdc, size.cx, size.cy); buffer) {
    CardLook::drawBackground(buffer.dc(), size);
    SetBkMode(buffer.dc(), TRANSPARENT);
    const HFONT font = CardLook::font();
    const platform::gdi::SelectedObject selectedFont(buffer.dc(), font);
    drawContent(buffer.dc(), font, size);
    buffer.copyTo(hdc, 0, 0);
  }
  EndPaint(hwnd(), &ps);
}

void NotesCard::onVScroll(UINT code, int position, HWND) { notes_.onVScroll(hwnd(), code, position); }

void NotesCard::onKeyDown(UINT vk, UINT) {
  if (!notes_.onKeyDown(hwnd(), vk)) passOn();
}

}  // namespace pellucard
