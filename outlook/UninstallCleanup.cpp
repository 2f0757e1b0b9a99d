#include "outlook/UninstallCleanup.h"

#include "device/AppPaths.h"
#include "outlook/CalendarExport.h"
#include "outlook/ExportBatch.h"
#include "outlook/OutlookConnection.h"
#include "outlook/TaskExport.h"
#include "pin/PinLock.h"
#include "store/AnniversaryCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"

namespace pellucard {

void UninstallCleanup::run() {
  OutlookConnection& connection = getOutlookConnection();
  connection.start();
  RecordStore::openAndLoadAll(getAppPaths().databasePath());
  ExportBatch batch(connection);
  CalendarExport calendar(connection);
  for (Anniversary* a : getAnniversaryCollection().snapshot())
    if (a->outlookItemId() != 0) calendar.deleteExportedAppointment(*a);
  TaskExport tasks(connection);
  for (Loan* l : getLoanCollection().snapshot())
    if (l->outlookItemId() != 0) tasks.deleteExportedTask(*l);
  batch.end();
  getPinLock().disable(true);
}

}  // namespace pellucard
