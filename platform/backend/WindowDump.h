// The text dump of the screen that scripts and tests read: the visible windows in z-order
// with what each drew in its last paint. The format is documented in README.md.
#pragma once

#include <string>

namespace platform {

std::string dumpWindows();
bool writeDump(const std::string& path, std::string& error);
bool writeScreenshot(const std::string& path, std::string& error);

}  // namespace platform
