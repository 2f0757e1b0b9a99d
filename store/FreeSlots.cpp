#include "store/FreeSlots.h"

#include <bit>

namespace pellucard {

namespace {

constexpr std::size_t kWordBits = 64;
// Words looked at beyond the previous take's own before the tree is asked.
constexpr std::size_t kReach = 3;

// The set bits of each byte of x, one count per byte. Written out because the build targets
// processors that may lack a population-count instruction, and the library call costs more than
// the rest of a take.
std::uint64_t byteCounts(std::uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}

unsigned bitCount(std::uint64_t x) { return static_cast<unsigned>((byteCounts(x) * 0x0101010101010101ull) >> 56); }

// The index of set bit n (0 for the lowest) of word, which has more than n set bits.
unsigned nthSetBit(std::uint64_t word, unsigned n) {
  // Bytes whose counts the running total has not passed yet, then bits within the byte.
  const std::uint64_t below = byteCounts(word) * 0x0101010101010101ull;  // byte b: bits in bytes 0..b
  unsigned byte = 0;
  while (byte < 7 && ((below >> (8 * byte)) & 0xFF) <= n) ++byte;
  if (byte > 0) n -= static_cast<unsigned>((below >> (8 * (byte - 1))) & 0xFF);
  std::uint64_t bits = (word >> (8 * byte)) & 0xFF;
  for (; n > 0; --n) bits &= bits - 1;
  return 8 * byte + static_cast<unsigned>(std::countr_zero(bits));
}

}  // namespace

void FreeSlots::reset(std::size_t count) {
  const std::size_t words = (count + kWordBits - 1) / kWordBits;
  free_.assign(words, ~std::uint64_t{0});
  if (count % kWordBits != 0) free_.back() = (std::uint64_t{1} << (count % kWordBits)) - 1;
  // One word (most groups) answers every take by itself.
  if (words > 1) perWord_.assign(words, [&](std::size_t w) { return static_cast<std::uint32_t>(bitCount(free_[w])); });
  hasLast_ = false;
}

std::size_t FreeSlots::take(std::size_t rank) {
  if (free_.size() == 1) {
    const unsigned place = nthSetBit(free_[0], static_cast<unsigned>(rank));
    free_[0] &= ~(std::uint64_t{1} << place);
    return place;
  }
  std::size_t place = hasLast_ ? nearPrevious(rank) : kNone;
  if (place == kNone) {
    auto within = static_cast<std::uint32_t>(rank);
    const std::size_t word = perWord_.take(within);
    place = word * kWordBits + nthSetBit(free_[word], within);
  } else {
    perWord_.add(place / kWordBits, static_cast<std::uint32_t>(-1));
  }
  free_[place / kWordBits] &= ~(std::uint64_t{1} << (place % kWordBits));
  lastPlace_ = place;
  lastRank_ = rank;
  hasLast_ = true;
  return place;
}

std::size_t FreeSlots::nearPrevious(std::size_t rank) const {
  // The previous take's place is filled: the free places before it hold the ranks below its rank,
  // the ones after it that rank and up.
  std::size_t w = lastPlace_ / kWordBits;
  const std::uint64_t bit = std::uint64_t{1} << (lastPlace_ % kWordBits);
  if (rank < lastRank_) {
    std::size_t back = lastRank_ - rank;  // 1 for the nearest free place before
    std::uint64_t word = free_[w] & (bit - 1);
    for (std::size_t reach = 0;; ++reach) {
      const auto count = static_cast<std::size_t>(bitCount(word));
      if (back <= count) return w * kWordBits + nthSetBit(word, static_cast<unsigned>(count - back));
      back -= count;
      if (w == 0 || reach == kReach) return kNone;
      word = free_[--w];
    }
  }
  std::size_t ahead = rank - lastRank_ + 1;  // 1 for the nearest free place after
  std::uint64_t word = free_[w] & ~(bit | (bit - 1));
  for (std::size_t reach = 0;; ++reach) {
    const auto count = static_cast<std::size_t>(bitCount(word));
    if (ahead <= count) return w * kWordBits + nthSetBit(word, static_cast<unsigned>(ahead - 1));
    ahead -= count;
    if (w + 1 == free_.size() || reach == kReach) return kNone;
    word = free_[++w];
  }
}

}  // namespace pellucard
