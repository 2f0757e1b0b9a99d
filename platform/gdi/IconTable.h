// The handle table of icons. Handles are never reused, so a destroyed icon's handle is reported
// invalid instead of reaching another icon. Shared icons (LoadIcon, LR_SHARED) are kept per
// resource and size for the life of the process, as the handheld keeps them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/gdi/IconImage.h"

namespace platform::gdi {

class IconTable {
 public:
  static IconTable& instance();

  HICON add(IconImage image);
  // The picture of a live icon, or null.
  const IconImage* find(HICON icon) const;
  // False for a handle that is not a live icon; shared icons stay (and count as destroyed).
  bool destroy(HICON icon);

  // The shared icon of a resource's data at a size, or null when there is none yet. The data
  // is part of the key, so a resource registered anew is loaded anew.
  HICON shared(const void* data, int width, int height) const;
  HICON addShared(const void* data, int width, int height, IconImage image);

  std::size_t count() const { return icons_.size(); }

 private:
  IconTable() = default;

  struct Entry {
    std::unique_ptr<IconImage> image;
    bool shared = false;
  };

  // Far from the drawing objects' handles, so an icon never passes for one.
  std::uintptr_t next_ = 0x7C000000;
  std::unordered_map<std::uintptr_t, Entry> icons_;
  std::map<std::tuple<const void*, int, int>, HICON> shared_;
};

}  // namespace platform::gdi
