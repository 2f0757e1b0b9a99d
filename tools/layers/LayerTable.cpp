#include "tools/layers/LayerTable.h"

#include <sstream>

namespace layers {

namespace {

std::string trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

std::vector<std::string> words(std::string_view text) {
  std::istringstream in{std::string(text)};
  std::vector<std::string> out;
  for (std::string word; in >> word;) out.push_back(word);
  return out;
}

// The name of a quoted include on this line, or none ("#include" with blanks allowed around '#').
std::optional<std::string> quotedInclude(std::string_view line) {
  std::size_t i = line.find_first_not_of(" \t");
  if (i == std::string_view::npos || line[i] != '#') return std::nullopt;
  i = line.find_first_not_of(" \t", i + 1);
  constexpr std::string_view kInclude = "include";
  if (i == std::string_view::npos || line.compare(i, kInclude.size(), kInclude) != 0) return std::nullopt;
  i = line.find_first_not_of(" \t", i + kInclude.size());
  if (i == std::string_view::npos || line[i] != '"') return std::nullopt;
  const std::size_t end = line.find('"', i + 1);
  if (end == std::string_view::npos) return std::nullopt;
  return std::string(line.substr(i + 1, end - i - 1));
}

bool isGroupName(const std::string& word) {
  for (char c : word)
    if (!(c >= 'A' && c <= 'Z') && c != '_') return false;
  return !word.empty();
}

}  // namespace

std::optional<LayerTable> LayerTable::parse(std::string_view text, std::string& error) {
  LayerTable table;
  std::map<std::string, std::vector<std::string>> groups;
  std::istringstream in{std::string(text)};
  int number = 0;
  for (std::string raw; std::getline(in, raw);) {
    ++number;
    std::string line = trim(raw.substr(0, raw.find('#')));
    if (line.empty()) continue;
    const auto where = "cmake/layers.txt:" + std::to_string(number) + ": ";
    if (const auto eq = line.find('='); eq != std::string::npos) {
      const std::string name = trim(line.substr(0, eq));
      if (!isGroupName(name)) {
        error = where + "a group's name is written in capitals: " + name;
        return std::nullopt;
      }
      groups[name] = words(line.substr(eq + 1));
      continue;
    }
    const auto colon = line.find(':');
    if (colon == std::string::npos) {
      error = where + "expected \"folder: folders it may include\" or \"GROUP = folders\"";
      return std::nullopt;
    }
    const std::string folder = trim(line.substr(0, colon));
    if (folder.empty() || table.rules_.count(folder)) {
      error = where + (folder.empty() ? "a rule without a folder" : "a second rule for " + folder);
      return std::nullopt;
    }
    Rule rule;
    rule.text = line;
    rule.line = number;
    for (const std::string& word : words(line.substr(colon + 1))) {
      if (!isGroupName(word)) {
        rule.allowed.insert(word);
        continue;
      }
      const auto group = groups.find(word);
      if (group == groups.end()) {
        error = where + "the group " + word + " is used before it is defined";
        return std::nullopt;
      }
      rule.allowed.insert(group->second.begin(), group->second.end());
    }
    table.rules_[folder] = std::move(rule);
    table.order_.push_back(folder);
  }
  for (const auto& [folder, rule] : table.rules_) {
    for (const std::string& allowed : rule.allowed) {
      if (!table.rules_.count(allowed)) {
        error = "cmake/layers.txt:" + std::to_string(rule.line) + ": " + folder + " names " + allowed +
                ", which has no rule of its own";
        return std::nullopt;
      }
    }
  }
  return table;
}

std::optional<std::string> LayerTable::folderOf(std::string_view path) const {
  std::optional<std::string> best;
  for (const auto& [folder, rule] : rules_) {
    const bool inside = path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                        path[folder.size()] == '/';
    if (inside && (!best || folder.size() > best->size())) best = folder;
  }
  return best;
}

std::vector<Violation> LayerTable::check(const std::string& file, std::string_view text) const {
  std::vector<Violation> out;
  const std::optional<std::string> from = folderOf(file);
  std::istringstream in{std::string(text)};
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    const std::optional<std::string> quoted = quotedInclude(line);
    if (!quoted || quoted->find('/') == std::string::npos) continue;
    const std::string& include = *quoted;
    Violation v{file, number, include, {}};
    const std::optional<std::string> to = folderOf(include);
    if (!from) {
      v.message = file + " lies in no folder of the table; give its folder a rule";
    } else if (!to) {
      v.message = "\"" + include + "\" lies in no folder of the table, so " + *from + " may not include it";
    } else if (*to != *from && !rules_.at(*from).allowed.count(*to)) {
      const Rule& rule = rules_.at(*from);
      v.message = *from + " may not include " + *to + " (cmake/layers.txt:" + std::to_string(rule.line) + ": " +
                  rule.text + ")";
    } else {
      continue;
    }
    out.push_back(std::move(v));
  }
  return out;
}

}  // namespace layers
