#include "outlook/OutlookExportService.h"

#include "outlook/CalendarExport.h"
#include "outlook/OutlookConnection.h"
#include "outlook/TaskExport.h"

namespace pellucard {

bool OutlookExportService::exportAnniversary(Anniversary& anniversary) {
  return CalendarExport(connection_).exportAnniversary(anniversary);
}

bool OutlookExportService::exportLoan(Loan& loan) { return TaskExport(connection_).exportLoan(loan); }

void OutlookExportService::deleteExportedAppointment(Anniversary& anniversary) {
  CalendarExport(connection_).deleteExportedAppointment(anniversary);
}

void OutlookExportService::deleteExportedTask(Loan& loan) { TaskExport(connection_).deleteExportedTask(loan); }

void OutlookExportService::beginBatch() { connection_.journal().open(connection_.application()); }

bool OutlookExportService::endBatch() { return connection_.journal().close(connection_); }

}  // namespace pellucard
