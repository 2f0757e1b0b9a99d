// The PNG images built into the program, by resource id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/WinTypes.h"

namespace pellucard {

struct EmbeddedImage {
  UINT id;
  const std::uint8_t* bytes;
  std::size_t size;
};

// Every built-in image, in ascending id order.
std::span<const EmbeddedImage> embeddedImages();

// The PNG bytes of one image; empty when the program has no image of that id.
std::span<const std::uint8_t> findEmbeddedImage(UINT id);

}  // namespace pellucard
