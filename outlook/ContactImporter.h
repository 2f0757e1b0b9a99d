// Friends, with their birthdays and anniversaries, made from contacts.
#pragma once

#include <memory>
#include <vector>

#include "platform/pim/Contact.h"
#include "platform/pim/PimDates.h"
#include "store/Anniversary.h"
#include "store/Friend.h"

namespace pellucard {

class OutlookConnection;

class ContactImporter {
 public:
  explicit ContactImporter(OutlookConnection& connection) : connection_(connection) {}

  // Imports the checked contacts in list order. A contact that cannot be fetched, or that a
  // friend already links to, is skipped. Returns the number of friends added.
  int importContacts(const std::vector<LONG>& checkedOids);

  // The friend a contact makes: names, notes with spouse, children and work, the contact's
  // picture (avatar -1) or the first avatar, and the contact's Oid as ContactId.
  static std::unique_ptr<Friend> friendFromContact(const platform::pim::Contact& contact);

  // A contact date is usable when it is not 0 and before 31 December 2999; 'date' gets it.
  static bool usableDate(DATE value, SYSTEMTIME& date);
  // Contacts may give a birthday or anniversary without its year; such a date is imported in the
  // placeholder year 1604, for which the lists show no count of years.
  static bool hasUnknownYear(const SYSTEMTIME& date) { return date.wYear == Anniversary::kUnknownYear; }

 private:
  OutlookConnection& connection_;
};

}  // namespace pellucard
