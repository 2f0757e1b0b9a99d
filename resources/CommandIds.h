// Menu command ids and the ids of menus, menubars and the accelerator table. The menubar of a
// screen has the screen's id; its menu is the next number.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

// Handled by the main frame.
inline constexpr UINT ID_APP_EXIT = 1001;
inline constexpr UINT ID_APP_ABOUT = 1002;
inline constexpr UINT ID_APP_OPTIONS = 1003;
inline constexpr UINT ID_APP_HELP = 1005;

// Friends.
inline constexpr UINT ID_FRIEND_ADD = 1010;
inline constexpr UINT ID_FRIEND_EDIT = 1011;
inline constexpr UINT ID_FRIEND_REMOVE = 1012;
inline constexpr UINT ID_IMPORT_CONTACTS = 1013;
inline constexpr UINT ID_FRIEND_DETAILS = 1014;
inline constexpr UINT ID_SHOW_CONTACT_INFO = 1019;
inline constexpr UINT ID_BACKUP_CREATE = 1110;
inline constexpr UINT ID_BACKUP_RESTORE = 1111;
inline constexpr UINT ID_SWITCH_TO_FRIENDS = 1112;

// Gifts.
inline constexpr UINT ID_GIFT_ADD = 1020;
inline constexpr UINT ID_GIFT_EDIT = 1021;
inline constexpr UINT ID_GIFT_REMOVE = 1022;
inline constexpr UINT ID_GIFT_DETAILS = 1023;
inline constexpr UINT ID_GIFT_FILTER_ALL = 1024;
inline constexpr UINT ID_GIFT_FILTER_FROM = 1025;
inline constexpr UINT ID_GIFT_FILTER_TO = 1026;
inline constexpr UINT ID_GIFT_FILTER_IDEAS = 1027;
inline constexpr UINT ID_GIFT_SORT_GIFT = 1028;
inline constexpr UINT ID_GIFT_SORT_DATE = 1029;
inline constexpr UINT ID_GIFT_SORT_FRIEND = 1120;

// Loans.
inline constexpr UINT ID_LOAN_ADD = 1030;
inline constexpr UINT ID_LOAN_EDIT = 1031;
inline constexpr UINT ID_LOAN_REMOVE = 1032;
inline constexpr UINT ID_LOAN_DETAILS = 1033;
inline constexpr UINT ID_LOAN_FILTER_ALL = 1034;
inline constexpr UINT ID_LOAN_FILTER_FROM = 1035;
inline constexpr UINT ID_LOAN_FILTER_TO = 1036;
inline constexpr UINT ID_LOAN_FILTER_OVERDUE = 1132;
inline constexpr UINT ID_LOAN_SORT_ITEM = 1037;
inline constexpr UINT ID_LOAN_SORT_LOAN_DATE = 1038;
inline constexpr UINT ID_LOAN_SORT_RETURN_DATE = 1039;
inline constexpr UINT ID_LOAN_SORT_FRIEND = 1130;
inline constexpr UINT ID_EXPORT_TASKS = 1131;

// Anniversaries.
inline constexpr UINT ID_ANNIVERSARY_ADD = 1040;
inline constexpr UINT ID_ANNIVERSARY_EDIT = 1041;
inline constexpr UINT ID_ANNIVERSARY_REMOVE = 1042;
inline constexpr UINT ID_ANNIVERSARY_DETAILS = 1043;
inline constexpr UINT ID_ANNIVERSARY_FILTER_ALL = 1044;
inline constexpr UINT ID_ANNIVERSARY_FILTER_NEAREST = 1045;
inline constexpr UINT ID_ANNIVERSARY_SORT_NAME = 1046;
inline constexpr UINT ID_ANNIVERSARY_SORT_DATE = 1047;
inline constexpr UINT ID_ANNIVERSARY_SORT_DAY = 1048;
inline constexpr UINT ID_ANNIVERSARY_SORT_FRIEND = 1049;
inline constexpr UINT ID_EXPORT_CALENDAR = 1050;

// Item view.
inline constexpr UINT ID_ITEM_EDIT = 1060;
inline constexpr UINT ID_ITEM_REMOVE = 1061;
inline constexpr UINT ID_ITEM_CANCEL = 1062;
inline constexpr UINT ID_ITEM_FRIEND_DETAILS = 1063;

// Contact import and avatar picker.
inline constexpr UINT ID_IMPORT_SELECT_ALL = 1050;
inline constexpr UINT ID_IMPORT_DESELECT_ALL = 1051;
inline constexpr UINT ID_IMPORT_MORE_CATEGORIES = 1053;
inline constexpr UINT ID_AVATAR_SELECT_PICTURE = 1064;

// Menubars (= screen or tab) and their menus.
inline constexpr UINT IDR_FRIENDS_BAR = 1500;
inline constexpr UINT IDR_FRIENDS_MENU = 1501;
inline constexpr UINT IDR_GIFTS_BAR = 1502;
inline constexpr UINT IDR_GIFTS_MENU = 1503;
inline constexpr UINT IDR_LOANS_BAR = 1504;
inline constexpr UINT IDR_LOANS_MENU = 1505;
inline constexpr UINT IDR_ANNIVERSARIES_BAR = 1506;
inline constexpr UINT IDR_ANNIVERSARIES_MENU = 1507;
inline constexpr UINT IDR_FRIEND_DETAILS_BAR = 1508;
inline constexpr UINT IDR_FRIEND_DETAILS_MENU = 1509;
inline constexpr UINT IDR_ITEM_VIEW_BAR = 1510;
inline constexpr UINT IDR_ITEM_VIEW_MENU = 1511;

// Menubars of the full-screen forms.
inline constexpr UINT IDR_IMPORT_BAR = 1520;  // Done, Menu (1521)
inline constexpr UINT IDR_IMPORT_MENU = 1521;
inline constexpr UINT IDR_FORM_BAR = 1522;    // Done, Cancel
inline constexpr UINT IDR_DONE_BAR = 1523;    // Done alone
inline constexpr UINT IDR_AVATAR_BAR = 1524;  // Done, Menu (1525)
inline constexpr UINT IDR_AVATAR_MENU = 1525;
inline constexpr UINT IDR_DONE_CANCEL_BAR = 5102;  // Done, Cancel
inline constexpr UINT IDR_TEXT_ENTRY_BAR = 5104;   // Done alone

inline constexpr UINT IDR_ACCELERATORS = 128;

}  // namespace pellucard
