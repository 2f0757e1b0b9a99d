#include "platform/gdi/IconTable.h"

namespace platform::gdi {

IconTable& IconTable::instance() {
  static IconTable table;
  return table;
}

HICON IconTable::add(IconImage image) {
  next_ += 4;
  icons_.emplace(next_, Entry{std::make_unique<IconImage>(std::move(image)), false});
  return reinterpret_cast<HICON>(next_);
}

const IconImage* IconTable::find(HICON icon) const {
  auto it = icons_.find(reinterpret_cast<std::uintptr_t>(icon));
  return it == icons_.end() ? nullptr : it->second.image.get();
}

bool IconTable::destroy(HICON icon) {
  auto it = icons_.find(reinterpret_cast<std::uintptr_t>(icon));
  if (it == icons_.end()) return false;
  if (!it->second.shared) icons_.erase(it);
  return true;
}

HICON IconTable::shared(const void* data, int width, int height) const {
  auto it = shared_.find({data, width, height});
  return it == shared_.end() ? nullptr : it->second;
}

HICON IconTable::addShared(const void* data, int width, int height, IconImage image) {
  HICON icon = add(std::move(image));
  icons_[reinterpret_cast<std::uintptr_t>(icon)].shared = true;
  shared_[{data, width, height}] = icon;
  return icon;
}

}  // namespace platform::gdi
