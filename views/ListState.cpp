#include "views/ListState.h"

namespace pellucard {

ListState::ListState(ListKind kind) : kind_(kind), filter_(ListCommands::list(kind).filterAll) {}

void ListState::apply(const ListCommands::Choice& choice, bool ascendingFirst) {
  if (choice.kind != kind_) return;
  if (!choice.sort) {
    filter_ = choice.value;
  } else if (choice.value == sortKey_) {
    ascending_ = !ascending_;
  } else {
    sortKey_ = choice.value;
    ascending_ = ascendingFirst;
  }
}

}  // namespace pellucard
