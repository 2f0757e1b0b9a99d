// The database "AnniversariesDB" of the volume and the stored form of a Anniversary.
#pragma once

#include <memory>

#include "store/Anniversary.h"
#include "store/ItemTable.h"

namespace pellucard {

class AnniversariesTable final : public ItemTable<Anniversary, AnniversariesTable> {
 public:
  AnniversariesTable();

  static void toRecord(const Anniversary& item, PropertyRecord& record);
  static Anniversary fromRecord(const RecordReader& record, ItemArena& arena);
};

// Application-wide instance: created on first access, deleted by the store's shutdown order.
AnniversariesTable& getAnniversariesTable();
void deleteAnniversariesTable();

}  // namespace pellucard
