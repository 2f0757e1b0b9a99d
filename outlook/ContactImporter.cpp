#include "outlook/ContactImporter.h"

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

// A contact's picture is kept in its own encoding, unless the friend record could not hold it:
// then it is reduced to the avatar size as if the user had picked it, so the friend still stores.
bool loadContactPicture(const std::vector<std::uint8_t>& picture, Friend& person) {
  if (picture.empty()) return false;
  if (picture.size() <= FriendPicture::kMaxStoredBytes) return person.picture().loadFromBytes(picture);
  return FriendPictureImage::setFromImage(person.picture(), picture, ImageCache::instance().layout().avatarSize());
}

}  // namespace

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
  std::u16string notes = contact.Body();
  if (!contact.Spouse().empty()) notes += u"\r\n" + platform::loadString(IDS_SPOUSE) + u": " + contact.Spouse();
  if (!contact.Children().empty()) notes += u"\r\n" + platform::loadString(IDS_CHILDREN) + u": " + contact.Children();
  if (!contact.JobTitle().empty() || !contact.CompanyName().empty()) {
    std::u16string work = trimmed(contact.JobTitle() + u", " + contact.CompanyName(), u", ");
    notes += u"\r\n" + platform::loadString(IDS_WORK) + u": " + work;
  }
  std::size_t lead = notes.find_first_not_of(u"\r\n");
  notes.erase(0, lead == std::u16string::npos ? notes.size() : lead);

  auto result = std::make_unique<Friend>();
  result->setContactId(contact.Oid());
  LONG avatar = 0;
  std::vector<std::uint8_t> picture;
  if (SUCCEEDED(contact.OpenProperty(PIMPR_PICTURE, 0x80000000, picture)) && loadContactPicture(picture, *result))
    avatar = Friend::kOwnPicture;
  result->assign(contact.FirstName(), contact.LastName(), notes, avatar);
  return result;
}

int ContactImporter::importContacts(const std::vector<LONG>& checkedOids) {
  int added = 0;
  for (LONG oid : checkedOids) {
    std::shared_ptr<pim::Contact> contact = connection_.contactFromOid(oid);
    if (!contact || getFriendCollection().findByContactId(oid)) continue;
    std::unique_ptr<Friend> made = friendFromContact(*contact);
    Friend* raw = made.get();
    getFriendCollection().add(std::move(made));
    ++added;
    // Dates need the friend's stored identifier; without it they would belong to no one.
    if (raw->recordId() == 0) continue;
    addAnniversary(contact->Anniversary(), IDS_ANNIVERSARY, raw->recordId());
    addAnniversary(contact->Birthday(), IDS_BIRTHDAY, raw->recordId());
  }
  return added;
}

}  // namespace pellucard
