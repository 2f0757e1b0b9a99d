// Export to Calendar and Export to Tasks at the fill tool's large size (20,000 friends: 50,000
// anniversaries and 50,000 loans), and one automatic export after editing an anniversary with all
// of them in the calendar. Targets: each command under 10 s, the automatic export under 250 ms.
// PELLUCARD_BENCH_FRIENDS sets another size (800 friends give 2,000 of each).
//
// Every repetition of a command replaces what the one before exported, as pressing it again
// does; the first repetition exports into empty files.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/LargeVolume.h"
#include "device/AppPaths.h"
#include "outlook/ExportCommands.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/DeviceConfig.h"
#include "platform/sys/Registry.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "store/AnniversaryCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"

using namespace pellucard;

namespace {

int friends() {
  const char* value = std::getenv("PELLUCARD_BENCH_FRIENDS");
  return value ? std::atoi(value) : 20000;
}

// The filled application folder with its PIM folder, made once per run.
const std::string& folder() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/export-bench-XXXXXX";
    std::string d = mkdtemp(pattern) ? pattern : "/tmp";
    platform::DeviceConfig::current().appDir = d;
    platform::DeviceConfig::current().pimDir = d + "/pim";
    std::filesystem::create_directories(d + "/registry");
    platform::sys::Registry::instance().setFolder(d + "/registry");
    deleteAppPaths();
    deleteSettings();
    registerStringTable();
    connectStoreToSettings();
    fillBenchVolume(friends());
    getOutlookConnection().start();
    RecordStore::openAndLoadAll(getAppPaths().databasePath());
    getSettings().setAnniversariesAutoExport(false);
    getSettings().setLoansAutoExport(false);
    return d;
  }();
  return dir;
}

void BM_ExportToCalendar(benchmark::State& state) {
  folder();
  for (auto _ : state) {
    if (ExportCommands::exportAnniversaries() != ExportCommands::Outcome::AllExported)
      state.SkipWithError("the export failed");
  }
  state.counters["items"] = static_cast<double>(getAnniversaryCollection().size());
}
BENCHMARK(BM_ExportToCalendar)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExportToTasks(benchmark::State& state) {
  folder();
  for (auto _ : state) {
    if (ExportCommands::exportLoans() != ExportCommands::Outcome::AllExported) state.SkipWithError("the export failed");
  }
  state.counters["items"] = static_cast<double>(getLoanCollection().size());
}
BENCHMARK(BM_ExportToTasks)->Unit(benchmark::kMillisecond)->Iterations(1);

// Saving an edited anniversary: its record written, then exported on its own with every other
// anniversary already in the calendar.
void BM_AutomaticExportAfterAnEdit(benchmark::State& state) {
  folder();
  AnniversaryCollection& anniversaries = getAnniversaryCollection();
  if (anniversaries.empty()) {
    state.SkipWithError("no anniversaries");
    return;
  }
  bool exported = true;
  for (Anniversary* a : anniversaries.snapshot()) exported = exported && a->outlookItemId() != 0;
  if (!exported) ExportCommands::exportAnniversaries();
  Anniversary* edited = anniversaries.snapshot()[anniversaries.size() / 2];
  getSettings().setAnniversariesAutoExport(true);
  int round = 0;
  for (auto _ : state) {
    const std::u16string notes = (++round % 2) ? u"Bring flowers" : u"Call in the morning";
    edited->assign(std::u16string(edited->name()), edited->friendId(), edited->date(), notes);
    anniversaries.update(*edited);
  }
  getSettings().setAnniversariesAutoExport(false);
  state.counters["events"] = static_cast<double>(anniversaries.size());
}
BENCHMARK(BM_AutomaticExportAfterAnEdit)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RecordStore::closeAll();
  deleteOutlookConnection();
  deleteSettings();
  deleteAppPaths();
  platform::sys::Registry::instance().setFolder("");
  std::error_code ec;
  if (!platform::DeviceConfig::current().appDir.empty() &&
      platform::DeviceConfig::current().appDir.rfind("/tmp/export-bench-", 0) == 0)
    std::filesystem::remove_all(platform::DeviceConfig::current().appDir, ec);
  return 0;
}
