// Common controls of the handheld platform: the list view (SysListView32) with its messages,
// notifications, styles and structures, with their documented names and numeric values; the date
// and time picker with the month calendar, the image lists, the tree view and the up-down control
// have headers of their own, included here.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinImageList.h"
#include "platform/controls/WinTreeView.h"
#include "platform/controls/WinUpDown.h"
#include "platform/sys/InitCommonControls.h"
#include "platform/win/WinUser.h"

// ---------------------------------------------------------------------------------------------
// Initialisation: InitCommonControlsEx and INITCOMMONCONTROLSEX live with the system services.
// The classes themselves are registered when the shell starts (platform/shell/Shell.h).
void InitCommonControls();

// ---------------------------------------------------------------------------------------------
// Notifications shared by all controls
#define NM_FIRST (0U - 0U)
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_HOVER (NM_FIRST - 13)
#define NM_RECOGNIZEGESTURE (NM_FIRST - 16)

#define LVN_FIRST (0U - 100U)
#define LVN_LAST (0U - 199U)

// ---------------------------------------------------------------------------------------------
// List view
#define WC_LISTVIEWW u"SysListView32"
#define WC_LISTVIEW WC_LISTVIEWW

// Styles
#define LVS_ICON 0x0000
#define LVS_REPORT 0x0001
#define LVS_SMALLICON 0x0002
#define LVS_LIST 0x0003
#define LVS_TYPEMASK 0x0003
#define LVS_SINGLESEL 0x0004
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_SORTASCENDING 0x0010
#define LVS_SORTDESCENDING 0x0020
#define LVS_SHAREIMAGELISTS 0x0040
#define LVS_NOLABELWRAP 0x0080
#define LVS_AUTOARRANGE 0x0100
#define LVS_EDITLABELS 0x0200
#define LVS_OWNERDRAWFIXED 0x0400
#define LVS_ALIGNTOP 0x0000
#define LVS_ALIGNLEFT 0x0800
#define LVS_ALIGNMASK 0x0c00
#define LVS_OWNERDATA 0x1000
#define LVS_NOSCROLL 0x2000
#define LVS_NOCOLUMNHEADER 0x4000
#define LVS_NOSORTHEADER 0x8000
#define LVS_TYPESTYLEMASK 0xfc00

// Extended styles (LVM_SETEXTENDEDLISTVIEWSTYLE)
#define LVS_EX_GRIDLINES 0x00000001
#define LVS_EX_SUBITEMIMAGES 0x00000002
#define LVS_EX_CHECKBOXES 0x00000004
#define LVS_EX_TRACKSELECT 0x00000008
#define LVS_EX_HEADERDRAGDROP 0x00000010
#define LVS_EX_FULLROWSELECT 0x00000020
#define LVS_EX_ONECLICKACTIVATE 0x00000040
#define LVS_EX_TWOCLICKACTIVATE 0x00000080
#define LVS_EX_FLATSB 0x00000100
#define LVS_EX_REGIONAL 0x00000200
#define LVS_EX_INFOTIP 0x00000400
#define LVS_EX_UNDERLINEHOT 0x00000800
#define LVS_EX_UNDERLINECOLD 0x00001000
#define LVS_EX_MULTIWORKAREAS 0x00002000
#define LVS_EX_LABELTIP 0x00004000
#define LVS_EX_BORDERSELECT 0x00008000
#define LVS_EX_DOUBLEBUFFER 0x00010000
#define LVS_EX_NOHSCROLL 0x10000000
#define LVS_EX_GRADIENT 0x20000000

