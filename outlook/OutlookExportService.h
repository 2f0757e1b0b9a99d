// The store's export hook, filled with the Calendar and Tasks export of this connection.
#pragma once

#include "store/ExportService.h"

namespace pellucard {

class OutlookConnection;

class OutlookExportService final : public ExportService {
 public:
  explicit OutlookExportService(OutlookConnection& connection) : connection_(connection) {}

  bool exportAnniversary(Anniversary& anniversary) override;
  bool exportLoan(Loan& loan) override;
  void deleteExportedAppointment(Anniversary& anniversary) override;
  void deleteExportedTask(Loan& loan) override;
  void beginBatch() override;
  bool endBatch() override;

 private:
  OutlookConnection& connection_;
};

}  // namespace pellucard
