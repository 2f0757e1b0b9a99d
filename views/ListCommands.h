// The four lists the screens show and the menu commands that work on them, in one table both
// the main screen and the friend details screen read: each list's id, window name, row icons,
// tab caption, menubar, record kind, item commands (Add, Edit, Remove, Details) and the filter
// value that shows it whole, and each Sort By and Filter command with its list, its sort key or
// filter value and the order a newly chosen key starts in.
#pragma once

#include <span>

#include "device/PrivateMessages.h"
#include "platform/base/WinTypes.h"
#include "views/ListKind.h"

namespace pellucard {

class ListCommands {
 public:
  struct List {
    ListKind kind;
    UINT listId;  // the tab's id, the list control's and what UM_RELOADLIST names
    const char16_t* windowName;
    int iconRole;  // the image role whose frames the rows show
    UINT caption;
    UINT menuBar;
    RecordKind record;
    UINT add;
    UINT edit;
    UINT remove;
    UINT open;
    int filterAll;  // 0 for the friends, which have no filter
  };

  // A Sort By or Filter command.
  struct Choice {
    UINT command;
    ListKind kind;
    bool sort;  // a sort key; otherwise a filter value
    int value;  // the key or the filter value, as the list's collection takes them
    // Whether a key chosen anew starts ascending, on the main screen and on the friend details
    // screen, which starts every date key newest first.
    bool ascendingFirst;
    bool ascendingFirstForFriend;
  };

  static const List& list(ListKind kind);
  // The list with this id, or null.
  static const List* listWithId(UINT listId);
  // The list whose Add, Edit, Remove or Details command this is, or null.
  static const List* listOfItemCommand(UINT command);

  static std::span<const Choice> choices();
  // The Sort By or Filter command, or null.
  static const Choice* choice(UINT command);
  // The command that stands for a sort key or a filter value of a list; 0 when none does.
  static UINT sortCommand(ListKind kind, int key);
  static UINT filterCommand(ListKind kind, int value);
};

}  // namespace pellucard
