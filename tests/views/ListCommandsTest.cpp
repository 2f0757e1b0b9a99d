// The table of lists and list commands both list screens read: every command stands for one
// thing, so a check mark or a command never lands on another list's item.
#include "views/ListCommands.h"

#include <gtest/gtest.h>

#include <set>

#include "resources/CommandIds.h"
#include "views/ListState.h"

namespace pellucard {
namespace {

constexpr ListKind kKinds[] = {ListKind::Friends, ListKind::Gifts, ListKind::Loans, ListKind::Anniversaries};

TEST(ListCommands, EveryCommandBelongsToOneListAndOneMeaning) {
  std::set<UINT> seen;
  for (ListKind kind : kKinds) {
    const ListCommands::List& list = ListCommands::list(kind);
    EXPECT_EQ(list.kind, kind);
    EXPECT_EQ(ListCommands::listWithId(list.listId), &list);
    for (UINT command : {list.add, list.edit, list.remove, list.open}) {
      EXPECT_TRUE(seen.insert(command).second) << command;
      EXPECT_EQ(ListCommands::listOfItemCommand(command), &list) << command;
    }
  }
  for (const ListCommands::Choice& choice : ListCommands::choices()) {
    EXPECT_TRUE(seen.insert(choice.command).second) << choice.command;
    EXPECT_EQ(ListCommands::choice(choice.command), &choice);
    // The value leads back to its command: the menu checks the item of the current value.
    const UINT back = choice.sort ? ListCommands::sortCommand(choice.kind, choice.value)
                                  : ListCommands::filterCommand(choice.kind, choice.value);
    EXPECT_EQ(back, choice.command);
  }
  EXPECT_EQ(ListCommands::listWithId(1014), nullptr);
  EXPECT_EQ(ListCommands::choice(ID_GIFT_ADD), nullptr);
  EXPECT_EQ(ListCommands::listOfItemCommand(ID_GIFT_SORT_DATE), nullptr);
}

TEST(ListState, StartsWholeAndSortedByTheFirstKey) {
  for (ListKind kind : kKinds) {
    const ListState state(kind);
    EXPECT_EQ(state.sortKey(), 1);
    EXPECT_TRUE(state.ascending());
    EXPECT_EQ(state.filter(), ListCommands::list(kind).filterAll);
    EXPECT_FALSE(state.filtered());
  }
  EXPECT_EQ(ListState(ListKind::Gifts).filterCommand(), ID_GIFT_FILTER_ALL);
  EXPECT_EQ(ListState(ListKind::Loans).sortCommand(), ID_LOAN_SORT_ITEM);
}

TEST(ListState, AKeyChosenAgainFlipsTheOrderAndAnotherStartsInItsOwn) {
  ListState gifts(ListKind::Gifts);
  const ListCommands::Choice& byDate = *ListCommands::choice(ID_GIFT_SORT_DATE);
  gifts.apply(byDate, byDate.ascendingFirst);
  EXPECT_EQ(gifts.sortCommand(), ID_GIFT_SORT_DATE);
  EXPECT_FALSE(gifts.ascending()) << "dates start newest first";
  gifts.apply(byDate, byDate.ascendingFirst);
  EXPECT_TRUE(gifts.ascending());
  const ListCommands::Choice& byName = *ListCommands::choice(ID_GIFT_SORT_GIFT);
  gifts.apply(byName, byName.ascendingFirst);
  EXPECT_TRUE(gifts.ascending());

  gifts.apply(*ListCommands::choice(ID_GIFT_FILTER_IDEAS), true);
  EXPECT_TRUE(gifts.filtered());
  EXPECT_EQ(gifts.filterCommand(), ID_GIFT_FILTER_IDEAS);
  EXPECT_EQ(gifts.sortCommand(), ID_GIFT_SORT_GIFT) << "a filter leaves the sort alone";

  // Another list's command changes nothing.
  gifts.apply(*ListCommands::choice(ID_LOAN_FILTER_OVERDUE), true);
  EXPECT_EQ(gifts.filterCommand(), ID_GIFT_FILTER_IDEAS);
}

}  // namespace
}  // namespace pellucard
