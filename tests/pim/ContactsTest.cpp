// Contacts as the program sees them: a corpus of cards written the way phones, web mail
// and desktop address books export them, read through the application object.
#include <map>

#include "platform/base/Utf.h"
#include "tests/pim/PimTestSupport.h"

using namespace platform::pim;
using pimtest::show;

class ContactFolderTest : public pimtest::PimFolderTest {};

namespace {

std::vector<std::shared_ptr<Contact>> allContacts(Application& app) {
  std::shared_ptr<Folder> folder;
  EXPECT_EQ(app.GetDefaultFolder(olFolderContacts, folder), S_OK);
  std::shared_ptr<ItemCollection> items;
  EXPECT_EQ(folder->Items(items), S_OK);
  std::vector<std::shared_ptr<Contact>> out;
  for (int i = 1; i <= items->Count(); ++i) {
    std::shared_ptr<Item> item;
    EXPECT_EQ(items->Item(i, item), S_OK);
    out.push_back(std::dynamic_pointer_cast<Contact>(item));
  }
  return out;
}

std::string u8(const std::u16string& s) { return platform::toUtf8(s); }

class CorpusTest : public pimtest::PimFolderTest {
 protected:
  void SetUp() override {
    PimFolderTest::SetUp();
    copyCorpus();
    app_ = logon();
    for (auto& c : allContacts(*app_)) byFileAs_[u8(c->FileAs())] = c;
  }
  std::shared_ptr<Contact> contact(const std::string& fileAs) {
    auto it = byFileAs_.find(fileAs);
    if (it == byFileAs_.end()) {
      ADD_FAILURE() << "no contact " << fileAs;
      return nullptr;
    }
    return it->second;
  }
  std::shared_ptr<Application> app_;
  std::map<std::string, std::shared_ptr<Contact>> byFileAs_;
};

}  // namespace

TEST_F(CorpusTest, FolderOrderIsFileNameThenPositionAndBadCardsAreSkipped) {
  std::vector<std::string> names;
  for (auto& c : allContacts(*app_)) names.push_back(u8(c->FileAs()));
  std::vector<std::string> expected = {"Åsa Øster", "Same Duplicate", "Same Duplicate",  "Carla Diaz",
                                       "Eva Diaz",  "Jürgen Müller",  "François, Renée", "Kowalski, Ola",
                                       "Lee, Ann",  "Only Fullname",  "Trunc, Tom"};
  EXPECT_EQ(names, expected) << "the card with a phone number only is skipped, the cut-off card kept";
}

TEST_F(CorpusTest, PhoneStyleQuotedPrintableCharsetsAndFoldedPhoto) {
  auto c = contact("Jürgen Müller");
  ASSERT_TRUE(c);
  EXPECT_EQ(u8(c->FirstName()), "Jürgen");
  EXPECT_EQ(u8(c->LastName()), "Müller");
  EXPECT_EQ(u8(c->Body()), "Met at the climbing gym.\r\nOwes me a coffee ☕") << "soft line break joined";
  EXPECT_EQ(u8(c->CompanyName()), "Bergwerk GmbH");
  EXPECT_EQ(u8(c->JobTitle()), "Account manager");
  EXPECT_EQ(show(c->Birthday()), "1985-04-12 00:00");
  std::vector<std::uint8_t> picture;
  ASSERT_EQ(c->OpenProperty(PIMPR_PICTURE, 0x80000000, picture), S_OK);
  std::string expected = pimtest::readBytes(pimtest::sourceData() / "expected-jpeg.bin");
  EXPECT_EQ(std::string(picture.begin(), picture.end()), expected);

  auto latin = contact("François, Renée");
  ASSERT_TRUE(latin);
  EXPECT_EQ(u8(latin->LastName()), "François") << "ISO-8859-1 bytes decoded";
  EXPECT_EQ(show(latin->Anniversary()), "2001-09-15 00:00");
  EXPECT_EQ(u8(latin->Categories()), "Family, Friends");

  auto ola = contact("Kowalski, Ola");
  ASSERT_TRUE(ola);
  EXPECT_EQ(u8(ola->Body()), "Path C:\\new\\table") << "2.1 has no \\n escape";
  EXPECT_EQ(show(ola->Birthday()), "1604-07-04 00:00") << "year-less birthday";
  EXPECT_NE(ola->OpenProperty(PIMPR_PICTURE, 0x80000000, picture), S_OK) << "a linked photo is no picture";
  EXPECT_TRUE(picture.empty());
}

