#include "tests/support/WriteWatch.h"

namespace platform::testing {

namespace {

// A whole-file write begins with the temporary file "name.XXXXXX" beside the file.
std::string temporaryOf(const std::string& name) { return "*/" + name + ".??????"; }

}  // namespace

WriteWatch::WriteWatch(std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    FaultInjection::Plan counting;
    counting.operations = FaultInjection::kOpen;
    counting.nth = 0;
    counting.pathPattern = temporaryOf(name);
    counters_[name] = std::make_unique<FaultInjection::Armed>(counting);
  }
}

WriteWatch::~WriteWatch() = default;

int WriteWatch::writes(const std::string& name) const {
  auto it = counters_.find(name);
  return it == counters_.end() ? 0 : static_cast<int>(it->second->matched());
}

void WriteWatch::fail(const std::string& name) {
  FaultInjection::Plan plan;
  plan.operations = FaultInjection::kOpen;
  plan.times = 0;
  plan.error = ENOSPC;
  plan.pathPattern = temporaryOf(name);
  failing_ = std::make_unique<FaultInjection::Armed>(plan);
}

void WriteWatch::stopFailing() { failing_.reset(); }

}  // namespace platform::testing
