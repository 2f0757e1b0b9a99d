#include "tools/layers/LayerTable.h"

#include <regex>
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
  static const std::regex kInclude(R"re(^\s*#\s*include\s+"([^"]+)")re");
  std::vector<Violation> out;
  const std::optional<std::string> from = folderOf(file);
  std::istringstream in{std::string(text)};
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    std::smatch match;
    if (!std::regex_search(line, match, kInclude)) continue;
    const std::string include = match[1];
    if (include.find('/') == std::string::npos) continue;
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
