// Loans as tasks whose due date is the return date.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard {

class Loan;
class OutlookConnection;

class TaskExport {
 public:
  explicit TaskExport(OutlookConnection& connection) : connection_(connection) {}

  // Adds the task, deletes the one exported before and keeps the new Oid in the record. Fails,
  // leaving the record and the earlier task alone, when the task list cannot take it or the
  // record cannot be stored. Outside a batch the task file is written once, at the end.
  bool exportLoan(Loan& loan);
  // Deletes the exported task when it still exists; the identifier is cleared in memory.
  void deleteExportedTask(Loan& loan);

  // "Return <item> To <friend>" for a borrowed thing, "Retrieve <item> From <friend>" for a lent
  // one; without the friend part when the friend no longer exists.
  static std::u16string subjectOf(const Loan& loan);

 private:
  bool saveTask(Loan& loan);

  void deleteTask(LONG oid);

  OutlookConnection& connection_;
};

}  // namespace pellucard
