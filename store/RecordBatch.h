// Groups the store's writes into one transaction of its volume, for a command that changes many
// records at once: each write is checked as it is made, and the end of the batch makes them all
// durable together. Inactive while the store is not open, and inside another batch.
#pragma once

#include <memory>

namespace platform::cedb {
class BulkWrite;
}

namespace pellucard {

class RecordBatch {
 public:
  RecordBatch();
  ~RecordBatch();
  RecordBatch(const RecordBatch&) = delete;
  RecordBatch& operator=(const RecordBatch&) = delete;

  bool active() const { return bulk_ != nullptr; }
  // Ends the batch early; false when the volume could not keep its writes.
  bool end();

 private:
  std::unique_ptr<platform::cedb::BulkWrite> bulk_;
};

}  // namespace pellucard
