// The program's private messages: between the main frame and its screens, between a list
// control and its owner, and from the tab header; the screen ids and the record kinds that
// UM_SHOWRECORD carries.
#pragma once

#include "platform/win/WinUser.h"

namespace pellucard {

// Tab header to its parent when a page is selected: wParam = the page's key, lParam 0.
inline constexpr UINT UM_TABCHANGED = WM_USER + 51;

// List control to its parent: the focused row changed (wParam 0, lParam 0).
inline constexpr UINT UM_SELCHANGED = WM_USER + 3;
// To the parent: refill the list whose id is wParam; any other value means all four lists.
inline constexpr UINT UM_RELOADLIST = WM_USER + 109;
// To the list: TRUE while at least one search key is typed.
inline constexpr UINT UM_ISSEARCHING = WM_USER + 110;
// Numbered list to its parent: an entry was chosen (wParam its index among all the entries,
// lParam its data value).
inline constexpr UINT UM_ITEMCHOSEN = WM_USER + 117;

// Form screen to itself after adding or removing rows: recompute the scroll range (wParam
// nonzero: also scroll to the top; lParam nonzero: also set the scroll bar).
inline constexpr UINT UM_RECOMPUTESCROLL = WM_USER + 2;

// Frame to its screens: relayout (wParam the current screen id, lParam 0).
inline constexpr UINT UM_LAYOUTCHANGED = WM_USER + 101;
// Posted to the frame once at start on the first launch (0, 0).
inline constexpr UINT UM_FIRSTLAUNCH = WM_USER + 102;
// Frame to its screens: the input panel changed (0, SIPINFO*).
inline constexpr UINT UM_SIPCHANGED = WM_USER + 103;
// Screen to frame: use this menubar resource (wParam id, lParam the screen's window). Applied
// only for the visible screen while the frame is active.
inline constexpr UINT UM_SETMENUBAR = WM_USER + 104;
// Any to frame: rebuild the menubar with (nonzero) or without (0) the input-panel button.
inline constexpr UINT UM_SHOWSIPBUTTON = WM_USER + 105;
// Second instance to frame (1500, 0), then frame to screens (0, 0): back to the main screen.
inline constexpr UINT UM_ACTIVATEINSTANCE = WM_USER + 106;
// Frame to all descendants: (1 active / 0 inactive, the visible screen's window).
inline constexpr UINT UM_ACTIVATED = WM_USER + 107;
// Screen to frame: open a record (wParam record id, lParam RecordKind).
inline constexpr UINT UM_SHOWRECORD = WM_USER + 108;
// Screen to frame: check (nonzero) or uncheck an item of the right-hand menu (wParam command id).
inline constexpr UINT UM_CHECKMENUITEM = WM_USER + 111;
// Screen to frame: enable (nonzero) or grey an item of the right-hand menu (wParam command id).
inline constexpr UINT UM_ENABLEMENUITEM = WM_USER + 112;
// Screen to frame (0, 0): returns the HMENU of the right-hand menu of the current menubar.
inline constexpr UINT UM_GETMENU = WM_USER + 113;

static_assert(UM_LAYOUTCHANGED == 1125 && UM_FIRSTLAUNCH == 1126 && UM_SIPCHANGED == 1127 && UM_SETMENUBAR == 1128 &&
              UM_SHOWSIPBUTTON == 1129 && UM_ACTIVATEINSTANCE == 1130 && UM_ACTIVATED == 1131 &&
              UM_SHOWRECORD == 1132 && UM_RELOADLIST == 1133 && UM_CHECKMENUITEM == 1135 && UM_ENABLEMENUITEM == 1136 &&
              UM_GETMENU == 1137 && UM_TABCHANGED == 1075 && UM_SELCHANGED == 1027 && UM_ISSEARCHING == 1134 &&
              UM_ITEMCHOSEN == 1141);

// Screen ids; each equals the id of the menubar resource the screen starts with.
inline constexpr UINT kMainScreenId = 1500;
inline constexpr UINT kFriendDetailsScreenId = 1508;
inline constexpr UINT kItemViewScreenId = 1510;

// What UM_SHOWRECORD's lParam names.
enum RecordKind : int { kRecordFriend = 0, kRecordGift = 1, kRecordLoan = 2, kRecordAnniversary = 3 };

// The menubar button that opens a screen's menu.
inline constexpr UINT kMenuButtonId = 1000;

}  // namespace pellucard
