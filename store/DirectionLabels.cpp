#include "store/DirectionLabels.h"

#include "platform/base/ResourceTable.h"

namespace pellucard {

DirectionLabels::DirectionLabels(std::initializer_list<std::pair<LONG, UINT>> labels) {
  for (const auto& [code, stringId] : labels) labels_[code] = platform::loadString(stringId);
}

}  // namespace pellucard
