#include "platform/gdi/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "platform/gdi/StockFont.h"

namespace platform::gdi {

namespace {

std::string findFontFile(bool bold) {
  std::string path;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return path;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
      path = reinterpret_cast<const char*>(file);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return path;
}

}  // namespace

FontEngine& FontEngine::instance() {
  static FontEngine engine;
  return engine;
}

FontEngine::FontEngine() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

FontEngine::~FontEngine() {
  instances_.clear();
  if (faces_[1] && faces_[1] != faces_[0]) FT_Done_Face(faces_[1]);
  if (faces_[0]) FT_Done_Face(faces_[0]);
  if (library_) FT_Done_FreeType(library_);
}

FT_FaceRec_* FontEngine::face(bool bold) {
  const int i = bold ? 1 : 0;
  if (looked_[i]) return faces_[i];
  looked_[i] = true;
  if (!library_) return nullptr;
  const std::string path = findFontFile(bold);
  FT_Face face = nullptr;
  if (!path.empty() && FT_New_Face(library_, path.c_str(), 0, &face) == 0) {
    faces_[i] = face;
  } else if (bold) {
    faces_[i] = this->face(false);
  }
  return faces_[i];
}

FontInstance& FontEngine::fontFor(const LOGFONTW& font) {
  LONG height = font.lfHeight == 0 ? systemFontDescription().lfHeight : font.lfHeight;
  const bool bold = font.lfWeight >= FW_SEMIBOLD;
  const auto key = std::make_tuple(height, bold, font.lfItalic != 0, font.lfUnderline != 0, font.lfStrikeOut != 0,
                                   font.lfQuality == NONANTIALIASED_QUALITY);
  auto it = instances_.find(key);
  if (it != instances_.end()) return *it->second;
  LOGFONTW copy = font;
  copy.lfHeight = height;
  auto instance = std::make_unique<FontInstance>(face(bold), copy);
  return *instances_.emplace(key, std::move(instance)).first->second;
}

}  // namespace platform::gdi