TEST_F(CorpusTest, WebMailStyleFoldingEscapesAndRelations) {
  auto c = contact("Lee, Ann");
  ASSERT_TRUE(c);
  EXPECT_EQ(u8(c->FirstName()), "Ann");
  EXPECT_EQ(u8(c->Body()),
            "First line\r\nSecond line with a comma, a semicolon; and a backslash\\ in a very long note that the "
            "exporter folded at seventy-five octets as the format asks.");
  EXPECT_EQ(u8(c->CompanyName()), "Acme, Inc.");
  EXPECT_EQ(u8(c->JobTitle()), "");
  EXPECT_EQ(u8(c->Spouse()), "Bo Lee");
  EXPECT_EQ(u8(c->Children()), "Cy, Di");
  EXPECT_EQ(u8(c->Categories()), "Work, Book club, Family");
  EXPECT_EQ(show(c->Birthday()), "1604-04-12 00:00");
  EXPECT_EQ(c->Anniversary(), 0);
  std::vector<std::uint8_t> picture;
  EXPECT_EQ(c->OpenProperty(PIMPR_PICTURE, 0x80000000, picture), S_OK) << "tab-folded base64";
  EXPECT_EQ(picture.size(), pimtest::readBytes(pimtest::sourceData() / "expected-jpeg.bin").size());

  auto bad = contact("Only Fullname");
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->Birthday(), 0) << "30 February is no date";
}

TEST_F(CorpusTest, DesktopStyleGroupedLabelsAndOmittedYear) {
  auto c = contact("Åsa Øster");
  ASSERT_TRUE(c);
  EXPECT_EQ(u8(c->Spouse()), "Per Øster");
  EXPECT_EQ(u8(c->Children()), "Liv");
  EXPECT_EQ(show(c->Anniversary()), "2010-06-18 00:00");
  EXPECT_EQ(show(c->Birthday()), "1604-03-08 00:00");
  std::vector<std::uint8_t> picture;
  EXPECT_EQ(c->OpenProperty(PIMPR_PICTURE, 0x80000000, picture), E_FAIL);
}

TEST_F(CorpusTest, Version4RelationsDataUriPhotoAndLeapDay) {
  auto c = contact("Carla Diaz");
  ASSERT_TRUE(c);
  EXPECT_EQ(u8(c->Spouse()), "Dan Diaz");
  EXPECT_EQ(u8(c->Children()), "Eva Diaz") << "child given as a reference to another card";
  EXPECT_EQ(show(c->Anniversary()), "2005-06-18 00:00");
  EXPECT_EQ(show(c->Birthday()), "1604-02-29 00:00") << "29 February without a year survives";
  std::vector<std::uint8_t> picture;
  ASSERT_EQ(c->OpenProperty(PIMPR_PICTURE, 0x80000000, picture), S_OK);
  std::string expected = pimtest::readBytes(pimtest::sourceData() / "expected-png.bin");
  EXPECT_EQ(std::string(picture.begin(), picture.end()), expected);
  EXPECT_EQ(c->OpenProperty(PIMPR_PICTURE, 0x40000000, picture), E_INVALIDARG) << "pictures are read-only";

  auto eva = contact("Eva Diaz");
  ASSERT_TRUE(eva);
  EXPECT_EQ(eva->Birthday(), 0) << "a birthday given as text is no date";
}

TEST_F(CorpusTest, CategoryListOfTheFolderInFirstSeenOrder) {
  std::shared_ptr<Folder> folder;
  ASSERT_EQ(app_->GetDefaultFolder(olFolderContacts, folder), S_OK);
  std::u16string list;
  ASSERT_EQ(folder->GetProps(PIMPR_FOLDER_CATEGORIES, list), S_OK);
  EXPECT_EQ(u8(list), "Friends,Family,Neighbours,Work,Book club");
  EXPECT_EQ(folder->GetProps(0x12345678, list), E_INVALIDARG);
}

