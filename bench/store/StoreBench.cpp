// The store at 20,000 friends, 100,000 gifts, 50,000 loans and 50,000 anniversaries.
// Targets: open and load all within 2x a bare SQLite scan of the same rows; every sort mode of
// 100,000 gifts under 100 ms and at 20,000 items 100x faster than the plain exchange sort;
// under 600 bytes per record in memory on top of the texts and pictures.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/LargeVolume.h"
#include "device/AppPaths.h"
#include "platform/base/DeviceConfig.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "store/SortKey.h"
#include "tests/store/ReferenceExchangeSort.h"

using namespace pellucard;

namespace {

// The filled volume, made once per run in a temporary folder.
const std::string& volumeFolder() {
  static const std::string folder = [] {
    char pattern[] = "/tmp/store-bench-XXXXXX";
    std::string dir = mkdtemp(pattern) ? pattern : "/tmp";
    platform::DeviceConfig::current().appDir = dir;
    deleteAppPaths();
    fillBenchVolume();
    return dir;
  }();
  return folder;
}

void ensureLoaded() {
  volumeFolder();
  if (getGiftCollection().size() == 0) RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
}

std::size_t recordCount() {
  return getFriendCollection().size() + getGiftCollection().size() + getLoanCollection().size() +
         getAnniversaryCollection().size();
}

// Both sides of the comparison start as a freshly started program does: with no freed memory to
// reuse, so every page they fill is new to them. (Without this the bare scan reuses its earlier
// buffers while the load, which frees far more, would not.) PELLUCARD_BENCH_WARM=1 skips it for
// both, for the figures of a warm process.
void startFromReturnedMemory() {
  if (std::getenv("PELLUCARD_BENCH_WARM") == nullptr) malloc_trim(0);
}

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

void BM_OpenAndLoadAll(benchmark::State& state) {
  volumeFolder();
  long faults = 0;
  for (auto _ : state) {
    state.PauseTiming();
    RecordStore::closeAll();
    startFromReturnedMemory();
    const long before = minorFaults();
    state.ResumeTiming();
    RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
    faults += minorFaults() - before;
  }
  state.counters["records"] = static_cast<double>(recordCount());
  state.counters["page_faults"] = benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OpenAndLoadAll)->Unit(benchmark::kMillisecond);

// The floor: the same volume's record rows read with the SQLite library alone.
void BM_SqliteScanOfTheSameRows(benchmark::State& state) {
  const std::string path = volumeFolder() + "/Pellucard.cdb";
  RecordStore::closeAll();
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    startFromReturnedMemory();
    state.ResumeTiming();
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT db, oid, props FROM records", -1, &s, nullptr);
    std::size_t bytes = 0;
    rows = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(s, 2));
      const int size = sqlite3_column_bytes(s, 2);
      bytes += static_cast<std::size_t>(size) + sqlite3_column_int64(s, 0) + sqlite3_column_int64(s, 1);
      if (size > 0) bytes += blob[size - 1];
      ++rows;
    }
    benchmark::DoNotOptimize(bytes);
    sqlite3_finalize(s);
    sqlite3_close(db);
  }
  state.counters["records"] = static_cast<double>(rows);
}
BENCHMARK(BM_SqliteScanOfTheSameRows)->Unit(benchmark::kMillisecond);

