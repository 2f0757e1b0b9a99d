// One font at one size: its metrics and a cache of rendered glyphs (8-bit coverage).
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/gdi/WinGdi.h"

struct FT_FaceRec_;
struct FT_SizeRec_;

namespace platform::gdi {

struct Glyph {
  int advance = 0;
  int left = 0;  // from the pen position to the bitmap's left edge
  int top = 0;   // from the baseline up to the bitmap's top row
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, 255 = ink
};

class FontInstance {
 public:
  // face may be null (no font file found): every visible character is then drawn as a box.
  FontInstance(FT_FaceRec_* face, const LOGFONTW& font);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  int height() const { return ascent_ + descent_; }
  int internalLeading() const { return internalLeading_; }
  int avgCharWidth() const { return avgCharWidth_; }
  int maxCharWidth() const { return maxCharWidth_; }
  int weight() const { return weight_; }
  bool italic() const { return italic_; }
  bool underline() const { return underline_; }
  bool strikeOut() const { return strikeOut_; }
  const char16_t* faceName() const { return u"DejaVu Sans"; }

  const Glyph& glyph(char32_t codePoint);
  int advance(char32_t codePoint) { return glyph(codePoint).advance; }

 private:
  Glyph render(char32_t codePoint);
  Glyph box() const;

  FT_FaceRec_* face_;
  FT_SizeRec_* size_ = nullptr;
  double pixelsPerEm_ = 12;
  int ascent_ = 0;
  int descent_ = 0;
  int internalLeading_ = 0;
  int avgCharWidth_ = 0;
  int maxCharWidth_ = 0;
  int weight_ = FW_NORMAL;
  bool italic_ = false;
  bool underline_ = false;
  bool strikeOut_ = false;
  bool antialias_ = true;
  std::unordered_map<char32_t, Glyph> cache_;
};

}  // namespace platform::gdi