TEST_F(CorpusTest, OidsAreNonzeroUniqueAndFindTheirContact) {
  std::set<LONG> seen;
  for (auto& c : allContacts(*app_)) {
    EXPECT_GT(c->Oid(), 0);
    EXPECT_TRUE(seen.insert(c->Oid()).second) << "duplicate Oid for " << u8(c->FileAs());
    std::shared_ptr<Item> found;
    ASSERT_EQ(app_->GetItemFromOid(c->Oid(), found), S_OK);
    auto again = std::dynamic_pointer_cast<Contact>(found);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->FileAs(), c->FileAs());
    EXPECT_EQ(again->Body(), c->Body());
  }
  std::shared_ptr<Item> none;
  EXPECT_TRUE(FAILED(app_->GetItemFromOid(0x1234, none)));
  EXPECT_FALSE(none);
}

TEST_F(CorpusTest, ContactsAreReadOnly) {
  auto c = contact("Lee, Ann");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Save(), E_ACCESSDENIED);
  EXPECT_EQ(c->Delete(), E_ACCESSDENIED);
  EXPECT_EQ(c->Display(), E_NOTIMPL) << "nothing can show a card until the shell says how";
  int shown = 0;
  Contact::setDisplayHandler([&](const Contact& which) {
    shown += which.FileAs() == u"Lee, Ann";
    return S_OK;
  });
  EXPECT_EQ(c->Display(), S_OK);
  EXPECT_EQ(shown, 1);
  Contact::setDisplayHandler(nullptr);
}

TEST_F(ContactFolderTest, OidsStayAcrossRunsRenamesAndEditsOfOtherCards) {
  addCard("a.vcf", "BEGIN:VCARD\nVERSION:3.0\nUID:one\nFN:One\nEND:VCARD\n");
  addCard("b.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:Two\nN:Two;;;;\nTEL:1\nEND:VCARD\n");
  std::map<std::string, LONG> before;
  {
    auto app = logon();
    for (auto& c : allContacts(*app)) before[u8(c->FileAs())] = c->Oid();
  }
  // Another card arrives, the first file is renamed, the second card gets a new number.
  std::filesystem::rename(contactsDir() / "a.vcf", contactsDir() / "z.vcf");
  addCard("b.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:Two\nN:Two;;;;\nTEL:2\nEND:VCARD\n");
  addCard("m.vcf", "BEGIN:VCARD\nVERSION:3.0\nFN:Three\nEND:VCARD\n");
  auto app = logon();
  std::map<std::string, LONG> after;
  for (auto& c : allContacts(*app)) after[u8(c->FileAs())] = c->Oid();
  EXPECT_EQ(after["One"], before["One"]);
  EXPECT_EQ(after["Two"], before["Two"]) << "a card without UID keeps its Oid when its phone number changes";
  EXPECT_NE(after["Three"], 0);
}

TEST_F(ContactFolderTest, CollidingIdentitiesGetDistinctOidsWhateverTheFileOrder) {
  const std::string first = "BEGIN:VCARD\nVERSION:3.0\nUID:same\nFN:Alpha\nEND:VCARD\n";
  const std::string second = "BEGIN:VCARD\nVERSION:3.0\nUID:same\nFN:Beta\nEND:VCARD\n";
  addCard("1.vcf", first);
  addCard("2.vcf", second);
  std::map<std::string, LONG> run1;
  {
    auto app = logon();
    for (auto& c : allContacts(*app)) run1[u8(c->FileAs())] = c->Oid();
  }
  ASSERT_NE(run1["Alpha"], run1["Beta"]);
  addCard("1.vcf", second);
  addCard("2.vcf", first);
  auto app = logon();
  std::map<std::string, LONG> run2;
  for (auto& c : allContacts(*app)) run2[u8(c->FileAs())] = c->Oid();
  EXPECT_EQ(run1, run2) << "which card keeps the contested Oid does not depend on the files' order";
}

TEST_F(ContactFolderTest, CardsAddedAfterLogonAreFoundByOid) {
  auto app = logon();
  addCard("late.vcf", "BEGIN:VCARD\nVERSION:3.0\nUID:late\nFN:Late Comer\nEND:VCARD\n");
  auto contacts = allContacts(*app);
  ASSERT_EQ(contacts.size(), 1u);
  std::shared_ptr<Item> item;
  EXPECT_EQ(app->GetItemFromOid(contacts[0]->Oid(), item), S_OK);
}

