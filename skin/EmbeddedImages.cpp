#include "skin/EmbeddedImages.h"

#include <algorithm>

namespace pellucard {

std::span<const std::uint8_t> findEmbeddedImage(UINT id) {
  const std::span<const EmbeddedImage> all = embeddedImages();
  const auto it =
      std::lower_bound(all.begin(), all.end(), id, [](const EmbeddedImage& image, UINT key) { return image.id < key; });
  if (it == all.end() || it->id != id) return {};
  return {it->bytes, it->size};
}

}  // namespace pellucard
