// The identity of a stored record: given by the volume when the record is first written.
#pragma once

#include <cstdint>

namespace pellucard {

// 0 means the item has not been stored (yet).
using RecordId = std::uint32_t;

}  // namespace pellucard
