// The store's four collections as one comparable value, and a small store to change, for the
// tests that damage the volume or make its writes fail.
#pragma once

#include <set>
#include <string>

#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "tests/store/StoreFixture.h"

namespace storetest {

// Every stored item with its identifier and texts; items never stored (identifier 0) are left out.
inline std::set<std::string> storeContent() {
  using platform::toUtf8;
  std::set<std::string> content;
  auto add = [&](const char* kind, pellucard::RecordId id, std::u16string_view a, std::u16string_view b) {
    if (id != 0) content.insert(std::string(kind) + std::to_string(id) + ":" + toUtf8(a) + ":" + toUtf8(b));
  };
  for (const auto* f : pellucard::getFriendCollection().snapshot()) add("F", f->recordId(), f->firstName(), f->notes());
  for (const auto* g : pellucard::getGiftCollection().snapshot()) add("G", g->recordId(), g->name(), g->notes());
  for (const auto* l : pellucard::getLoanCollection().snapshot()) add("L", l->recordId(), l->item(), l->notes());
  for (const auto* a : pellucard::getAnniversaryCollection().snapshot()) add("A", a->recordId(), a->name(), a->notes());
  return content;
}

// Two friends, the first with a gift, a loan and an anniversary; the store is open on them.
inline void fillSmallStore() {
  using namespace pellucard;
  for (const char16_t* name : {u"Ann", u"Bo"})
    ASSERT_TRUE(getFriendCollection().add(std::make_unique<Friend>(name, u"Lee", u"friend notes", 0)));
  const LONG ann = static_cast<LONG>(getFriendCollection().snapshot().front()->recordId());
  ASSERT_TRUE(getGiftCollection().add(std::make_unique<Gift>(u"Scarf", 0, ann, makeDate(2025, 12, 24), u"wool")));
  ASSERT_TRUE(getLoanCollection().add(
      std::make_unique<Loan>(u"Ladder", 0, ann, makeDate(2026, 2, 1, 12), makeDate(2026, 4, 1, 12), u"tall", 0)));
  ASSERT_TRUE(getAnniversaryCollection().add(
      std::make_unique<Anniversary>(u"Birthday", ann, makeDate(1990, 5, 10), u"cake", 0)));
}

}  // namespace storetest
