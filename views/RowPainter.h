// Draws one row of a list control from its record: the selection bar, the icon (a frame of an
// icon strip or the friend's picture) and one or two lines of text with the search highlight.
#pragma once

#include <string>
#include <string_view>

#include "platform/gdi/WinGdi.h"
#include "store/RecordId.h"
#include "views/ListKind.h"

namespace pellucard {

class RowPainter {
 public:
  // Two-line rows and the highlight pieces: DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS.
  static constexpr UINT kLineFormat = DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS;
  static constexpr COLORREF kOverdueColour = RGB(224, 0, 0);

  // iconRole: the image role whose frames are the icons; typedKeys: how many characters of the
  // matched word are highlighted (0: none).
  RowPainter(ListKind kind, int iconRole, int typedKeys, bool smartphone)
      : kind_(kind), iconRole_(iconRole), typedKeys_(typedKeys), smartphone_(smartphone) {}

  // The row of record `id` in `row`; `word` is the row's text, the word the search matched. A
  // record that no longer exists draws nothing beyond the selection bar.
  void draw(HDC hdc, const RECT& row, RecordId id, std::u16string_view word, bool selected) const;

  // The selection bar image over the rectangle; an image wider than the rectangle is drawn in
  // two slices that keep both of its ends.
  static void drawSelectionBar(HDC hdc, const RECT& rect);

  // The text in the line rectangle; the first occurrence of `word` (ignoring case) is cut out
  // and its first `typed` characters drawn on an opaque background.
  static void drawHighlighted(HDC hdc, std::u16string_view text, std::u16string_view word, int typed, const RECT& line,
                              UINT format);

 private:
  struct Layout {
    RECT content;
    RECT icon;
    RECT text;
    RECT line1;
    RECT line2;
  };
  static Layout layoutOf(const RECT& row);
  static void drawFrame(HDC hdc, const RECT& icon, int role, long frame);
  // False when the friend has no picture that can be shown.
  static bool drawPicture(HDC hdc, const RECT& icon, RecordId friendId);

  void drawFriend(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const;
  void drawGift(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const;
  void drawLoan(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const;
  void drawAnniversary(HDC hdc, const Layout& l, RecordId id, std::u16string_view word) const;
  void drawTwoLines(HDC hdc, const Layout& l, std::u16string_view first, std::u16string_view second,
                    std::u16string_view word) const;

  ListKind kind_;
  int iconRole_;
  int typedKeys_;
  bool smartphone_;
};

}  // namespace pellucard
