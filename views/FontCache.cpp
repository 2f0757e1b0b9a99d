#include "views/FontCache.h"

#include <memory>

namespace pellucard {

namespace {
std::unique_ptr<FontCache>& slot() {
  static std::unique_ptr<FontCache> cache;
  return cache;
}
}  // namespace

FontCache& FontCache::instance() {
  auto& cache = slot();
  if (!cache) cache.reset(new FontCache());
  return *cache;
}

void FontCache::destroy() { slot().reset(); }

FontCache::FontCache() {
  LOGFONTW base{};
  if (GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(base), &base) == 0) return;
  base.lfQuality = ANTIALIASED_QUALITY;
  const LONG smallHeight = static_cast<LONG>(static_cast<double>(base.lfHeight) * 0.8);
  const struct {
    int id;
    LONG weight;
    LONG height;
  } variants[] = {{kNormal, FW_NORMAL, base.lfHeight},
                  {kSmall, FW_NORMAL, smallHeight},
                  {kBold, FW_BOLD, base.lfHeight},
                  {kSmallBold, FW_BOLD, smallHeight}};
  for (const auto& v : variants) {
    LOGFONTW lf = base;
    lf.lfWeight = v.weight;
    lf.lfHeight = v.height;
    fonts_[static_cast<std::size_t>(v.id)] = CreateFontIndirectW(&lf);
  }
}

FontCache::~FontCache() {
  for (HFONT f : fonts_) {
    if (f != nullptr) DeleteObject(f);
  }
}

HFONT FontCache::font(int id) const {
  if (id < 0 || id >= static_cast<int>(fonts_.size())) return nullptr;
  return fonts_[static_cast<std::size_t>(id)];
}

}  // namespace pellucard