// Messages
#define LVM_FIRST 0x1000
#define LVM_GETBKCOLOR (LVM_FIRST + 0)
#define LVM_SETBKCOLOR (LVM_FIRST + 1)
#define LVM_GETIMAGELIST (LVM_FIRST + 2)
#define LVM_SETIMAGELIST (LVM_FIRST + 3)
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define LVM_DELETEITEM (LVM_FIRST + 8)
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETCALLBACKMASK (LVM_FIRST + 10)
#define LVM_SETCALLBACKMASK (LVM_FIRST + 11)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)
#define LVM_GETITEMRECT (LVM_FIRST + 14)
#define LVM_HITTEST (LVM_FIRST + 18)
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)
#define LVM_SCROLL (LVM_FIRST + 20)
#define LVM_REDRAWITEMS (LVM_FIRST + 21)
#define LVM_DELETECOLUMN (LVM_FIRST + 28)
#define LVM_GETCOLUMNWIDTH (LVM_FIRST + 29)
#define LVM_SETCOLUMNWIDTH (LVM_FIRST + 30)
#define LVM_GETHEADER (LVM_FIRST + 31)
#define LVM_GETVIEWRECT (LVM_FIRST + 34)
#define LVM_GETTEXTCOLOR (LVM_FIRST + 35)
#define LVM_SETTEXTCOLOR (LVM_FIRST + 36)
#define LVM_GETTEXTBKCOLOR (LVM_FIRST + 37)
#define LVM_SETTEXTBKCOLOR (LVM_FIRST + 38)
#define LVM_GETTOPINDEX (LVM_FIRST + 39)
#define LVM_GETCOUNTPERPAGE (LVM_FIRST + 40)
#define LVM_GETORIGIN (LVM_FIRST + 41)
#define LVM_UPDATE (LVM_FIRST + 42)
#define LVM_SETITEMSTATE (LVM_FIRST + 43)
#define LVM_GETITEMSTATE (LVM_FIRST + 44)
#define LVM_SETITEMCOUNT (LVM_FIRST + 47)
#define LVM_GETSELECTEDCOUNT (LVM_FIRST + 50)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETSUBITEMRECT (LVM_FIRST + 56)
#define LVM_SUBITEMHITTEST (LVM_FIRST + 57)
#define LVM_APPROXIMATEVIEWRECT (LVM_FIRST + 64)
#define LVM_GETSELECTIONMARK (LVM_FIRST + 66)
#define LVM_SETSELECTIONMARK (LVM_FIRST + 67)
#define LVM_GETITEMW (LVM_FIRST + 75)
#define LVM_SETITEMW (LVM_FIRST + 76)
#define LVM_INSERTITEMW (LVM_FIRST + 77)
#define LVM_GETCOLUMNW (LVM_FIRST + 95)
#define LVM_SETCOLUMNW (LVM_FIRST + 96)
#define LVM_INSERTCOLUMNW (LVM_FIRST + 97)
#define LVM_GETITEMTEXTW (LVM_FIRST + 115)
#define LVM_SETITEMTEXTW (LVM_FIRST + 116)
#define LVM_GETITEM LVM_GETITEMW
#define LVM_SETITEM LVM_SETITEMW
#define LVM_INSERTITEM LVM_INSERTITEMW
#define LVM_GETCOLUMN LVM_GETCOLUMNW
#define LVM_SETCOLUMN LVM_SETCOLUMNW
#define LVM_INSERTCOLUMN LVM_INSERTCOLUMNW
#define LVM_GETITEMTEXT LVM_GETITEMTEXTW
#define LVM_SETITEMTEXT LVM_SETITEMTEXTW

// Notifications (WM_NOTIFY codes)
#define LVN_ITEMCHANGING (LVN_FIRST - 0)
#define LVN_ITEMCHANGED (LVN_FIRST - 1)
#define LVN_INSERTITEM (LVN_FIRST - 2)
#define LVN_DELETEITEM (LVN_FIRST - 3)
#define LVN_DELETEALLITEMS (LVN_FIRST - 4)
#define LVN_COLUMNCLICK (LVN_FIRST - 8)
#define LVN_BEGINDRAG (LVN_FIRST - 9)
#define LVN_ODCACHEHINT (LVN_FIRST - 13)
#define LVN_ITEMACTIVATE (LVN_FIRST - 14)
#define LVN_ODSTATECHANGED (LVN_FIRST - 15)
#define LVN_KEYDOWN (LVN_FIRST - 55)
#define LVN_GETDISPINFOW (LVN_FIRST - 77)
#define LVN_SETDISPINFOW (LVN_FIRST - 78)
#define LVN_GETDISPINFO LVN_GETDISPINFOW
#define LVN_SETDISPINFO LVN_SETDISPINFOW

// Item masks, states, search flags, rectangle codes, hit-test results
#define LVIF_TEXT 0x0001
#define LVIF_IMAGE 0x0002
#define LVIF_PARAM 0x0004
#define LVIF_STATE 0x0008
#define LVIF_INDENT 0x0010
#define LVIF_NORECOMPUTE 0x0800
#define LVIF_DI_SETITEM 0x1000

