// libFuzzer's entry for one target, chosen when the fuzzer is built.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pellucard::fuzz::PELLUCARD_FUZZ_TARGET(data, size);
  return 0;
}
