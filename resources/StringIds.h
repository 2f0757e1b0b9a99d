// Ids of the string table. Every text the user reads comes from here by id.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

inline constexpr UINT IDS_APP_TITLE = 128;

inline constexpr UINT IDS_DONE = 2001;
inline constexpr UINT IDS_CANCEL = 2002;
inline constexpr UINT IDS_MENU = 2006;
inline constexpr UINT IDS_DETAILS = 2008;
inline constexpr UINT IDS_FROM = 2009;
inline constexpr UINT IDS_FOR = 2010;
inline constexpr UINT IDS_IDEAS = 2011;
inline constexpr UINT IDS_TO = 2015;
inline constexpr UINT IDS_TAB_FRIENDS = 2022;
inline constexpr UINT IDS_TAB_GIFTS = 2023;
inline constexpr UINT IDS_TAB_LOANS = 2024;
inline constexpr UINT IDS_TAB_ANNIVERSARIES = 2025;
inline constexpr UINT IDS_RETRIEVE = 2034;
inline constexpr UINT IDS_RETURN = 2035;
inline constexpr UINT IDS_NAME_FORMAT = 2041;
inline constexpr UINT IDS_FNAME_LNAME = 2042;
inline constexpr UINT IDS_LNAME_FNAME = 2043;
inline constexpr UINT IDS_PAGE_GENERAL = 2044;
inline constexpr UINT IDS_OPTIONS = 2047;
inline constexpr UINT IDS_DISABLED = 2048;
inline constexpr UINT IDS_BIRTHDAY = 2054;
inline constexpr UINT IDS_ANNIVERSARY = 2055;
inline constexpr UINT IDS_ABOUT_TEXT = 2056;
inline constexpr UINT IDS_PAGE_ANNIVERSARIES = 2057;
inline constexpr UINT IDS_AUTO_EXPORT_CALENDAR = 2058;
inline constexpr UINT IDS_AUTO_EXPORT_TASKS = 2059;
inline constexpr UINT IDS_REMINDER = 2060;
inline constexpr UINT IDS_REMINDER_TIME = 2061;
inline constexpr UINT IDS_DAY = 2062;
inline constexpr UINT IDS_DAYS = 2063;
inline constexpr UINT IDS_WEEK = 2064;
inline constexpr UINT IDS_WEEKS = 2065;
inline constexpr UINT IDS_ENABLED = 2066;
inline constexpr UINT IDS_PAGE_LOANS = 2067;
inline constexpr UINT IDS_SELECT_ITEM = 2069;
inline constexpr UINT IDS_CALENDAR_EXPORT_DONE = 2071;
inline constexpr UINT IDS_CALENDAR_EXPORT_FAILED = 2072;
inline constexpr UINT IDS_TASKS_EXPORT_DONE = 2073;
inline constexpr UINT IDS_TASKS_EXPORT_FAILED = 2074;
inline constexpr UINT IDS_CONFIRM_DELETE = 2076;
inline constexpr UINT IDS_BACKUP_CREATED = 2077;
inline constexpr UINT IDS_BACKUP_FAILED = 2078;
inline constexpr UINT IDS_RESTORE_DONE = 2079;
inline constexpr UINT IDS_RESTORE_FAILED = 2080;
inline constexpr UINT IDS_RESTORE_INVALID = 2081;
inline constexpr UINT IDS_REMOVE_FRIEND_ITEMS = 2082;
inline constexpr UINT IDS_SPOUSE = 2083;
inline constexpr UINT IDS_CHILDREN = 2084;
inline constexpr UINT IDS_WORK = 2085;
inline constexpr UINT IDS_SELECT_CONTACT = 2086;
inline constexpr UINT IDS_NO_CONTACT_LINKED = 2087;
inline constexpr UINT IDS_PIN = 2088;
inline constexpr UINT IDS_PIN_CODE = 2089;
inline constexpr UINT IDS_CONFIRM_PIN = 2090;
inline constexpr UINT IDS_AUTO_EXPORT = 2092;

