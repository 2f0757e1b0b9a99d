// The tree view window (SysTreeView32): styles, messages, notifications, item structures and
// the message wrappers, with their documented names and numeric values.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/WinUser.h"

#define WC_TREEVIEWW u"SysTreeView32"
#define WC_TREEVIEW WC_TREEVIEWW

// Styles
#define TVS_HASBUTTONS 0x0001
#define TVS_HASLINES 0x0002
#define TVS_LINESATROOT 0x0004
#define TVS_EDITLABELS 0x0008
#define TVS_DISABLEDRAGDROP 0x0010
#define TVS_SHOWSELALWAYS 0x0020
#define TVS_RTLREADING 0x0040
#define TVS_NOTOOLTIPS 0x0080
#define TVS_CHECKBOXES 0x0100
#define TVS_TRACKSELECT 0x0200
#define TVS_SINGLEEXPAND 0x0400
#define TVS_INFOTIP 0x0800
#define TVS_FULLROWSELECT 0x1000
#define TVS_NOSCROLL 0x2000
#define TVS_NONEVENHEIGHT 0x4000
#define TVS_NOHSCROLL 0x8000

// Item masks
#define TVIF_TEXT 0x0001
#define TVIF_IMAGE 0x0002
#define TVIF_PARAM 0x0004
#define TVIF_STATE 0x0008
#define TVIF_HANDLE 0x0010
#define TVIF_SELECTEDIMAGE 0x0020
#define TVIF_CHILDREN 0x0040
#define TVIF_INTEGRAL 0x0080
#define TVIF_DI_SETITEM 0x1000

// Item states
#define TVIS_FOCUSED 0x0001
#define TVIS_SELECTED 0x0002
#define TVIS_CUT 0x0004
#define TVIS_DROPHILITED 0x0008
#define TVIS_BOLD 0x0010
#define TVIS_EXPANDED 0x0020
#define TVIS_EXPANDEDONCE 0x0040
#define TVIS_EXPANDPARTIAL 0x0080
#define TVIS_OVERLAYMASK 0x0F00
#define TVIS_STATEIMAGEMASK 0xF000
#define TVIS_USERMASK 0xF000

#define I_CHILDRENCALLBACK (-1)
#ifndef I_IMAGECALLBACK
#define I_IMAGECALLBACK (-1)
#endif
#define I_IMAGENONE (-2)
#ifndef LPSTR_TEXTCALLBACKW
#define LPSTR_TEXTCALLBACKW (reinterpret_cast<LPWSTR>(static_cast<LONG_PTR>(-1)))
#endif

// Insertion places
#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD)))

// TVM_EXPAND actions
#define TVE_COLLAPSE 0x0001
#define TVE_EXPAND 0x0002
#define TVE_TOGGLE 0x0003
#define TVE_EXPANDPARTIAL 0x4000
#define TVE_COLLAPSERESET 0x8000

// Image lists
#define TVSIL_NORMAL 0
#define TVSIL_STATE 2

// TVM_GETNEXTITEM relations
#define TVGN_ROOT 0x0000
#define TVGN_NEXT 0x0001
#define TVGN_PREVIOUS 0x0002
#define TVGN_PARENT 0x0003
#define TVGN_CHILD 0x0004
#define TVGN_FIRSTVISIBLE 0x0005
#define TVGN_NEXTVISIBLE 0x0006
#define TVGN_PREVIOUSVISIBLE 0x0007
#define TVGN_DROPHILITE 0x0008
#define TVGN_CARET 0x0009
#define TVGN_LASTVISIBLE 0x000A

// Causes of a selection change (NMTREEVIEW action)
#define TVC_UNKNOWN 0x0000
#define TVC_BYMOUSE 0x0001
#define TVC_BYKEYBOARD 0x0002

// Hit-test results
#define TVHT_NOWHERE 0x0001
#define TVHT_ONITEMICON 0x0002
#define TVHT_ONITEMLABEL 0x0004
#define TVHT_ONITEMINDENT 0x0008
#define TVHT_ONITEMBUTTON 0x0010
#define TVHT_ONITEMRIGHT 0x0020
#define TVHT_ONITEMSTATEICON 0x0040
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON)
#define TVHT_ABOVE 0x0100
#define TVHT_BELOW 0x0200
#define TVHT_TORIGHT 0x0400
#define TVHT_TOLEFT 0x0800

