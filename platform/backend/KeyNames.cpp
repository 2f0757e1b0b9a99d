#include "platform/backend/KeyNames.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace platform {

namespace {
std::string upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

const std::map<std::string, UINT>& names() {
  static const std::map<std::string, UINT> table = {
      {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},   {"ENTER", VK_RETURN},
      {"RETURN", VK_RETURN}, {"ACTION", VK_RETURN}, {"BACK", VK_ESCAPE}, {"ESCAPE", VK_ESCAPE}, {"ESC", VK_ESCAPE},
      {"SOFT1", VK_F1},      {"SOFT2", VK_F2},      {"TAB", VK_TAB},     {"SPACE", VK_SPACE},   {"BACKSPACE", VK_BACK},
      {"DELETE", VK_DELETE}, {"HOME", VK_HOME},     {"END", VK_END},     {"PAGEUP", VK_PRIOR},  {"PAGEDOWN", VK_NEXT},
      {"TALK", VK_TTALK},    {"END-CALL", VK_TEND}, {"SHIFT", VK_SHIFT}, {"CTRL", VK_CONTROL},  {"ALT", VK_MENU},
  };
  return table;
}
}  // namespace

std::optional<NamedKey> parseKeyName(const std::string& nameIn, Edition edition) {
  NamedKey key;
  std::string name = upper(nameIn);
  for (;;) {
    if (name.rfind("SHIFT+", 0) == 0) {
      key.shift = true;
      name = name.substr(6);
    } else if (name.rfind("CTRL+", 0) == 0) {
      key.ctrl = true;
      name = name.substr(5);
    } else if (name.rfind("ALT+", 0) == 0) {
      key.alt = true;
      name = name.substr(4);
    } else {
      break;
    }
  }
  if (name.empty()) return std::nullopt;
  if (auto it = names().find(name); it != names().end()) {
    key.vk = it->second;
    return key;
  }
  if (name == "STAR" || name == "*") {
    key.vk = edition == Edition::Smartphone ? VK_TSTAR : VK_MULTIPLY;
    return key;
  }
  if (name == "POUND" || name == "#") {
    if (edition == Edition::Smartphone) {
      key.vk = VK_TPOUND;
    } else {
      key.vk = '3';
      key.shift = true;
    }
    return key;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    key.vk = static_cast<UINT>(name[0]);
    return key;
  }
  if (name.size() >= 2 && name[0] == 'F' && std::all_of(name.begin() + 1, name.end(), ::isdigit)) {
    const int n = std::stoi(name.substr(1));
    if (n < 1 || n > 24) return std::nullopt;
    key.vk = static_cast<UINT>(VK_F1 + n - 1);
    return key;
  }
  if (name.size() > 2 && name.size() <= 4 && name.rfind("0X", 0) == 0 &&
      std::all_of(name.begin() + 2, name.end(), ::isxdigit)) {
    const unsigned long v = std::stoul(name.substr(2), nullptr, 16);
    if (v == 0 || v > 0xFE) return std::nullopt;
    key.vk = static_cast<UINT>(v);
    return key;
  }
  return std::nullopt;
}

}  // namespace platform
