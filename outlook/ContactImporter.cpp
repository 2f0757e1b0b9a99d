#include "outlook/ContactImporter.h"

#include <unordered_set>

#include "outlook/ExportBatch.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/ResourceTable.h"
#include "platform/sys/OleAuto.h"
#include "resources/StringIds.h"
#include "skin/FriendPictureImage.h"
#include "skin/ImageCache.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"

namespace pellucard {

namespace pim = platform::pim;

namespace {

// Contacts are made into friends and stored this many at a time: the screen repaints between
// groups, and a group's friends are sorted into the collection at once.
constexpr std::size_t kGroupSize = 250;

std::u16string trimmed(const std::u16string& text, std::u16string_view chars) {
  std::size_t b = text.find_first_not_of(chars);
  if (b == std::u16string::npos) return {};
  std::size_t e = text.find_last_not_of(chars);
  return text.substr(b, e - b + 1);
}

void addAnniversary(DATE value, UINT nameId, RecordId friendId) {
  SYSTEMTIME date{};
  if (!ContactImporter::usableDate(value, date)) return;
  getAnniversaryCollection().add(
      std::make_unique<Anniversary>(platform::loadString(nameId), static_cast<LONG>(friendId), date, u"", 0));
}

enum class PictureOutcome { None, Kept, Reduced };

// A contact's picture is kept in its own encoding, unless the friend record could not hold it:
// then it is reduced to the avatar size as if the user had picked it, so the friend still stores.
PictureOutcome loadContactPicture(const std::vector<std::uint8_t>& picture, Friend& person) {
  if (picture.empty()) return PictureOutcome::None;
  if (picture.size() <= FriendPicture::kMaxStoredBytes) {
    return person.picture().loadFromBytes(picture) ? PictureOutcome::Kept : PictureOutcome::None;
  }
  const SIZE box = ImageCache::instance().layout().avatarSize();
  return FriendPictureImage::setFromImage(person.picture(), picture, box) ? PictureOutcome::Reduced
                                                                          : PictureOutcome::None;
}

struct FriendMaking {
  std::unique_ptr<Friend> person;
  bool notesShortened = false;
  bool pictureReduced = false;
};

FriendMaking makeFriend(const pim::Contact& contact) {
  std::u16string notes = contact.Body();
  if (!contact.Spouse().empty()) notes += u"\r\n" + platform::loadString(IDS_SPOUSE) + u": " + contact.Spouse();
  if (!contact.Children().empty()) notes += u"\r\n" + platform::loadString(IDS_CHILDREN) + u": " + contact.Children();
  if (!contact.JobTitle().empty() || !contact.CompanyName().empty()) {
    std::u16string work = trimmed(contact.JobTitle() + u", " + contact.CompanyName(), u", ");
    notes += u"\r\n" + platform::loadString(IDS_WORK) + u": " + work;
  }
  std::size_t lead = notes.find_first_not_of(u"\r\n");
  notes.erase(0, lead == std::u16string::npos ? notes.size() : lead);

  FriendMaking made;
  made.notesShortened = notes.size() > Friend::kMaxNotesLength;
  made.person = std::make_unique<Friend>();
  made.person->setContactId(contact.Oid());
  LONG avatar = 0;
  std::vector<std::uint8_t> picture;
  if (SUCCEEDED(contact.OpenProperty(PIMPR_PICTURE, 0x80000000, picture))) {
    const PictureOutcome outcome = loadContactPicture(picture, *made.person);
    if (outcome != PictureOutcome::None) avatar = Friend::kOwnPicture;
    made.pictureReduced = outcome == PictureOutcome::Reduced;
  }
  made.person->assign(ContactImporter::fitted(contact.FirstName(), Friend::kMaxNameLength),
                      ContactImporter::fitted(contact.LastName(), Friend::kMaxNameLength),
                      ContactImporter::fitted(std::move(notes), Friend::kMaxNotesLength), avatar);
  return made;
}

}  // namespace

struct ContactImporter::Made {
  std::shared_ptr<pim::Contact> contact;
  FriendMaking friendMade;
};

std::u16string ContactImporter::fitted(std::u16string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  if (limit == 0) return {};
  std::size_t keep = limit - 1;
  // A high surrogate left at the end would stand without its low half.
  if (keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  text.resize(keep);
  text += u'\u2026';
  return text;
}

bool ContactImporter::usableDate(DATE value, SYSTEMTIME& date) {
  SYSTEMTIME limitTime{};
  limitTime.wYear = 2999;
  limitTime.wMonth = 12;
  limitTime.wDay = 31;
  DATE limit = 0;
  if (value == 0 || !::SystemTimeToVariantTime(&limitTime, &limit) || value >= limit) return false;
  return ::VariantTimeToSystemTime(value, &date) != 0;
}

std::unique_ptr<Friend> ContactImporter::friendFromContact(const pim::Contact& contact) {
  return makeFriend(contact).person;
}

ContactImporter::Report ContactImporter::run(const std::vector<LONG>& checkedOids, const Progress& progress) {
  Report report;
  // One transaction of the volume and, when the dates go to the calendar, one write of its file.
  ExportBatch batch(connection_);
  std::unordered_set<LONG> seen;
  std::vector<Made> group;
  group.reserve(kGroupSize);
  for (LONG oid : checkedOids) {
    // The same contact twice in the list makes one friend; the second counts as linked already.
    if (getFriendCollection().findByContactId(oid) || !seen.insert(oid).second) {
      ++report.alreadyFriends;
      continue;
    }
    std::shared_ptr<pim::Contact> contact = connection_.contactFromOid(oid);
    if (!contact) {
      ++report.missing;
      continue;
    }
    group.push_back(Made{contact, makeFriend(*contact)});
    if (group.size() == kGroupSize) {
      importGroup(group, report);
      if (progress) progress();
    }
  }
  importGroup(group, report);
  report.allSaved = batch.end();
  return report;
}

void ContactImporter::importGroup(std::vector<Made>& group, Report& report) {
  if (group.empty()) return;
  std::vector<std::unique_ptr<Friend>> friends;
  friends.reserve(group.size());
  for (Made& made : group) friends.push_back(std::move(made.friendMade.person));
  const std::vector<Friend*> stored = getFriendCollection().addStored(friends);
  std::size_t next = 0;
  for (std::size_t i = 0; i < group.size(); ++i) {
    // The table did not take it: the friend is left behind in the list, and is not kept.
    if (friends[i]) {
      ++report.notStored;
      continue;
    }
    const Made& made = group[i];
    const Friend* person = stored[next++];
    ++report.imported;
    if (made.friendMade.notesShortened) ++report.notesShortened;
    if (made.friendMade.pictureReduced) ++report.picturesReduced;
    addAnniversary(made.contact->Anniversary(), IDS_ANNIVERSARY, person->recordId());
    addAnniversary(made.contact->Birthday(), IDS_BIRTHDAY, person->recordId());
  }
  group.clear();
}

}  // namespace pellucard
