// Groups every write to a mounted volume into one transaction, for tools that fill large volumes
// and for the program's commands that change many records at once (each change is then durable
// when the command returns). Nothing written meanwhile is durable until commit() returns true;
// the destructor commits too.
#pragma once

#include <memory>
#include <string_view>

namespace platform::cedb {

struct Mount;

class BulkWrite {
 public:
  // The volume (a device or host path) must be mounted; otherwise the object is inactive.
  explicit BulkWrite(std::u16string_view volumePath);
  ~BulkWrite();
  BulkWrite(const BulkWrite&) = delete;
  BulkWrite& operator=(const BulkWrite&) = delete;

  bool active() const { return mount_ != nullptr; }
  // Ends the transaction; false (with the last error set) when it could not be kept.
  bool commit();

 private:
  std::shared_ptr<Mount> mount_;
};

}  // namespace platform::cedb
