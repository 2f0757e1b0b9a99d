// Putting a whole volume file in the place of another, as a restore does. What an interrupted
// transaction of the old file left beside it (its rollback journal) would otherwise be played into
// the new file at its first mount and damage it, so it goes first.
#pragma once

#include <string>

namespace platform::cedb {

class VolumeReplacement {
 public:
  // Replaces the volume (not mounted) by the finished file in one step and removes the finished
  // file (also on failure). Device or host paths. False, with the volume as it was, when the
  // finished file could not be put in place.
  static bool replace(const std::u16string& finished, const std::u16string& volume);
  // The file SQLite keeps an interrupted transaction of the volume in.
  static std::u16string journalOf(const std::u16string& volume);
};

}  // namespace platform::cedb
