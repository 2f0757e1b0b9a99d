// The database "LoansDB" of the volume and the stored form of a Loan.
#pragma once

#include <memory>

#include "store/ItemTable.h"
#include "store/Loan.h"

namespace pellucard {

class LoansTable final : public ItemTable<Loan, LoansTable> {
 public:
  LoansTable();

  static void toRecord(const Loan& item, PropertyRecord& record);
  static Loan fromRecord(const RecordReader& record, ItemArena& arena);
};

// Application-wide instance: created on first access, deleted by the store's shutdown order.
LoansTable& getLoansTable();
void deleteLoansTable();

}  // namespace pellucard
