#include "tests/fuzz/FuzzEntries.h"

#include <libical/ical.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "platform/cedb/PropertyCodec.h"
#include "platform/pim/CalendarCodec.h"
#include "platform/pim/ICalendarText.h"
#include "platform/pim/ParsedItem.h"
#include "platform/pim/VCardReader.h"
#include "platform/sys/Registry.h"
#include "settings/Settings.h"
#include "store/AnniversariesTable.h"
#include "store/FriendCollection.h"
#include "store/FriendsTable.h"
#include "store/GiftsTable.h"
#include "store/LoansTable.h"
#include "store/RecordStore.h"

namespace pellucard::fuzz {

namespace {

namespace fs = std::filesystem;

// A broken promise is a finding like a crash.
void require(bool promise) {
  if (!promise) std::abort();
}

// One scratch folder for the life of the process, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "pellucard-fuzz-XXXXXX").string();
    require(::mkdtemp(pattern.data()) != nullptr);
    path_ = pattern;
    // Scratch files need not reach the disk; waiting on it would cut the inputs tried a hundredfold.
    platform::FaultInjection::setSyncsElided(true);
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& scratch() {
  static const ScratchFolder folder;
  return folder.path();
}

void writeFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  require(static_cast<bool>(out));
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

struct SettingsValues {
  bool fNameFirst;
  std::u16string skin;
  int period, annExport, annDays, annTime, loanExport, loanDays, loanTime;
  std::u16string backupPath;
  bool operator==(const SettingsValues&) const = default;
};

SettingsValues valuesOf(const Settings& s) {
  return {s.fNameFirst(),
          s.skinName(),
          s.backupPeriodOption(),
          s.anniversariesAutoExport(),
          s.anniversariesReminder(),
          s.anniversariesReminderTime(),
          s.loansAutoExport(),
          s.loansReminder(),
          s.loansReminderTime(),
          s.backupPath()};
}

}  // namespace

void vcard(const std::uint8_t* data, std::size_t size) {
  platform::pim::VCardReader::read(bytesOf(data, size), "fuzz.vcf");
}

void icalendar(const std::uint8_t* data, std::size_t size) {
  using namespace platform::pim;
  icalerror_set_errors_are_fatal(0);
  ICalendarText text;
  if (!text.read(bytesOf(data, size))) return;
  std::string timezones;
  for (const ICalendarText::Component& c : text.components())
    if (c.kind == "VTIMEZONE") timezones += c.text;
  for (const ICalendarText::Component& c : text.components()) {
    CalendarCodec::oidFromText(c.oid);
    const icalcomponent_kind kind = c.kind == "VEVENT"  ? ICAL_VEVENT_COMPONENT
                                    : c.kind == "VTODO" ? ICAL_VTODO_COMPONENT
                                                        : ICAL_NO_COMPONENT;
    if (kind == ICAL_NO_COMPONENT) continue;
    ParsedItem item = ParsedItem::parse(c.text, timezones, kind);
    if (!item) continue;
    item.clean();
    item.text();
    if (kind == ICAL_VEVENT_COMPONENT) {
      CalendarCodec::readAppointment(item.get());
    } else {
      CalendarCodec::readTask(item.get());
    }
  }
}

void settings(const std::uint8_t* data, std::size_t size) {
  const std::string path = scratch() + "/settings.xml";
  writeFile(path, data, size);
  Settings first(platform::toUtf16(path));
  first.load();
  const std::string written = readFile(path);
  Settings second(platform::toUtf16(path));
  second.load();
  // What a load writes back reads as the same values and is not changed by reading it again.
  require(valuesOf(first) == valuesOf(second));
  require(readFile(path) == written);
}

void registry(const std::uint8_t* data, std::size_t size) {
  using platform::sys::Registry;
  const std::optional<Registry::Keys> keys = Registry::parse(std::string(bytesOf(data, size)));
  if (!keys) return;
  const std::string text = Registry::serialise(*keys, {});
  const std::optional<Registry::Keys> again = Registry::parse(text);
  require(again.has_value());
  require(Registry::serialise(*again, {}) == text);
}

void record(const std::uint8_t* data, std::size_t size) {
  using namespace platform::cedb;
  std::vector<StoredProperty> properties;
  if (!parseRecord(data, size, properties)) return;
  std::vector<BYTE> buffer(unpackedSize(properties));
  unpack(properties, buffer.data());
  // Written again as the store keeps properties it does not change, the record reads the same.
  RecordEncoder encoder;
  for (const StoredProperty& p : properties) encoder.addStored(p);
  const std::vector<BYTE> encoded = encoder.finish();
  std::vector<StoredProperty> again;
  require(parseRecord(encoded.data(), encoded.size(), again));
  require(again.size() == properties.size());

  const RecordReader reader(properties, 1);
  ItemArena arena;
  Friend f = FriendsTable::fromRecord(reader, arena);
  f.displayName();
  Gift g = GiftsTable::fromRecord(reader, arena);
  Loan l = LoansTable::fromRecord(reader, arena);
  Anniversary a = AnniversariesTable::fromRecord(reader, arena);
}

void backup(const std::uint8_t* data, std::size_t size) {
  const std::string volume = scratch() + "/Pellucard.cdb";
  const std::string offered = scratch() + "/offered.bkf";
  // A small sound database to restore over, made once.
  static const std::string database = [&] {
    RecordStore::openAndLoadAll(platform::toUtf16(volume));
    getFriendCollection().add(std::make_unique<Friend>(u"Ann", u"Lee", u"notes", 0));
    RecordStore::closeAll();
    return readFile(volume);
  }();
  std::error_code ec;
  fs::remove(volume + "-journal", ec);
  writeFile(volume, reinterpret_cast<const std::uint8_t*>(database.data()), database.size());
  writeFile(offered, data, size);

  BackupRestore restore(platform::toUtf16(volume),
                        {&RecordStore::closeAll, [&] { RecordStore::openAndLoadAll(platform::toUtf16(volume)); }, {}});
  const bool valid = BackupRestore::isValidBackup(platform::toUtf16(offered));
  const bool restored = restore.restoreBackup(platform::toUtf16(offered));
  require(valid || !restored);
  // Whatever was restored opens; a restore that failed left the database as it was.
  for (Friend* f : getFriendCollection().snapshot()) f->displayName();
  RecordStore::closeAll();
  if (!restored) require(readFile(volume) == database);
}

Entry entryNamed(std::string_view name) {
  static constexpr std::pair<std::string_view, Entry> kEntries[] = {
      {"vcard", vcard},       {"icalendar", icalendar}, {"settings", settings},
      {"registry", registry}, {"record", record},       {"backup", backup},
  };
  for (const auto& [n, entry] : kEntries)
    if (n == name) return entry;
  return nullptr;
}

}  // namespace pellucard::fuzz
