#include "tests/support/ScratchRegistry.h"

#include "platform/sys/Registry.h"

namespace platform::testing {

namespace {
const ScratchRegistry* innermost = nullptr;
}  // namespace

ScratchRegistry::ScratchRegistry() : outer_(innermost) {
  innermost = this;
  restart();
}

ScratchRegistry::~ScratchRegistry() {
  innermost = outer_;
  // An empty folder is the registry's usual one.
  sys::Registry::instance().setFolder(outer_ ? outer_->folder() : std::string());
}

void ScratchRegistry::restart() const { sys::Registry::instance().setFolder(folder()); }

}  // namespace platform::testing
