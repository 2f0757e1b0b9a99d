// Fonts and text: CreateFontIndirectW, metrics and extents, ExtTextOutW, TextOutW, DrawTextW.
// Every text drawn is recorded with the surface or window it landed on.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/StockFont.h"
#include "platform/gdi/TextLayout.h"
#include "platform/gdi/WinGdi.h"

using platform::gdi::DeviceContext;
using platform::gdi::FontData;
using platform::gdi::FontInstance;
using platform::gdi::lookupDC;
using platform::gdi::ObjectTable;
using platform::gdi::Painter;

namespace {

constexpr RECT kUnbounded{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

LOGFONTW fontDescription(HGDIOBJ handle) {
  ObjectTable& table = ObjectTable::instance();
  FontData* font = table.findAs<FontData>(handle);
  if (!font || handle == table.stockObject(SYSTEM_FONT)) return platform::gdi::systemFontDescription();
  return font->log;
}

FontInstance& fontOf(DeviceContext& dc) {
  return platform::gdi::FontEngine::instance().fontFor(fontDescription(dc.selected(OBJ_FONT)));
}

std::u16string_view textArgument(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<std::size_t>(count));
}

struct RunStyle {
  COLORREF color = 0;
  int underlineIndex = -1;  // one mnemonic character
  int tabWidth = 0;         // 0: tabs are as wide as a space
  const INT* dx = nullptr;  // explicit advances per UTF-16 unit
  bool skipGlyphs = false;
};

// Draws glyphs with the cell's top-left at (x, top) in surface coordinates.
void drawRun(Painter& p, FontInstance& font, std::u16string_view text, int x, int top, const RunStyle& style) {
  const int baseline = top + font.ascent();
  const std::uint32_t lineRaw = platform::gdi::colorToRaw(p.surface().format(), style.color);
  const int start = x;
  int pen = x;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t unit = i;
    const char32_t cp = platform::gdi::nextCodePoint(text, i);
    int advance;
    if (style.dx) {
      advance = 0;
      for (std::size_t u = unit; u < i; ++u) advance += style.dx[u];
    } else if (cp == U'\t' && style.tabWidth > 0) {
      advance = ((pen - start) / style.tabWidth + 1) * style.tabWidth - (pen - start);
    } else {
      advance = font.advance(cp);
    }
    if (!style.skipGlyphs) p.glyph(font.glyph(cp), pen, baseline, style.color, kUnbounded);
    if (static_cast<int>(unit) == style.underlineIndex) {
      for (int px = pen; px < pen + font.advance(cp); ++px) p.plot(px, baseline + 1, lineRaw);
    }
    pen += advance;
  }
  if (font.underline() && !style.skipGlyphs) p.span(baseline + 1, start, pen, lineRaw);
  if (font.strikeOut() && !style.skipGlyphs) p.span(baseline - font.ascent() / 3, start, pen, lineRaw);
}

int runWidth(FontInstance& font, std::u16string_view text, const INT* dx) {
  if (!dx) return platform::gdi::TextLayout(font, 0).measure(text);
  int width = 0;
  for (std::size_t i = 0; i < text.size(); ++i) width += dx[i];
  return width;
}

// Records a text for its surface or window, limited to where it can actually be seen.
void recordText(Painter& p, std::u16string text, const RECT& surfaceBox, COLORREF color) {
  if (text.empty()) return;
  platform::gdi::TextRecordList* store = p.dc().textStore();
  if (!store) return;
  RECT visible{0, 0, 0, 0};
  for (const RECT& c : p.clip())
    visible = platform::gdi::unionRects(visible, platform::gdi::intersectRects(c, surfaceBox));
  if (platform::gdi::rectEmpty(visible)) return;
  store->add(platform::gdi::CapturedText{std::move(text), visible, color, surfaceBox});
}

}  // namespace

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  FontData data{*font};
  data.log.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(ObjectTable::instance().add(std::make_unique<platform::gdi::GdiObject>(data)));
}