inline constexpr UINT IDS_APP_ERROR = 5015;
inline constexpr UINT IDS_APP_ERROR_SUPPORT = 5016;
inline constexpr UINT IDS_DONE_BUTTON = 5020;
inline constexpr UINT IDS_CANCEL_BUTTON = 5021;
inline constexpr UINT IDS_PIN_PROTECTION = 5027;
inline constexpr UINT IDS_ENTER_PIN = 5028;
inline constexpr UINT IDS_ENTER_TEXT = 5039;

// Texts the screens show that have no id of their own elsewhere.
inline constexpr UINT IDS_PIN_REFUSED = 5200;
inline constexpr UINT IDS_FIRST_LAUNCH = 5201;
inline constexpr UINT IDS_ABOUT_HEADING_PREFIX = 5202;
inline constexpr UINT IDS_EMPTY_LIST = 5203;
inline constexpr UINT IDS_IDEA_FOR = 5204;
inline constexpr UINT IDS_GENERAL_IDEA = 5205;
inline constexpr UINT IDS_NOT_SPECIFIED = 5206;
inline constexpr UINT IDS_DUE = 5207;
inline constexpr UINT IDS_GENERAL_LOAN = 5208;
inline constexpr UINT IDS_GENERAL_ANNIVERSARY = 5209;
inline constexpr UINT IDS_GIFT_DATE = 5210;
inline constexpr UINT IDS_LOAN_DATE = 5211;
inline constexpr UINT IDS_RETURN_DATE = 5212;
inline constexpr UINT IDS_LABEL_DATE = 5213;
inline constexpr UINT IDS_LABEL_FRIEND = 5214;
inline constexpr UINT IDS_SELECT_BACKUP_FOLDER = 5215;
inline constexpr UINT IDS_SELECT_BACKUP_FILE = 5216;
inline constexpr UINT IDS_MORE = 5217;
inline constexpr UINT IDS_LABEL_FIRST_NAME = 5218;
inline constexpr UINT IDS_LABEL_LAST_NAME = 5219;
inline constexpr UINT IDS_LABEL_NOTES = 5220;
inline constexpr UINT IDS_LABEL_PICTURE = 5221;
inline constexpr UINT IDS_CHANGE_PICTURE = 5222;
inline constexpr UINT IDS_LABEL_NAME = 5223;
inline constexpr UINT IDS_LABEL_CATEGORY = 5224;
inline constexpr UINT IDS_LABEL_ITEM = 5225;
inline constexpr UINT IDS_LABEL_DIRECTION = 5226;
inline constexpr UINT IDS_LABEL_RETURN_DATE = 5227;
inline constexpr UINT IDS_NONE = 5228;
inline constexpr UINT IDS_SELECT_AVATAR = 5229;
inline constexpr UINT IDS_SELECT_PICTURE = 5230;
inline constexpr UINT IDS_PIN_EMPTY = 5231;
inline constexpr UINT IDS_PIN_MISMATCH = 5232;
inline constexpr UINT IDS_PIN_ENABLED = 5233;
inline constexpr UINT IDS_PIN_ENABLE_FAILED = 5234;
inline constexpr UINT IDS_PIN_DISABLED = 5235;
inline constexpr UINT IDS_PIN_DISABLE_FAILED = 5236;
inline constexpr UINT IDS_EDIT = 5237;
inline constexpr UINT IDS_SWITCH_TO_FRIENDS = 5238;
inline constexpr UINT IDS_FILTER_MARK = 5239;
inline constexpr UINT IDS_XML_PARSER_INIT_FAILED = 5240;
inline constexpr UINT IDS_XML_PARSER_CREATE_FAILED = 5241;
inline constexpr UINT IDS_CRYPT_CONTEXT_1 = 5242;
inline constexpr UINT IDS_CRYPT_CONTEXT_2 = 5243;
inline constexpr UINT IDS_CRYPT_HASH_PROVIDER = 5244;
inline constexpr UINT IDS_CRYPT_HASH_DATA = 5245;
inline constexpr UINT IDS_CRYPT_HASH_SIZE = 5246;
inline constexpr UINT IDS_CRYPT_ALLOCATE = 5247;
inline constexpr UINT IDS_CRYPT_HASH_VALUE = 5248;
inline constexpr UINT IDS_CRYPT_HASH = 5249;

