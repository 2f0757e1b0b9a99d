#include "views/ListCommands.h"

#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "store/AnniversaryCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"

namespace pellucard {

namespace {

using Gifts = GiftCollection;
using Loans = LoanCollection;
using Days = AnniversaryCollection;

// The collections' filter bits: what the user lent or received, and ideas or overdue loans.
constexpr int kFrom = 1;
constexpr int kTo = 2;
constexpr int kIdeas = 4;
constexpr int kOverdue = 4;

// In ListKind order.
constexpr ListCommands::List kLists[] = {
    {ListKind::Friends, kFriendListId, u"FriendList", ImageCache::kSmallAvatars, IDS_TAB_FRIENDS, IDR_FRIENDS_BAR,
     kRecordFriend, ID_FRIEND_ADD, ID_FRIEND_EDIT, ID_FRIEND_REMOVE, ID_FRIEND_DETAILS, 0},
    {ListKind::Gifts, kGiftListId, u"GiftList", ImageCache::kGiftIcons, IDS_TAB_GIFTS, IDR_GIFTS_BAR, kRecordGift,
     ID_GIFT_ADD, ID_GIFT_EDIT, ID_GIFT_REMOVE, ID_GIFT_DETAILS, Gifts::kFilterAll},
    {ListKind::Loans, kLoanListId, u"LoanList", ImageCache::kLoanIcons, IDS_TAB_LOANS, IDR_LOANS_BAR, kRecordLoan,
     ID_LOAN_ADD, ID_LOAN_EDIT, ID_LOAN_REMOVE, ID_LOAN_DETAILS, Loans::kFilterAll},
    {ListKind::Anniversaries, kAnniversaryListId, u"AnniversaryList", ImageCache::kAnniversaryIcons,
     IDS_TAB_ANNIVERSARIES, IDR_ANNIVERSARIES_BAR, kRecordAnniversary, ID_ANNIVERSARY_ADD, ID_ANNIVERSARY_EDIT,
     ID_ANNIVERSARY_REMOVE, ID_ANNIVERSARY_DETAILS, Days::kFilterAll},
};

// Name keys start ascending, date keys newest first; the main screen starts every
// anniversary key ascending.
constexpr ListCommands::Choice kChoices[] = {
    {ID_GIFT_SORT_GIFT, ListKind::Gifts, true, Gifts::kSortByName, true, true},
    {ID_GIFT_SORT_DATE, ListKind::Gifts, true, Gifts::kSortByDate, false, false},
    {ID_GIFT_SORT_FRIEND, ListKind::Gifts, true, Gifts::kSortByFriend, true, true},
    {ID_GIFT_FILTER_ALL, ListKind::Gifts, false, Gifts::kFilterAll, true, true},
    {ID_GIFT_FILTER_FROM, ListKind::Gifts, false, kFrom, true, true},
    {ID_GIFT_FILTER_TO, ListKind::Gifts, false, kTo, true, true},
    {ID_GIFT_FILTER_IDEAS, ListKind::Gifts, false, kIdeas, true, true},
    {ID_LOAN_SORT_ITEM, ListKind::Loans, true, Loans::kSortByItem, true, true},
    {ID_LOAN_SORT_LOAN_DATE, ListKind::Loans, true, Loans::kSortByLoanDate, false, false},
    {ID_LOAN_SORT_RETURN_DATE, ListKind::Loans, true, Loans::kSortByReturnDate, false, false},
    {ID_LOAN_SORT_FRIEND, ListKind::Loans, true, Loans::kSortByFriend, true, true},
    {ID_LOAN_FILTER_ALL, ListKind::Loans, false, Loans::kFilterAll, true, true},
    {ID_LOAN_FILTER_FROM, ListKind::Loans, false, kFrom, true, true},
    {ID_LOAN_FILTER_TO, ListKind::Loans, false, kTo, true, true},
    {ID_LOAN_FILTER_OVERDUE, ListKind::Loans, false, kOverdue, true, true},
    {ID_ANNIVERSARY_SORT_NAME, ListKind::Anniversaries, true, Days::kSortByName, true, true},
    {ID_ANNIVERSARY_SORT_DATE, ListKind::Anniversaries, true, Days::kSortByDate, true, false},
    {ID_ANNIVERSARY_SORT_DAY, ListKind::Anniversaries, true, Days::kSortByDayOfYear, true, false},
    {ID_ANNIVERSARY_SORT_FRIEND, ListKind::Anniversaries, true, Days::kSortByFriend, true, true},
    {ID_ANNIVERSARY_FILTER_ALL, ListKind::Anniversaries, false, Days::kFilterAll, true, true},
    {ID_ANNIVERSARY_FILTER_NEAREST, ListKind::Anniversaries, false, Days::kFilterNearest, true, true},
};

UINT commandFor(ListKind kind, bool sort, int value) {
  for (const ListCommands::Choice& c : kChoices) {
    if (c.kind == kind && c.sort == sort && c.value == value) return c.command;
  }
  return 0;
}

}  // namespace

const ListCommands::List& ListCommands::list(ListKind kind) { return kLists[static_cast<int>(kind)]; }

const ListCommands::List* ListCommands::listWithId(UINT listId) {
  for (const List& l : kLists) {
    if (l.listId == listId) return &l;
  }
  return nullptr;
}

const ListCommands::List* ListCommands::listOfItemCommand(UINT command) {
  for (const List& l : kLists) {
    if (command == l.add || command == l.edit || command == l.remove || command == l.open) return &l;
  }
  return nullptr;
}

std::span<const ListCommands::Choice> ListCommands::choices() { return kChoices; }

const ListCommands::Choice* ListCommands::choice(UINT command) {
  for (const Choice& c : kChoices) {
    if (c.command == command) return &c;
  }
  return nullptr;
}

UINT ListCommands::sortCommand(ListKind kind, int key) { return commandFor(kind, true, key); }

UINT ListCommands::filterCommand(ListKind kind, int value) { return commandFor(kind, false, value); }

}  // namespace pellucard