#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVIS_CUT 0x0004
#define LVIS_DROPHILITED 0x0008
#define LVIS_ACTIVATING 0x0020
#define LVIS_OVERLAYMASK 0x0F00
#define LVIS_STATEIMAGEMASK 0xF000
constexpr UINT INDEXTOSTATEIMAGEMASK(UINT i) { return i << 12; }
constexpr UINT INDEXTOOVERLAYMASK(UINT i) { return i << 8; }

#define I_IMAGECALLBACK (-1)
#define LPSTR_TEXTCALLBACKW (reinterpret_cast<LPWSTR>(static_cast<LONG_PTR>(-1)))

#define LVNI_ALL 0x0000
#define LVNI_FOCUSED 0x0001
#define LVNI_SELECTED 0x0002
#define LVNI_CUT 0x0004
#define LVNI_DROPHILITED 0x0008
#define LVNI_ABOVE 0x0100
#define LVNI_BELOW 0x0200
#define LVNI_TOLEFT 0x0400
#define LVNI_TORIGHT 0x0800

#define LVIR_BOUNDS 0
#define LVIR_ICON 1
#define LVIR_LABEL 2
#define LVIR_SELECTBOUNDS 3

#define LVHT_NOWHERE 0x0001
#define LVHT_ONITEMICON 0x0002
#define LVHT_ONITEMLABEL 0x0004
#define LVHT_ONITEMSTATEICON 0x0008
#define LVHT_ONITEM (LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON)
#define LVHT_ABOVE 0x0008
#define LVHT_BELOW 0x0010
#define LVHT_TORIGHT 0x0020
#define LVHT_TOLEFT 0x0040

// Columns
#define LVCF_FMT 0x0001
#define LVCF_WIDTH 0x0002
#define LVCF_TEXT 0x0004
#define LVCF_SUBITEM 0x0008
#define LVCF_IMAGE 0x0010
#define LVCF_ORDER 0x0020

#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002
#define LVCFMT_JUSTIFYMASK 0x0003

#define LVSCW_AUTOSIZE (-1)
#define LVSCW_AUTOSIZE_USEHEADER (-2)

#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1
#define LVSIL_STATE 2

struct LVITEMW {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};
using LVITEM = LVITEMW;
using LPLVITEMW = LVITEMW*;
using LPLVITEM = LVITEMW*;
using LV_ITEM = LVITEMW;

struct LVCOLUMNW {
  UINT mask;
  int fmt;
  int cx;
  LPWSTR pszText;
  int cchTextMax;
  int iSubItem;
  int iImage;
  int iOrder;
};
using LVCOLUMN = LVCOLUMNW;
using LPLVCOLUMNW = LVCOLUMNW*;
using LPLVCOLUMN = LVCOLUMNW*;
using LV_COLUMN = LVCOLUMNW;

struct LVHITTESTINFO {
  POINT pt;
  UINT flags;
  int iItem;
  int iSubItem;
};
using LPLVHITTESTINFO = LVHITTESTINFO*;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
};
using LPNMLISTVIEW = NMLISTVIEW*;
using NM_LISTVIEW = NMLISTVIEW;

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
  UINT uKeyFlags;
};
using LPNMITEMACTIVATE = NMITEMACTIVATE*;

#define LVKF_ALT 0x0001
#define LVKF_CONTROL 0x0002
#define LVKF_SHIFT 0x0004

#pragma pack(push, 1)
struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey;
  UINT flags;
};
#pragma pack(pop)
using LPNMLVKEYDOWN = NMLVKEYDOWN*;
using LV_KEYDOWN = NMLVKEYDOWN;

struct NMLVCACHEHINT {
  NMHDR hdr;
  int iFrom;
  int iTo;
};
using LPNMLVCACHEHINT = NMLVCACHEHINT*;

struct NMLVDISPINFOW {
  NMHDR hdr;
  LVITEMW item;
};
using LPNMLVDISPINFOW = NMLVDISPINFOW*;

