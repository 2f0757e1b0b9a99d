// What the two cards share: the edition's text font and the card background.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class CardLook {
 public:
  static bool pocketPc();
  // Bold on a Pocket PC; nullptr (the context's own font) on a Smartphone.
  static HFONT font();
  // The card background image at the top-left corner.
  static void drawBackground(HDC hdc);
};

}  // namespace pellucard
