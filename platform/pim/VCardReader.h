// Reads the contacts of one vCard file (versions 2.1, 3.0 and 4.0).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/pim/ContactRecord.h"

namespace platform::pim {

class VCardReader {
 public:
  // Pictures larger than this are treated as absent rather than held in memory.
  static constexpr std::size_t kMaxPictureBytes = 8u << 20;

  // Every card of the file in file order. Cards without any name, company or file-as
  // text are skipped; a card cut off at the end of the file keeps what it holds.
  static std::vector<ContactRecord> read(std::string_view bytes, const std::string& fileName);
};

}  // namespace platform::pim
