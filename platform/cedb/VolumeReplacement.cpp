#include "platform/cedb/VolumeReplacement.h"

#include "platform/sys/WinBase.h"

namespace platform::cedb {

std::u16string VolumeReplacement::journalOf(const std::u16string& volume) { return volume + u"-journal"; }

bool VolumeReplacement::replace(const std::u16string& finished, const std::u16string& volume) {
  const std::u16string journal = journalOf(volume);
  // Only a journal that could not be played back (the old file was unreadable) is still there; it
  // belongs to the file being replaced.
  if (GetFileAttributesW(journal.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteFileW(journal.c_str())) {
    DeleteFileW(finished.c_str());
    return false;
  }
  // One rename, so the volume is either the old file or the new one.
  if (MoveFileExW(finished.c_str(), volume.c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(finished.c_str());
  return false;
}

}  // namespace platform::cedb
