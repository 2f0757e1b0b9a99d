// The details of reading cards that the corpus does not already show.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/base/Utf.h"
#include "platform/pim/VCardReader.h"

using platform::pim::ContactRecord;
using platform::pim::VCardReader;

namespace {
std::vector<ContactRecord> read(const std::string& text) { return VCardReader::read(text, "t.vcf"); }
std::string u8(const std::u16string& s) { return platform::toUtf8(s); }
}  // namespace

TEST(VCardReader, UndeclaredBytesAreUtf8WhenValidElseWindows1252) {
  auto cards = read("BEGIN:VCARD\nVERSION:2.1\nN:Gr\xFC\xDF;J\x80rg\nFN:Z\xC3\xBC\x72ich\nEND:VCARD\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(u8(cards[0].lastName), "Grüß");
  EXPECT_EQ(u8(cards[0].firstName), "J€rg");
  EXPECT_EQ(u8(cards[0].fullName), "Zürich");
}

TEST(VCardReader, DeclaredCharsetsGoThroughTheConverter) {
  auto cards = read("BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=KOI8-R:\xF0\xC5\xD4\xD2\nEND:VCARD\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(u8(cards[0].fullName), "Петр");
}

TEST(VCardReader, QuotedParametersMayHoldColonsAndSemicolons) {
  auto cards = read("BEGIN:VCARD\nVERSION:4.0\nFN;ALTID=\"a:b;c\":Quoted Param\nNOTE:after: colon\nEND:VCARD\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(u8(cards[0].fullName), "Quoted Param");
  EXPECT_EQ(u8(cards[0].body), "after: colon");
}

TEST(VCardReader, BareBase64LinesOfOldPhonesContinueThePhoto) {
  auto cards = read(
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Pic;Old\r\nPHOTO;JPEG;BASE64:\r\nQUJD\r\nREVG\r\n\r\nTEL:1\r\nEND:VCARD\r\n");
  ASSERT_EQ(cards.size(), 1u);
  EXPECT_EQ(std::string(cards[0].picture.begin(), cards[0].picture.end()), "ABCDEF");
}

TEST(VCardReader, DateFormsAndTheirLimits) {
  struct Case {
    const char* line;
    int year, month, day;  // month 0: no date
  };
  const Case cases[] = {
      {"BDAY:1985-04-12", 1985, 4, 12},
      {"BDAY:19850412", 1985, 4, 12},
      {"BDAY:1985-04-12T00:00:00Z", 1985, 4, 12},
      {"BDAY:--0412", 0, 4, 12},
      {"BDAY:--04-12", 0, 4, 12},
      {"BDAY:0000-04-12", 0, 4, 12},
      {"BDAY:1900-02-29", 0, 0, 0},
      {"BDAY:2000-02-29", 2000, 2, 29},
      {"BDAY:---12", 0, 0, 0},
      {"BDAY:1985-04", 0, 0, 0},
      {"BDAY:1985-13-01", 0, 0, 0},
      {"BDAY:", 0, 0, 0},
      {"BDAY;X-OMIT-YEAR=1985:1985-04-12", 0, 4, 12},
      {"BDAY;X-OMIT-YEAR=99999999999999999999:1985-04-12", 1985, 4, 12},
  };
  for (const Case& c : cases) {
    auto cards = read(std::string("BEGIN:VCARD\nVERSION:3.0\nFN:X\n") + c.line + "\nEND:VCARD\n");
    ASSERT_EQ(cards.size(), 1u) << c.line;
    if (c.month == 0) {
      EXPECT_FALSE(cards[0].birthday) << c.line;
    } else {
      ASSERT_TRUE(cards[0].birthday) << c.line;
      EXPECT_EQ(cards[0].birthday->year, c.year) << c.line;
      EXPECT_EQ(cards[0].birthday->month, c.month) << c.line;
      EXPECT_EQ(cards[0].birthday->day, c.day) << c.line;
    }
  }
}

TEST(VCardReader, FileAsFallsBackToFullNameThenNameThenCompany) {
  auto cards = read(
      "BEGIN:VCARD\nVERSION:3.0\nN:Lee;Ann\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nORG:Acme;Labs\nEND:VCARD\n"
      "BEGIN:VCARD\nVERSION:3.0\nFN:Shown\nX-OTHER-FILE-AS:Filed\nEND:VCARD\n");
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_EQ(u8(cards[0].fileAs), "Lee, Ann");
  EXPECT_EQ(u8(cards[1].fileAs), "Acme");
  EXPECT_EQ(u8(cards[2].fileAs), "Filed");
}

// Every prefix of every corpus file, and the files with bytes changed here and there, read
// without a crash or a sanitizer report; what is read keeps its invariants.
TEST(VCardReader, CutAndDamagedCorpusFilesReadSafely) {
  const char* src = std::getenv("PELLUCARD_SOURCE_DIR");
  std::filesystem::path data = std::filesystem::path(src ? src : ".") / "tests/pim/data";
  std::mt19937 random(7);
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(data)) {
    if (entry.path().extension() != ".vcf") continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
      for (const ContactRecord& card : read(bytes.substr(0, cut))) {
        EXPECT_FALSE(card.fileAs.empty());
        EXPECT_LE(card.picture.size(), VCardReader::kMaxPictureBytes);
      }
    }
    for (int round = 0; round < 200; ++round) {
      std::string damaged = bytes;
      for (int k = 0; k < 8; ++k) damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
      for (const ContactRecord& card : read(damaged)) {
        if (card.birthday) {
          EXPECT_GE(card.birthday->month, 1);
          EXPECT_LE(card.birthday->month, 12);
        }
      }
    }
  }
  EXPECT_GE(files, 5);
}