BOOL GetTextMetricsW(HDC hdc, LPTEXTMETRICW metrics) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!metrics) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const LOGFONTW log = fontDescription(dc->selected(OBJ_FONT));
  FontInstance& font = fontOf(*dc);
  TEXTMETRICW tm{};
  tm.tmHeight = font.height();
  tm.tmAscent = font.ascent();
  tm.tmDescent = font.descent();
  tm.tmInternalLeading = font.internalLeading();
  tm.tmExternalLeading = 0;
  tm.tmAveCharWidth = font.avgCharWidth();
  tm.tmMaxCharWidth = font.maxCharWidth();
  tm.tmWeight = log.lfWeight == 0 ? FW_NORMAL : log.lfWeight;
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = platform::gdi::logPixels();
  tm.tmDigitizedAspectY = platform::gdi::logPixels();
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = log.lfItalic;
  tm.tmUnderlined = log.lfUnderline;
  tm.tmStruckOut = log.lfStrikeOut;
  // For TrueType faces the "fixed pitch" bit set means variable pitch, as on Win32.
  tm.tmPitchAndFamily = TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS;
  tm.tmCharSet = DEFAULT_CHARSET;
  *metrics = tm;
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, LPSIZE size) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!size || count < 0 || (!text && count > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& font = fontOf(*dc);
  size->cx = runWidth(font, textArgument(text, count), nullptr);
  size->cy = font.height();
  return TRUE;
}

BOOL GetTextExtentExPointW(HDC hdc, LPCWSTR text, int count, int maxExtent, int* fit, int* dx, LPSIZE size) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!size || count < 0 || (!text && count > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  FontInstance& font = fontOf(*dc);
  const std::u16string_view t = textArgument(text, count);
  int width = 0, fitted = 0;
  bool stillFits = true;
  for (std::size_t i = 0; i < t.size();) {
    const std::size_t unit = i;
    width += font.advance(platform::gdi::nextCodePoint(t, i));
    for (std::size_t u = unit; u < i; ++u) {
      if (dx) dx[u] = width;
    }
    if (stillFits && (maxExtent < 0 || width <= maxExtent)) {
      fitted = static_cast<int>(i);
    } else {
      stillFits = false;
    }
  }
  if (fit) *fit = fitted;
  size->cx = width;
  size->cy = font.height();
  return TRUE;
}

int GetTextFaceW(HDC hdc, int count, LPWSTR face) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  const std::u16string name = fontOf(*dc).faceName();
  if (!face) return static_cast<int>(name.size()) + 1;
  if (count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int n = std::min<int>(count - 1, static_cast<int>(name.size()));
  std::copy_n(name.begin(), n, face);
  face[n] = 0;
  return n;
}

BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const INT* dx) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return FALSE;
  if (!text && count > 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Painter p(*dc);
  if (!p.valid()) return TRUE;
  FontInstance& font = fontOf(*dc);
  const std::u16string_view t = textArgument(text, static_cast<int>(count));
  const UINT align = dc->textAlign();
  const COLORREF textColor = dc->textColor();
  const std::uint32_t bkRaw = platform::gdi::colorToRaw(p.surface().format(), dc->bkColor());
  if (rect && (options & ETO_CLIPPED)) p.restrictTo(p.toSurface(*rect));
  if (rect && (options & ETO_OPAQUE)) p.fill(p.toSurface(*rect), bkRaw);
  if (t.empty()) return TRUE;

  const int width = runWidth(font, t, dx);
  POINT origin{platform::gdi::clampCoordinate(x), platform::gdi::clampCoordinate(y)};
  if (align & TA_UPDATECP) origin = dc->position();
  const UINT horizontal = align & TA_CENTER;
  if (horizontal == TA_CENTER) {
    origin.x -= width / 2;
  } else if (horizontal == TA_RIGHT) {
    origin.x -= width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) {
    origin.y -= font.ascent();
  } else if (align & TA_BOTTOM) {
    origin.y -= font.height();
  }
  if (align & TA_UPDATECP) dc->setPosition(POINT{origin.x + width, dc->position().y});

  const RECT box = p.toSurface(RECT{origin.x, origin.y, origin.x + width, origin.y + font.height()});
  if (dc->bkMode() == OPAQUE) p.fill(box, bkRaw);
  RunStyle style;
  style.color = textColor;
  style.dx = dx;
  drawRun(p, font, t, box.left, box.top, style);
  recordText(p, std::u16string(t), box, textColor);
  return TRUE;
}

BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) {
    if (lookupDC(hdc)) SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return ExtTextOutW(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

// Vertical centring and bottom alignment apply to the whole block of lines, with or without
// DT_SINGLELINE: the handheld's lists rely on DT_VCENTER alone to centre their rows' text.
int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  DeviceContext* dc = lookupDC(hdc);
  if (!dc) return 0;
  if (!text || !rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  FontInstance& font = fontOf(*dc);
  const platform::gdi::TextLayout layout(font, format);
  const RECT box = platform::gdi::normalizedRect(rect->left, rect->top, std::max(rect->left, rect->right),
                                                 std::max(rect->top, rect->bottom));
  const int maxWidth = box.right - box.left;
  const std::vector<platform::gdi::LayoutLine> lines = layout.layout(textArgument(text, count), maxWidth);
  const int lineHeight = font.height();
  const int total = static_cast<int>(std::min<long long>(static_cast<long long>(lineHeight) * lines.size(), 1 << 28));
  int top = box.top;
  if (format & DT_VCENTER) {
    top = box.top + (box.bottom - box.top - total) / 2;
  } else if (format & DT_BOTTOM) {
    top = box.bottom - total;
  }
  const int result = (format & (DT_VCENTER | DT_BOTTOM)) ? top + total - box.top : total;

  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, line.width);
    rect->right = box.left + widest;
    rect->bottom = box.top + total;
    return result;
  }

  Painter p(*dc);
  if (!p.valid()) return result;
  if (!(format & DT_NOCLIP)) p.restrictTo(p.toSurface(box));
  const COLORREF textColor = dc->textColor();
  const std::uint32_t bkRaw = platform::gdi::colorToRaw(p.surface().format(), dc->bkColor());
  RunStyle style;
  style.color = textColor;
  style.tabWidth = (format & DT_EXPANDTABS) ? std::max(1, 8 * font.avgCharWidth()) : 0;
  style.skipGlyphs = (format & DT_PREFIXONLY) != 0;
  std::u16string shown;
  RECT inked{0, 0, 0, 0};
  int y = top;
  for (const auto& line : lines) {
    if (y >= box.bottom && !(format & DT_NOCLIP)) break;
    int x = box.left;
    if (format & DT_CENTER) {
      x = box.left + (maxWidth - line.width) / 2;
    } else if (format & DT_RIGHT) {
      x = box.right - line.width;
    }
    const RECT lineBox = p.toSurface(RECT{x, y, x + line.width, y + lineHeight});
    if (dc->bkMode() == OPAQUE) p.fill(lineBox, bkRaw);
    style.underlineIndex = (format & DT_HIDEPREFIX) ? -1 : line.underline;
    drawRun(p, font, line.text, lineBox.left, lineBox.top, style);
    if (!shown.empty() || &line != &lines.front()) shown += line.wrapped ? (line.spaceBefore ? u" " : u"") : u"\n";
    shown += line.text;
    inked = platform::gdi::unionRects(inked, lineBox.right > lineBox.left ? lineBox : RECT{0, 0, 0, 0});
    y += lineHeight;
  }
  if (!(format & DT_PREFIXONLY)) recordText(p, std::move(shown), inked, textColor);
  return result;
}
