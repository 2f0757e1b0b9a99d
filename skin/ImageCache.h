// The skin images by role. Screens ask for a role; the cache maps it through the current
// screen layout to the image of that layout's set and loads it on first use.
#pragma once

#include <map>
#include <string>

#include "device/ScreenLayout.h"
#include "skin/ImageEntry.h"

namespace pellucard {

class ImageCache {
 public:
  // Roles.
  static constexpr int kBackground = 1;
  static constexpr int kUnused2 = 2;
  static constexpr int kSmallAvatars = 3;
  static constexpr int kGiftIcons = 4;
  static constexpr int kLoanIcons = 5;
  static constexpr int kAnniversaryIcons = 6;
  static constexpr int kLeftArrow = 7;
  static constexpr int kRightArrow = 8;
  static constexpr int kRowStripe = 9;
  static constexpr int kSelectionBar = 10;
  static constexpr int kCardBackground = 13;
  static constexpr int kLargeAvatars = 14;
  static constexpr int kMediumAvatars = 15;

  static ImageCache& instance();
  // Deletes the cache and its bitmaps (shutdown); the next instance() makes a new one.
  static void destroy();

  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // Called at start-up and after every layout change: drops every loaded bitmap and makes the
  // roles point at the images of the layout's set. The skin name is not used: images always
  // come from the program itself.
  void setUpRoles(const ScreenLayout& layout, const std::u16string& skinName = {});

  // The entry of a role; none for roles that do not exist or before the roles are set up.
  ImageEntry* entry(int role);
  // Loads the entry's images once; a missing image leaves the entry without a bitmap.
  void load(ImageEntry& entry);
  // entry(role), loaded.
  ImageEntry* loadedEntry(int role);

  const ScreenLayout& layout() const { return layout_; }

 private:
  ImageCache() = default;

  std::map<int, ImageEntry> entries_;
  ScreenLayout layout_;
};

}  // namespace pellucard
