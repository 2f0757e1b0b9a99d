#include "platform/controls/UpDownRange.h"

#include <algorithm>

namespace platform::controls {

void UpDownRange::setRange(int lower, int upper) {
  lower_ = lower;
  upper_ = upper;
}

int UpDownRange::setPosition(int position) {
  const int before = position_;
  position_ = std::clamp(position, least(), most());
  return before;
}

int UpDownRange::stepped(int delta, bool wrap) const {
  const long long target = static_cast<long long>(position_) + delta;
  if (target >= least() && target <= most()) return static_cast<int>(target);
  if (!wrap) return target > most() ? most() : least();
  const long long size = static_cast<long long>(most()) - least() + 1;
  long long offset = (target - least()) % size;
  if (offset < 0) offset += size;
  return static_cast<int>(least() + offset);
}

}  // namespace platform::controls
