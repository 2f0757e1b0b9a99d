#include "app/BackupCommands.h"

#include "app/BackupRestore.h"
#include "device/PrivateMessages.h"
#include "outlook/BusyIndicator.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/sys/WinBase.h"
#include "resources/StringIds.h"
#include "settings/FileHandle.h"
#include "settings/Settings.h"
#include "views/BackupChooser.h"
#include "views/FrameLink.h"

namespace pellucard {

namespace {

const std::vector<std::u16string> kBackupExtensions{u"bkf"};

void tell(HWND frame, UINT text, UINT icon) { FrameLink::show(frame, platform::loadString(text), MB_OK | icon); }

// The store was closed and opened again, whatever the outcome: no screen may keep what it took
// from the collections before.
void reloadLists(HWND frame) { SendMessageW(frame, UM_RELOADLIST, 0, 0); }

// Runs the copy with the wait cursor, then keeps the file for the chooser's next start when it
// worked, reloads the lists and says how it went.
template <class Copy>
void runCopy(HWND frame, const std::u16string& file, Copy copy, UINT doneText, UINT failedText) {
  bool done = false;
  {
    BusyIndicator busy;
    done = copy(file);
  }
  if (done) getSettings().setBackupPath(file);
  reloadLists(frame);
  tell(frame, done ? doneText : failedText, done ? MB_ICONINFORMATION : MB_ICONERROR);
}

}  // namespace

std::u16string BackupCommands::targetFor(const std::u16string& chosen) {
  const DWORD attributes = GetFileAttributesW(chosen.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return chosen + u"\\" + BackupRestore::kDefaultFileName;
  }
  return chosen;
}

void BackupCommands::create(HWND frame) {
  const auto chosen = BackupChooser::choose(frame, platform::loadString(IDS_SELECT_BACKUP_FOLDER), kBackupExtensions,
                                            true, getSettings().backupPath());
  if (!chosen) return;
  runCopy(
      frame, targetFor(*chosen),
      [](const std::u16string& target) { return BackupRestore::forApplication().createBackup(target); },
      IDS_BACKUP_CREATED, IDS_BACKUP_FAILED);
}

void BackupCommands::restore(HWND frame) {
  const auto chosen = BackupChooser::choose(frame, platform::loadString(IDS_SELECT_BACKUP_FILE), kBackupExtensions,
                                            false, getSettings().backupPath());
  if (!chosen) return;
  const std::u16string source = *chosen;
  // A file that went away or cannot be read since the chooser listed it ends the command.
  if (!FileHandle::openExisting(source, GENERIC_READ).valid()) return;
  if (!BackupRestore::isValidBackup(source)) tell(frame, IDS_RESTORE_INVALID, MB_ICONEXCLAMATION);
  runCopy(
      frame, source, [](const std::u16string& backup) { return BackupRestore::forApplication().restoreBackup(backup); },
      IDS_RESTORE_DONE, IDS_RESTORE_FAILED);
}

}  // namespace pellucard
