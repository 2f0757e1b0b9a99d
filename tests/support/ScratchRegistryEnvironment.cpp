// Linked into a test program (CMake target pellucard_test_scratch_registry), this runs every test
// of the program against a scratch registry: nothing the program's code does reaches the user's.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/ScratchRegistry.h"

namespace platform::testing {
namespace {

class ScratchRegistryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { registry_ = std::make_unique<ScratchRegistry>(); }
  void TearDown() override { registry_.reset(); }

 private:
  std::unique_ptr<ScratchRegistry> registry_;
};

[[maybe_unused]] ::testing::Environment* const kScratchRegistry =
    ::testing::AddGlobalTestEnvironment(new ScratchRegistryEnvironment);

}  // namespace
}  // namespace platform::testing
