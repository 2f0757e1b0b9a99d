#include "platform/pim/ContactBook.h"

#include <sys/stat.h>
#include <algorithm>
#include <cctype>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <set>
#include <sstream>

#include "platform/base/Utf.h"
#include "platform/pim/VCardReader.h"

namespace platform::pim {

namespace fs = std::filesystem;

namespace {

std::uint32_t fnv1a(std::string_view text) {
  std::uint32_t h = 2166136261u;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

// What a contact's Oid derives from: its UID, or without one the names, so that editing a
// phone number in the card does not break the link a friend keeps to it.
std::string identityKey(const ContactRecord& c) {
  if (!c.uid.empty()) return "U:" + platform::toUtf8(c.uid);
  return "N:" + platform::toUtf8(c.lastName) + '\x1F' + platform::toUtf8(c.firstName) + '\x1F' +
         platform::toUtf8(c.fullName) + '\x1F' + platform::toUtf8(c.fileAs) + '\x1F' + platform::toUtf8(c.companyName);
}

bool isVcfFile(const fs::directory_entry& entry) {
  std::error_code ec;
  if (!entry.is_regular_file(ec)) return false;
  std::string name = entry.path().filename().string();
  if (name.empty() || name[0] == '.' || name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".vcf";
}

bool readFile(const fs::path& path, std::string& out) {
  std::error_code ec;
  std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size > ContactBook::kMaxFileBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

std::u16string lowerAscii(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}

}  // namespace

LONG ContactBook::oidFromKey(const std::string& key) {
  std::uint32_t h = fnv1a(key) & 0x7FFFFFFFu;
  return static_cast<LONG>(h == 0 ? 1u : h);
}

long long ContactBook::folderStamp(const std::string& dir) {
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return -1;
  return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

bool ContactBook::loadIfFolderChanged(const std::string& contactsDir) {
  if (loaded_ && dir_ == contactsDir && folderStamp(contactsDir) == folderStamp_) return true;
  return load(contactsDir);
}

bool ContactBook::load(const std::string& contactsDir) {
  const long long stampBefore = folderStamp(contactsDir);
  std::error_code ec;
  fs::directory_iterator it(contactsDir, ec);
  if (ec) {
    *this = ContactBook();
    return false;
  }
  std::vector<FileStamp> stamps;
  for (const fs::directory_entry& entry : it) {
    if (!isVcfFile(entry)) continue;
    struct stat st {};
    if (::stat(entry.path().c_str(), &st) != 0) continue;
    stamps.push_back(FileStamp{entry.path().filename().string(), static_cast<std::uintmax_t>(st.st_size),
                               static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
                               static_cast<unsigned long long>(st.st_ino)});
  }
  std::sort(stamps.begin(), stamps.end(), [](const FileStamp& a, const FileStamp& b) { return a.name < b.name; });
  if (loaded_ && dir_ == contactsDir && stamps == stamps_) {
    folderStamp_ = stampBefore;
    return true;
  }

  std::vector<ContactRecord> records;
  for (const FileStamp& stamp : stamps) {
    std::string bytes;
    if (!readFile(fs::path(contactsDir) / stamp.name, bytes)) continue;
    for (ContactRecord& rec : VCardReader::read(bytes, stamp.name)) records.push_back(std::move(rec));
  }
  resolveRelations(records);
  assignOids(records);
  contacts_.clear();
  contacts_.reserve(records.size());
  for (ContactRecord& rec : records) contacts_.push_back(std::make_shared<const ContactRecord>(std::move(rec)));
  dir_ = contactsDir;
  folderStamp_ = stampBefore;
  stamps_ = std::move(stamps);
  loaded_ = true;
  return true;
}

void ContactBook::resolveRelations(std::vector<ContactRecord>& records) {
  std::unordered_map<std::string, std::u16string> nameByUid;
  for (const ContactRecord& c : records) {
    if (c.uid.empty()) continue;
    std::string uid = platform::toUtf8(c.uid);
    nameByUid.emplace(uid, c.fullName.empty() ? c.fileAs : c.fullName);
    if (uid.rfind("urn:uuid:", 0) != 0)
      nameByUid.emplace("urn:uuid:" + uid, c.fullName.empty() ? c.fileAs : c.fullName);
  }
  for (ContactRecord& c : records) {
    for (const std::string& ref : c.spouseRefs) {
      auto it = nameByUid.find(ref);
      if (it != nameByUid.end() && c.spouse.empty()) c.spouse = it->second;
    }
    for (const std::string& ref : c.childRefs) {
      auto it = nameByUid.find(ref);
      if (it == nameByUid.end() || it->second.empty()) continue;
      if (!c.children.empty()) c.children += u", ";
      c.children += it->second;
    }
  }
}

void ContactBook::assignOids(const std::vector<ContactRecord>& records) {
  const std::size_t n = records.size();
  std::vector<std::string> keys(n);
  std::vector<LONG> natural(n);
  for (std::size_t i = 0; i < n; ++i) {
    keys[i] = identityKey(records[i]);
    natural[i] = oidFromKey(keys[i]);
  }
  // Which card keeps a contested Oid must not depend on where the files lie, so that
  // renaming a file keeps every link: the smallest identity (then content) wins.
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (keys[a] != keys[b]) return keys[a] < keys[b];
    if (records[a].content != records[b].content) return records[a].content < records[b].content;
    return a < b;
  });
  oids_.assign(n, 0);
  byOid_.clear();
  std::set<LONG> naturalTaken;
  for (std::size_t i = 0; i < n; ++i) naturalTaken.insert(natural[i]);
  std::set<LONG> used;
  std::vector<std::size_t> losers;
  for (std::size_t i : order) {
    if (used.insert(natural[i]).second)
      oids_[i] = natural[i];
    else
      losers.push_back(i);
  }
  for (std::size_t i : losers) {
    std::string probeKey = keys[i];
    LONG candidate = natural[i];
    // Probe with derived keys so that a loser does not take another card's natural Oid.
    for (int attempt = 1; used.count(candidate) || naturalTaken.count(candidate); ++attempt)
      candidate = oidFromKey(probeKey + '#' + std::to_string(attempt));
    used.insert(candidate);
    oids_[i] = candidate;
  }
  for (std::size_t i = 0; i < n; ++i) byOid_[oids_[i]] = static_cast<int>(i);
}

int ContactBook::indexOfOid(LONG oid) const {
  auto it = byOid_.find(oid);
  return it == byOid_.end() ? -1 : it->second;
}

std::u16string ContactBook::categoryList() const {
  std::vector<std::u16string> seen;
  std::set<std::u16string> folded;
  for (const auto& c : contacts_) {
    for (const std::u16string& cat : c->categories) {
      if (folded.insert(lowerAscii(cat)).second) seen.push_back(cat);
    }
  }
  std::u16string out;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    if (i) out += u',';
    out += seen[i];
  }
  return out;
}

}  // namespace platform::pim
