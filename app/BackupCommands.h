// Backup > Create and Backup > Restore: the backup chooser, the copy with the wait cursor, the
// outcome in a message box, the chosen file kept as the next start of the chooser, and every
// list of the frame reloaded, since the store was closed and opened again around the copy.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard {

class BackupCommands {
 public:
  // Backs the database up into a folder or over a file the user picks.
  static void create(HWND frame);
  // Puts a backup file the user picks in place of the database.
  static void restore(HWND frame);

  // The file a Create writes for the chooser's result: a folder (the root's empty path too) or
  // a path that names nothing yet gets the default file name.
  static std::u16string targetFor(const std::u16string& chosen);
};

}  // namespace pellucard
