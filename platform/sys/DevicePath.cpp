#include "platform/sys/DevicePath.h"

#include <cstdlib>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"

namespace platform::sys {

namespace {

// Joins the components with single "/" and drops empty ones, "." and leading "..".
std::string normalise(std::string_view base, std::string_view rest) {
  while (base.size() > 1 && base.back() == '/') base.remove_suffix(1);
  std::string out(base);
  std::size_t start = 0;
  while (start <= rest.size()) {
    std::size_t end = rest.find('/', start);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view part = rest.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      // Never climb above the base: a device path stays inside the device root.
      const std::size_t slash = out.rfind('/');
      if (out.size() > base.size() && slash != std::string::npos && slash >= base.size()) out.erase(slash);
      continue;
    }
    if (out.empty() || out.back() != '/') out += '/';
    out += part;
  }
  if (out.empty()) out.push_back('/');
  return out;
}

}  // namespace

std::string DevicePath::deviceRoot() {
  std::string root = DeviceConfig::current().deviceRoot;
  if (root.empty()) {
    const char* home = std::getenv("HOME");
    root = home && *home ? home : "/";
  }
  return root;
}

std::string DevicePath::toHost(std::u16string_view path) { return toHost(path, deviceRoot()); }

std::string DevicePath::toHost(std::u16string_view path, const std::string& root) {
  std::string utf8 = toUtf8(path);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  if (!utf8.empty() && utf8[0] == '/' && path[0] == u'/') {
    // A host path: kept as it is apart from the separators.
    return normalise("", utf8);
  }
  return normalise(root, utf8);
}

std::u16string DevicePath::fileName(std::u16string_view path) {
  while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.remove_suffix(1);
  const std::size_t cut = path.find_last_of(u"\\/");
  return std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace platform::sys
