#include "resources/StringTable.h"

namespace pellucard {

namespace {

// The failure messages end with this request; it names no address on purpose.
#define SUPPORT_SENTENCE u"Please contact Velka support."

const platform::StringResource kStrings[] = {
    {IDS_APP_TITLE, u"Pellucard"},

    {IDS_DONE, u"Done"},
    {IDS_CANCEL, u"Cancel"},
    {IDS_MENU, u"Menu"},
    {IDS_DETAILS, u"Details"},
    {IDS_FROM, u"From"},
    {IDS_FOR, u"For"},
    {IDS_IDEAS, u"Ideas"},
    {IDS_TO, u"To"},
    {IDS_TAB_FRIENDS, u"Friends"},
    {IDS_TAB_GIFTS, u"Gifts"},
    {IDS_TAB_LOANS, u"Loans"},
    {IDS_TAB_ANNIVERSARIES, u"Anniversaries"},
    {IDS_RETRIEVE, u"Retrieve"},
    {IDS_RETURN, u"Return"},
    {IDS_NAME_FORMAT, u"Name Format:"},
    {IDS_FNAME_LNAME, u"<FName> <LName>"},
    {IDS_LNAME_FNAME, u"<LName>, <FName>"},
    {IDS_PAGE_GENERAL, u"General"},
    {IDS_OPTIONS, u"Options"},
    {IDS_DISABLED, u"Disabled"},
    {IDS_BIRTHDAY, u"Birthday"},
    {IDS_ANNIVERSARY, u"Anniversary"},
    {IDS_ABOUT_TEXT,
     u"Velka\r\n"
     u"\r\n"
     u"Pellucard, version %s\r\n"
     u"Velka makes small, friendly programs for handhelds.\r\n"
     u"Copyright (C) Velka. All rights reserved."},
    {IDS_PAGE_ANNIVERSARIES, u"Anniversaries"},
    {IDS_AUTO_EXPORT_CALENDAR, u"Auto Export to Calendar:"},
    {IDS_AUTO_EXPORT_TASKS, u"Auto Export to Tasks:"},
    {IDS_REMINDER, u"Reminder:"},
    {IDS_REMINDER_TIME, u"Reminder Time:"},
    {IDS_DAY, u"Day"},
    {IDS_DAYS, u"Days"},
    {IDS_WEEK, u"Week"},
    {IDS_WEEKS, u"Weeks"},
    {IDS_ENABLED, u"Enabled"},
    {IDS_PAGE_LOANS, u"Loans"},
    {IDS_SELECT_ITEM, u"Select an Item"},
    {IDS_CALENDAR_EXPORT_DONE, u"Anniversary items were successfully exported to the Calendar."},
    {IDS_CALENDAR_EXPORT_FAILED, u"Failed to export anniversary item to Calendar.\r\n" SUPPORT_SENTENCE},
    {IDS_TASKS_EXPORT_DONE, u"Loan items were successfully exported to Tasks."},
    {IDS_TASKS_EXPORT_FAILED, u"Failed to export loan item to Tasks.\r\n" SUPPORT_SENTENCE},
    {IDS_CONFIRM_DELETE, u"Permanently delete this item?"},
    {IDS_BACKUP_CREATED, u"Backup created successfully."},
    {IDS_BACKUP_FAILED,
     u"Failed to create Pellucard database backup.\r\n"
     u"Your data is unchanged, and so is an older backup of that name. Please choose another folder or free "
     u"some space, then try again. If it keeps failing, contact Velka support."},
    {IDS_RESTORE_DONE, u"Backup restored successfully."},
    {IDS_RESTORE_FAILED,
     u"Failed to restore previous Pellucard database.\r\n"
     u"Your data is as it was before the restore. Keep the backup file, and try again or choose another "
     u"backup. If it keeps failing, contact Velka support."},
    {IDS_RESTORE_INVALID,
     u"Restore backup failed. The file you have selected is not valid Pellucard database.\r\n"
     u"Please choose a file made with Backup > Create. If the problem persists, contact Velka support."},
    {IDS_REMOVE_FRIEND_ITEMS, u"Do you want to remove all items (anniversaries, gifts, loans) associated with '%s'?"},
    {IDS_SPOUSE, u"Spouse"},
    {IDS_CHILDREN, u"Children"},
    {IDS_WORK, u"Work"},
    {IDS_SELECT_CONTACT, u"Select Contact"},
    {IDS_NO_CONTACT_LINKED,
     u"Currently there is no contact associated with '%s'. Would you like to associate contact now?"},
    {IDS_PIN, u"PIN:"},
    {IDS_PIN_CODE, u"PIN Code:"},
    {IDS_CONFIRM_PIN, u"Confirm PIN:"},
    {IDS_AUTO_EXPORT, u"Auto Export:"},

    {IDS_APP_ERROR, u"Application error occured.\r\n"},
    {IDS_APP_ERROR_SUPPORT, u"\r\n" SUPPORT_SENTENCE},
    {IDS_DONE_BUTTON, u"Done"},
    {IDS_CANCEL_BUTTON, u"Cancel"},
    {IDS_PIN_PROTECTION, u"PIN Protection"},
    {IDS_ENTER_PIN, u"Enter PIN code and press 'Done'"},
    {IDS_ENTER_TEXT, u"Enter Text"},

    {IDS_PIN_REFUSED, u"Please enter valid PIN code in order to run the application"},
    {IDS_FIRST_LAUNCH,
     u"This is your first launch of Pellucard. Would you like to import your friends information from the "
     u"contacts?\r\nYou can do this later using the Menu->Import Contact option."},
    {IDS_ABOUT_HEADING_PREFIX, u"Velka "},
    {IDS_EMPTY_LIST, u"Empty List"},
    {IDS_IDEA_FOR, u"Idea for"},
    {IDS_GENERAL_IDEA, u"General idea"},
    {IDS_NOT_SPECIFIED, u"Not specified"},
    {IDS_DUE, u"due"},
    {IDS_GENERAL_LOAN, u"General loan"},
    {IDS_GENERAL_ANNIVERSARY, u"General anniversary"},
    {IDS_GIFT_DATE, u"Gift Date"},
    {IDS_LOAN_DATE, u"Loan Date"},
    {IDS_RETURN_DATE, u"Return Date"},
    {IDS_LABEL_DATE, u"Date:"},
    {IDS_LABEL_FRIEND, u"Friend:"},
    {IDS_SELECT_BACKUP_FOLDER, u"Select Backup Folder"},
    {IDS_SELECT_BACKUP_FILE, u"Select Backup File"},
    {IDS_MORE, u"More ..."},
    {IDS_LABEL_FIRST_NAME, u"First Name:"},
    {IDS_LABEL_LAST_NAME, u"Last Name:"},
    {IDS_LABEL_NOTES, u"Notes:"},
    {IDS_LABEL_PICTURE, u"Picture"},
    {IDS_CHANGE_PICTURE, u"Change Picture"},
    {IDS_LABEL_NAME, u"Name:"},
    {IDS_LABEL_CATEGORY, u"Category:"},
    {IDS_LABEL_ITEM, u"Item:"},
    {IDS_LABEL_DIRECTION, u"Direction:"},
    {IDS_LABEL_RETURN_DATE, u"Return Date:"},
    {IDS_NONE, u"None"},
    {IDS_SELECT_AVATAR, u"Select an Avatar"},
    {IDS_SELECT_PICTURE, u"Select Picture"},
    {IDS_PIN_EMPTY, u"Couldn't enable PIN protection. Please fill the 'PIN Code' field"},
    {IDS_PIN_MISMATCH, u"Couldn't enable PIN protection. 'PIN Code' field doesn't match 'Confirm PIN' field."},
    {IDS_PIN_ENABLED, u"Successfully enabled PIN Protection"},
    {IDS_PIN_ENABLE_FAILED, u"Couldn't enable PIN protection. Please provide valid PIN number."},
    {IDS_PIN_DISABLED, u"Successfully disabled PIN Protection"},
    {IDS_PIN_DISABLE_FAILED, u"Couldn't disable PIN protection. Please provide valid PIN number."},
    {IDS_EDIT, u"Edit"},
    {IDS_SWITCH_TO_FRIENDS, u"Switch to Friends View"},
    {IDS_FILTER_MARK, u" (F)"},
    {IDS_XML_PARSER_INIT_FAILED, u"Failed to initiatie XML Parser"},
    {IDS_XML_PARSER_CREATE_FAILED, u"Failed to create XML Parser"},
    {IDS_CRYPT_CONTEXT_1, u"Couldn't acquire crypt context (1)"},
    {IDS_CRYPT_CONTEXT_2, u"Couldn't acquire crypt context (2)"},
    {IDS_CRYPT_HASH_PROVIDER, u"Couldn't get hash provider"},
    {IDS_CRYPT_HASH_DATA, u"Couldn't Encrypt Hash Data"},
    {IDS_CRYPT_HASH_SIZE, u"Couldn't get HP_HASHSIZE"},
    {IDS_CRYPT_ALLOCATE, u"Couldn't allocate memory"},
    {IDS_CRYPT_HASH_VALUE, u"Couldn't get HP_HASHVAL"},
    {IDS_CRYPT_HASH, u"Couldn't get hash"},

    {IDS_NO_CONTACTS_FOUND, u"No contacts found"},
    {IDS_PUT_VCF_FILE_IN, u"Put a .vcf file in %s"},
    {IDS_CONTACTS_UNAVAILABLE, u"Pellucard cannot read the contacts in \"%s\": %s. Nothing was changed."},
    {IDS_REASON_CONTACTS_DENIED, u"it is not allowed to read that folder"},
    {IDS_REASON_CONTACTS_NOT_A_FOLDER, u"a file stands where that folder should be"},
    {IDS_REASON_CONTACTS_NOT_MADE, u"that folder cannot be made"},
    {IDS_IMPORT_REFUSED,
     u"No friends can be imported: Pellucard does not change a database it could not read. To put a backup in "
     u"its place, use Backup > Restore."},
    {IDS_IMPORTED_ONE, u"1 contact was imported."},
    {IDS_IMPORTED_MANY, u"%s contacts were imported."},
    {IDS_SKIPPED_LINKED, u"%s skipped: already a friend."},
    {IDS_SKIPPED_MISSING, u"%s skipped: no longer among the contacts."},
    {IDS_SKIPPED_NOT_STORED, u"%s skipped: the database did not take them."},
    {IDS_NOTES_SHORTENED, u"%s with notes too long for Pellucard: they were shortened."},
    {IDS_PICTURES_REDUCED, u"%s with pictures too large for Pellucard: they were made smaller."},
    {IDS_IMPORT_NOT_ALL_SAVED, u"Not every change could be written: the storage may be full."},
    {IDS_DROP_NOT_ADDED, u"\"%s\" was not added to the contacts: %s."},
    {IDS_REASON_DROP_NO_CARD, u"it holds no contact (vCard)"},
    {IDS_REASON_DROP_TOO_LARGE, u"it is too large"},
    {IDS_REASON_DROP_UNREADABLE, u"it cannot be read"},
    {IDS_REASON_DROP_NOT_WRITTEN, u"the contacts folder cannot be written"},

    {IDS_DATABASE_UNREADABLE, u"Pellucard could not read its database \"%s\": %s."},
    {IDS_DATABASE_PARTLY_READ, u"Pellucard could not read all of its database \"%s\": %s."},
    {IDS_RECORDS_NOT_READ, u"%s: %s could not be read."},
    {IDS_RECORDS_READ_UNTIL, u"%s: only the first %s could be read."},
    {IDS_RECORDS_NONE_READ, u"%s: none could be read."},
    {IDS_DATABASE_LEFT_AS_IT_IS,
     u"The file was left as it is, and Pellucard will not change it. To put a backup in its place, use "
     u"Backup > Restore."},
    {IDS_RECORDS_LEFT_AS_THEY_ARE,
     u"They were left in the file as they are. To put a backup in its place, use Backup > Restore."},
    {IDS_REASON_NOT_A_DATABASE, u"the file is damaged or is not a Pellucard database"},
    {IDS_REASON_DAMAGED, u"the file is damaged"},
    {IDS_REASON_DAMAGED_RECORDS, u"some of its records are damaged"},
    {IDS_REASON_ACCESS_DENIED, u"Pellucard is not allowed to open it"},
    {IDS_REASON_STORAGE_ERROR, u"the storage reported an error while reading it"},
    {IDS_REASON_DISK_FULL, u"the storage is full"},
    {IDS_REASON_IN_USE, u"another program is using it"},
    {IDS_REASON_NO_MEMORY, u"there is not enough memory"},
    {IDS_REASON_FOLDER_MISSING, u"its folder cannot be found"},
    {IDS_REASON_ERROR_CODE, u"error %s"},
    {IDS_REMOVE_FAILED, u"The item could not be removed from the database."},
    {IDS_REMOVE_REFUSED,
     u"The item could not be removed: Pellucard does not change a database it could not read. To put a backup "
     u"in its place, use Backup > Restore."},
    {IDS_SAVE_FAILED, u"The item could not be saved: %s. What you entered is still in the form."},
    {IDS_SAVE_REFUSED,
     u"The item could not be saved: Pellucard does not change a database it could not read. What you entered is "
     u"still in the form. To put a backup in place of the database, use Backup > Restore."},
    {IDS_SAVE_REASON_READ_ONLY, u"the database cannot be written to"},
    {IDS_SAVE_REASON_TOO_LONG, u"a text is longer than the database can hold"},
    {IDS_SAVE_REASON_STORAGE_ERROR, u"the storage reported an error"},
    {IDS_PICTURE_UNREADABLE, u"\"%s\" could not be read as a picture. Choose a JPEG or PNG picture."},
};

#undef SUPPORT_SENTENCE

}  // namespace

std::span<const platform::StringResource> stringTable() { return kStrings; }

void registerStringTable() { platform::ResourceTable::instance().addStrings(stringTable()); }

std::u16string formatString(UINT stringId, std::initializer_list<std::u16string> values) {
  std::u16string text = platform::loadString(stringId);
  std::size_t from = 0;
  for (const std::u16string& value : values) {
    const std::size_t at = text.find(u"%s", from);
    if (at == std::u16string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

}  // namespace pellucard
