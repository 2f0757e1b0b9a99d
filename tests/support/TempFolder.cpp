#include "tests/support/TempFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

namespace platform::testing {

namespace {

namespace fs = std::filesystem;

// Tests make folders unreadable or unwritable to see writes fail; the owner gets them back
// before anything is removed.
void giveBack(const fs::path& folder) {
  std::error_code ec;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) giveBack(it->path());
  }
}

fs::path baseFor(TempFolder::Place place) {
  if (place == TempFolder::Place::Memory && ::access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
  return fs::temp_directory_path();
}

}  // namespace

TempFolder::TempFolder(Place place) {
  std::string pattern = (baseFor(place) / "pellucard-test-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (::mkdtemp(name.data()) == nullptr) {
    throw std::system_error(errno, std::generic_category(), "cannot make a temporary folder from " + pattern);
  }
  path_ = name.data();
}

TempFolder::~TempFolder() {
  giveBack(path_);
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

}  // namespace platform::testing
