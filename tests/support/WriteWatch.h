// Counts the whole-file writes of chosen files (the calendar and task files are written through a
// temporary file beside them) and fails those of a file on demand, as a full disk would, through
// the platform's fault-injection switch.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/base/FaultInjection.h"

namespace platform::testing {

class WriteWatch {
 public:
  // Watches files by name, in any folder.
  WriteWatch(std::initializer_list<std::string> names = {"calendar.ics", "tasks.ics"});
  ~WriteWatch();
  WriteWatch(const WriteWatch&) = delete;
  WriteWatch& operator=(const WriteWatch&) = delete;

  // Writes of the file begun since the watch started, failed ones included.
  int writes(const std::string& name) const;
  // Every later write of the file fails until stopFailing().
  void fail(const std::string& name);
  void stopFailing();

 private:
  std::map<std::string, std::unique_ptr<FaultInjection::Armed>> counters_;
  std::unique_ptr<FaultInjection::Armed> failing_;
};

}  // namespace platform::testing
