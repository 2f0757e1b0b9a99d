#include "settings/Settings.h"

#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <exception>
#include <new>
#include <optional>
#include <sstream>
#include <utility>

#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "device/TextError.h"
#include "platform/base/Utf.h"
#include "platform/base/WinError.h"
#include "settings/SafeFile.h"

namespace pellucard {

namespace {

// A settings file is a few hundred bytes; anything this large is not ours and is replaced.
constexpr std::size_t kMaxFileSize = 4 * 1024 * 1024;

std::unique_ptr<Settings>& slot() {
  static std::unique_ptr<Settings> settings;
  return settings;
}

bool isValidUtf8(const char* text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    const unsigned char c = *p;
    int extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++p;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    ++p;
    for (int i = 0; i < extra; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (*p & 0x3F);
    }
    static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  }
  return true;
}

// Text that does not decode is as unreadable as a malformed file: it must not be written back.
class Utf8Check : public pugi::xml_tree_walker {
 public:
  bool valid = true;
  bool for_each(pugi::xml_node& node) override {
    valid = isValidUtf8(node.name()) && isValidUtf8(node.value());
    for (pugi::xml_attribute a = node.first_attribute(); valid && a; a = a.next_attribute())
      valid = isValidUtf8(a.name()) && isValidUtf8(a.value());
    return valid;
  }
};

// A missing, unreadable or malformed file leaves the document empty.
// Whether the file's bytes were read (well-formed or not), or could not be read at all.
enum class FileRead { Read, Unreadable };

FileRead readDocument(pugi::xml_document& doc, const std::u16string& path) {
  SetLastError(NO_ERROR);
  const std::optional<std::string> bytes = SafeFile::read(path, kMaxFileSize);
  if (!bytes) {
    // Missing, or too large to be ours: the defaults take its place. Any other error (a refused
    // permission, a failing medium) may pass, and writing then would put defaults over the file.
    const DWORD error = GetLastError();
    return error == NO_ERROR || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Read
                                                                                               : FileRead::Unreadable;
  }
  if (bytes->empty()) return FileRead::Read;
  if (!doc.load_buffer(bytes->data(), bytes->size(), pugi::parse_default, pugi::encoding_auto)) {
    doc.reset();
    return FileRead::Read;
  }
  Utf8Check check;
  doc.traverse(check);
  if (!check.valid) doc.reset();
  return FileRead::Read;
}

pugi::xml_node findOrCreateRoot(pugi::xml_document& doc, const pugi::xpath_query& rootQuery) {
  pugi::xml_node root = doc.select_node(rootQuery).node();
  if (root) return root;
  // A well-formed file of some other kind has a document element already; a second one would make
  // the file malformed, so it is replaced.
  if (doc.document_element()) doc.reset();
  return doc.append_child("configuration");
}

std::u16string elementText(const pugi::xml_node& element) {
  std::string text;
  struct Collect : pugi::xml_tree_walker {
    std::string* out;
    bool for_each(pugi::xml_node& node) override {
      if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) *out += node.value();
      return true;
    }
  } collect;
  collect.out = &text;
  const_cast<pugi::xml_node&>(element).traverse(collect);
  return platform::toUtf16(text);
}

void setElementText(pugi::xml_node element, const std::u16string& text) {
  while (element.first_child()) element.remove_child(element.first_child());
  if (!text.empty()) element.append_child(pugi::node_pcdata).set_value(platform::toUtf8(text).c_str());
}

std::u16string intText(int value) { return platform::toUtf16(std::to_string(value)); }

}  // namespace

Settings::Settings() : Settings(getAppPaths().settingsPath()) {}

Settings::Settings(std::u16string filePath)
    : filePath_(std::move(filePath)), deviceProfile_(std::make_unique<DeviceProfile>()) {}

Settings::~Settings() = default;

const DeviceProfile& Settings::deviceProfile() const { return *deviceProfile_; }

