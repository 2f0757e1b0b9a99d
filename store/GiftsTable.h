// The database "GiftsDB" of the volume and the stored form of a Gift.
#pragma once

#include <memory>

#include "store/Gift.h"
#include "store/ItemTable.h"

namespace pellucard {

class GiftsTable final : public ItemTable<Gift, GiftsTable> {
 public:
  GiftsTable();

  static void toRecord(const Gift& item, PropertyRecord& record);
  static Gift fromRecord(const RecordReader& record, ItemArena& arena);
};

// Application-wide instance: created on first access, deleted by the store's shutdown order.
GiftsTable& getGiftsTable();
void deleteGiftsTable();

}  // namespace pellucard
