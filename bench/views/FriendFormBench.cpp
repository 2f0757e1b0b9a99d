// Opening the friend form on a friend and the avatar picker to their first paint, on both
// editions: from the dialog's creation until every window has painted. Closing is not timed.
// Settings, registry and database live in scratch folders.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
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
#include "views/AvatarPicker.h"
#include "views/FriendForm.h"

namespace {

using platform::Edition;
using platform::testing::TestDevice;

// The program's resources, settings, store and skin on a headless device, with one friend.
class Bench {
 public:
  explicit Bench(Edition edition) : device_(edition, 240, 320) {
    platform::DeviceConfig::current().appDir = folder_.path().string();
    pellucard::registerStringTable();
    pellucard::registerMenus();
    pellucard::registerIcons();
    pellucard::connectStoreToSettings();
    pellucard::getSettings().load();
    pellucard::RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
    pellucard::DeviceProfile profile;
    profile.compute();
    pellucard::ImageCache::instance().setUpRoles(profile.layout());
    platform::shell::startShell();
    owner_ =
        CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(owner_);
    auto person = std::make_unique<pellucard::Friend>(u"Łukasz", u"Wiśniewska",
                                                      u"Likes tea, blue scarves and long walks by the sea", 4);
    person_ = person.get();
    pellucard::getFriendCollection().tryAdd(std::move(person));
    device_.runUntilIdle();
  }
  ~Bench() {
    DestroyWindow(owner_);
    device_.runUntilIdle();
    platform::shell::stopShell();
    pellucard::RecordStore::closeAll();
    pellucard::ImageCache::destroy();
    pellucard::deleteSettings();
    pellucard::deleteAppPaths();
    platform::ResourceTable::instance().clear();
  }

  template <class Form>
  void measure(benchmark::State& state, Form& form) {
    const HWND dialog = form.open(owner_, u"Form");
    device_.runUntilIdle();
    state.PauseTiming();
    if (dialog == nullptr) state.SkipWithError("the form did not open");
    DestroyWindow(dialog);
    device_.runUntilIdle();
    state.ResumeTiming();
  }

  pellucard::Friend& person() { return *person_; }

 private:
  platform::testing::TempFolder folder_;
  platform::testing::ScratchRegistry registry_;
  TestDevice device_;
  HWND owner_ = nullptr;
  pellucard::Friend* person_ = nullptr;
};

void openFriendForm(benchmark::State& state, Edition edition) {
  Bench bench(edition);
  for (auto _ : state) {
    pellucard::FriendForm form(&bench.person());
    bench.measure(state, form);
  }
}

void openAvatarPicker(benchmark::State& state, Edition edition) {
  Bench bench(edition);
  for (auto _ : state) {
    pellucard::AvatarPicker picker;
    picker.preselect(4);
    bench.measure(state, picker);
  }
}

void BM_OpenFriendFormPocketPc(benchmark::State& state) { openFriendForm(state, Edition::PocketPc); }
void BM_OpenFriendFormSmartphone(benchmark::State& state) { openFriendForm(state, Edition::Smartphone); }
void BM_OpenAvatarPickerPocketPc(benchmark::State& state) { openAvatarPicker(state, Edition::PocketPc); }
void BM_OpenAvatarPickerSmartphone(benchmark::State& state) { openAvatarPicker(state, Edition::Smartphone); }
BENCHMARK(BM_OpenFriendFormPocketPc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFriendFormSmartphone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAvatarPickerPocketPc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenAvatarPickerSmartphone)->Unit(benchmark::kMillisecond);

}  // namespace
