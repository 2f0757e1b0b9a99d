// The label shown for each direction code of gifts or loans, from the string table.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "platform/base/WinTypes.h"

namespace pellucard {

class DirectionLabels {
 public:
  // Pairs of direction code and string id.
  explicit DirectionLabels(std::initializer_list<std::pair<LONG, UINT>> labels);

  // A code without a label gains an empty one, which is returned.
  const std::u16string& operator[](LONG code) { return labels_[code]; }
  std::size_t size() const { return labels_.size(); }

 private:
  std::map<LONG, std::u16string> labels_;
};

}  // namespace pellucard
