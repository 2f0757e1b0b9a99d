// The registry in a scratch folder, so that a test never reads or writes the user's own. While
// one lives the registry keeps its file there; scratch registries nest, and when one goes the
// registry is back in the folder of the one around it (or its usual folder).
#pragma once

#include <string>

#include "tests/support/TempFolder.h"

namespace platform::testing {

class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  // The folder the registry file lives in.
  std::string folder() const { return folder_.path().string(); }
  // As a new start of the program: the registry forgets what it holds and reads its file again.
  void restart() const;

 private:
  TempFolder folder_;
  const ScratchRegistry* outer_;
};

}  // namespace platform::testing
