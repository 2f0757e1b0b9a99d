#include "outlook/ExportCommands.h"

#include "outlook/BusyIndicator.h"
#include "outlook/CalendarExport.h"
#include "outlook/ExportBatch.h"
#include "outlook/OutlookConnection.h"
#include "outlook/TaskExport.h"
#include "resources/StringIds.h"
#include "store/AnniversaryCollection.h"
#include "store/LoanCollection.h"

namespace pellucard {

namespace {

// Often enough for the screen to follow, seldom enough to cost nothing next to the exports.
constexpr std::size_t kExportsBetweenPaints = 250;

template <class List, class Export>
ExportCommands::Outcome exportAll(const List& snapshot, std::optional<LONG> friendId, Export exportOne) {
  if (snapshot.empty()) return ExportCommands::Outcome::NothingToExport;
  BusyIndicator busy;
  ExportBatch batch(getOutlookConnection());
  bool failed = false;
  std::size_t done = 0;
  for (auto* item : snapshot) {
    if (friendId && item->friendId() != *friendId) continue;
    if (!exportOne(*item)) failed = true;
    if (++done % kExportsBetweenPaints == 0) busy.keepPainting();
  }
  if (!batch.end()) failed = true;
  return failed ? ExportCommands::Outcome::SomeFailed : ExportCommands::Outcome::AllExported;
}

}  // namespace

ExportCommands::Outcome ExportCommands::exportAnniversaries(std::optional<LONG> friendId) {
  CalendarExport calendar(getOutlookConnection());
  return exportAll(getAnniversaryCollection().snapshot(), friendId,
                   [&](Anniversary& a) { return calendar.exportAnniversary(a); });
}

ExportCommands::Outcome ExportCommands::exportLoans(std::optional<LONG> friendId) {
  TaskExport tasks(getOutlookConnection());
  return exportAll(getLoanCollection().snapshot(), friendId, [&](Loan& l) { return tasks.exportLoan(l); });
}

std::optional<ExportCommands::Message> ExportCommands::messageFor(Outcome outcome, bool loans) {
  switch (outcome) {
    case Outcome::NothingToExport:
      return std::nullopt;
    case Outcome::AllExported:
      return Message{loans ? IDS_TASKS_EXPORT_DONE : IDS_CALENDAR_EXPORT_DONE, Icon::Information};
    case Outcome::SomeFailed:
      return Message{loans ? IDS_TASKS_EXPORT_FAILED : IDS_CALENDAR_EXPORT_FAILED, Icon::Exclamation};
  }
  return std::nullopt;
}

}  // namespace pellucard