// Messages
#define TV_FIRST 0x1100
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_SETINDENT (TV_FIRST + 7)
#define TVM_GETIMAGELIST (TV_FIRST + 8)
#define TVM_SETIMAGELIST (TV_FIRST + 9)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETEDITCONTROL (TV_FIRST + 15)
#define TVM_GETVISIBLECOUNT (TV_FIRST + 16)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_SORTCHILDREN (TV_FIRST + 19)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_SORTCHILDRENCB (TV_FIRST + 21)
#define TVM_ENDEDITLABELNOW (TV_FIRST + 22)
#define TVM_SETITEMHEIGHT (TV_FIRST + 27)
#define TVM_GETITEMHEIGHT (TV_FIRST + 28)
#define TVM_SETBKCOLOR (TV_FIRST + 29)
#define TVM_SETTEXTCOLOR (TV_FIRST + 30)
#define TVM_GETBKCOLOR (TV_FIRST + 31)
#define TVM_GETTEXTCOLOR (TV_FIRST + 32)
#define TVM_GETITEMSTATE (TV_FIRST + 39)
#define TVM_SETLINECOLOR (TV_FIRST + 40)
#define TVM_GETLINECOLOR (TV_FIRST + 41)
#define TVM_INSERTITEMW (TV_FIRST + 50)
#define TVM_GETITEMW (TV_FIRST + 62)
#define TVM_SETITEMW (TV_FIRST + 63)
#define TVM_EDITLABELW (TV_FIRST + 65)
#define TVM_INSERTITEM TVM_INSERTITEMW
#define TVM_GETITEM TVM_GETITEMW
#define TVM_SETITEM TVM_SETITEMW
#define TVM_EDITLABEL TVM_EDITLABELW

// Notifications (WM_NOTIFY codes)
#define TVN_FIRST (0U - 400U)
#define TVN_LAST (0U - 499U)
#define TVN_KEYDOWN (TVN_FIRST - 12)
#define TVN_SINGLEEXPAND (TVN_FIRST - 15)
#define TVN_SELCHANGINGW (TVN_FIRST - 50)
#define TVN_SELCHANGEDW (TVN_FIRST - 51)
#define TVN_GETDISPINFOW (TVN_FIRST - 52)
#define TVN_SETDISPINFOW (TVN_FIRST - 53)
#define TVN_ITEMEXPANDINGW (TVN_FIRST - 54)
#define TVN_ITEMEXPANDEDW (TVN_FIRST - 55)
#define TVN_BEGINDRAGW (TVN_FIRST - 56)
#define TVN_DELETEITEMW (TVN_FIRST - 58)
#define TVN_SELCHANGING TVN_SELCHANGINGW
#define TVN_SELCHANGED TVN_SELCHANGEDW
#define TVN_GETDISPINFO TVN_GETDISPINFOW
#define TVN_SETDISPINFO TVN_SETDISPINFOW
#define TVN_ITEMEXPANDING TVN_ITEMEXPANDINGW
#define TVN_ITEMEXPANDED TVN_ITEMEXPANDEDW
#define TVN_BEGINDRAG TVN_BEGINDRAGW
#define TVN_DELETEITEM TVN_DELETEITEMW

struct TVITEMW {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
};
using TVITEM = TVITEMW;
using LPTVITEMW = TVITEMW*;
using LPTVITEM = TVITEMW*;
using TV_ITEM = TVITEMW;

struct TVITEMEXW {
  UINT mask;
  HTREEITEM hItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  int iSelectedImage;
  int cChildren;
  LPARAM lParam;
  int iIntegral;
};
using TVITEMEX = TVITEMEXW;

struct TVINSERTSTRUCTW {
  HTREEITEM hParent;
  HTREEITEM hInsertAfter;
  union {
    TVITEMEXW itemex;
    TVITEMW item;
  };
};
using TVINSERTSTRUCT = TVINSERTSTRUCTW;
using LPTVINSERTSTRUCTW = TVINSERTSTRUCTW*;
using LPTVINSERTSTRUCT = TVINSERTSTRUCTW*;
using TV_INSERTSTRUCT = TVINSERTSTRUCTW;

struct TVHITTESTINFO {
  POINT pt;
  UINT flags;
  HTREEITEM hItem;
};
using LPTVHITTESTINFO = TVHITTESTINFO*;
using TV_HITTESTINFO = TVHITTESTINFO;

