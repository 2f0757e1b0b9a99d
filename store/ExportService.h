// The link from the loan and anniversary collections to the export into Calendar and Tasks.
// The export side registers itself; until it does, the collections export nothing and say nothing.
#pragma once

namespace pellucard {

class Anniversary;
class Loan;

class ExportService {
 public:
  virtual ~ExportService() = default;
  virtual bool exportAnniversary(Anniversary& anniversary) = 0;
  virtual bool exportLoan(Loan& loan) = 0;
  // Deletes the exported item when it is still there and clears the item's Outlook identifier.
  virtual void deleteExportedAppointment(Anniversary& anniversary) = 0;
  virtual void deleteExportedTask(Loan& loan) = 0;
  // Around a command that exports or deletes many items: the calendar and task files are written
  // once, at the end of the outermost batch. False when that write failed.
  virtual void beginBatch() {}
  virtual bool endBatch() { return true; }
};

// Not owned; null unregisters. The service must outlive its registration.
void setExportService(ExportService* service);
ExportService* exportService();

}  // namespace pellucard
