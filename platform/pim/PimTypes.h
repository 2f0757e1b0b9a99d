// Constants of the personal-information object model, with their platform values.
#pragma once

#include "platform/base/WinTypes.h"

enum OlDefaultFolders {
  olFolderCalendar = 9,
  olFolderContacts = 10,
  olFolderTasks = 13,
};

enum OlItemType {
  olAppointmentItem = 1,
  olContactItem = 2,
  olTaskItem = 3,
};

enum OlRecurrenceType {
  olRecursDaily = 0,
  olRecursWeekly = 1,
  olRecursMonthly = 2,
  olRecursMonthNth = 3,
  olRecursYearly = 5,
  olRecursYearNth = 6,
};

enum OlBusyStatus {
  olFree = 0,
  olTentative = 1,
  olBusy = 2,
  olOutOfOffice = 3,
};

// Folder property: the folder's categories as one comma-separated string.
constexpr CEPROPID PIMPR_FOLDER_CATEGORIES = 0x101A001F;
// Contact property: the contact's picture, opened as a stream.
constexpr CEPROPID PIMPR_PICTURE = 0x00FF0064;