void BM_SortGifts(benchmark::State& state) {
  ensureLoaded();
  const GiftCollection::List all = getGiftCollection().snapshot();
  for (auto _ : state) {
    GiftCollection::List list = all;
    getGiftCollection().sort(list, static_cast<int>(state.range(0)), true);
    benchmark::DoNotOptimize(list.data());
  }
  state.SetLabel(std::to_string(all.size()) + " gifts");
}
BENCHMARK(BM_SortGifts)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void BM_SortLoans(benchmark::State& state) {
  ensureLoaded();
  const LoanCollection::List all = getLoanCollection().snapshot();
  for (auto _ : state) {
    LoanCollection::List list = all;
    getLoanCollection().sort(list, static_cast<int>(state.range(0)), false);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SortLoans)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_SortAnniversaries(benchmark::State& state) {
  ensureLoaded();
  const AnniversaryCollection::List all = getAnniversaryCollection().snapshot();
  for (auto _ : state) {
    AnniversaryCollection::List list = all;
    getAnniversaryCollection().sort(list, static_cast<int>(state.range(0)), true);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SortAnniversaries)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_SortFriends(benchmark::State& state) {
  ensureLoaded();
  const FriendCollection::List all = getFriendCollection().snapshot();
  for (auto _ : state) {
    FriendCollection::List list = all;
    getFriendCollection().sort(list);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SortFriends)->Unit(benchmark::kMillisecond);

// 20,000 gifts by name: the fast sort (keys included) against the plain exchange sort, which is
// even given its keys ready-made.
GiftCollection::List firstGifts(std::size_t n) {
  GiftCollection::List list = getGiftCollection().snapshot();
  list.resize(std::min(n, list.size()));
  return list;
}

void BM_SortGiftsByName20k(benchmark::State& state) {
  ensureLoaded();
  const GiftCollection::List gifts = firstGifts(20000);
  for (auto _ : state) {
    GiftCollection::List list = gifts;
    getGiftCollection().sort(list, GiftCollection::kSortByName, true);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_SortGiftsByName20k)->Unit(benchmark::kMillisecond);

void BM_ReferenceExchangeSortByName20k(benchmark::State& state) {
  ensureLoaded();
  const GiftCollection::List gifts = firstGifts(20000);
  std::vector<std::u16string> keys;
  for (const Gift* g : gifts) keys.push_back(SortKey(g->name()));
  for (auto _ : state) {
    std::vector<std::size_t> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    testing::referenceExchangeSort(
        order, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; }, true);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_ReferenceExchangeSortByName20k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FilterGiftsFrom(benchmark::State& state) {
  ensureLoaded();
  for (auto _ : state) {
    GiftCollection::List list = getGiftCollection().snapshot();
    getGiftCollection().filter(list, 1);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FilterGiftsFrom)->Unit(benchmark::kMillisecond);

void BM_FilterLoansOverdue(benchmark::State& state) {
  ensureLoaded();
  for (auto _ : state) {
    LoanCollection::List list = getLoanCollection().snapshot();
    getLoanCollection().filter(list, 4);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FilterLoansOverdue)->Unit(benchmark::kMillisecond);

void BM_FilterAnniversariesNearest(benchmark::State& state) {
  ensureLoaded();
  for (auto _ : state) {
    AnniversaryCollection::List list = getAnniversaryCollection().snapshot();
    getAnniversaryCollection().filter(list, AnniversaryCollection::kFilterNearest);
    benchmark::DoNotOptimize(list.data());
  }
}
BENCHMARK(BM_FilterAnniversariesNearest)->Unit(benchmark::kMillisecond);

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

// Heap bytes of a text that does not fit the string itself.
std::size_t textBytes(const std::u16string& s) { return s.capacity() > 7 ? (s.capacity() + 1) * sizeof(char16_t) : 0; }
// An item's text with its terminator, wherever it is kept.
std::size_t textBytes(std::u16string_view s) { return s.empty() ? 0 : (s.size() + 1) * sizeof(char16_t); }

std::size_t payloadBytes() {
  std::size_t bytes = 0;
  for (const Friend* f : getFriendCollection().snapshot())
    bytes += textBytes(f->firstName()) + textBytes(f->lastName()) + textBytes(f->notes()) + textBytes(f->sortName()) +
             f->picture().bytes().capacity();
  for (const Gift* g : getGiftCollection().snapshot()) bytes += textBytes(g->name()) + textBytes(g->notes());
  for (const Loan* l : getLoanCollection().snapshot()) bytes += textBytes(l->item()) + textBytes(l->notes());
  for (const Anniversary* a : getAnniversaryCollection().snapshot())
    bytes += textBytes(a->name()) + textBytes(a->notes());
  return bytes;
}

void BM_MemoryAfterLoading(benchmark::State& state) {
  volumeFolder();
  double heapPerRecord = 0, residentPerRecord = 0;
  for (auto _ : state) {
    RecordStore::closeAll();
    malloc_trim(0);
    // Large blocks are mapped rather than taken from the heap; both count.
    const auto heapBytes = [] {
      const struct mallinfo2 info = mallinfo2();
      return info.uordblks + info.hblkhd;
    };
    const std::size_t heapBefore = heapBytes();
    const std::size_t residentBefore = residentBytes();
    RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
    const std::size_t heap = heapBytes() - heapBefore;
    const std::size_t resident = residentBytes() - residentBefore;
    const double records = static_cast<double>(recordCount());
    const double payload = static_cast<double>(payloadBytes());
    heapPerRecord = (static_cast<double>(heap) - payload) / records;
    residentPerRecord = (static_cast<double>(resident) - payload) / records;
  }
  state.counters["heap_bytes_per_record_besides_texts"] = heapPerRecord;
  state.counters["resident_bytes_per_record_besides_texts"] = residentPerRecord;
}
BENCHMARK(BM_MemoryAfterLoading)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  RecordStore::closeAll();
  std::error_code ec;
  std::filesystem::remove_all(volumeFolder(), ec);
  return 0;
}
