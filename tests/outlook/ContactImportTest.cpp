// Friends made from contacts, and the connection's contact lookups.
#include "outlook/ContactImporter.h"

#include <unistd.h>

#include "platform/base/WinError.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegEncoder.h"
#include "tests/outlook/OutlookFixture.h"

using namespace pellucard;
using outlooktest::date;
namespace fs = std::filesystem;

namespace {

class ContactImportTest : public outlooktest::OutlookFixture {
 protected:
  void SetUp() override {
    OutlookFixture::SetUp();
    getSettings().setAnniversariesAutoExport(false);
  }

  LONG oidOf(const std::u16string& fileAs) {
    std::vector<OutlookConnection::ContactRow> rows;
    EXPECT_TRUE(getOutlookConnection().contactRows(rows));
    for (const auto& row : rows)
      if (row.fileAs == fileAs) return row.oid;
    ADD_FAILURE() << "no contact";
    return 0;
  }

  std::unique_ptr<Friend> friendFrom(const std::u16string& fileAs) {
    auto contact = getOutlookConnection().contactFromOid(oidOf(fileAs));
    EXPECT_TRUE(contact);
    return contact ? ContactImporter::friendFromContact(*contact) : nullptr;
  }

  std::vector<Anniversary*> anniversariesOf(const Friend& f) {
    return getAnniversaryCollection().itemsOfFriend(static_cast<LONG>(f.recordId()));
  }
};

}  // namespace

TEST_F(ContactImportTest, NotesGainSpouseChildrenAndWorkWithoutStrayBreaksOrCommas) {
  addCard("a.vcf",
          "BEGIN:VCARD\nVERSION:3.0\nFN:With Notes\nN:Notes;With\nNOTE:Likes tea\nX-SPOUSE:Ann\nORG:Acme\n"
          "END:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nFN:No Notes\nN:Notes;No\nX-SPOUSE:Ann\nTITLE:\nORG:Acme\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nFN:Everything\nNOTE:\\nline\nX-SPOUSE:Bo\nX-CHILDREN:Cy\nTITLE:Engineer\n"
          "ORG:Acme\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nFN:Title Only\nTITLE:Mayor\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nFN:Bare\nN:Bare;Just\nEND:VCARD\n");
  EXPECT_EQ(friendFrom(u"With Notes")->notes(), u"Likes tea\r\nSpouse: Ann\r\nWork: Acme");
  auto noNotes = friendFrom(u"No Notes");
  EXPECT_EQ(noNotes->notes(), u"Spouse: Ann\r\nWork: Acme");
  EXPECT_EQ(noNotes->firstName(), u"No");
  EXPECT_EQ(noNotes->lastName(), u"Notes");
  EXPECT_EQ(friendFrom(u"Everything")->notes(), u"line\r\nSpouse: Bo\r\nChildren: Cy\r\nWork: Engineer, Acme")
      << "leading line breaks of the contact's own notes go too";
  EXPECT_EQ(friendFrom(u"Title Only")->notes(), u"Work: Mayor");
  EXPECT_EQ(friendFrom(u"Bare")->notes(), u"");
}

TEST_F(ContactImportTest, ContactPictureBecomesTheFriendsPictureElseTheFirstAvatar) {
  addCard("p.vcf",
          "BEGIN:VCARD\nVERSION:3.0\nFN:Pictured\nPHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nFN:Linked\nPHOTO;VALUE=uri:http://example.com/x.jpg\nEND:VCARD\n");
  auto pictured = friendFrom(u"Pictured");
  EXPECT_EQ(pictured->avatarIndex(), Friend::kOwnPicture);
  EXPECT_EQ(pictured->picture().bytes(), (std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10}));
  EXPECT_EQ(pictured->contactId(), oidOf(u"Pictured"));
  auto linked = friendFrom(u"Linked");
  EXPECT_EQ(linked->avatarIndex(), 0);
  EXPECT_FALSE(linked->picture().hasPicture());
}

