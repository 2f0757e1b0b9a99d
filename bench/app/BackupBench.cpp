// Backup and restore of the fill tool's large volume (20,000 friends, about 40 MB), next to
// copying the same file with cp and sync in the same run. The copies are what is compared: the
// store's closing and reloading around them is timed apart, as the whole Create command.
// Target: create and restore each within 1.5x cp + sync.
// Also the backup chooser opened to its first paint over a device root of 100 and of 3,000
// folders of 20 files each: the second should cost little more than the first.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/BackupRestore.h"
#include "bench/LargeVolume.h"
#include "device/AppPaths.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/shell/Shell.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "store/RecordStore.h"
#include "tests/support/TestDevice.h"
#include "views/BackupChooser.h"

using namespace pellucard;

namespace {

// The application folder with the large volume, and a device root for the backups, both made once.
const std::string& benchFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/backup-bench-XXXXXX";
    std::string dir = mkdtemp(pattern) ? pattern : "/tmp";
    std::filesystem::create_directories(dir + "/app");
    std::filesystem::create_directories(dir + "/root");
    platform::DeviceConfig::current().appDir = dir + "/app";
    platform::DeviceConfig::current().pimDir = dir + "/app/pim";
    platform::DeviceConfig::current().deviceRoot = dir + "/root";
    deleteAppPaths();
    fillBenchVolume();
    RecordStore::closeAll();
    return dir;
  }();
  return folder;
}

std::string volumePath() { return benchFolder() + "/app/Pellucard.cdb"; }

// The copy alone: the store is not open, so there is nothing to close or reload.
BackupRestore copyOnly() {
  return BackupRestore(platform::toUtf16(volumePath()), {[] {}, [] {}, &BackupRestore::mountsAsVolume});
}

void BM_CpAndSync(benchmark::State& state) {
  const std::string command =
      "cp " + volumePath() + " " + benchFolder() + "/root/copy.cdb && sync " + benchFolder() + "/root/copy.cdb";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(volumePath())));
}
BENCHMARK(BM_CpAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CreateBackup(benchmark::State& state) {
  BackupRestore backup = copyOnly();
  for (auto _ : state) {
    if (!backup.createBackup(u"\\Backups\\Pellucard.bkf")) state.SkipWithError("create failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(volumePath())));
}
BENCHMARK(BM_CreateBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RestoreBackup(benchmark::State& state) {
  BackupRestore backup = copyOnly();
  if (!backup.createBackup(u"\\Backups\\Restore.bkf")) state.SkipWithError("create failed");
  for (auto _ : state) {
    if (!backup.restoreBackup(u"\\Backups\\Restore.bkf")) state.SkipWithError("restore failed");
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(volumePath())));
}
BENCHMARK(BM_RestoreBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the Create command waits for: the store closed, the copy, the store opened and loaded.
void BM_CreateBackupClosingAndReloadingTheStore(benchmark::State& state) {
  benchFolder();
  RecordStore::openAndLoadAll(getAppPaths().databasePath());
  BackupRestore backup = BackupRestore::forApplication();
  for (auto _ : state) {
    if (!backup.createBackup(u"\\Backups\\Pellucard.bkf")) state.SkipWithError("create failed");
  }
  RecordStore::closeAll();
}
BENCHMARK(BM_CreateBackupClosingAndReloadingTheStore)->Unit(benchmark::kMillisecond)->UseRealTime();

// A device root of that many folders, each holding a subfolder and 20 files, made once per count.
std::string manyFolders(int count) {
  const std::string root = benchFolder() + "/many-" + std::to_string(count);
  if (std::filesystem::exists(root)) return root;
  for (int i = 0; i < count; ++i) {
    const std::string folder = root + "/Folder " + std::to_string(10000 + i);
    std::filesystem::create_directories(folder + "/Inner");
    for (int f = 0; f < 20; ++f) std::fclose(std::fopen((folder + "/photo" + std::to_string(f) + ".jpg").c_str(), "w"));
  }
  return root;
}

void BM_BackupChooserToFirstPaint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const std::string root = manyFolders(count);
  platform::testing::TestDevice device;
  platform::DeviceConfig::current().deviceRoot = root;
  registerStringTable();
  registerMenus();
  registerIcons();
  platform::shell::startShell();
  const HWND owner =
      CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(owner);
  device.runUntilIdle();
  // Opened on a folder half way down, as after a backup made there.
  const std::u16string initial = u"\\Folder " + platform::toUtf16(std::to_string(10000 + count / 2));
  for (auto _ : state) {
    BackupChooser chooser({u"bkf"}, true, initial);
    const HWND dialog = chooser.open(owner, u"Select Backup Folder");
    device.runUntilIdle();
    state.PauseTiming();
    if (dialog == nullptr || chooser.tree().selectedPath() != initial) state.SkipWithError("not opened on the path");
    DestroyWindow(dialog);
    device.runUntilIdle();
    state.ResumeTiming();
  }
  platform::shell::stopShell();
  platform::ResourceTable::instance().clear();
  platform::DeviceConfig::current().deviceRoot = benchFolder() + "/root";
}
BENCHMARK(BM_BackupChooserToFirstPaint)->Arg(100)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
