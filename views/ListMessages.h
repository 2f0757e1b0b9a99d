// The private messages between a list control and the window that owns it.
#pragma once

#include "platform/win/WinUser.h"

namespace pellucard {

// To the parent: the focused row changed (wParam 0, lParam 0).
inline constexpr UINT UM_SELCHANGED = WM_USER + 3;
// To the parent: refill the list whose id is wParam; any other value means all four lists.
inline constexpr UINT UM_RELOADLIST = WM_USER + 109;
// To the list: TRUE while at least one search key is typed.
inline constexpr UINT UM_ISSEARCHING = WM_USER + 110;

static_assert(UM_SELCHANGED == 1027 && UM_RELOADLIST == 1133 && UM_ISSEARCHING == 1134);

}  // namespace pellucard
