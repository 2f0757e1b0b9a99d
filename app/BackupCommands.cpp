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
  const std::u16string target = targetFor(*chosen);
  bool created = false;
  {
    BusyIndicator busy;
    created = BackupRestore::forApplication().createBackup(target);
  }
  if (created) getSettings().setBackupPath(target);
  reloadLists(frame);
  if (created) {
    tell(frame, IDS_BACKUP_CREATED, MB_ICONINFORMATION);
  } else {
    tell(frame, IDS_BACKUP_FAILED, MB_ICONERROR);
  }
}

void BackupCommands::restore(HWND frame) {
  const auto chosen = BackupChooser::choose(frame, platform::loadString(IDS_SELECT_BACKUP_FILE), kBackupExtensions,
                                            false, getSettings().backupPath());
  if (!chosen) return;
  const std::u16string source = *chosen;
  // A file that went away or cannot be read since the chooser listed it ends the command.
  if (!FileHandle::openExisting(source, GENERIC_READ).valid()) return;
  if (!BackupRestore::isValidBackup(source)) tell(frame, IDS_RESTORE_INVALID, MB_ICONEXCLAMATION);
  bool restored = false;
  {
    BusyIndicator busy;
    restored = BackupRestore::forApplication().restoreBackup(source);
  }
  if (restored) getSettings().setBackupPath(source);
  reloadLists(frame);
  if (restored) {
    tell(frame, IDS_RESTORE_DONE, MB_ICONINFORMATION);
  } else {
    tell(frame, IDS_RESTORE_FAILED, MB_ICONERROR);
  }
}

}  // namespace pellucard
