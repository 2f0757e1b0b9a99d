// The "Export to Calendar" and "Export to Tasks" commands: every item (or a friend's), one outcome.
#pragma once

#include <optional>

#include "platform/base/WinTypes.h"

namespace pellucard {

class ExportCommands {
 public:
  enum class Outcome {
    NothingToExport,  // the collection is empty: the command shows no message
    AllExported,      // also when the friend shown had no items
    SomeFailed,
  };
  enum class Icon { Information, Exclamation };
  struct Message {
    UINT stringId;
    Icon icon;
  };

  // Exports in collection order; a failure does not stop the others. With a friend, only the
  // items of that friend are exported. The file is written once, at the end (its failure fails
  // the command); meanwhile the wait cursor shows, the screen repaints and input is dropped.
  static Outcome exportAnniversaries(std::optional<LONG> friendId = std::nullopt);
  static Outcome exportLoans(std::optional<LONG> friendId = std::nullopt);

  // What the command tells the user (caption: the application title); none for NothingToExport.
  static std::optional<Message> messageFor(Outcome outcome, bool loans);
};

}  // namespace pellucard
