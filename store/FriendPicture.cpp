#include "store/FriendPicture.h"

namespace pellucard {

void FriendPicture::replaceBytes(std::vector<std::uint8_t> bytes) {
  bytes.shrink_to_fit();
  bytes_ = std::move(bytes);
}

bool FriendPicture::loadFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxBytes) return false;
  replaceBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return true;
}

bool FriendPicture::loadFromStream(std::istream& in) {
  std::vector<std::uint8_t> read;
  char chunk[16384];
  while (in) {
    in.read(chunk, sizeof chunk);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (read.size() + static_cast<std::size_t>(got) > kMaxBytes) return false;
    read.insert(read.end(), chunk, chunk + got);
  }
  if (in.bad()) return false;
  replaceBytes(std::move(read));
  return true;
}

void FriendPicture::clear() { std::vector<std::uint8_t>().swap(bytes_); }

}  // namespace pellucard
