// Replacing a file so that a crash or a full disk never leaves it empty or half written.
#pragma once

#include <string>
#include <string_view>

namespace pellucard {

// Writes bytes to a temporary file beside the host path, flushes it to disk and renames it over the
// path. Creates the missing folders first. On failure the old file is untouched and false is returned.
bool writeFileAtomically(const std::string& hostPath, std::string_view bytes);

}  // namespace pellucard
