#include "platform/base/HostPath.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string currentFolder() {
  std::error_code ec;
  const fs::path here = fs::current_path(ec);
  return ec ? std::string("/") : here.string();
}

std::string homeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? home : "/";
}

}  // namespace

std::string HostPath::resolve(const std::string& text, const std::string& home, const std::string& current) {
  if (text.empty()) return text;
  fs::path path;
  if (text == "~") {
    path = home;
  } else if (text.rfind("~/", 0) == 0) {
    path = fs::path(home) / text.substr(2);
  } else if (fs::path(text).is_absolute()) {
    path = text;
  } else {
    path = fs::path(current) / text;
  }
  std::string normal = path.lexically_normal().string();
  // "dir/" and "dir" name the same folder; keep the root itself.
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  return normal;
}

std::string HostPath::resolve(const std::string& text) { return resolve(text, homeFolder(), currentFolder()); }

std::optional<std::string> HostPath::folderProblem(const std::string& path, bool mustExist, bool writable) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::exists(status)) {
    if (!fs::is_directory(status)) return path + " is not a folder";
    if (::access(path.c_str(), R_OK | X_OK) != 0) return "cannot read " + path + " (" + std::strerror(errno) + ")";
    if (writable && ::access(path.c_str(), W_OK) != 0)
      return "cannot write to " + path + " (" + std::strerror(errno) + ")";
    return std::nullopt;
  }
  if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
    return "cannot use " + path + " (" + ec.message() + ")";
  if (mustExist) return path + " does not exist";
  // The program makes the missing folders below the nearest one that exists.
  fs::path above = fs::path(path).parent_path();
  while (!above.empty() && !fs::exists(above, ec)) above = above.parent_path();
  if (above.empty()) return "cannot make " + path;
  if (!fs::is_directory(above, ec)) return above.string() + " is not a folder, so " + path + " cannot be made";
  if (::access(above.c_str(), W_OK | X_OK) != 0)
    return "cannot make " + path + " (" + above.string() + ": " + std::strerror(errno) + ")";
  return std::nullopt;
}

}  // namespace platform
