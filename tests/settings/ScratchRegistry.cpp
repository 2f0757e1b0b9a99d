// Every app test runs against a registry in a scratch folder, never the user's own.
#include <gtest/gtest.h>

#include "platform/sys/Registry.h"
#include "tests/settings/TempFolder.h"

namespace {

class ScratchRegistry : public ::testing::Environment {
 public:
  void SetUp() override { platform::sys::Registry::instance().setFolder(folder_.path().string()); }
  void TearDown() override { platform::sys::Registry::instance().setFolder(""); }

 private:
  pellucard::testing::TempFolder folder_;
};

[[maybe_unused]] ::testing::Environment* const kScratchRegistry =
    ::testing::AddGlobalTestEnvironment(new ScratchRegistry);

}  // namespace
