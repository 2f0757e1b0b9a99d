#include "views/SearchHighlight.h"

#include <algorithm>
#include <array>

#include "platform/base/TextCase.h"

namespace pellucard {

namespace {

int textWidth(HDC hdc, std::u16string_view text) {
  if (text.empty()) return 0;
  RECT r{0, 0, 0, 0};
  DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return r.right - r.left;
}

}  // namespace

void SearchHighlight::draw(HDC hdc, std::u16string_view text, std::u16string_view word, int typed, const RECT& line,
                           UINT format, const Look& look) {
  std::size_t at = std::u16string_view::npos;
  if (!word.empty() && typed > 0) at = platform::upperCase(text).find(platform::upperCase(word));
  if (at == std::u16string_view::npos) {
    RECT box = line;
    DrawTextW(hdc, text.data(), static_cast<int>(text.size()), &box, format);
    return;
  }
  const std::size_t lit = std::min(static_cast<std::size_t>(typed), text.size() - at);
  const std::array<std::u16string_view, 3> pieces = {text.substr(0, at), text.substr(at, lit), text.substr(at + lit)};
  std::array<int, 3> widths{};
  int total = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    widths[i] = textWidth(hdc, pieces[i]);
    total += widths[i];
  }
  const int width = line.right - line.left;
  const bool centred = look.alwaysCentred || (format & DT_CENTER) != 0;
  int x = centred && total <= width ? line.left + (width - total) / 2 : line.left;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (x >= line.right) break;
    if (!pieces[i].empty()) {
      RECT piece{x, line.top, std::min<LONG>(x + widths[i], line.right), line.bottom};
      if (i == 1) {
        const int oldMode = SetBkMode(hdc, OPAQUE);
        const COLORREF oldText = look.litText ? SetTextColor(hdc, *look.litText) : CLR_INVALID;
        const COLORREF oldBack = look.litBack ? SetBkColor(hdc, *look.litBack) : CLR_INVALID;
        DrawTextW(hdc, pieces[i].data(), static_cast<int>(pieces[i].size()), &piece, look.pieceFormat);
        if (oldBack != CLR_INVALID) SetBkColor(hdc, oldBack);
        if (oldText != CLR_INVALID) SetTextColor(hdc, oldText);
        SetBkMode(hdc, oldMode);
      } else {
        DrawTextW(hdc, pieces[i].data(), static_cast<int>(pieces[i].size()), &piece, look.pieceFormat);
      }
    }
    x += widths[i];
  }
}

}  // namespace pellucard
