// Copying the database volume to a backup file and putting a backup back in its place.
// A backup file is the volume file byte for byte followed by the 15 marker bytes.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pellucard {

class BackupRestore {
 public:
  static constexpr std::string_view kBackupMarker = "PellucardBackup";
  static constexpr const char16_t* kDefaultFileName = u"Pellucard.bkf";

  // How the operations reach the record store. The store is closed around every copy.
  struct StoreAccess {
    std::function<void()> closeAll;
    std::function<void()> openAndLoadAll;
    // Whether a file holds a volume the store can open (checked before it replaces the database).
    std::function<bool(const std::u16string& path)> isVolume;
  };

  BackupRestore(std::u16string volumePath, StoreAccess store);

  // The program's database volume and record store.
  static BackupRestore forApplication();

  // Closes the store, writes volume + marker to a temporary file beside the target and puts it in
  // place of the target in one step, then reopens the store. Missing folders of the target are created.
  // On failure an older file of that name is left as it was.
  bool createBackup(const std::u16string& target);

  // Fails at once for an invalid backup. Otherwise closes the store, copies the backup without its
  // marker beside the volume, checks that the copy is a volume and only then puts it in place of the
  // volume; the store is reopened in every case. On failure the volume is left as it was.
  bool restoreBackup(const std::u16string& source);

  // Readable, at least 15 bytes long, and the last 15 bytes are the marker (case-sensitive).
  static bool isValidBackup(const std::u16string& path);

  // A non-empty file that the database service mounts as a volume.
  static bool mountsAsVolume(const std::u16string& path);

 private:
  std::u16string volumePath_;
  StoreAccess store_;
};

}  // namespace pellucard
