#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/pim/Application.h"
#include "platform/pim/Contact.h"
#include "platform/pim/Folder.h"
#include "platform/pim/ItemCollection.h"
#include "platform/shell/ContactCard.h"
#include "platform/shell/PictureDecoder.h"
#include "skin/ThumbnailJob.h"
#include "tests/shell/PictureFiles.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

using platform::Edition;
using platform::pim::Contact;
using platform::shell::ContactCard;
using platform::testing::ShellDevice;
using platform::testing::TempFolder;
using platform::testing::TestDevice;

namespace fs = std::filesystem;

namespace {

const char* const kFullCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "N:Wiśniewska;Łucja;;;\r\n"
    "FN:Łucja Wiśniewska\r\n"
    "ORG:Acme Books\r\n"
    "TITLE:Head of Sales\r\n"
    "TEL;TYPE=CELL:+48 600 100 200\r\n"
    "TEL;TYPE=WORK,VOICE:+48 22 555 0101\r\n"
    "TEL;TYPE=HOME:+48 22 555 0202\r\n"
    "TEL;TYPE=WORK,FAX:+48 22 555 0303\r\n"
    "EMAIL;TYPE=INTERNET:lucja@example.org\r\n"
    "EMAIL;TYPE=INTERNET,PREF:lucja.w@acme.example\r\n"
    "ADR;TYPE=WORK:;Floor 3;ul. Długa 5;Warszawa;;00-238;Poland\r\n"
    "ADR;TYPE=HOME:;;Main Street 1;Springfield;IL;62701;\r\n"
    "BDAY:1985-03-14\r\n"
    "X-ANNIVERSARY:--0620\r\n"
    "X-SPOUSE:Tomasz\r\n"
    "X-CHILDREN:Ania\r\n"
    "X-CHILDREN:Kuba\r\n"
    "CATEGORIES:Friends,Work\r\n"
    "NOTE:Likes green tea.\\nAllergic to cats.\r\n"
    "END:VCARD\r\n";

const char* const kBareCard =
    "BEGIN:VCARD\r\n"
    "VERSION:3.0\r\n"
    "FN:Bo\r\n"
    "END:VCARD\r\n";

std::string toBase64(const std::string& bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 2]);
    out += kDigits[(group >> 18) & 63];
    out += kDigits[(group >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(group >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
  }
  return out;
}

class ContactCardTest : public ::testing::TestWithParam<std::tuple<Edition, int, int>> {
 protected:
  void SetUp() override {
    savedPim_ = platform::DeviceConfig::current().pimDir;
    platform::DeviceConfig::current().pimDir = folder_.path().string();
    fs::create_directories(folder_.path() / "contacts");
    pellucard::ThumbnailJob::install();
    ContactCard::registerDisplayHandler();
  }
  void TearDown() override {
    platform::shell::PictureDecoder::install(nullptr);
    Contact::setDisplayHandler(nullptr);
    platform::DeviceConfig::current().pimDir = savedPim_;
  }

  void addCard(const std::string& name, const std::string& text) {
    std::ofstream(folder_.path() / "contacts" / name, std::ios::binary) << text;
  }

  std::shared_ptr<Contact> firstContact() {
    app_ = platform::pim::Application::create();
    EXPECT_EQ(app_->Logon(nullptr), S_OK);
    std::shared_ptr<platform::pim::Folder> folder;
    EXPECT_EQ(app_->GetDefaultFolder(olFolderContacts, folder), S_OK);
    std::shared_ptr<platform::pim::ItemCollection> items;
    EXPECT_EQ(folder->Items(items), S_OK);
    std::shared_ptr<platform::pim::Item> item;
    EXPECT_EQ(items->Item(1, item), S_OK);
    return std::dynamic_pointer_cast<Contact>(item);
  }

  // Displays the contact; the dump is taken while the card is up, then `close` closes it.
  std::string display(const std::shared_ptr<Contact>& contact, UINT close, HRESULT* result = nullptr) {
    std::string dump;
    device_.addStep([&] {
      dump = device_.dump();
      if (const char* dir = std::getenv("PELLUCARD_SCREENSHOTS")) {
        const auto [edition, width, height] = GetParam();
        device_.screenshot(std::string(dir) + "/card-" + std::to_string(width) + "x" + std::to_string(height) +
                           (edition == Edition::PocketPc ? "-ppc" : "-sp") + ".png");
      }
      TestDevice::postKey(close);
    });
    const HRESULT hr = contact->Display();
    if (result != nullptr) *result = hr;
    return dump;
  }

  static bool contains(const std::string& dump, const char* text) { return dump.find(text) != std::string::npos; }

  ShellDevice device_{std::get<0>(GetParam()), std::get<1>(GetParam()), std::get<2>(GetParam())};
  TempFolder folder_;
  std::string savedPim_;
  std::shared_ptr<platform::pim::Application> app_;
};

}  // namespace

