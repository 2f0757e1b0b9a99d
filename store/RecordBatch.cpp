#include "store/RecordBatch.h"

#include "platform/cedb/BulkWrite.h"
#include "store/RecordStore.h"

namespace pellucard {

namespace {
// A transaction of the volume cannot nest: the inner end would commit the outer one's writes.
bool& batchOpen() {
  static bool open = false;
  return open;
}
}  // namespace

RecordBatch::RecordBatch() {
  if (batchOpen() || RecordStore::volumePath().empty()) return;
  auto bulk = std::make_unique<platform::cedb::BulkWrite>(RecordStore::volumePath());
  if (!bulk->active()) return;
  bulk_ = std::move(bulk);
  batchOpen() = true;
}

RecordBatch::~RecordBatch() { end(); }

bool RecordBatch::end() {
  if (!bulk_) return true;
  const bool kept = bulk_->commit();
  bulk_.reset();
  batchOpen() = false;
  return kept;
}

}  // namespace pellucard