std::string base64(const std::vector<std::uint8_t>& bytes) {
  static const char* const kDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t n =
        (bytes[i] << 16) | (i + 1 < bytes.size() ? bytes[i + 1] << 8 : 0) | (i + 2 < bytes.size() ? bytes[i + 2] : 0);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

// Noise compresses badly, so a modest photo of it is larger than a record may hold.
std::vector<std::uint8_t> noisyJpeg(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  std::uint32_t seed = 12345;
  for (auto& value : image.rgb) {
    seed = seed * 1664525u + 1013904223u;
    value = static_cast<std::uint8_t>(seed >> 24);
  }
  return *JpegEncoder::encode(image, 95);
}

TEST_F(ContactImportTest, PicturesTooLargeForTheRecordAreStoredReducedToTheAvatar) {
  const std::vector<std::uint8_t> photo = noisyJpeg(900, 600);
  ASSERT_GT(photo.size(), FriendPicture::kMaxStoredBytes);
  std::vector<std::uint8_t> junk(FriendPicture::kMaxStoredBytes + 10, 0x5A);
  junk[0] = 0xFF;
  junk[1] = 0xD8;
  addCard("big.vcf",
          "BEGIN:VCARD\nVERSION:3.0\nUID:big\nN:Photo;Big\nFN:Big Photo\nPHOTO;ENCODING=b;TYPE=JPEG:" + base64(photo) +
              "\nEND:VCARD\n"
              "BEGIN:VCARD\nVERSION:3.0\nUID:junk\nN:Junk;Big\nFN:Big Junk\nPHOTO;ENCODING=b;TYPE=JPEG:" +
              base64(junk) + "\nEND:VCARD\n");
  const LONG photoOid = oidOf(u"Big Photo");
  const LONG junkOid = oidOf(u"Big Junk");
  ContactImporter importer(getOutlookConnection());
  ASSERT_EQ(importer.importContacts({photoOid, junkOid}), 2);

  Friend* pictured = getFriendCollection().findByContactId(photoOid);
  ASSERT_NE(pictured, nullptr);
  EXPECT_NE(pictured->recordId(), 0u) << "the friend is stored";
  EXPECT_EQ(pictured->avatarIndex(), Friend::kOwnPicture);
  const auto size = ImageDecoder::readSize(pictured->picture().bytes());
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cx, 80);
  EXPECT_EQ(size->cy, 53);

  // A picture that can neither be stored nor reduced leaves the friend with the first avatar.
  Friend* unpictured = getFriendCollection().findByContactId(junkOid);
  ASSERT_NE(unpictured, nullptr);
  EXPECT_NE(unpictured->recordId(), 0u);
  EXPECT_EQ(unpictured->avatarIndex(), 0);
  EXPECT_FALSE(unpictured->picture().hasPicture());

  const std::vector<std::uint8_t> stored = pictured->picture().bytes();
  restart();
  Friend* reloaded = getFriendCollection().findByContactId(photoOid);
  ASSERT_NE(reloaded, nullptr);
  EXPECT_EQ(reloaded->picture().bytes(), stored);
}

TEST_F(ContactImportTest, ImportAddsFriendsWithTheirDatesOnceOnly) {
  addCard("c.vcf",
          "BEGIN:VCARD\nVERSION:3.0\nUID:ann\nN:Lee;Ann\nFN:Ann Lee\nBDAY:1990-05-10\nANNIVERSARY:2015-06-20\n"
          "END:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nUID:bo\nN:Bo;\nFN:Bo\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nUID:cy\nN:Cy;\nFN:Cy\nEND:VCARD\n");
  ContactImporter importer(getOutlookConnection());
  const LONG ann = oidOf(u"Ann Lee");
  const LONG bo = oidOf(u"Bo");
  EXPECT_EQ(importer.importContacts({ann, bo, 0x7777}), 2) << "an Oid that finds nothing is skipped";
  EXPECT_EQ(importer.importContacts({ann, bo}), 0) << "linked contacts are not imported again";
  ASSERT_EQ(getFriendCollection().size(), 2u);

  Friend* annFriend = getFriendCollection().findByContactId(ann);
  ASSERT_TRUE(annFriend);
  auto dates = anniversariesOf(*annFriend);
  ASSERT_EQ(dates.size(), 2u);
  EXPECT_EQ(dates[0]->name(), u"Anniversary");
  EXPECT_EQ(dates[0]->date().wYear, 2015);
  EXPECT_EQ(dates[0]->date().wMonth, 6);
  EXPECT_EQ(dates[0]->date().wDay, 20);
  EXPECT_EQ(dates[0]->date().wHour, 12);
  EXPECT_EQ(dates[1]->name(), u"Birthday");
  EXPECT_EQ(dates[1]->date().wYear, 1990);
  EXPECT_EQ(dates[1]->notes(), u"");
  EXPECT_EQ(dates[1]->outlookItemId(), 0);

  Friend* boFriend = getFriendCollection().findByContactId(bo);
  ASSERT_TRUE(boFriend);
  EXPECT_TRUE(anniversariesOf(*boFriend).empty()) << "no dates, no anniversaries";

  restart();
  EXPECT_EQ(ContactImporter(getOutlookConnection()).importContacts({ann}), 0) << "the link survives a restart";
  EXPECT_EQ(getAnniversaryCollection().size(), 2u);
}

