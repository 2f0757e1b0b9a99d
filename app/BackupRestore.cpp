#include "app/BackupRestore.h"

#include <array>
#include <cstring>
#include <utility>

#include "device/AppPaths.h"
#include "platform/base/WinError.h"
#include "platform/cedb/VolumeReplacement.h"
#include "platform/cedb/WinDb.h"
#include "platform/sys/WinBase.h"
#include "settings/FileHandle.h"
#include "settings/SafeFile.h"
#include "store/RecordStore.h"

namespace pellucard {

namespace {

constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
constexpr LONG kMarkerSize = static_cast<LONG>(BackupRestore::kBackupMarker.size());

bool seekFromEnd(HANDLE file, LONG distance) {
  SetLastError(NO_ERROR);
  const DWORD position = SetFilePointer(file, distance, nullptr, FILE_END);
  return !(position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool appendMarker(const std::u16string& path) {
  FileHandle file = FileHandle::openExisting(path, GENERIC_WRITE);
  if (!file.valid()) return false;
  DWORD written = 0;
  const bool ok = seekFromEnd(file.get(), 0) &&
                  WriteFile(file.get(), BackupRestore::kBackupMarker.data(), kMarkerSize, &written, nullptr) &&
                  written == static_cast<DWORD>(kMarkerSize) && FlushFileBuffers(file.get());
  return file.close() && ok;
}

bool cutMarker(const std::u16string& path) {
  FileHandle file = FileHandle::openExisting(path, GENERIC_READ | GENERIC_WRITE);
  if (!file.valid()) return false;
  const bool ok = seekFromEnd(file.get(), -kMarkerSize) && SetEndOfFile(file.get()) && FlushFileBuffers(file.get());
  return file.close() && ok;
}

// Runs the store's reopen however the body went.
class StoreClosed {
 public:
  explicit StoreClosed(const BackupRestore::StoreAccess& store) : store_(store) {
    if (store_.closeAll) store_.closeAll();
  }
  ~StoreClosed() {
    if (store_.openAndLoadAll) store_.openAndLoadAll();
  }
  StoreClosed(const StoreClosed&) = delete;
  StoreClosed& operator=(const StoreClosed&) = delete;

 private:
  const BackupRestore::StoreAccess& store_;
};

}  // namespace

BackupRestore::BackupRestore(std::u16string volumePath, StoreAccess store)
    : volumePath_(std::move(volumePath)), store_(std::move(store)) {
  if (!store_.isVolume) store_.isVolume = &BackupRestore::mountsAsVolume;
}

BackupRestore BackupRestore::forApplication() {
  return BackupRestore(getAppPaths().databasePath(),
                       {&RecordStore::closeAll, [] { RecordStore::openAndLoadAll(getAppPaths().databasePath()); },
                        &BackupRestore::mountsAsVolume});
}

bool BackupRestore::isValidBackup(const std::u16string& path) {
  FileHandle file = FileHandle::openExisting(path, GENERIC_READ);
  if (!file.valid()) return false;
  std::array<char, 32> buffer{};
  if (!seekFromEnd(file.get(), -kMarkerSize)) return false;
  DWORD read = 0;
  if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
  return read >= static_cast<DWORD>(kMarkerSize) && std::memcmp(buffer.data(), kBackupMarker.data(), kMarkerSize) == 0;
}

bool BackupRestore::mountsAsVolume(const std::u16string& path) {
  {
    FileHandle file = FileHandle::openExisting(path, GENERIC_READ);
    if (!file.valid()) return false;
    DWORD high = 0;
    const DWORD low = GetFileSize(file.get(), &high);
    if ((low == 0 && high == 0) || (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)) return false;
  }
  CEGUID guid{};
  if (!CeMountDBVol(&guid, path.c_str(), OPEN_EXISTING)) return false;
  CeUnmountDBVol(&guid);
  return true;
}

bool BackupRestore::createBackup(const std::u16string& target) {
  StoreClosed closed(store_);
  const std::size_t slash = target.rfind(u'\\');
  if (slash != std::u16string::npos) SafeFile::createFolders(target.substr(0, slash));

  const std::u16string temp = SafeFile::tempPathFor(target);
  if (!CopyFileW(volumePath_.c_str(), temp.c_str(), FALSE)) return false;
  if (!appendMarker(temp)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  // The finished file takes the target's place in one rename: an older backup stays whole until then.
  if (MoveFileExW(temp.c_str(), target.c_str(), kReplace)) return true;
  DeleteFileW(temp.c_str());
  return false;
}

bool BackupRestore::restoreBackup(const std::u16string& source) {
  if (!isValidBackup(source)) return false;
  StoreClosed closed(store_);

  const std::u16string temp = SafeFile::tempPathFor(volumePath_);
  if (!CopyFileW(source.c_str(), temp.c_str(), FALSE)) return false;
  // The source may have changed since it was checked; the copy is what counts.
  const bool ok = isValidBackup(temp) && cutMarker(temp) && store_.isVolume(temp);
  if (!ok) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return platform::cedb::VolumeReplacement::replace(temp, volumePath_);
}

}  // namespace pellucard
