// A friend's own picture, held as its encoded bytes (JPEG, or whatever a contact supplied).
// Decoding and drawing them is the screens' work (skin/FriendPictureImage, views/FriendCard).
#pragma once

#include <cstdint>
#include <istream>
#include <span>
#include <vector>

#include "platform/cedb/WinDb.h"

namespace pellucard {

class FriendPicture {
 public:
  // Stored pictures larger than this are refused rather than read whole into memory.
  static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;
  // The largest picture a friend record can hold: the volume refuses bigger properties.
  static constexpr std::size_t kMaxStoredBytes = CEDB_MAXPROPDATASIZE;

  bool hasPicture() const { return !bytes_.empty(); }
  // Replaces the picture with a copy of the bytes; an empty span clears it. More than
  // kMaxBytes leaves the picture as it was.
  bool loadFromBytes(std::span<const std::uint8_t> bytes);
  // Reads the stream to its end. A failing or oversized stream leaves the picture as it was.
  bool loadFromStream(std::istream& in);
  std::vector<std::uint8_t> saveToBytes() const { return bytes_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  void clear();

 private:
  void replaceBytes(std::vector<std::uint8_t> bytes);

  std::vector<std::uint8_t> bytes_;
};

}  // namespace pellucard
