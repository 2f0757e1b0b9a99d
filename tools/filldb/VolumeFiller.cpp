#include "tools/filldb/VolumeFiller.h"

#include <jpeglib.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "device/AppPaths.h"
#include "platform/base/WinError.h"
#include "platform/cedb/BulkWrite.h"
#include "store/AnniversariesTable.h"
#include "store/FriendsTable.h"
#include "store/GiftsTable.h"
#include "store/LoansTable.h"
#include "store/LocalDate.h"
#include "store/RecordStore.h"

namespace pellucard::tools {

namespace {

const std::u16string kFirstNames[] = {
    u"Anna",   u"Łukasz", u"Małgorzata", u"Wojciech",  u"Zofia",      u"Jakub",   u"Agnieszka", u"Paweł",
    u"Żaneta", u"Michał", u"Grzegorz",   u"Ewa",       u"Tomasz",     u"Joanna",  u"Ágnes",     u"José",
    u"Zoë",    u"Émile",  u"Søren",      u"François",  u"Jürgen",     u"Chloé",   u"Ólafur",    u"Renée",
    u"Björn",  u"Inès",   u"Łucja",      u"Krzysztof", u"Bartłomiej", u"Jolanta", u"Emma",      u"Liam",
    u"Olivia", u"Noah",   u"Ann",        u"Ścibor",    u"Ćwirek",     u"Ignacy",  u"Dorota",    u"Zdzisław",
};
const std::u16string kLastNames[] = {
    u"Kowalski",  u"Nowak",      u"Wiśniewska", u"Wójcik",    u"Kowalczyk", u"Kamiński", u"Lewandowska", u"Zieliński",
    u"Szymańska", u"Woźniak",    u"Dąbrowski",  u"Kozłowska", u"Jankowski", u"Mazur",    u"Krawczyk",    u"Grabowska",
    u"Pawłowska", u"Król",       u"Jabłoński",  u"Müller",    u"García",    u"Núñez",    u"Lefèvre",     u"Østergaard",
    u"Smith",     u"O'Brien",    u"Dvořák",     u"Öztürk",    u"Brontë",    u"Lee",      u"Adams",       u"Żak",
    u"Łęcki",     u"Ślusarczyk", u"Ćwik",       u"Nguyen",
};
const std::u16string kNotes[] = {
    u"",
    u"",
    u"",
    u"Met at university",
    u"Neighbour from the third floor",
    u"Likes jazz and long walks",
    u"Allergic to nuts\r\nPrefers tea",
    u"Colleague from the Kraków office",
    u"Szkoła podstawowa nr 3",
};
const std::u16string kGifts[] = {
    u"Book",
    u"Scarf",
    u"Concert tickets",
    u"Board game",
    u"Perfume",
    u"Headphones",
    u"Red wine",
    u"Chocolates",
    u"Orchid",
    u"Mug",
    u"Puzzle",
    u"Vinyl record",
    u"Cookbook",
    u"Wool socks",
    u"Książka kucharska",
    u"Pierniki toruńskie",
    u"Bursztynowe kolczyki",
    u"Théière",
};
const std::u16string kLoanItems[] = {
    u"Drill",         u"Ladder",  u"Tent",     u"Lalka (book)", u"Bicycle", u"Projector",    u"100 zł",
    u"Camping stove", u"DVD box", u"Umbrella", u"Wiertarka",    u"Żelazko", u"Sleeping bag", u"Łyżwy",
};
const std::u16string kAnniversaries[] = {u"Birthday",    u"Birthday", u"Birthday", u"Name day", u"Wedding anniversary",
                                         u"Anniversary", u"Imieniny"};

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  // Plain modulo on the engine's output: the same on every standard library.
  std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(engine_() % n); }
  bool percent(std::uint32_t p) { return below(100) < p; }
  template <class T, std::size_t N>
  const T& pick(const T (&items)[N]) {
    return items[below(N)];
  }

 private:
  std::mt19937 engine_;
};

// A small gradient portrait, encoded as JPEG like the pictures the program stores.
std::vector<std::uint8_t> makePicture(int variant) {
  constexpr int kSize = 48;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  jpeg_mem_dest(&cinfo, &out, &outSize);
  cinfo.image_width = kSize;
  cinfo.image_height = kSize;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 80, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::array<unsigned char, kSize * 3> row{};
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < kSize; ++x) {
      const int dx = x - kSize / 2, dy = y - kSize / 3;
      const bool face = dx * dx + dy * dy < 150;
      row[x * 3 + 0] = static_cast<unsigned char>(face ? 230 : (variant * 53 + x * 3) % 256);
      row[x * 3 + 1] = static_cast<unsigned char>(face ? 190 : (variant * 97 + y * 4) % 256);
      row[x * 3 + 2] = static_cast<unsigned char>(face ? 160 : (variant * 31 + (x + y) * 2) % 256);
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&cinfo, &pointer, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> bytes(out, out + outSize);
  jpeg_destroy_compress(&cinfo);
  std::free(out);
  return bytes;
}

