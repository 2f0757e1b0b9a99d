#include "platform/sys/Registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "platform/base/DeviceConfig.h"
#include "platform/base/HostCalls.h"
#include "platform/base/TextCase.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "platform/sys/HostError.h"

namespace platform::sys {

namespace {

constexpr const char* kHeader = "pellucard-registry 1";
constexpr const char* kFileName = "registry";
constexpr DWORD kRegSz = 1;
constexpr DWORD kRegDword = 4;

const char16_t* const kRoots[] = {u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE", u"HKEY_USERS"};

std::u16string fold(const std::u16string& text) { return upperCase(text); }

bool isRoot(const std::u16string& foldedPath) {
  for (const char16_t* root : kRoots)
    if (foldedPath == root) return true;
  return false;
}

bool startsWithRoot(const std::u16string& foldedPath) {
  const std::u16string first = foldedPath.substr(0, foldedPath.find(u'\\'));
  return isRoot(first);
}

bool makeFolders(const std::string& folder) {
  std::string partial;
  std::size_t start = 0;
  while (start < folder.size()) {
    std::size_t end = folder.find('/', start + 1);
    if (end == std::string::npos) end = folder.size();
    partial = folder.substr(0, end);
    start = end;
    if (partial.empty()) continue;
    if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// ---- text form ----

void appendQuoted(std::string& out, const std::u16string& text) {
  out += '"';
  std::u16string run;
  auto flush = [&] {
    out += toUtf8(run);
    run.clear();
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool high = c >= 0xD800 && c <= 0xDBFF;
    const bool pairedHigh = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    if (pairedHigh) {
      run += c;
      run += text[++i];
      continue;
    }
    const bool lone = c >= 0xD800 && c <= 0xDFFF;
    if (c == u'"' || c == u'\\') {
      flush();
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F || lone) {
      flush();
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
      out += buffer;
    } else {
      run += c;
    }
  }
  flush();
  out += '"';
}

std::string hexBytes(const std::vector<BYTE>& data) {
  if (data.empty()) return "-";
  std::string out;
  char buffer[3];
  for (BYTE b : data) {
    std::snprintf(buffer, sizeof buffer, "%02x", b);
    out += buffer;
  }
  return out;
}

// A REG_SZ that reads back as exactly the same bytes from its text form.
bool isPlainString(const Registry::Value& value, std::u16string& text) {
  if (value.type != kRegSz || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
  const std::size_t units = value.data.size() / 2;
  text.resize(units - 1);
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = static_cast<char16_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
    if (i + 1 == units) return c == 0;
    if (c == 0) return false;
    text[i] = c;
  }
  return true;
}

class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool word(std::string& out) {
    skipBlanks();
    const std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ') ++pos_;
    out = std::string(line_.substr(start, pos_ - start));
    return !out.empty();
  }

  bool quoted(std::u16string& out) {
    skipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') return false;
    ++pos_;
    out.clear();
    std::string run;
    auto flush = [&]() -> bool {
      const std::u16string converted = toUtf16(run);
      if (toUtf8(converted) != run) return false;  // not UTF-8: the file was damaged
      out += converted;
      run.clear();
      return true;
    };
    while (pos_ < line_.size()) {
      const char c = line_[pos_++];
      if (c == '"') return flush();
      if (c != '\\') {
        run += c;
        continue;
      }
      if (!flush() || pos_ >= line_.size()) return false;
      const char e = line_[pos_++];
      if (e == '"' || e == '\\') {
        out += static_cast<char16_t>(e);
      } else if (e == 'u' && pos_ + 4 <= line_.size()) {
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
          const char h = line_[pos_++];
          value <<= 4;
          if (h >= '0' && h <= '9')
            value |= static_cast<unsigned>(h - '0');
          else if (h >= 'A' && h <= 'F')
            value |= static_cast<unsigned>(h - 'A' + 10);
          else if (h >= 'a' && h <= 'f')
            value |= static_cast<unsigned>(h - 'a' + 10);
          else
            return false;
        }
        out += static_cast<char16_t>(value);
      } else {
        return false;
      }
    }
    return false;
  }

  bool atEnd() {
    skipBlanks();
    return pos_ == line_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
  }
  std::string_view line_;
  std::size_t pos_ = 0;
};

bool parseHex(const std::string& text, std::vector<BYTE>& out) {
  out.clear();
  if (text == "-") return true;
  if (text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i])) || !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
      return false;
    out.push_back(static_cast<BYTE>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return true;
}

Registry::Value stringValue(const std::u16string& text) {
  Registry::Value value;
  value.type = kRegSz;
  for (char16_t c : text) {
    value.data.push_back(static_cast<BYTE>(c & 0xFF));
    value.data.push_back(static_cast<BYTE>(c >> 8));
  }
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

}  // namespace

Registry& Registry::instance() {
  static Registry registry;
  return registry;
}

void Registry::setFolder(std::string folder) {
  std::lock_guard lock(mutex_);
  folder_ = std::move(folder);
  loaded_ = false;
  keys_.clear();
  deviceValues_.clear();
  deviceKeys_.clear();
  stamp_ = Stamp{};
}

std::string Registry::folder() const {
  std::lock_guard lock(mutex_);
  if (!folder_.empty()) return folder_;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') return std::string(config) + "/Pellucard";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.config/Pellucard";
}

std::string Registry::filePath() const { return folder() + "/" + kFileName; }

std::u16string Registry::join(const std::u16string& key, const std::u16string& subKey) {
  std::u16string out;
  auto append = [&out](const std::u16string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find(u'\\', start);
      if (end == std::u16string::npos) end = path.size();
      if (end > start) {
        if (!out.empty()) out += u'\\';
        out += path.substr(start, end - start);
      }
      start = end + 1;
    }
  };
  append(key);
  append(subKey);
  return out;
}

Registry::Stamp Registry::currentStamp() const {
  struct stat st {};
  Stamp stamp;
  if (::stat(filePath().c_str(), &st) != 0) return stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.mtimeNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

void Registry::ensureLoaded() {
  if (!loaded_ || currentStamp() != stamp_) load();
}

void Registry::load() {
  keys_.clear();
  deviceValues_.clear();
  deviceKeys_.clear();
  const std::string path = filePath();
  std::ifstream in(path, std::ios::binary);
  if (in) {
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::optional<Keys> parsed = parse(buffer.str());
    if (parsed) {
      keys_ = std::move(*parsed);
    } else {
      // Keep the damaged file for whoever wants to look at it; never overwrite it.
      const std::string base = path + ".corrupt-" + std::to_string(static_cast<long long>(std::time(nullptr)));
      std::string aside = base;
      for (int n = 1; ::access(aside.c_str(), F_OK) == 0; ++n) aside = base + "-" + std::to_string(n);
      HostCalls::rename(path.c_str(), aside.c_str());
    }
  }
  stamp_ = currentStamp();
  loaded_ = true;
  applyDeviceValues();
}

void Registry::applyDeviceValues() {
  const std::string& name = DeviceConfig::current().platformName;
  if (name.empty()) return;
  const std::u16string key = u"HKEY_LOCAL_MACHINE\\Platform";
  if (!keys_.count(fold(key))) deviceKeys_.insert(fold(key));
  KeyData& data = keys_[fold(key)];
  if (data.name.empty()) data.name = key;
  data.values[u"NAME"] = {u"Name", stringValue(toUtf16(name))};
  deviceValues_.insert({fold(key), u"NAME"});
}

LONG Registry::save() {
  const std::string dir = folder();
  if (!makeFolders(dir)) return static_cast<LONG>(win32ErrorFromErrno(errno));
  const std::string text = serialise(keys_, deviceValues_, deviceKeys_);
  std::string temp = dir + "/.registry-XXXXXX";
  const int fd = HostCalls::makeTemp(temp, O_CLOEXEC);
  if (fd < 0) return static_cast<LONG>(errno == ENOSPC ? ERROR_DISK_FULL : win32ErrorFromErrno(errno));
  int error = 0;
  if (::fchmod(fd, 0600) != 0) error = errno;
  if (!error && !HostCalls::writeAll(fd, text.data(), text.size(), temp.c_str())) error = errno;
  if (!error && HostCalls::sync(fd, temp.c_str()) != 0) error = errno;
  if (::close(fd) != 0 && !error) error = errno;
  if (!error && HostCalls::rename(temp.c_str(), filePath().c_str()) != 0) error = errno;
  if (error) {
    HostCalls::unlink(temp.c_str());
    return static_cast<LONG>(error == ENOSPC || error == EFBIG ? ERROR_DISK_FULL : win32ErrorFromErrno(error));
  }
  HostCalls::syncFolder(dir);
  stamp_ = currentStamp();
  return ERROR_SUCCESS;
}

template <typename Change>
LONG Registry::modify(Change change) {
  std::lock_guard lock(mutex_);
  const std::string dir = folder();
  if (!makeFolders(dir)) return static_cast<LONG>(win32ErrorFromErrno(errno));
  // Another process may write the same file (an uninstall start, a test beside this one).
  const std::string lockPath = dir + "/registry.lock";
  const int lockFd = HostCalls::open(lockPath.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
  if (lockFd >= 0) ::flock(lockFd, LOCK_EX);
  ensureLoaded();
  const Keys savedKeys = keys_;
  const auto savedDevice = deviceValues_;
  const auto savedDeviceKeys = deviceKeys_;
  bool changed = false;
  LONG result = change(changed);
  if (result == ERROR_SUCCESS && changed) {
    result = save();
    if (result != ERROR_SUCCESS) {
      keys_ = savedKeys;
      deviceValues_ = savedDevice;
      deviceKeys_ = savedDeviceKeys;
    }
  }
  if (lockFd >= 0) {
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
  }
  return result;
}

bool Registry::keyExists(const std::u16string& key) {
  std::lock_guard lock(mutex_);
  ensureLoaded();
  const std::u16string folded = fold(join(key, u""));
  return isRoot(folded) || keys_.count(folded) > 0;
}

LONG Registry::createKey(const std::u16string& key, bool* created) {
  const std::u16string path = join(key, u"");
  if (!startsWithRoot(fold(path))) return ERROR_INVALID_PARAMETER;
  return modify([&](bool& changed) {
    bool made = false;
    std::size_t pos = 0;
    do {
      pos = path.find(u'\\', pos + 1);
      const std::u16string prefix = pos == std::u16string::npos ? path : path.substr(0, pos);
      const std::u16string folded = fold(prefix);
      made = !isRoot(folded) && !keys_.count(folded);
      // A key asked for by the program is its own from now on, also when the device made it.
      if (deviceKeys_.erase(folded)) changed = true;
      if (made) {
        keys_[folded].name = prefix;
        changed = true;
      }
    } while (pos != std::u16string::npos);
    if (created) *created = made;
    return static_cast<LONG>(ERROR_SUCCESS);
  });
}

LONG Registry::deleteKey(const std::u16string& key) {
  const std::u16string folded = fold(join(key, u""));
  if (isRoot(folded) || !startsWithRoot(folded)) return ERROR_ACCESS_DENIED;
  return modify([&](bool& changed) {
    if (!keys_.count(folded)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    const std::u16string prefix = folded + u"\\";
    for (auto it = keys_.begin(); it != keys_.end();) {
      if (it->first == folded || it->first.compare(0, prefix.size(), prefix) == 0) {
        it = keys_.erase(it);
        changed = true;
      } else {
        ++it;
      }
    }
    return static_cast<LONG>(ERROR_SUCCESS);
  });
}

std::optional<Registry::Value> Registry::value(const std::u16string& key, const std::u16string& name) {
  std::lock_guard lock(mutex_);
  ensureLoaded();
  auto k = keys_.find(fold(join(key, u"")));
  if (k == keys_.end()) return std::nullopt;
  auto v = k->second.values.find(fold(name));
  if (v == k->second.values.end()) return std::nullopt;
  return v->second.second;
}

LONG Registry::setValue(const std::u16string& key, const std::u16string& name, Value value) {
  const std::u16string path = join(key, u"");
  const std::u16string folded = fold(path);
  if (!startsWithRoot(folded)) return ERROR_INVALID_PARAMETER;
  return modify([&](bool& changed) {
    auto k = keys_.find(folded);
    if (k == keys_.end()) {
      if (!isRoot(folded)) return static_cast<LONG>(ERROR_KEY_DELETED);
      k = keys_.emplace(folded, KeyData{path, {}}).first;
    }
    const std::u16string foldedName = fold(name);
    auto& slot = k->second.values[foldedName];
    if (slot.first.empty()) slot.first = name;
    slot.second = std::move(value);
    deviceValues_.erase({folded, foldedName});
    changed = true;
    return static_cast<LONG>(ERROR_SUCCESS);
  });
}

LONG Registry::deleteValue(const std::u16string& key, const std::u16string& name) {
  const std::u16string folded = fold(join(key, u""));
  return modify([&](bool& changed) {
    auto k = keys_.find(folded);
    if (k == keys_.end()) return static_cast<LONG>(isRoot(folded) ? ERROR_FILE_NOT_FOUND : ERROR_KEY_DELETED);
    if (k->second.values.erase(fold(name)) == 0) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    deviceValues_.erase({folded, fold(name)});
    changed = true;
    return static_cast<LONG>(ERROR_SUCCESS);
  });
}

std::string Registry::serialise(const Keys& keys, const std::set<std::pair<std::u16string, std::u16string>>& skip,
                                const std::set<std::u16string>& skipKeys) {
  std::string out = std::string(kHeader) + "\n";
  for (const auto& [folded, key] : keys) {
    if (skipKeys.count(folded)) {
      bool own = false;
      for (const auto& entry : key.values) own = own || !skip.count({folded, entry.first});
      if (!own) continue;
    }
    out += "key ";
    appendQuoted(out, key.name);
    out += '\n';
    for (const auto& [foldedName, entry] : key.values) {
      if (skip.count({folded, foldedName})) continue;
      const auto& [name, value] = entry;
      std::u16string text;
      if (value.type == kRegDword && value.data.size() == 4) {
        const DWORD d = static_cast<DWORD>(value.data[0]) | (static_cast<DWORD>(value.data[1]) << 8) |
                        (static_cast<DWORD>(value.data[2]) << 16) | (static_cast<DWORD>(value.data[3]) << 24);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(d));
        out += "dword ";
        appendQuoted(out, name);
        out += ' ';
        out += buffer;
      } else if (isPlainString(value, text)) {
        out += "sz ";
        appendQuoted(out, name);
        out += ' ';
        appendQuoted(out, text);
      } else {
        out += "bin " + std::to_string(value.type) + " ";
        appendQuoted(out, name);
        out += ' ';
        out += hexBytes(value.data);
      }
      out += '\n';
    }
  }
  // The last line tells a whole file from one cut short at a line's end.
  return out + "end\n";
}

std::optional<Registry::Keys> Registry::parse(const std::string& text) {
  Keys keys;
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kHeader) return std::nullopt;
  KeyData* current = nullptr;
  bool ended = false;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    if (ended) return std::nullopt;
    if (line == "end") {
      ended = true;
      continue;
    }
    LineReader reader(line);
    std::string kind;
    reader.word(kind);
    std::u16string name;
    if (kind == "key") {
      std::u16string path;
      if (!reader.quoted(path) || !reader.atEnd()) return std::nullopt;
      path = join(path, u"");
      if (!startsWithRoot(fold(path))) return std::nullopt;
      current = &keys[fold(path)];
      current->name = path;
      continue;
    }
    if (!current) return std::nullopt;
    Value value;
    if (kind == "dword") {
      std::string number;
      if (!reader.quoted(name) || !reader.word(number) || !reader.atEnd()) return std::nullopt;
      if (number.size() != 10 || number.compare(0, 2, "0x") != 0) return std::nullopt;
      std::vector<BYTE> bytes;
      if (!parseHex(number.substr(2), bytes)) return std::nullopt;
      value.type = kRegDword;
      value.data = {bytes[3], bytes[2], bytes[1], bytes[0]};
    } else if (kind == "sz") {
      std::u16string content;
      if (!reader.quoted(name) || !reader.quoted(content) || !reader.atEnd()) return std::nullopt;
      value = stringValue(content);
    } else if (kind == "bin") {
      std::string type, hex;
      if (!reader.word(type) || !reader.quoted(name) || !reader.word(hex) || !reader.atEnd()) return std::nullopt;
      if (type.empty() || type.size() > 9 || type.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
      value.type = static_cast<DWORD>(std::stoul(type));
      if (!parseHex(hex, value.data)) return std::nullopt;
    } else {
      return std::nullopt;
    }
    current->values[fold(name)] = {name, std::move(value)};
  }
  if (!ended) return std::nullopt;
  return keys;
}

}  // namespace platform::sys