TEST_F(ContactImportTest, YearlessAndOutOfRangeDates) {
  addCard("d.vcf",
          "BEGIN:VCARD\nVERSION:3.0\nUID:y\nFN:Yearless\nBDAY:--0229\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:3.0\nUID:z\nFN:Far\nBDAY:2999-12-31\nANNIVERSARY:2999-12-30\nEND:VCARD\n");
  ContactImporter importer(getOutlookConnection());
  ASSERT_EQ(importer.importContacts({oidOf(u"Yearless"), oidOf(u"Far")}), 2);
  auto yearless = anniversariesOf(*getFriendCollection().findByContactId(oidOf(u"Yearless")));
  ASSERT_EQ(yearless.size(), 1u);
  EXPECT_EQ(yearless[0]->date().wMonth, 2);
  EXPECT_EQ(yearless[0]->date().wDay, 29);
  EXPECT_TRUE(ContactImporter::hasUnknownYear(yearless[0]->date()));
  auto far = anniversariesOf(*getFriendCollection().findByContactId(oidOf(u"Far")));
  ASSERT_EQ(far.size(), 1u) << "31 December 2999 is the no-date limit; the day before is a date";
  EXPECT_EQ(far[0]->name(), u"Anniversary");
  SYSTEMTIME out{};
  EXPECT_FALSE(ContactImporter::usableDate(0, out));
}

TEST_F(ContactImportTest, FolderCategoriesInOrderAndCategoryListCutting) {
  std::string cards;
  const char* names[] = {"Work",   "Family", "Friends", "Book club", "Gym",    "Neighbours",
                         "School", "Choir",  "Travel",  "Chess",     "Garden", "Homework"};
  for (int i = 0; i < 12; ++i)
    cards += "BEGIN:VCARD\nVERSION:3.0\nFN:P" + std::to_string(i) + "\nCATEGORIES:" + names[i] + "," + names[i / 2] +
             "\nEND:VCARD\n";
  addCard("cats.vcf", cards);
  std::vector<std::u16string> categories;
  ASSERT_EQ(getOutlookConnection().categories(olFolderContacts, categories), S_OK);
  ASSERT_EQ(categories.size(), 12u);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(platform::toUtf8(categories[i]), names[i]);

  std::vector<OutlookConnection::ContactRow> rows;
  ASSERT_TRUE(getOutlookConnection().contactRows(rows));
  ASSERT_EQ(rows.size(), 12u);
  EXPECT_TRUE(getOutlookConnection().contactInCategories(rows[11].oid, {u"Work"})) << "Homework contains Work";
  EXPECT_FALSE(getOutlookConnection().contactInCategories(rows[2].oid, {u"Work", u"Choir"}));
  EXPECT_TRUE(getOutlookConnection().contactInCategories(rows[2].oid, {u"Choir", u"Family"}));
  EXPECT_FALSE(getOutlookConnection().contactInCategories(0x5555, {u"Work"}));

  using V = std::vector<std::u16string>;
  EXPECT_EQ(OutlookConnection::splitCategoryList(u"a,,b, ,c"), (V{u"a", u"", u"b", u"", u"c"}));
  EXPECT_EQ(OutlookConnection::splitCategoryList(u" Work , Home"), (V{u"Work", u"Home"}));
  EXPECT_EQ(OutlookConnection::splitCategoryList(u"a,"), (V{u"a", u""}));
  EXPECT_TRUE(OutlookConnection::splitCategoryList(u"").empty());
}

