// The architecture in one place: which folder's code may include which folder's headers, read
// from cmake/layers.txt, and the check of one source file's quoted includes against it.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace layers {

// One include that the table does not allow.
struct Violation {
  std::string file;  // relative to the source root
  int line = 0;
  std::string include;
  std::string message;  // the rule it breaks, in words
};

class LayerTable {
 public:
  // Parses the table; on a malformed line returns none and says why in `error`.
  static std::optional<LayerTable> parse(std::string_view text, std::string& error);

  // The folder of the table a path belongs to (the longest folder that is a prefix of it), or
  // none when the table does not name it.
  std::optional<std::string> folderOf(std::string_view path) const;

  // The quoted includes of one file's text that break the table; `file` is its path relative
  // to the source root. Includes of files outside the tree (no folder part) are not checked.
  std::vector<Violation> check(const std::string& file, std::string_view text) const;

  const std::vector<std::string>& folders() const { return order_; }

 private:
  struct Rule {
    std::set<std::string> allowed;
    std::string text;  // the line as written, for messages
    int line = 0;
  };
  std::map<std::string, Rule> rules_;
  std::vector<std::string> order_;
};

}  // namespace layers