TEST_F(ContactFolderTest, MalformedAndHostileCardsNeverCrash) {
  std::string huge = "BEGIN:VCARD\nVERSION:3.0\nFN:Big\nPHOTO;ENCODING=b:";
  huge.append(11u << 20, 'A');  // decodes to more than any picture the program would keep
  huge += "\nEND:VCARD\n";
  addCard("big.vcf", huge);
  addCard(
      "utf16.vcf", std::string("\xFF\xFE", 2) + [] {
        std::string out;
        for (char c : std::string("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Wide\r\nEND:VCARD\r\n")) {
          out += c;
          out += '\0';
        }
        return out;
      }());
  addCard("nested.vcf",
          "BEGIN:VCARD\nVERSION:2.1\nN:Boss;Big\nAGENT:BEGIN:VCARD\nN:Agent;Secret\nEND:VCARD\nTITLE:Chief\n"
          "END:VCARD\n");
  const char junk[] = "\0\0BEGIN:VCARD\n:\n;\n=\n\\\nN:\nBDAY:--\nBDAY:-0-0-0\nEND:VCARD\n";
  addCard("junk.vcf", std::string(junk, sizeof junk - 1));
  addCard("notes.txt", "BEGIN:VCARD\nFN:Ignored\nEND:VCARD\n");
  auto app = logon();
  std::vector<std::string> names;
  for (auto& c : allContacts(*app)) {
    names.push_back(u8(c->FileAs()));
    std::vector<std::uint8_t> picture;
    EXPECT_TRUE(FAILED(c->OpenProperty(PIMPR_PICTURE, 0x80000000, picture)));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Big", "Boss, Big", "Wide"}));
  auto boss = allContacts(*app)[1];
  EXPECT_EQ(u8(boss->JobTitle()), "Chief") << "the embedded agent card does not end the outer one";
}

TEST_F(ContactFolderTest, PhonesEmailsAndAddressesKeepTheirLabelsAndThePreferredComesFirst) {
  addCard("a.vcf",
          "BEGIN:VCARD\nVERSION:2.1\nN:Lee;Ann\nTEL;HOME;VOICE:111\nTEL;CELL;PREF:222\nTEL;PAGER:333\n"
          "EMAIL;INTERNET:a@x.org\nADR;WORK:;;1 Road;Town;;12345;\nADR;DOM:;;;;;;\nEND:VCARD\n"
          "BEGIN:VCARD\nVERSION:4.0\nFN:Bo\nTEL;VALUE=uri;TYPE=\"voice,work\":tel:+1-555-0100\n"
          "EMAIL;PREF=1:first@x.org\nEMAIL:mailto:second@x.org\nEND:VCARD\n");
  auto app = logon();
  auto contacts = allContacts(*app);
  ASSERT_EQ(contacts.size(), 2u);
  const auto& ann = contacts[0]->FileAs() == u"Lee, Ann" ? contacts[0]->record() : contacts[1]->record();
  const auto& bo = contacts[0]->FileAs() == u"Lee, Ann" ? contacts[1]->record() : contacts[0]->record();
  ASSERT_EQ(ann.phones.size(), 3u);
  EXPECT_EQ(u8(ann.phones[0].label + u"=" + ann.phones[0].value), "Mobile=222");
  EXPECT_EQ(u8(ann.phones[1].label + u"=" + ann.phones[1].value), "Home=111");
  EXPECT_EQ(u8(ann.phones[2].label + u"=" + ann.phones[2].value), "Pager=333");
  ASSERT_EQ(ann.addresses.size(), 1u) << "an address with no parts is left out";
  EXPECT_EQ(u8(ann.addresses[0].label + u"=" + ann.addresses[0].value), "Work address=1 Road\r\nTown, 12345");
  EXPECT_EQ(ann.emails, std::vector<std::u16string>{u"a@x.org"});
  ASSERT_EQ(bo.phones.size(), 1u);
  EXPECT_EQ(u8(bo.phones[0].label + u"=" + bo.phones[0].value), "Work=+1-555-0100");
  EXPECT_EQ(bo.emails, (std::vector<std::u16string>{u"first@x.org", u"second@x.org"}));
}
