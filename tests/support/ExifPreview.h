// A JPEG with an Exif block holding a preview, as cameras write them, for the tests and
// benchmarks of thumbnail decoding.
#pragma once

#include <cstdint>
#include <vector>

namespace platform::testing {

// The JPEG with an APP1 Exif block inserted after its start marker, whose second directory
// points at `preview` (itself a JPEG).
std::vector<std::uint8_t> withExifPreview(const std::vector<std::uint8_t>& jpeg,
                                          const std::vector<std::uint8_t>& preview);

}  // namespace platform::testing