TEST_P(ContactCardTest, EveryFieldOfAFullContactIsOnTheCard) {
  addCard("full.vcf", kFullCard);
  auto contact = firstContact();
  ASSERT_TRUE(contact);
  HRESULT shown = E_FAIL;
  const std::string dump = display(contact, VK_F1, &shown);
  EXPECT_EQ(shown, S_OK);
  for (const char* text : {"Contacts",      "Łucja Wiśniewska",
                           "Head of Sales", "Acme Books",
                           "Mobile",        "+48 600 100 200",
                           "Work",          "+48 22 555 0101",
                           "Home",          "+48 22 555 0202",
                           "Work fax",      "+48 22 555 0303",
                           "E-mail",        "lucja.w@acme.example",
                           "E-mail 2",      "lucja@example.org",
                           "Work address",  "Floor 3\\r\\nul. Długa 5\\r\\nWarszawa, 00-238\\r\\nPoland",
                           "Home address",  "Springfield, IL 62701",
                           "Birthday",      "1985",
                           "Anniversary",   "June 20",
                           "Spouse",        "Tomasz",
                           "Children",      "Ania, Kuba",
                           "Categories",    "Friends, Work",
                           "Notes",         "Likes green tea.\\r\\nAllergic to cats.",
                           "Done"}) {
    EXPECT_TRUE(contains(dump, text)) << text << "\n" << dump;
  }
  // The device's order: header, phones, e-mail, addresses, dates, family, categories, notes.
  std::size_t at = 0;
  for (const char* text : {"Head of Sales", "Acme Books", "+48 600 100 200", "lucja.w@acme.example", "Work address",
                           "Birthday", "Anniversary", "Spouse", "Children", "Categories", "Notes"}) {
    const std::size_t next = dump.find(text, at);
    EXPECT_NE(next, std::string::npos) << text << " out of order";
    if (next != std::string::npos) at = next;
  }
  EXPECT_EQ(FindWindowW(ContactCard::kClass, nullptr), nullptr) << "Done closed the card";
}

TEST_P(ContactCardTest, AContactWithAlmostNothingShowsItsNameAndBackCloses) {
  addCard("bare.vcf", kBareCard);
  auto contact = firstContact();
  ASSERT_TRUE(contact);
  HRESULT shown = E_FAIL;
  const std::string dump = display(contact, VK_ESCAPE, &shown);
  EXPECT_EQ(shown, S_OK);
  EXPECT_TRUE(contains(dump, "\"Bo\"")) << dump;
  for (const char* text : {"Mobile", "E-mail", "Birthday", "Notes", "Spouse"}) {
    EXPECT_FALSE(contains(dump, text)) << text << "\n" << dump;
  }
  EXPECT_EQ(FindWindowW(ContactCard::kClass, nullptr), nullptr) << "Back closed the card";
}

TEST_P(ContactCardTest, TheContactsPictureIsShown) {
  TempFolder pictures;
  ASSERT_TRUE(platform::testing::writeJpeg(pictures.file("face.jpg"), 64, 64, 0xE00000));
  const std::string base64 = toBase64(platform::testing::readBytes(pictures.file("face.jpg")));
  addCard("pic.vcf", std::string("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Pia\r\nPHOTO;ENCODING=b;TYPE=JPEG:") + base64 +
                         "\r\nEND:VCARD\r\n");
  auto contact = firstContact();
  ASSERT_TRUE(contact);
  COLORREF seen = 0;
  device_.addStep([&] {
    HWND card = FindWindowW(ContactCard::kClass, nullptr);
    RECT r{};
    GetWindowRect(card, &r);
    // The middle of the picture's place at the top left.
    const int scale = std::get<1>(GetParam()) >= 480 ? 2 : 1;
    seen = device_.pixel(r.left + (4 + 24) * scale, r.top + (4 + 24) * scale);
    TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(contact->Display(), S_OK);
  EXPECT_GT(GetRValue(seen), 180);
  EXPECT_LT(GetGValue(seen), 60);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ContactCardTest,
    ::testing::Values(std::make_tuple(Edition::PocketPc, 240, 320), std::make_tuple(Edition::PocketPc, 320, 240),
                      std::make_tuple(Edition::PocketPc, 240, 240), std::make_tuple(Edition::PocketPc, 480, 640),
                      std::make_tuple(Edition::Smartphone, 176, 220), std::make_tuple(Edition::Smartphone, 240, 320)));
