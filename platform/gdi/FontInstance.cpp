#include "platform/gdi/FontInstance.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>

#include "platform/gdi/StockFont.h"

namespace platform::gdi {

namespace {

constexpr std::size_t kMaxCachedGlyphs = 4096;

int roundToInt(double v) { return static_cast<int>(std::floor(v + 0.5)); }

}  // namespace

FontInstance::FontInstance(FT_FaceRec_* face, const LOGFONTW& font) : face_(face) {
  weight_ = font.lfWeight == 0 ? FW_NORMAL : std::clamp<int>(font.lfWeight, 1, 1000);
  italic_ = font.lfItalic != 0;
  underline_ = font.lfUnderline != 0;
  strikeOut_ = font.lfStrikeOut != 0;
  antialias_ = font.lfQuality != NONANTIALIASED_QUALITY;

  // Vertical extent as Windows measures TrueType fonts: the OS/2 "win" ascent and descent.
  double units = 2048, winAscent = 1901, winDescent = 483, avgWidth = 1038, maxAdvance = 2163;
  if (face_) {
    units = face_->units_per_EM;
    winAscent = face_->ascender;
    winDescent = -face_->descender;
    maxAdvance = face_->max_advance_width;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2))) {
      winAscent = os2->usWinAscent;
      winDescent = os2->usWinDescent;
      avgWidth = os2->xAvgCharWidth;
    }
  }
  LONG requested = font.lfHeight;
  if (requested == 0) requested = systemFontDescription().lfHeight;
  // Absurd sizes would only exhaust memory in the glyph cache.
  requested = std::clamp<LONG>(requested, -512, 512);
  if (requested > 0) {
    // Cell height: the em is scaled so that ascent + descent equals it exactly.
    pixelsPerEm_ = requested * units / (winAscent + winDescent);
    ascent_ = roundToInt(winAscent * requested / (winAscent + winDescent));
    descent_ = requested - ascent_;
  } else {
    pixelsPerEm_ = -requested;
    ascent_ = roundToInt(winAscent * pixelsPerEm_ / units);
    descent_ = roundToInt(winDescent * pixelsPerEm_ / units);
  }
  internalLeading_ = std::max(0, ascent_ + descent_ - roundToInt(pixelsPerEm_));
  avgCharWidth_ = std::max(1, roundToInt(avgWidth * pixelsPerEm_ / units));
  maxCharWidth_ = std::max(1, roundToInt(maxAdvance * pixelsPerEm_ / units));

  if (face_ && FT_New_Size(face_, &size_) == 0) {
    FT_Activate_Size(size_);
    if (FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(pixelsPerEm_ * 64)), 72, 72) != 0) {
      FT_Done_Size(size_);
      size_ = nullptr;
    }
  }
}

FontInstance::~FontInstance() {
  if (size_) FT_Done_Size(size_);
}

const Glyph& FontInstance::glyph(char32_t codePoint) {
  auto it = cache_.find(codePoint);
  if (it != cache_.end()) return it->second;
  // Bounded: text in many scripts would otherwise grow the cache without end. Callers never
  // keep a glyph reference across another lookup.
  if (cache_.size() >= kMaxCachedGlyphs) cache_.clear();
  return cache_.emplace(codePoint, render(codePoint)).first->second;
}

Glyph FontInstance::box() const {
  // The mark for a character the face lacks: an outlined box, never a crash or a gap.
  Glyph g;
  const int em = std::max(4, roundToInt(pixelsPerEm_));
  g.advance = std::max(4, roundToInt(em * 0.6));
  g.left = 1;
  g.width = g.advance - 2;
  g.height = std::max(3, roundToInt(em * 0.7));
  g.top = g.height;
  g.coverage.assign(static_cast<std::size_t>(g.width * g.height), 0);
  for (int y = 0; y < g.height; ++y) {
    for (int x = 0; x < g.width; ++x) {
      if (x == 0 || y == 0 || x == g.width - 1 || y == g.height - 1) g.coverage[y * g.width + x] = 255;
    }
  }
  return g;
}

Glyph FontInstance::render(char32_t codePoint) {
  if (codePoint == U'\r' || codePoint == U'\n') return Glyph{};
  if (codePoint == U'\t') codePoint = U' ';
  if (codePoint < 0x20) return Glyph{};
  if (!face_ || !size_) {
    if (codePoint == U' ') return Glyph{std::max(2, roundToInt(pixelsPerEm_ * 0.3)), 0, 0, 0, 0, {}};
    return box();
  }
  const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
  if (index == 0) return box();

  FT_Activate_Size(size_);
  FT_Matrix shear{0x10000, italic_ ? 0x3800 : 0, 0, 0x10000};
  FT_Set_Transform(face_, &shear, nullptr);
  const FT_Int32 flags =
      antialias_ ? (FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) : (FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO);
  const bool loaded = FT_Load_Glyph(face_, index, flags) == 0 &&
                      FT_Render_Glyph(face_->glyph, antialias_ ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) == 0;
  FT_Set_Transform(face_, nullptr, nullptr);
  if (!loaded) return box();

  const FT_GlyphSlot slot = face_->glyph;
  Glyph g;
  g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int>(slot->bitmap.width);
  g.height = static_cast<int>(slot->bitmap.rows);
  g.coverage.assign(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height), 0);
  const FT_Bitmap& bm = slot->bitmap;
  for (int y = 0; y < g.height; ++y) {
    const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    for (int x = 0; x < g.width; ++x) {
      std::uint8_t value = 0;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
        value = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
        value = bm.num_grays == 256 ? src[x] : static_cast<std::uint8_t>(src[x] * 255 / std::max(1, bm.num_grays - 1));
      }
      g.coverage[static_cast<std::size_t>(y * g.width + x)] = value;
    }
  }
  return g;
}

}  // namespace platform::gdi
