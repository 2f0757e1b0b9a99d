#include "resources/Icons.h"

#include "platform/base/ResourceTable.h"

namespace pellucard {

void registerIcons() {
  auto& table = platform::ResourceTable::instance();
  for (const EmbeddedIcon& icon : embeddedIcons()) {
    table.addImage(u"ICON", icon.id, std::span<const std::uint8_t>(icon.bytes, icon.size));
  }
}

}  // namespace pellucard
