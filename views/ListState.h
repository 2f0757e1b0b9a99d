// The sort key, order and filter of one list on a screen, as its Sort By and Filter commands
// change them and its collection takes them.
#pragma once

#include "views/ListCommands.h"
#include "views/ListKind.h"

namespace pellucard {

class ListState {
 public:
  // The first key, ascending, and the whole list.
  explicit ListState(ListKind kind = ListKind::Friends);

  ListKind kind() const { return kind_; }
  int sortKey() const { return sortKey_; }
  bool ascending() const { return ascending_; }
  int filter() const { return filter_; }
  // Whether the filter leaves anything out; the list's tab then carries a mark.
  bool filtered() const { return filter_ != ListCommands::list(kind_).filterAll; }

  // A Sort By command of this list: its key chosen again flips the order, another key starts
  // ascending or not as `ascendingFirst` says. A Filter command sets the filter.
  void apply(const ListCommands::Choice& choice, bool ascendingFirst);

  // The menu items that show this state with a check mark; 0 for a value no item stands for.
  UINT sortCommand() const { return ListCommands::sortCommand(kind_, sortKey_); }
  UINT filterCommand() const { return ListCommands::filterCommand(kind_, filter_); }

  // Filters and sorts a snapshot of the collection as the list shows it.
  template <class Collection>
  void order(Collection& collection, typename Collection::List& items) const {
    collection.filter(items, filter_);
    collection.sort(items, sortKey_, ascending_);
  }

 private:
  ListKind kind_;
  int sortKey_ = 1;
  bool ascending_ = true;
  int filter_;
};

}  // namespace pellucard
