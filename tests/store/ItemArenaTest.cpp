#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "store/ItemArena.h"
#include "store/ItemText.h"

namespace {

using pellucard::ItemArena;
using pellucard::ItemPtr;
using pellucard::ItemText;

// The bytes of a text as a record stores them, one byte off alignment.
std::vector<unsigned char> storedBytes(std::u16string_view text) {
  std::vector<unsigned char> bytes(1 + text.size() * 2);
  std::memcpy(bytes.data() + 1, text.data(), text.size() * 2);
  return bytes;
}

std::u16string_view copyStored(ItemArena& arena, std::u16string_view text) {
  const auto bytes = storedBytes(text);
  return arena.copyText(bytes.data() + 1, text.size());
}

TEST(ItemArena, TextsAreCopiedTerminatedAndEndAtTheirFirstNull) {
  ItemArena arena;
  const std::u16string_view plain = copyStored(arena, u"Łódź");
  EXPECT_EQ(plain, u"Łódź");
  EXPECT_EQ(plain.data()[plain.size()], u'\0');
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(plain.data()) % alignof(char16_t), 0u);

  const std::u16string_view cut = copyStored(arena, std::u16string_view(u"ab\0cd", 5));
  EXPECT_EQ(cut, u"ab");
  EXPECT_EQ(cut.data()[2], u'\0');
  // What the cut text did not use is handed out next.
  const std::u16string_view after = copyStored(arena, u"x");
  EXPECT_EQ(after.data(), cut.data() + 3);

  EXPECT_EQ(copyStored(arena, u""), u"");
  EXPECT_EQ(plain, u"Łódź");
}

// Texts of every length up to 40 with a null anywhere, among units whose bits make a null
// lane hard to tell from its neighbours (0x0001, 0x8000, 0xFFFF, 0x0100).
TEST(ItemArena, TextsEndAtTheirFirstNullWhereverItFalls) {
  std::mt19937 random(5);
  const char16_t units[] = {u'\0', 0x0001, 0x8000, 0xFFFF, 0x0100, u'a', u'ż'};
  ItemArena arena;
  for (int round = 0; round < 20000; ++round) {
    std::u16string stored(random() % 41, u'a');
    const bool withNulls = round % 2 == 1;
    for (char16_t& unit : stored) unit = withNulls ? units[random() % 7] : units[1 + random() % 6];
    const std::u16string_view copy = copyStored(arena, stored);
    const std::u16string_view expected = std::u16string_view(stored).substr(0, stored.find(u'\0'));
    ASSERT_EQ(copy, expected) << round;
    ASSERT_EQ(copy.data()[copy.size()], u'\0');
  }
}

TEST(ItemArena, ManyTextsAndOneLargerThanABlockStayIntactAndMoveWithTheArena) {
  ItemArena arena;
  std::vector<std::u16string> expected;
  std::vector<std::u16string_view> copies;
  for (int i = 0; i < 50000; ++i) {
    expected.push_back(u"friend " + std::u16string(static_cast<std::size_t>(i % 40), u'a' + i % 26));
    copies.push_back(copyStored(arena, expected.back()));
    if (i == 100) {
      expected.emplace_back(3 * 1024 * 1024, u'Z');  // larger than any block
      copies.push_back(copyStored(arena, expected.back()));
    }
  }
  ItemArena moved = std::move(arena);
  ASSERT_EQ(copies.size(), expected.size());
  for (std::size_t i = 0; i < copies.size(); ++i) ASSERT_EQ(copies[i], expected[i]) << i;
  EXPECT_GE(moved.capacityBytes(), 3u * 1024 * 1024 * 2);
  EXPECT_EQ(arena.capacityBytes(), 0u);  // NOLINT(bugprone-use-after-move): a moved arena is empty
  EXPECT_EQ(copyStored(arena, u"again"), u"again");
}

struct alignas(64) Probe {
  explicit Probe(int* counter, int v) : destroyed(counter), value(v) {}
  Probe(Probe&& other) noexcept : destroyed(other.destroyed), value(other.value) { other.destroyed = nullptr; }
  ~Probe() {
    if (destroyed) ++*destroyed;
  }
  int* destroyed;
  int value;
};

TEST(ItemArena, ItemsAreBuiltAlignedInPlaceAndDestroyedByTheirOwners) {
  int destroyed = 0;
  {
    ItemArena arena;
    std::vector<ItemPtr<Probe>> items;
    for (int i = 0; i < 2000; ++i) {
      items.push_back(arena.make<Probe>([&] { return Probe(&destroyed, i); }));
      ASSERT_EQ(reinterpret_cast<std::uintptr_t>(items.back().get()) % alignof(Probe), 0u);
    }
    EXPECT_EQ(destroyed, 0);  // built in place: no temporary was destroyed
    items.erase(items.begin(), items.begin() + 500);
    EXPECT_EQ(destroyed, 500);
    // An item made with new sits in the same list and is deleted.
    items.push_back(pellucard::ownItem(std::make_unique<Probe>(&destroyed, -1)));
    EXPECT_EQ(items[0]->value, 500);
    EXPECT_EQ(items[1499]->value, 1999);
    items.clear();
    EXPECT_EQ(destroyed, 2001);
  }
  EXPECT_EQ(destroyed, 2001);
}

TEST(ItemText, CopiesOwnTheirTextWhileBorrowedOnesPointIntoTheArena) {
  ItemText owned;
  ItemText borrowedCopy;
  {
    ItemArena arena;
    const std::u16string_view stored = copyStored(arena, u"Kraków");
    const ItemText borrowed = ItemText::borrow(stored);
    EXPECT_EQ(borrowed.c_str(), stored.data());
    borrowedCopy = borrowed;
    EXPECT_NE(borrowedCopy.c_str(), stored.data());
  }
  // The arena is gone; the copy still reads its own text.
  EXPECT_EQ(borrowedCopy.view(), u"Kraków");

  std::u16string source = u"Gdańsk";
  owned = source;
  source[0] = u'X';
  EXPECT_EQ(owned.view(), u"Gdańsk");
  EXPECT_EQ(owned.c_str()[owned.size()], u'\0');

  ItemText moved = std::move(owned);
  EXPECT_EQ(moved.view(), u"Gdańsk");
  EXPECT_TRUE(owned.empty());  // NOLINT(bugprone-use-after-move): a moved text is empty
  EXPECT_STREQ(reinterpret_cast<const char*>(owned.c_str()), "");
  moved = moved;  // NOLINT(clang-diagnostic-self-assign-overloaded)
  EXPECT_EQ(moved.view(), u"Gdańsk");
  EXPECT_EQ(ItemText().c_str()[0], u'\0');
}

}  // namespace