struct NMTREEVIEWW {
  NMHDR hdr;
  UINT action;
  TVITEMW itemOld;
  TVITEMW itemNew;
  POINT ptDrag;
};
using NMTREEVIEW = NMTREEVIEWW;
using LPNMTREEVIEWW = NMTREEVIEWW*;
using LPNMTREEVIEW = NMTREEVIEWW*;
using NM_TREEVIEW = NMTREEVIEWW;

struct NMTVDISPINFOW {
  NMHDR hdr;
  TVITEMW item;
};
using NMTVDISPINFO = NMTVDISPINFOW;
using LPNMTVDISPINFOW = NMTVDISPINFOW*;
using LPNMTVDISPINFO = NMTVDISPINFOW*;
using TV_DISPINFO = NMTVDISPINFOW;

#pragma pack(push, 1)
struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};
#pragma pack(pop)
using LPNMTVKEYDOWN = NMTVKEYDOWN*;
using TV_KEYDOWN = NMTVKEYDOWN;

using PFNTVCOMPARE = int (*)(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
struct TVSORTCB {
  HTREEITEM hParent;
  PFNTVCOMPARE lpfnCompare;
  LPARAM lParam;
};
using LPTVSORTCB = TVSORTCB*;

// ---------------------------------------------------------------------------------------------
// Message wrappers, as the platform's headers offer them.
inline HTREEITEM TreeView_InsertItem(HWND hwnd, const TVINSERTSTRUCTW* insert) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(insert)));
}
inline BOOL TreeView_DeleteItem(HWND hwnd, HTREEITEM item) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_DeleteAllItems(HWND hwnd) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
}
inline BOOL TreeView_Expand(HWND hwnd, HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_GetItemRect(HWND hwnd, HTREEITEM item, RECT* rect, BOOL textOnly) {
  if (rect == nullptr) return FALSE;
  *reinterpret_cast<HTREEITEM*>(rect) = item;
  return static_cast<BOOL>(
      SendMessageW(hwnd, TVM_GETITEMRECT, static_cast<WPARAM>(textOnly), reinterpret_cast<LPARAM>(rect)));
}
inline UINT TreeView_GetCount(HWND hwnd) { return static_cast<UINT>(SendMessageW(hwnd, TVM_GETCOUNT, 0, 0)); }
inline UINT TreeView_GetIndent(HWND hwnd) { return static_cast<UINT>(SendMessageW(hwnd, TVM_GETINDENT, 0, 0)); }
inline BOOL TreeView_SetIndent(HWND hwnd, UINT indent) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_SETINDENT, indent, 0));
}
inline HIMAGELIST TreeView_GetImageList(HWND hwnd, int which) {
  return reinterpret_cast<HIMAGELIST>(SendMessageW(hwnd, TVM_GETIMAGELIST, static_cast<WPARAM>(which), 0));
}
inline HIMAGELIST TreeView_SetImageList(HWND hwnd, HIMAGELIST list, int which) {
  return reinterpret_cast<HIMAGELIST>(
      SendMessageW(hwnd, TVM_SETIMAGELIST, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(list)));
}
inline HTREEITEM TreeView_GetNextItem(HWND hwnd, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}
inline HTREEITEM TreeView_GetChild(HWND hwnd, HTREEITEM item) { return TreeView_GetNextItem(hwnd, item, TVGN_CHILD); }
inline HTREEITEM TreeView_GetNextSibling(HWND hwnd, HTREEITEM item) {
  return TreeView_GetNextItem(hwnd, item, TVGN_NEXT);
}
inline HTREEITEM TreeView_GetPrevSibling(HWND hwnd, HTREEITEM item) {
  return TreeView_GetNextItem(hwnd, item, TVGN_PREVIOUS);
}
inline HTREEITEM TreeView_GetParent(HWND hwnd, HTREEITEM item) { return TreeView_GetNextItem(hwnd, item, TVGN_PARENT); }
inline HTREEITEM TreeView_GetFirstVisible(HWND hwnd) { return TreeView_GetNextItem(hwnd, nullptr, TVGN_FIRSTVISIBLE); }
inline HTREEITEM TreeView_GetNextVisible(HWND hwnd, HTREEITEM item) {
  return TreeView_GetNextItem(hwnd, item, TVGN_NEXTVISIBLE);
}
inline HTREEITEM TreeView_GetPrevVisible(HWND hwnd, HTREEITEM item) {
  return TreeView_GetNextItem(hwnd, item, TVGN_PREVIOUSVISIBLE);
}
inline HTREEITEM TreeView_GetLastVisible(HWND hwnd) { return TreeView_GetNextItem(hwnd, nullptr, TVGN_LASTVISIBLE); }
inline HTREEITEM TreeView_GetSelection(HWND hwnd) { return TreeView_GetNextItem(hwnd, nullptr, TVGN_CARET); }
inline HTREEITEM TreeView_GetDropHilight(HWND hwnd) { return TreeView_GetNextItem(hwnd, nullptr, TVGN_DROPHILITE); }
inline HTREEITEM TreeView_GetRoot(HWND hwnd) { return TreeView_GetNextItem(hwnd, nullptr, TVGN_ROOT); }
inline BOOL TreeView_Select(HWND hwnd, HTREEITEM item, UINT code) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SelectItem(HWND hwnd, HTREEITEM item) { return TreeView_Select(hwnd, item, TVGN_CARET); }
inline BOOL TreeView_SelectDropTarget(HWND hwnd, HTREEITEM item) {
  return TreeView_Select(hwnd, item, TVGN_DROPHILITE);
}
inline BOOL TreeView_SelectSetFirstVisible(HWND hwnd, HTREEITEM item) {
  return TreeView_Select(hwnd, item, TVGN_FIRSTVISIBLE);
}
inline BOOL TreeView_GetItem(HWND hwnd, TVITEMW* item) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SetItem(HWND hwnd, const TVITEMW* item) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}
inline UINT TreeView_GetVisibleCount(HWND hwnd) {
  return static_cast<UINT>(SendMessageW(hwnd, TVM_GETVISIBLECOUNT, 0, 0));
}
inline HTREEITEM TreeView_HitTest(HWND hwnd, TVHITTESTINFO* info) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}
inline BOOL TreeView_SortChildren(HWND hwnd, HTREEITEM item, BOOL recurse) {
  return static_cast<BOOL>(
      SendMessageW(hwnd, TVM_SORTCHILDREN, static_cast<WPARAM>(recurse), reinterpret_cast<LPARAM>(item)));
}
inline BOOL TreeView_SortChildrenCB(HWND hwnd, const TVSORTCB* sort, BOOL recurse) {
  return static_cast<BOOL>(
      SendMessageW(hwnd, TVM_SORTCHILDRENCB, static_cast<WPARAM>(recurse), reinterpret_cast<LPARAM>(sort)));
}
inline BOOL TreeView_EnsureVisible(HWND hwnd, HTREEITEM item) {
  return static_cast<BOOL>(SendMessageW(hwnd, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item)));
}
inline int TreeView_SetItemHeight(HWND hwnd, int height) {
  return static_cast<int>(SendMessageW(hwnd, TVM_SETITEMHEIGHT, static_cast<WPARAM>(height), 0));
}
inline int TreeView_GetItemHeight(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, TVM_GETITEMHEIGHT, 0, 0)); }
inline COLORREF TreeView_SetBkColor(HWND hwnd, COLORREF color) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(color)));
}
inline COLORREF TreeView_SetTextColor(HWND hwnd, COLORREF color) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(color)));
}
inline COLORREF TreeView_GetBkColor(HWND hwnd) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_GETBKCOLOR, 0, 0));
}
inline COLORREF TreeView_GetTextColor(HWND hwnd) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_GETTEXTCOLOR, 0, 0));
}
inline COLORREF TreeView_SetLineColor(HWND hwnd, COLORREF color) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(color)));
}
inline COLORREF TreeView_GetLineColor(HWND hwnd) {
  return static_cast<COLORREF>(SendMessageW(hwnd, TVM_GETLINECOLOR, 0, 0));
}
inline UINT TreeView_GetItemState(HWND hwnd, HTREEITEM item, UINT mask) {
  return static_cast<UINT>(
      SendMessageW(hwnd, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), static_cast<LPARAM>(mask)));
}
inline void TreeView_SetItemState(HWND hwnd, HTREEITEM item, UINT state, UINT mask) {
  TVITEMW tvi{};
  tvi.mask = TVIF_STATE;
  tvi.hItem = item;
  tvi.state = state;
  tvi.stateMask = mask;
  SendMessageW(hwnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
}
