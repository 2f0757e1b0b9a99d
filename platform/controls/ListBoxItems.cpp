#include "platform/controls/ListBoxItems.h"

#include "platform/base/TextCase.h"

namespace platform::controls {

int ListBoxItems::sortedPosition(std::u16string_view text) const {
  int low = 0;
  int high = count();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (compareIgnoringCase(at(middle).text, text) <= 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

void ListBoxItems::insert(int i, std::u16string text) {
  items_.insert(static_cast<std::size_t>(i), ListBoxItem{std::move(text), 0});
}

void ListBoxItems::erase(int i) { items_.erase(static_cast<std::size_t>(i)); }

template <typename Match>
int ListBoxItems::find(int start, Match match) const {
  const int n = count();
  if (start < 0 || start >= n) start = -1;
  for (int step = 1; step <= n; ++step) {
    const int i = (start + step) % n;
    if (match(at(i).text)) return i;
  }
  return -1;
}

int ListBoxItems::findExact(int start, std::u16string_view text) const {
  return find(start, [text](const std::u16string& candidate) { return equalsIgnoringCase(candidate, text); });
}

int ListBoxItems::findPrefix(int start, std::u16string_view prefix) const {
  return find(start, [prefix](const std::u16string& candidate) {
    return candidate.size() >= prefix.size() &&
           equalsIgnoringCase(std::u16string_view(candidate).substr(0, prefix.size()), prefix);
  });
}

}  // namespace platform::controls
