// The contacts of the PIM folder: every .vcf file of contacts/, in a stable order, with Oids.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/pim/ContactRecord.h"

namespace platform::pim {

class ContactBook {
 public:
  // Larger files are not read at all: nothing an address book exports comes near this.
  static constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

  // Reads the folder again unless no file changed since the last load; false when it cannot be
  // listed (the book is then empty).
  bool load(const std::string& contactsDir);
  // Like load, but trusts the book while the folder itself is unchanged (no card file added,
  // removed or replaced by rename); cheap enough for every lookup by Oid.
  bool loadIfFolderChanged(const std::string& contactsDir);

  // Contacts in folder order (file name, then position in the file).
  // Shared with the Contact objects handed out, so pictures are not copied for every lookup.
  const std::vector<std::shared_ptr<const ContactRecord>>& contacts() const { return contacts_; }
  const std::vector<LONG>& oids() const { return oids_; }
  // Index into contacts(), or -1.
  int indexOfOid(LONG oid) const;

  // All categories of all contacts, first-seen order, separated by commas.
  std::u16string categoryList() const;

  // Contact Oids use the positive half of the 32-bit range; appointments and tasks the other.
  static LONG oidFromKey(const std::string& key);

 private:
  void assignOids(const std::vector<ContactRecord>& records);
  static void resolveRelations(std::vector<ContactRecord>& records);

  struct FileStamp {
    std::string name;
    std::uintmax_t size = 0;
    long long modifiedNs = 0;
    unsigned long long inode = 0;
    bool operator==(const FileStamp&) const = default;
  };

  static long long folderStamp(const std::string& dir);

  std::string dir_;
  bool loaded_ = false;
  long long folderStamp_ = 0;
  std::vector<FileStamp> stamps_;
  std::vector<std::shared_ptr<const ContactRecord>> contacts_;
  std::vector<LONG> oids_;
  std::unordered_map<LONG, int> byOid_;
};

}  // namespace platform::pim
