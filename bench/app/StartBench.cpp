// Start-up at 20,000 friends, 100,000 gifts, 50,000 loans and 50,000 anniversaries, headless:
// from the first application-wide object to the main screen painted with its four lists
// filled, next to the store's own open and load all in the same run.
// Target: the start within 1.5x the store's open and load all.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/Startup.h"
#include "bench/LargeVolume.h"
#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/DeviceConfig.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "store/GiftCollection.h"
#include "store/RecordStore.h"
#include "tests/support/TestDevice.h"
#include "views/FontCache.h"

using namespace pellucard;

namespace {

const std::string& volumeFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/app-bench-XXXXXX";
    std::string dir = mkdtemp(pattern) ? pattern : "/tmp";
    platform::DeviceConfig::current().appDir = dir;
    platform::DeviceConfig::current().pimDir = dir + "/pim";
    deleteAppPaths();
    fillBenchVolume();
    RecordStore::closeAll();
    return dir;
  }();
  return folder;
}

void BM_StoreOpenAndLoadAll(benchmark::State& state) {
  volumeFolder();
  for (auto _ : state) {
    state.PauseTiming();
    RecordStore::closeAll();
    malloc_trim(0);
    state.ResumeTiming();
    RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  }
  RecordStore::closeAll();
}
BENCHMARK(BM_StoreOpenAndLoadAll)->Unit(benchmark::kMillisecond);

// What the entry point does between the single-instance check and the message loop, then
// the queue run until the main screen has painted.
void BM_StartToFirstPaintedMainScreen(benchmark::State& state) {
  volumeFolder();
  platform::testing::TestDevice device;
  registerStringTable();
  registerMenus();
  std::size_t gifts = 0;
  // Where the time goes, in milliseconds per start: objects before the store, the store,
  // the frame with its filled lists, the first paint.
  double before = 0, store = 0, frameMs = 0, paint = 0;
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
  };
  for (auto _ : state) {
    state.PauseTiming();
    malloc_trim(0);
    state.ResumeTiming();
    const auto t0 = Clock::now();
    Settings& settings = getSettings();
    settings.load();
    ImageCache::instance().setUpRoles(settings.deviceProfile().layout(), u"");
    getOutlookConnection().start();
    FontCache::instance();
    const auto t1 = Clock::now();
    RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
    const auto t2 = Clock::now();
    auto frame = std::make_unique<MainFrame>();
    frame->create();
    ShowWindow(frame->hwnd(), SW_SHOW);
    SetForegroundWindow(frame->hwnd());
    const auto t3 = Clock::now();
    device.runUntilIdle();
    const auto t4 = Clock::now();
    state.PauseTiming();
    before += ms(t0, t1);
    store += ms(t1, t2);
    frameMs += ms(t2, t3);
    paint += ms(t3, t4);
    gifts = getGiftCollection().size();
    frame.reset();
    device.runUntilIdle();
    Startup::shutdown();
    platform::DeviceConfig::current().appDir = volumeFolder();
    state.ResumeTiming();
  }
  state.counters["gifts"] = static_cast<double>(gifts);
  const double n = static_cast<double>(state.iterations());
  state.counters["objects_ms"] = before / n;
  state.counters["store_ms"] = store / n;
  state.counters["frame_ms"] = frameMs / n;
  state.counters["paint_ms"] = paint / n;
}
BENCHMARK(BM_StartToFirstPaintedMainScreen)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