// ---------------------------------------------------------------------------------------------
// Message wrappers, as the platform's headers offer them.
inline int ListView_GetItemCount(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0)); }
inline int ListView_InsertItem(HWND hwnd, const LVITEMW* item) {
  return static_cast<int>(SendMessageW(hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL ListView_DeleteItem(HWND hwnd, int i) {
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_DELETEITEM, static_cast<WPARAM>(i), 0));
}
inline BOOL ListView_DeleteAllItems(HWND hwnd) {
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0));
}
inline BOOL ListView_GetItem(HWND hwnd, LVITEMW* item) {
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL ListView_SetItem(HWND hwnd, const LVITEMW* item) {
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}
inline BOOL ListView_SetItemState(HWND hwnd, int i, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  return static_cast<BOOL>(
      SendMessageW(hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)));
}
inline UINT ListView_GetItemState(HWND hwnd, int i, UINT mask) {
  return static_cast<UINT>(SendMessageW(hwnd, LVM_GETITEMSTATE, static_cast<WPARAM>(i), static_cast<LPARAM>(mask)));
}
inline void ListView_SetCheckState(HWND hwnd, int i, BOOL checked) {
  ListView_SetItemState(hwnd, i, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}
inline BOOL ListView_GetCheckState(HWND hwnd, int i) {
  return ((ListView_GetItemState(hwnd, i, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1 ? TRUE : FALSE;
}
inline void ListView_SetItemText(HWND hwnd, int i, int subItem, LPCWSTR text) {
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = const_cast<LPWSTR>(text);
  SendMessageW(hwnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}
inline void ListView_GetItemText(HWND hwnd, int i, int subItem, LPWSTR buffer, int size) {
  LVITEMW item{};
  item.iSubItem = subItem;
  item.pszText = buffer;
  item.cchTextMax = size;
  SendMessageW(hwnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
}
inline int ListView_GetNextItem(HWND hwnd, int start, UINT flags) {
  return static_cast<int>(
      SendMessageW(hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(static_cast<WORD>(flags), 0)));
}
inline int ListView_GetTopIndex(HWND hwnd) { return static_cast<int>(SendMessageW(hwnd, LVM_GETTOPINDEX, 0, 0)); }
inline int ListView_GetCountPerPage(HWND hwnd) {
  return static_cast<int>(SendMessageW(hwnd, LVM_GETCOUNTPERPAGE, 0, 0));
}
inline BOOL ListView_EnsureVisible(HWND hwnd, int i, BOOL partialOk) {
  return static_cast<BOOL>(
      SendMessageW(hwnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(i), MAKELPARAM(static_cast<WORD>(partialOk), 0)));
}
inline BOOL ListView_RedrawItems(HWND hwnd, int first, int last) {
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_REDRAWITEMS, static_cast<WPARAM>(first), static_cast<LPARAM>(last)));
}
inline BOOL ListView_GetItemRect(HWND hwnd, int i, RECT* rect, int code) {
  if (rect != nullptr) rect->left = code;
  return static_cast<BOOL>(SendMessageW(hwnd, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(rect)));
}
inline int ListView_InsertColumn(HWND hwnd, int i, const LVCOLUMNW* column) {
  return static_cast<int>(
      SendMessageW(hwnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(column)));
}
inline BOOL ListView_SetColumnWidth(HWND hwnd, int i, int cx) {
  return static_cast<BOOL>(
      SendMessageW(hwnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(static_cast<WORD>(cx), 0)));
}
inline int ListView_GetColumnWidth(HWND hwnd, int i) {
  return static_cast<int>(SendMessageW(hwnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0));
}
inline DWORD ListView_ApproximateViewRect(HWND hwnd, int cx, int cy, int count) {
  return static_cast<DWORD>(SendMessageW(hwnd, LVM_APPROXIMATEVIEWRECT, static_cast<WPARAM>(count),
                                         MAKELPARAM(static_cast<WORD>(cx), static_cast<WORD>(cy))));
}
inline DWORD ListView_SetExtendedListViewStyle(HWND hwnd, DWORD style) {
  return static_cast<DWORD>(SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}
inline DWORD ListView_SetExtendedListViewStyleEx(HWND hwnd, DWORD mask, DWORD style) {
  return static_cast<DWORD>(SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, static_cast<LPARAM>(style)));
}
inline DWORD ListView_GetExtendedListViewStyle(HWND hwnd) {
  return static_cast<DWORD>(SendMessageW(hwnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}
inline UINT ListView_GetSelectedCount(HWND hwnd) {
  return static_cast<UINT>(SendMessageW(hwnd, LVM_GETSELECTEDCOUNT, 0, 0));
}
inline int ListView_HitTest(HWND hwnd, LVHITTESTINFO* info) {
  return static_cast<int>(SendMessageW(hwnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}
