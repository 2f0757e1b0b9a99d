// Every kept fuzz input, the seeds and each input that once found a fault, fed again to the entry
// point of its format: tests/fuzz/inputs/<format>/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzEntries.h"

namespace pellucard::fuzz {
namespace {

namespace fs = std::filesystem;

class FuzzReplay : public ::testing::TestWithParam<const char*> {};

TEST_P(FuzzReplay, KeptInputsPassTheirEntryPoint) {
  const Entry entry = entryNamed(GetParam());
  ASSERT_NE(entry, nullptr);
  const fs::path folder = fs::path(PELLUCARD_FUZZ_INPUTS) / GetParam();
  int inputs = 0;
  for (const auto& file : fs::directory_iterator(folder)) {
    if (!file.is_regular_file()) continue;
    SCOPED_TRACE(file.path().filename().string());
    std::ifstream in(file.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ++inputs;
  }
  EXPECT_GT(inputs, 0) << "no kept inputs in " << folder;
}

INSTANTIATE_TEST_SUITE_P(Formats, FuzzReplay,
                         ::testing::Values("vcard", "icalendar", "settings", "registry", "record", "backup"),
                         [](const ::testing::TestParamInfo<const char*>& format) { return std::string(format.param); });

}  // namespace
}  // namespace pellucard::fuzz
