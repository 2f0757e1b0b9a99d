// Drawing an edit control from its state: the background, the visible lines of a band of the
// client area, the selection and the caret. Nothing here reads or changes the window.
#pragma once

#include <string_view>

#include "platform/controls/EditLayout.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

struct EditPicture {
  std::u16string_view text;  // as shown: a password's stars, not its text
  const EditLayout* layout = nullptr;
  RECT format{};      // where text may go, client coordinates
  int firstLine = 0;  // the line shown at the top
  int lineHeight = 13;
  int top = 0;             // y of the first line's top
  int scrollX = 0;         // pixels scrolled to the left
  UINT align = 0;          // ES_LEFT, ES_CENTER or ES_RIGHT
  int selectionStart = 0;  // an empty range shows no selection
  int selectionEnd = 0;
  int caret = -1;  // where the caret shows, -1 while it does not
  int caretWidth = 1;
  HFONT font = nullptr;
  HBRUSH background = nullptr;
  COLORREF textColor = 0;
  COLORREF selectedTextColor = 0;
  COLORREF selectedBackColor = 0;
};

// x of a line's first character in client coordinates.
int editLineLeft(const EditPicture& picture, int line);

// Draws the part `area` (client coordinates) of the control into dc, whose (0, 0) is the client
// point `origin`.
void drawEdit(HDC dc, POINT origin, const RECT& area, const EditPicture& picture);

}  // namespace platform::controls