// The contact import: the empty book, the contact service that cannot start, the summary, and
// files dropped on the window.
inline constexpr UINT IDS_NO_CONTACTS_FOUND = 5360;
inline constexpr UINT IDS_PUT_VCF_FILE_IN = 5361;
inline constexpr UINT IDS_CONTACTS_UNAVAILABLE = 5362;
inline constexpr UINT IDS_REASON_CONTACTS_DENIED = 5363;
inline constexpr UINT IDS_REASON_CONTACTS_NOT_A_FOLDER = 5364;
inline constexpr UINT IDS_REASON_CONTACTS_NOT_MADE = 5365;
inline constexpr UINT IDS_IMPORT_REFUSED = 5366;
inline constexpr UINT IDS_IMPORTED_ONE = 5367;
inline constexpr UINT IDS_IMPORTED_MANY = 5368;
inline constexpr UINT IDS_SKIPPED_LINKED = 5369;
inline constexpr UINT IDS_SKIPPED_MISSING = 5370;
inline constexpr UINT IDS_SKIPPED_NOT_STORED = 5371;
inline constexpr UINT IDS_NOTES_SHORTENED = 5372;
inline constexpr UINT IDS_PICTURES_REDUCED = 5373;
inline constexpr UINT IDS_IMPORT_NOT_ALL_SAVED = 5374;
inline constexpr UINT IDS_DROP_NOT_ADDED = 5375;
inline constexpr UINT IDS_REASON_DROP_NO_CARD = 5376;
inline constexpr UINT IDS_REASON_DROP_TOO_LARGE = 5377;
inline constexpr UINT IDS_REASON_DROP_UNREADABLE = 5378;
inline constexpr UINT IDS_REASON_DROP_NOT_WRITTEN = 5379;

// What start-up and the remove command say when the database cannot be read or changed.
inline constexpr UINT IDS_DATABASE_UNREADABLE = 5300;
inline constexpr UINT IDS_DATABASE_PARTLY_READ = 5301;
inline constexpr UINT IDS_RECORDS_NOT_READ = 5302;
inline constexpr UINT IDS_RECORDS_READ_UNTIL = 5303;
inline constexpr UINT IDS_RECORDS_NONE_READ = 5304;
inline constexpr UINT IDS_DATABASE_LEFT_AS_IT_IS = 5305;
inline constexpr UINT IDS_RECORDS_LEFT_AS_THEY_ARE = 5306;
inline constexpr UINT IDS_REASON_NOT_A_DATABASE = 5310;
inline constexpr UINT IDS_REASON_DAMAGED = 5311;
inline constexpr UINT IDS_REASON_DAMAGED_RECORDS = 5312;
inline constexpr UINT IDS_REASON_ACCESS_DENIED = 5313;
inline constexpr UINT IDS_REASON_STORAGE_ERROR = 5314;
inline constexpr UINT IDS_REASON_DISK_FULL = 5315;
inline constexpr UINT IDS_REASON_IN_USE = 5316;
inline constexpr UINT IDS_REASON_NO_MEMORY = 5317;
inline constexpr UINT IDS_REASON_FOLDER_MISSING = 5318;
inline constexpr UINT IDS_REASON_ERROR_CODE = 5319;
inline constexpr UINT IDS_REMOVE_FAILED = 5320;
inline constexpr UINT IDS_REMOVE_REFUSED = 5321;

// What a form says when the database does not take the record it stores.
inline constexpr UINT IDS_SAVE_FAILED = 5330;
inline constexpr UINT IDS_SAVE_REFUSED = 5331;
inline constexpr UINT IDS_SAVE_REASON_READ_ONLY = 5332;
inline constexpr UINT IDS_SAVE_REASON_TOO_LONG = 5333;
inline constexpr UINT IDS_SAVE_REASON_STORAGE_ERROR = 5334;
inline constexpr UINT IDS_PICTURE_UNREADABLE = 5335;

}  // namespace pellucard
