#include "platform/base/RemoteWindowProvider.h"

namespace platform {

namespace {
RemoteWindowProvider* currentProvider = nullptr;
}

void setRemoteWindowProvider(RemoteWindowProvider* provider) { currentProvider = provider; }

RemoteWindowProvider* remoteWindowProvider() { return currentProvider; }

}  // namespace platform
