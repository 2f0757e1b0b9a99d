// The contact import at 10,000 contacts, one in five with a photo: the import screen from its
// creation to its first paint, Select all and Done importing every contact (friends, birthdays
// and anniversaries, stored in one batch), and the friends list filled with the 10,000 friends
// afterwards. The book, store and settings live in scratch folders.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "outlook/ContactImporter.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
#include "resources/CommandIds.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "skin/ImageCache.h"
#include "store/FriendCollection.h"
#include "store/RecordStore.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"
#include "views/ContactImport.h"
#include "views/ItemListCtrl.h"

namespace {

namespace fs = std::filesystem;
constexpr int kContacts = 10000;

// A small JPEG as phones put in a card (the bytes need not decode: they are kept as given).
const char* const kPhoto =
    "/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAP//////////////////////////////////////////////////////////////////"
    "////////////////////////wAALCAABAAEBAREA/8QAFAABAAAAAAAAAAAAAAAAAAAAA//EABQQAQAAAAAAAAAAAAAAAAAAAAD/2gAI"
    "AQEAAD8AN//Z";

void writeBook(const fs::path& contacts) {
  fs::create_directories(contacts);
  std::ofstream out(contacts / "book.vcf", std::ios::binary);
  const char* const categories[] = {"Family", "Work", "Friends", "Gym", "School"};
  for (int i = 0; i < kContacts; ++i) {
    out << "BEGIN:VCARD\nVERSION:3.0\nUID:c" << i << "\nN:Surname" << i << ";Given" << i << "\nFN:Given" << i
        << " Surname" << i << "\nCATEGORIES:" << categories[i % 5] << "\n";
    if (i % 3 == 0) out << "BDAY:19" << (50 + i % 50) << "-0" << (1 + i % 9) << "-1" << (i % 9) << "\n";
    if (i % 7 == 0) out << "NOTE:Met at the club\\nLikes tea\nX-SPOUSE:Partner" << i << "\nORG:Acme\n";
    if (i % 5 == 0) out << "PHOTO;ENCODING=b;TYPE=JPEG:" << kPhoto << "\n";
    out << "END:VCARD\n";
  }
}

class Fixture {
 public:
  explicit Fixture(platform::Edition edition) : device_(edition, 240, 320) {
    platform::DeviceConfig::current().appDir = (folder_.path() / "app").string();
    platform::DeviceConfig::current().pimDir = (folder_.path() / "pim").string();
    writeBook(folder_.path() / "pim" / "contacts");
    pellucard::registerStringTable();
    pellucard::registerMenus();
    pellucard::registerIcons();
    pellucard::connectStoreToSettings();
    pellucard::getSettings().load();
    pellucard::ImageCache::instance().setUpRoles(pellucard::getSettings().deviceProfile().layout());
    pellucard::getOutlookConnection().start();
    platform::shell::startShell();
    owner_ =
        CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(owner_);
    device_.runUntilIdle();
  }
  ~Fixture() {
    DestroyWindow(owner_);
    platform::shell::stopShell();
    pellucard::RecordStore::closeAll();
    pellucard::deleteOutlookConnection();
    pellucard::deleteSettings();
    pellucard::deleteAppPaths();
    pellucard::ImageCache::destroy();
    platform::ResourceTable::instance().clear();
  }
  // An empty database for each import.
  void freshStore() {
    pellucard::RecordStore::closeAll();
    fs::remove_all(folder_.path() / "app" / "Pellucard.cdb");
    pellucard::RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  }

  platform::testing::TempFolder folder_;
  platform::testing::ScratchRegistry registry_;
  platform::testing::TestDevice device_;
  HWND owner_ = nullptr;
};

void BM_ImportScreenToFirstPaint(benchmark::State& state) {
  Fixture fixture(platform::Edition::PocketPc);
  fixture.freshStore();
  for (auto _ : state) {
    pellucard::ContactImport screen;
    const HWND dialog = screen.open(fixture.owner_);
    fixture.device_.runUntilIdle();
    state.PauseTiming();
    if (dialog == nullptr || screen.list().count() != kContacts) state.SkipWithError("the list is not full");
    DestroyWindow(dialog);
    fixture.device_.runUntilIdle();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportScreenToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_SelectAllAndDone(benchmark::State& state) {
  Fixture fixture(platform::Edition::PocketPc);
  for (auto _ : state) {
    state.PauseTiming();
    fixture.freshStore();
    pellucard::ContactImport screen;
    const HWND dialog = screen.open(fixture.owner_);
    fixture.device_.runUntilIdle();
    state.ResumeTiming();
    SendMessageW(dialog, WM_COMMAND, pellucard::ID_IMPORT_SELECT_ALL, 0);
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    fixture.device_.runUntilIdle();
    state.PauseTiming();
    if (screen.report().imported != kContacts) state.SkipWithError("not every contact was imported");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SelectAllAndDone)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FriendsListAfterImport(benchmark::State& state) {
  Fixture fixture(platform::Edition::PocketPc);
  fixture.freshStore();
  std::vector<LONG> oids;
  std::vector<pellucard::OutlookConnection::ContactRow> rows;
  pellucard::getOutlookConnection().contactRows(rows);
  for (const auto& row : rows) oids.push_back(row.oid);
  pellucard::ContactImporter(pellucard::getOutlookConnection()).run(oids);
  pellucard::ItemListCtrl list;
  list.create(fixture.owner_, RECT{0, 16, 240, 268}, pellucard::ListKind::Friends, 1015,
              pellucard::ItemListCtrl::kStyle);
  for (auto _ : state) {
    list.fill(pellucard::getFriendCollection().snapshot(), [](const auto&) { return std::u16string_view(); });
    fixture.device_.runUntilIdle();
    if (ListView_GetItemCount(list.hwnd()) != kContacts) state.SkipWithError("the list is not full");
  }
}
BENCHMARK(BM_FriendsListAfterImport)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
