#include "platform/gdi/StockFont.h"

#include <algorithm>

#include "platform/gdi/Screen.h"

namespace platform::gdi {

int logPixels() {
  Screen& screen = Screen::instance();
  return std::min(screen.width(), screen.height()) >= 480 ? 192 : 96;
}

LOGFONTW systemFontDescription() {
  LOGFONTW font{};
  // A positive height is the cell height: the text cell is exactly 12 (or 24) pixels.
  font.lfHeight = 12 * logPixels() / 96;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  const char16_t name[] = u"DejaVu Sans";
  std::copy(std::begin(name), std::end(name), font.lfFaceName);
  return font;
}

}  // namespace platform::gdi
