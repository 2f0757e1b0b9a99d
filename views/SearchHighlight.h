// Draws one line of a list row with the part a search typed highlighted: the first occurrence
// of the matched word (ignoring case) is cut out of the line and its first `typed` characters
// are drawn on an opaque background, between the parts before and after them.
#pragma once

#include <optional>
#include <string_view>

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class SearchHighlight {
 public:
  struct Look {
    // The format each of the three pieces is drawn with, in a rectangle as wide as the piece.
    UINT pieceFormat = 0;
    // Whether pieces that fit are centred across the line whatever the line's format (the
    // record lists), or only when the line's format has DT_CENTER (the chooser list).
    bool alwaysCentred = false;
    // The highlighted piece's text and background; the context's own when absent.
    std::optional<COLORREF> litText;
    std::optional<COLORREF> litBack;
  };

  // With an empty word, no typed key or no match, the line is drawn whole with `format`.
  static void draw(HDC hdc, std::u16string_view text, std::u16string_view word, int typed, const RECT& line,
                   UINT format, const Look& look);
};

}  // namespace pellucard