int Settings::parseInt(const std::u16string& text) {
  std::size_t i = 0;
  auto blank = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (i < text.size() && blank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value < INT_MIN ? INT_MIN : -value);
  return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

int Settings::reminderDaysInRange(int days) { return std::clamp(days, kNoReminder, kLongestReminder); }

int Settings::reminderTimeInRange(int packedTime) {
  if (packedTime <= 0) return 0;
  if (packedTime >= kLastReminderTime) return kLastReminderTime;
  const int hour = packedTime / 256;
  const int minute = packedTime % 256;
  if (minute <= 59) return packedTime;
  // Between minute 59 of the hour and minute 0 of the next one, whichever is nearer.
  return minute - 59 <= 256 - minute ? hour * 256 + 59 : (hour + 1) * 256;
}

bool Settings::exchange(Direction direction) {
  // Setting up the XML machinery can only fail for want of memory; the start-up error says which part.
  std::unique_ptr<pugi::xpath_query> rootQuery;
  try {
    rootQuery = std::make_unique<pugi::xpath_query>("//configuration");
  } catch (const std::exception&) {
  }
  if (!rootQuery || !*rootQuery) throw TextError(u"Failed to initiatie XML Parser");
  std::unique_ptr<pugi::xml_document> doc(new (std::nothrow) pugi::xml_document);
  if (!doc) throw TextError(u"Failed to create XML Parser");

  const FileRead read = readDocument(*doc, filePath_);
  pugi::xml_node root = findOrCreateRoot(*doc, *rootQuery);

  struct Field {
    const char* element;
    int Settings::*number;
    std::u16string Settings::*text;
    const char16_t* defaultText;
  };
  // The order is the order in which missing elements are appended.
  static const Field kFields[] = {
      {"FirstStartDone", &Settings::firstStartDone_, nullptr, u"0"},
      {"FNameFirst", &Settings::fNameFirst_, nullptr, u"1"},
      {"SkinName", nullptr, &Settings::skinName_, u""},
      {"BackupPeriodOption", &Settings::backupPeriodOption_, nullptr, u"0"},
      {"AnniverariesAutoExport", &Settings::anniversariesAutoExport_, nullptr, u"1"},
      {"AnniversariesReminder", &Settings::anniversariesReminder_, nullptr, u"1"},
      {"AnniversariesReminderTime", &Settings::anniversariesReminderTime_, nullptr, u"3072"},
      {"LoansAutoExport", &Settings::loansAutoExport_, nullptr, u"1"},
      {"LoansReminder", &Settings::loansReminder_, nullptr, u"1"},
      {"LoansReminderTime", &Settings::loansReminderTime_, nullptr, u"3072"},
      {"BackupPath", nullptr, &Settings::backupPath_, u"\\"},
  };

  for (const Field& field : kFields) {
    pugi::xml_node element = root.child(field.element);
    if (!element) {
      element = root.append_child(field.element);
      setElementText(element, field.defaultText);
    }
    if (direction == Direction::Load) {
      const std::u16string text = elementText(element);
      if (field.number) {
        this->*field.number = parseInt(text);
      } else {
        this->*field.text = text;
      }
    } else {
      setElementText(element, field.number ? intText(this->*field.number) : this->*field.text);
    }
  }

  // A file that could not be read is left as it is; a load then gives the defaults.
  if (read == FileRead::Unreadable) return false;
  std::ostringstream out;
  doc->save(out, "\t", pugi::format_default, pugi::encoding_utf8);
  return SafeFile::writeAtomically(filePath_, out.str());
}

void Settings::load() {
  exchange(Direction::Load);
  deviceProfile_->compute();
}

bool Settings::save() { return exchange(Direction::Save); }

void Settings::setFirstStartDone() {
  firstStartDone_ = 1;
  save();
}

bool Settings::setFNameFirst(bool value) {
  fNameFirst_ = value ? 1 : 0;
  return save();
}

bool Settings::setAnniversariesAutoExport(bool value) {
  anniversariesAutoExport_ = value ? 1 : 0;
  return save();
}

bool Settings::setAnniversariesReminder(int days) {
  anniversariesReminder_ = days;
  return save();
}

bool Settings::setAnniversariesReminderTime(int hourTimes256PlusMinute) {
  anniversariesReminderTime_ = hourTimes256PlusMinute;
  return save();
}

bool Settings::setLoansAutoExport(bool value) {
  loansAutoExport_ = value ? 1 : 0;
  return save();
}

bool Settings::setLoansReminder(int days) {
  loansReminder_ = days;
  return save();
}

bool Settings::setLoansReminderTime(int hourTimes256PlusMinute) {
  loansReminderTime_ = hourTimes256PlusMinute;
  return save();
}

bool Settings::setBackupPath(const std::u16string& path) {
  backupPath_ = path;
  return save();
}

Settings& getSettings() {
  auto& settings = slot();
  if (!settings) settings = std::make_unique<Settings>();
  return *settings;
}

void deleteSettings() { slot().reset(); }

}  // namespace pellucard