TEST_F(ContactImportTest, SelectContactLooksTheChosenRowUp) {
  addCard("s.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:First\nEND:VCARD\nBEGIN:VCARD\nVERSION:3.0\nFN:Second\nEND:VCARD\n");
  OutlookConnection& connection = getOutlookConnection();
  EXPECT_FALSE(connection.selectContact()) << "no chooser, no contact";
  std::vector<std::u16string> shown;
  std::u16string title;
  int answer = 1;
  connection.setContactChooser([&](const std::vector<std::u16string>& names, const std::u16string& t) {
    shown = names;
    title = t;
    return answer;
  });
  auto chosen = connection.selectContact();
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->FileAs(), u"Second");
  EXPECT_EQ(shown, (std::vector<std::u16string>{u"First", u"Second"}));
  EXPECT_EQ(title, u"Select Contact");
  answer = -1;
  EXPECT_FALSE(connection.selectContact());
  connection.stop();
  answer = 0;
  EXPECT_FALSE(connection.selectContact()) << "without a connection nothing is chosen";
}

TEST_F(ContactImportTest, ShowContactDisplaysTheLinkedCardOrSaysItIsGone) {
  addCard("show.vcf", "BEGIN:VCARD\nVERSION:3.0\nUID:shown\nFN:Shown\nEND:VCARD\n");
  std::u16string displayed;
  platform::pim::Contact::setDisplayHandler([&](const platform::pim::Contact& c) {
    displayed = c.FileAs();
    return S_OK;
  });
  const LONG oid = oidOf(u"Shown");
  EXPECT_TRUE(getOutlookConnection().showContact(oid));
  EXPECT_EQ(displayed, u"Shown");
  std::filesystem::remove(dir_ / "pim" / "contacts" / "show.vcf");
  EXPECT_FALSE(getOutlookConnection().showContact(oid)) << "the card was deleted from the address book";
  EXPECT_FALSE(getOutlookConnection().showContact(0));
  platform::pim::Contact::setDisplayHandler(nullptr);
}

TEST_F(ContactImportTest, NothingIsImportedWithoutAConnection) {
  addCard("n.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:Nobody\nEND:VCARD\n");
  LONG oid = oidOf(u"Nobody");
  getOutlookConnection().stop();
  EXPECT_EQ(ContactImporter(getOutlookConnection()).importContacts({oid}), 0);
  std::vector<std::u16string> categories;
  EXPECT_TRUE(FAILED(getOutlookConnection().categories(olFolderContacts, categories)));
  EXPECT_TRUE(getFriendCollection().empty());
}

TEST_F(ContactImportTest, TextsTooLongForARecordAreCutAndTheReportCountsEveryCheckedContact) {
  const std::string longNote(Friend::kMaxNotesLength + 500, 'n');
  addCard("long.vcf", "BEGIN:VCARD\nVERSION:3.0\nUID:long\nN:Long;Lou\nFN:Lou Long\nNOTE:" + longNote +
                          "\nX-SPOUSE:Sam\nEND:VCARD\n"
                          "BEGIN:VCARD\nVERSION:3.0\nUID:short\nN:Short;Sue\nFN:Sue Short\nEND:VCARD\n");
  const LONG lou = oidOf(u"Lou Long");
  const LONG sue = oidOf(u"Sue Short");
  ContactImporter importer(getOutlookConnection());
  ContactImporter::Report report = importer.run({lou, sue, sue, 0x7777});
  EXPECT_EQ(report.imported, 2);
  EXPECT_EQ(report.alreadyFriends, 1) << "the same contact twice makes one friend";
  EXPECT_EQ(report.missing, 1);
  EXPECT_EQ(report.notStored, 0);
  EXPECT_EQ(report.notesShortened, 1);
  EXPECT_TRUE(report.allSaved);

  Friend* cut = getFriendCollection().findByContactId(lou);
  ASSERT_NE(cut, nullptr);
  EXPECT_NE(cut->recordId(), 0u) << "stored, not dropped as a whole";
  EXPECT_EQ(cut->notes().size(), Friend::kMaxNotesLength);
  EXPECT_EQ(cut->notes().back(), u'\u2026');
  restart();
  ASSERT_NE(getFriendCollection().findByContactId(lou), nullptr);
  EXPECT_EQ(getFriendCollection().findByContactId(lou)->notes().size(), Friend::kMaxNotesLength);

  // A cut never leaves half of a surrogate pair behind.
  EXPECT_EQ(ContactImporter::fitted(u"ab\U0001F600cd", 4), u"ab\u2026");
  EXPECT_EQ(ContactImporter::fitted(u"abc", 3), u"abc");
  EXPECT_EQ(ContactImporter::fitted(u"abcd", 3), u"ab\u2026");
}

