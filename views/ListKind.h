// What a list control shows: the record kind (row layout and search words) and the ids of the
// four lists of the main screen, which are also the values UM_RELOADLIST carries.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

enum class ListKind : int { Friends = 0, Gifts = 1, Loans = 2, Anniversaries = 3 };

inline constexpr UINT kFriendListId = 1015;
inline constexpr UINT kLoanListId = 1016;
inline constexpr UINT kGiftListId = 1017;
inline constexpr UINT kAnniversaryListId = 1018;

}  // namespace pellucard
