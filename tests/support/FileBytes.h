// Whole files as bytes, for tests that write input files and read back what was written.
#pragma once

#include <filesystem>
#include <string>

namespace platform::testing {

// The file's bytes; empty when it cannot be read.
std::string readBytes(const std::filesystem::path& path);
// Replaces the file with these bytes; false when it cannot be written.
bool writeBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace platform::testing
