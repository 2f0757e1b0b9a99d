// What the benchmarks over the store's large volume share: filling the volume of the current
// application paths, and a parent window that reflects its children's notifications as the
// program's screens do.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win/WindowBase.h"
#include "tools/filldb/VolumeFiller.h"

namespace pellucard {

// The large volume: 20,000 friends with their gifts, loans and anniversaries.
constexpr int kLargeVolumeFriends = 20000;

// Fills the volume of the application paths (its tables must not be open); a failure is told on
// standard error, and the benchmark then measures what there is.
inline void fillBenchVolume(int friends = kLargeVolumeFriends) {
  tools::VolumeFiller::Options options;
  options.friends = friends;
  tools::VolumeFiller::Counts counts;
  std::string error;
  if (!tools::VolumeFiller::fill(options, counts, error)) std::fprintf(stderr, "fill failed: %s\n", error.c_str());
}

class ReflectingParent : public platform::WindowImpl<ReflectingParent> {
 public:
  static const platform::MessageMap<ReflectingParent>& messageMap() {
    static const auto map = platform::MessageMap<ReflectingParent>().reflectNotifications();
    return map;
  }
};

}  // namespace pellucard
