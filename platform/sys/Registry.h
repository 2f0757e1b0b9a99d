// The registry store: keys with typed values, kept per user in one file,
// "$XDG_CONFIG_HOME/Pellucard/registry" (~/.config when unset). Every change
// rewrites the whole file atomically (temporary file, fsync, rename), mode 0600.
// A file that cannot be read as a registry is renamed aside ("registry.corrupt-...")
// and the registry starts empty. HKEY_LOCAL_MACHINE\Platform "Name" is the device's
// platform name (--platform-name); it is not stored.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::sys {

class Registry {
 public:
  struct Value {
    DWORD type = 0;
    std::vector<BYTE> data;
    bool operator==(const Value&) const = default;
  };

  static Registry& instance();

  // The folder of the file; empty means the default from the environment. Drops what was loaded.
  void setFolder(std::string folder);
  std::string folder() const;
  std::string filePath() const;

  // Keys are full paths such as "HKEY_CURRENT_USER\Software\Velka\Protection"; names ignore case.
  bool keyExists(const std::u16string& key);
  // Creates the key and any missing parents. ERROR_SUCCESS or the write error.
  LONG createKey(const std::u16string& key, bool* created);
  LONG deleteKey(const std::u16string& key);
  std::optional<Value> value(const std::u16string& key, const std::u16string& name);
  LONG setValue(const std::u16string& key, const std::u16string& name, Value value);
  LONG deleteValue(const std::u16string& key, const std::u16string& name);

  // Joins a key path and a sub-key, dropping empty components; the result's case is kept.
  static std::u16string join(const std::u16string& key, const std::u16string& subKey);

  // The text form of the store and its parser; the parser fails on anything it does not know
  // and on a file without its closing "end" line.
  struct KeyData {
    std::u16string name;                                                // as first written
    std::map<std::u16string, std::pair<std::u16string, Value>> values;  // folded name -> (name, value)
  };
  using Keys = std::map<std::u16string, KeyData>;  // folded path -> key
  // Values in skipValues are not written, nor keys in skipKeys that hold nothing else.
  static std::string serialise(const Keys& keys, const std::set<std::pair<std::u16string, std::u16string>>& skipValues,
                               const std::set<std::u16string>& skipKeys = {});
  static std::optional<Keys> parse(const std::string& text);

 private:
  Registry() = default;
  void ensureLoaded();
  void load();
  void applyDeviceValues();
  LONG save();
  // Runs a change under the cross-process lock, on the newest file content; undoes it when saving fails.
  template <typename Change>
  LONG modify(Change change);

  mutable std::recursive_mutex mutex_;
  std::string folder_;
  bool loaded_ = false;
  Keys keys_;
  std::set<std::pair<std::u16string, std::u16string>> deviceValues_;  // folded (key, name), never stored
  std::set<std::u16string> deviceKeys_;                               // keys made only to hold device values
  // Identity of the file as last read or written, to notice another process's change.
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    std::int64_t size = -1;
    std::int64_t mtimeNs = 0;
    bool operator==(const Stamp&) const = default;
  };
  Stamp stamp_;
  Stamp currentStamp() const;
};

}  // namespace platform::sys