SYSTEMTIME addDays(const SYSTEMTIME& day, int days, int hour) {
  SYSTEMTIME noon = day;
  noon.wHour = static_cast<WORD>(hour);
  noon.wMinute = noon.wSecond = noon.wMilliseconds = 0;
  const std::int64_t value = static_cast<std::int64_t>(fileTimeOf(noon).value_or(0)) + days * 864000000000LL;
  return fromFileTime(FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)});
}

std::string lastErrorText(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

bool VolumeFiller::fill(const Options& options, Counts& counts, std::string& error) {
  counts = Counts{};
  if (options.friends < 0 || !fileTimeOf(options.today)) {
    error = "bad options";
    return false;
  }
  const std::u16string& volume = getAppPaths().databasePath();
  if (!getFriendsTable().open(volume) || !getGiftsTable().open(volume) || !getLoansTable().open(volume) ||
      !getAnniversariesTable().open(volume)) {
    error = lastErrorText("cannot open the volume");
    RecordStore::closeAll();
    return false;
  }
  Random random(options.seed);
  std::vector<std::vector<std::uint8_t>> pictures;
  for (int i = 0; i < 6; ++i) pictures.push_back(makePicture(i));

  bool ok = true;
  {
    platform::cedb::BulkWrite bulk(getAppPaths().databasePath());
    std::vector<LONG> friendIds;
    friendIds.reserve(options.friends);
    for (int i = 0; i < options.friends && ok; ++i) {
      std::u16string first = random.pick(kFirstNames);
      std::u16string last = random.pick(kLastNames);
      if (random.percent(4)) last.clear();
      if (random.percent(2)) first.clear();
      const bool ownPicture = random.percent(10);
      Friend f(first, last, random.pick(kNotes), ownPicture ? Friend::kOwnPicture : static_cast<LONG>(random.below(8)));
      if (ownPicture) {
        f.picture().loadFromBytes(pictures[random.below(static_cast<std::uint32_t>(pictures.size()))]);
        ++counts.pictures;
      }
      if (random.percent(10)) f.setContactId(static_cast<LONG>(1000 + i));
      ok = getFriendsTable().add(f);
      friendIds.push_back(static_cast<LONG>(f.recordId()));
      ++counts.friends;
    }
    auto someFriend = [&]() -> LONG {
      if (friendIds.empty() || random.percent(3)) return 0;
      return friendIds[random.below(static_cast<std::uint32_t>(friendIds.size()))];
    };

    for (int i = 0; i < giftsFor(options.friends) && ok; ++i) {
      const LONG direction = static_cast<LONG>(random.below(3));
      // Ideas may lie ahead; gifts given or received lie in the last five years.
      const int days = direction == kGiftIdea && random.percent(30) ? static_cast<int>(random.below(365))
                                                                    : -static_cast<int>(random.below(5 * 365));
      Gift g(random.pick(kGifts), direction, someFriend(), addDays(options.today, days, 10 + random.below(10)),
             random.pick(kNotes));
      ok = getGiftsTable().add(g);
      ++counts.gifts;
    }

    for (int i = 0; i < loansFor(options.friends) && ok; ++i) {
      const int lentDaysAgo = static_cast<int>(random.below(720));
      const SYSTEMTIME loanDate = addDays(options.today, -lentDaysAgo, 12);
      SYSTEMTIME returnDate{};
      const std::uint32_t kind = random.below(100);
      if (kind >= 30) {
        // Due between the loan date and today (overdue), or in the coming three months.
        const int due = kind < 65 ? -static_cast<int>(random.below(static_cast<std::uint32_t>(lentDaysAgo) + 1))
                                  : 1 + static_cast<int>(random.below(90));
        returnDate = addDays(options.today, due, 12);
        if (due < 0) ++counts.overdueLoans;
      }
      Loan l(random.pick(kLoanItems), static_cast<LONG>(random.below(2)), someFriend(), loanDate, returnDate,
             random.pick(kNotes), 0);
      ok = getLoansTable().add(l);
      ++counts.loans;
    }

    for (int i = 0; i < anniversariesFor(options.friends) && ok; ++i) {
      SYSTEMTIME date{};
      if (random.percent(1)) {
        date = SYSTEMTIME{static_cast<WORD>(1948 + 4 * random.below(17)), 2, 0, 29, 12, 0, 0, 0};
      } else if (random.percent(3)) {
        date = addDays(options.today, 1 + static_cast<int>(random.below(500)), 12);  // planned, still ahead
      } else {
        date = SYSTEMTIME{static_cast<WORD>(1945 + random.below(75)),
                          static_cast<WORD>(1 + random.below(12)),
                          0,
                          static_cast<WORD>(1 + random.below(28)),
                          12,
                          0,
                          0,
                          0};
      }
      Anniversary a(random.pick(kAnniversaries), someFriend(), date, random.pick(kNotes), 0);
      ok = getAnniversariesTable().add(a);
      ++counts.anniversaries;
    }
    if (!ok) error = lastErrorText("a write failed");
    if (!bulk.commit() && ok) {
      ok = false;
      error = lastErrorText("the records could not be kept");
    }
  }
  RecordStore::closeAll();
  return ok;
}

}  // namespace pellucard::tools
