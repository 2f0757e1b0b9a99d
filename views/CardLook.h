// What the two cards share: the edition's text font and the card background.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class CardLook {
 public:
  static bool pocketPc();
  // Bold on a Pocket PC; nullptr (the context's own font) on a Smartphone.
  static HFONT font();
  // The card background over a card of that size, stretched where the card is larger.
  static void drawBackground(HDC hdc, SIZE card);
  // The layout's rectangles assume a screen at least as wide as the layout's own. On a
  // narrower one (a 176-pixel Smartphone) they end inside the card: the notes leave room for
  // the scroll bar, the header for the margin.
  static RECT fitNotes(RECT notes, int cardWidth);
  static RECT fitHeader(RECT header, int cardWidth, int margin);
};

}  // namespace pellucard
