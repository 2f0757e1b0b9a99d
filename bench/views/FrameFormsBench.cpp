// Opening each form of the main frame to its first paint, on both editions: the PIN entry, the
// About box, the Options screen and its three pages. From the dialog's creation until every
// window has painted; closing it is not timed. Settings and registry live in scratch folders.
#include <benchmark/benchmark.h>

#include <string>

#include "device/AppPaths.h"
#include "pin/PinLock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"
#include "views/AboutBox.h"
#include "views/AnniversaryOptionsPage.h"
#include "views/GeneralOptionsPage.h"
#include "views/LoanOptionsPage.h"
#include "views/OptionsScreen.h"
#include "views/PinDialog.h"

namespace {

using platform::Edition;

template <class Form>
void openForm(benchmark::State& state, Edition edition) {
  platform::testing::TempFolder folder;
  platform::testing::ScratchRegistry registry;
  platform::testing::TestDevice device(edition, 240, 320);
  platform::DeviceConfig::current().appDir = folder.path().string();
  pellucard::registerStringTable();
  pellucard::registerMenus();
  pellucard::registerIcons();
  pellucard::getSettings().load();
  // The General page shows the PIN fields, as it does for a protected program.
  pellucard::getPinLock().setPin(u"1234");
  platform::shell::startShell();
  const HWND owner =
      CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(owner);
  device.runUntilIdle();
  for (auto _ : state) {
    Form form;
    const HWND dialog = form.open(owner, u"Form");
    device.runUntilIdle();
    state.PauseTiming();
    if (dialog == nullptr) state.SkipWithError("the form did not open");
    // Every one of these forms starts with a child that draws text.
    if (platform::testing::TestDevice::texts(GetWindow(dialog, GW_CHILD)).empty())
      state.SkipWithError("the form was not painted");
    DestroyWindow(dialog);
    device.runUntilIdle();
    state.ResumeTiming();
  }
  DestroyWindow(owner);
  platform::shell::stopShell();
  pellucard::deletePinLock();
  pellucard::deleteSettings();
  pellucard::deleteAppPaths();
  platform::ResourceTable::instance().clear();
}

#define FORM_BENCHMARKS(Form)                                                                                        \
  void BM_Open##Form##PocketPc(benchmark::State& state) { openForm<pellucard::Form>(state, Edition::PocketPc); }     \
  void BM_Open##Form##Smartphone(benchmark::State& state) { openForm<pellucard::Form>(state, Edition::Smartphone); } \
  BENCHMARK(BM_Open##Form##PocketPc)->Unit(benchmark::kMillisecond);                                                 \
  BENCHMARK(BM_Open##Form##Smartphone)->Unit(benchmark::kMillisecond)

FORM_BENCHMARKS(PinDialog);
FORM_BENCHMARKS(AboutBox);
FORM_BENCHMARKS(OptionsScreen);
FORM_BENCHMARKS(GeneralOptionsPage);
FORM_BENCHMARKS(AnniversaryOptionsPage);
FORM_BENCHMARKS(LoanOptionsPage);

}  // namespace

BENCHMARK_MAIN();
