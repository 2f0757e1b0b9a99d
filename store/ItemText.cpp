#include "store/ItemText.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace pellucard {

void ItemText::own(std::u16string_view text) {
  // A property's length is 32-bit; a longer text is cut rather than wrapped.
  const std::size_t size = std::min<std::size_t>(text.size(), std::numeric_limits<std::uint32_t>::max() - 1);
  if (size == 0) return;
  owned_ = std::make_unique_for_overwrite<char16_t[]>(size + 1);
  std::copy_n(text.data(), size, owned_.get());
  owned_[size] = u'\0';
  data_ = owned_.get();
  size_ = static_cast<std::uint32_t>(size);
}

ItemText& ItemText::operator=(const ItemText& other) {
  if (this != &other) {
    ItemText copy(other);
    take(copy);
  }
  return *this;
}

}  // namespace pellucard
