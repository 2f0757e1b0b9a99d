#include "skin/ImageCache.h"

#include <memory>

#include "skin/ImageResource.h"

namespace pellucard {

namespace {

struct RoleImages {
  int role;
  UINT colour;
  UINT mask;
};

// In set-up order. Roles 2 and 6 name images the program does not have; they stay empty.
constexpr RoleImages kRoles[] = {
    {ImageCache::kBackground, 200, 0},         {ImageCache::kUnused2, 214, 215},
    {ImageCache::kRowStripe, 216, 217},        {ImageCache::kSelectionBar, 218, 219},
    {ImageCache::kCardBackground, 224, 0},     {ImageCache::kSmallAvatars, 202, 203},
    {ImageCache::kLargeAvatars, 226, 227},     {ImageCache::kMediumAvatars, 228, 229},
    {ImageCache::kGiftIcons, 208, 209},        {ImageCache::kLoanIcons, 210, 211},
    {ImageCache::kAnniversaryIcons, 212, 213}, {ImageCache::kLeftArrow, 206, 207},
    {ImageCache::kRightArrow, 204, 205},
};

std::unique_ptr<ImageCache>& holder() {
  static std::unique_ptr<ImageCache> cache;
  return cache;
}

}  // namespace

ImageCache& ImageCache::instance() {
  auto& cache = holder();
  if (!cache) cache.reset(new ImageCache());
  return *cache;
}

void ImageCache::destroy() { holder().reset(); }

void ImageCache::setUpRoles(const ScreenLayout& layout, const std::u16string&) {
  entries_.clear();
  layout_ = layout;
  registerSkinImages();
  for (const RoleImages& role : kRoles) {
    ImageEntry& entry = entries_[role.role];
    entry.colourId = layout.mapImageId(role.colour);
    entry.maskId = role.mask == 0 ? 0 : layout.mapImageId(role.mask);
  }
}

ImageEntry* ImageCache::entry(int role) {
  const auto it = entries_.find(role);
  return it == entries_.end() ? nullptr : &it->second;
}

void ImageCache::load(ImageEntry& entry) {
  if (entry.loaded) return;
  entry.loaded = true;
  entry.colour = loadImageResource(entry.colourId);
  if (entry.maskId != 0) entry.mask = loadImageResource(entry.maskId);
}

ImageEntry* ImageCache::loadedEntry(int role) {
  ImageEntry* found = entry(role);
  if (found != nullptr) load(*found);
  return found;
}

}  // namespace pellucard
