// What the friend card and the item card are alike: a window painted in one block over the card
// background, in the edition's card font, whose notes below its own lines scroll with the
// scroll bar (Pocket PC) and the Up and Down keys. A card draws its own lines in drawContent.
#pragma once

#include "platform/win/WindowBase.h"
#include "views/NotesPane.h"

namespace pellucard {

class NotesCard : public platform::WindowImpl<NotesCard> {
 public:
  static const platform::MessageMap<NotesCard>& messageMap();

 protected:
  // The card's window, its notes area fitted to its width.
  HWND createCard(HWND parent, const RECT& rect, LPCWSTR windowName, DWORD style, UINT id);
  NotesPane& notes() { return notes_; }
  // Draws the card's lines and notes into `dc`, over the background, with `font` selected and
  // transparent text; `card` is the card's size.
  virtual void drawContent(HDC dc, HFONT font, SIZE card) = 0;

 private:
  void onDestroy();
  // The paint draws the whole background: a paint without erase must not show the last record.
  bool onEraseBackground(HDC) { return false; }
  void onPaint();
  void onVScroll(UINT code, int position, HWND bar);
  void onKeyDown(UINT vk, UINT flags);

  NotesPane notes_;
};

}  // namespace pellucard
