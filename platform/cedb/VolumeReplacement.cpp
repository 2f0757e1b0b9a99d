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
  // The copy itself lands in one rename, so the volume is either the old file or the new one.
  const bool ok = CopyFileW(finished.c_str(), volume.c_str(), FALSE) != FALSE;
  DeleteFileW(finished.c_str());
  return ok;
}

}  // namespace platform::cedb