TEST_F(ContactImportTest, TheServiceSaysWhyItCannotStartAndStartsOnceMended) {
  OutlookConnection& connection = getOutlookConnection();
  connection.stop();
  fs::remove_all(dir_ / "pim" / "contacts");
  std::ofstream(dir_ / "pim" / "contacts") << "a file";
  EXPECT_EQ(connection.start(), HRESULT_FROM_WIN32(ERROR_DIRECTORY));
  EXPECT_FALSE(connection.ensureStarted());
  EXPECT_EQ(connection.lastStartResult(), HRESULT_FROM_WIN32(ERROR_DIRECTORY));
  fs::remove(dir_ / "pim" / "contacts");
  if (::geteuid() != 0) {
    fs::create_directories(dir_ / "pim" / "contacts");
    fs::permissions(dir_ / "pim" / "contacts", fs::perms::none);
    EXPECT_EQ(connection.start(), E_ACCESSDENIED) << "a folder that cannot be read is not an empty book";
    fs::permissions(dir_ / "pim" / "contacts", fs::perms::owner_all);
  }
  EXPECT_TRUE(connection.ensureStarted());
  std::vector<OutlookConnection::ContactRow> rows;
  EXPECT_TRUE(connection.contactRows(rows));
  EXPECT_TRUE(rows.empty()) << "an empty folder is an empty book";
}

TEST_F(ContactImportTest, ADroppedFileIsCopiedIntoTheBookUnderAFreeName) {
  addCard("friends.vcf", "BEGIN:VCARD\nVERSION:3.0\nUID:old\nFN:Old\nEND:VCARD\n");
  const fs::path elsewhere = dir_ / "Downloads";
  fs::create_directories(elsewhere);
  const std::string text =
      "BEGIN:VCARD\nVERSION:3.0\nUID:new1\nFN:New One\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nUID:new2\nFN:New Two\nEND:VCARD\n";
  std::ofstream(elsewhere / "friends.vcf", std::ios::binary) << text;
  OutlookConnection& connection = getOutlookConnection();
  std::vector<LONG> oids;
  ASSERT_EQ(connection.addContactsFile(platform::toUtf16((elsewhere / "friends.vcf").string()), oids), S_OK);
  EXPECT_EQ(oids, (std::vector<LONG>{oidOf(u"New One"), oidOf(u"New Two")}));
  EXPECT_EQ(fileText("contacts/friends (2).vcf"), text) << "the name taken by another file is numbered";
  EXPECT_EQ(fileText("contacts/friends.vcf"), "BEGIN:VCARD\nVERSION:3.0\nUID:old\nFN:Old\nEND:VCARD\n");

  // The same file again is the copy already there; nothing new appears.
  ASSERT_EQ(connection.addContactsFile(platform::toUtf16((elsewhere / "friends.vcf").string()), oids), S_OK);
  EXPECT_EQ(oids.size(), 2u);
  EXPECT_FALSE(fs::exists(dir_ / "pim" / "contacts" / "friends (3).vcf"));

  std::ofstream(elsewhere / "notes.txt") << "no card here";
  EXPECT_EQ(connection.addContactsFile(platform::toUtf16((elsewhere / "notes.txt").string()), oids),
            HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
  EXPECT_EQ(connection.addContactsFile(platform::toUtf16((elsewhere / "gone.vcf").string()), oids),
            HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(oids.empty());
  EXPECT_FALSE(fs::exists(dir_ / "pim" / "contacts" / "notes.vcf"));
}
