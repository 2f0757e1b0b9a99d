// Picture files for the chooser tests: small JPEGs and PNGs of one colour, and a PNG as large
// as the decoder takes, written quickly.
#pragma once

#include <cstdint>
#include <string>

namespace platform::testing {

// False when the file cannot be written.
bool writeJpeg(const std::string& path, int width, int height, std::uint32_t rgb);
bool writePng(const std::string& path, int width, int height, std::uint32_t rgb);

}  // namespace platform::testing
