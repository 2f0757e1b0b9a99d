// check_layers SOURCE_ROOT: compares the quoted includes of the program's and the platform's
// code with cmake/layers.txt; prints every include that breaks it and fails when there is one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tools/layers/LayerTable.h"

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: check_layers SOURCE_ROOT\n");
    return 2;
  }
  const fs::path root = argv[1];
  std::string error;
  const auto table = layers::LayerTable::parse(readFile(root / "cmake" / "layers.txt"), error);
  if (!table) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  int files = 0;
  int broken = 0;
  for (const std::string& folder : table->folders()) {
    if (!fs::is_directory(root / folder)) {
      std::fprintf(stderr, "cmake/layers.txt names %s, which does not exist\n", folder.c_str());
      ++broken;
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp")) continue;
      const std::string relative = fs::relative(path, root).generic_string();
      // A nested folder with a rule of its own is checked under that rule.
      if (table->folderOf(relative) != folder) continue;
      ++files;
      for (const layers::Violation& v : table->check(relative, readFile(path))) {
        std::fprintf(stderr, "%s:%d: #include \"%s\": %s\n", v.file.c_str(), v.line, v.include.c_str(),
                     v.message.c_str());
        ++broken;
      }
    }
  }
  std::printf("%d files checked against %zu folders, %d broken includes\n", files, table->folders().size(), broken);
  return broken == 0 ? 0 : 1;
}
