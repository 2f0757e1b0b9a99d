// Draws one row of the chooser list in the system colours: the row's background, the check
// box with its tick when the list has check boxes, and the row's text with the search
// highlight.
#pragma once

#include <string_view>

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class ChooserRowPainter {
 public:
  // DT_VCENTER | DT_WORD_ELLIPSIS
  static constexpr UINT kTextFormat = 0x40004;

  // pocketPc: the box is drawn 2 pixels inside its square there, 3 on a Smartphone.
  ChooserRowPainter(bool checkBoxes, bool pocketPc, int typedKeys)
      : checkBoxes_(checkBoxes), pocketPc_(pocketPc), typedKeys_(typedKeys) {}

  // The row in `row`, as tall as the list's rows; `word` is the word a search matched (its
  // typed part is highlighted in `text`), empty when no search runs. The box outline and tick
  // are drawn with the context's current pen.
  void draw(HDC hdc, const RECT& row, std::u16string_view text, std::u16string_view word, bool selected,
            bool checked) const;

  // The square of the check box in a row: the row's left square, 1 pixel inside it.
  static RECT boxSquare(const RECT& row);

 private:
  void drawBox(HDC hdc, const RECT& row, bool checked) const;

  bool checkBoxes_;
  bool pocketPc_;
  int typedKeys_;
};

}  // namespace pellucard
