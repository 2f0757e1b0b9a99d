// Friends, with their birthdays and anniversaries, made from contacts.
#pragma once

#include <cstddef>
#include <functional>
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
  // How an import went: every checked contact is counted once, as imported or under the reason
  // it was skipped; the imported ones also count what had to be made smaller to fit.
  struct Report {
    int imported = 0;
    int alreadyFriends = 0;  // a friend links to the contact already
    int missing = 0;         // the contact is no longer in the address book
    int notStored = 0;       // the database did not take the friend
    int notesShortened = 0;
    int picturesReduced = 0;
    bool allSaved = true;  // false when the batch's writes (records, calendar) could not all be kept
    int skipped() const { return alreadyFriends + missing + notStored; }
  };
  // Called between groups of contacts, so that the screen can repaint and show the wait cursor.
  using Progress = std::function<void()>;

  explicit ContactImporter(OutlookConnection& connection) : connection_(connection) {}

  // Imports the checked contacts in list order, as one batch of writes. A contact that cannot be
  // fetched, or that a friend already links to, is skipped; so is one the database does not take.
  Report run(const std::vector<LONG>& checkedOids, const Progress& progress = {});
  // The same; the number of friends added.
  int importContacts(const std::vector<LONG>& checkedOids) { return run(checkedOids).imported; }

  // The friend a contact makes: names, notes with spouse, children and work, the contact's
  // picture (avatar -1) or the first avatar, and the contact's Oid as ContactId. Texts longer
  // than a record holds are cut, ending in "…".
  static std::unique_ptr<Friend> friendFromContact(const platform::pim::Contact& contact);

  // A contact date is usable when it is not 0 and before 31 December 2999; 'date' gets it.
  static bool usableDate(DATE value, SYSTEMTIME& date);
  // Contacts may give a birthday or anniversary without its year; such a date is imported in the
  // placeholder year 1604, for which the lists show no count of years.
  static bool hasUnknownYear(const SYSTEMTIME& date) { return date.wYear == Anniversary::kUnknownYear; }
  // The text cut to at most `limit` UTF-16 units, ending in "…" when it was cut (never between
  // the two halves of a surrogate pair).
  static std::u16string fitted(std::u16string text, std::size_t limit);

 private:
  struct Made;
  // Builds the friends of one group of contacts and stores them; their dates follow.
  void importGroup(std::vector<Made>& group, Report& report);

  OutlookConnection& connection_;
};

}  // namespace pellucard
