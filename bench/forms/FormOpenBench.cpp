// Opening a form to its first paint: a full-screen form with eight rows of each kind (text,
// expandable text, choice, date, time), on both editions, from the dialog's creation until every
// window has painted. Closing it is not timed.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "tests/support/TestDevice.h"

namespace {

using platform::Edition;

constexpr int kRowsOfEachKind = 8;

class BenchForm : public pellucard::FormDialog {
 public:
  BenchForm() : FormDialog(pellucard::IDR_FORM_BAR, true) {}

 protected:
  void createContent(HWND dialog) override {
    builder_.begin(dialog);
    SYSTEMTIME day{};
    day.wYear = 2026;
    day.wMonth = 12;
    day.wDay = 1;
    day.wHour = 7;
    day.wMinute = 5;
    const std::vector<std::u16string> texts{u"Enabled", u"Disabled", u"1 Day", u"2 Days", u"1 Week", u"2 Weeks"};
    const std::vector<LPARAM> values{1, 0, 1, 2, 7, 14};
    UINT id = 0;
    for (int i = 0; i < kRowsOfEachKind; ++i) {
      builder_.addTextRow(++id, u"Name:", u"Łukasz Wiśniewska");
      builder_.addExpandableTextRow(++id, u"Notes:", u"Likes tea, blue scarves and long walks by the sea");
      builder_.addChoiceRow(++id, u"Reminder:", texts, values);
      builder_.addDateRow(++id, u"Date:", day, i % 2 == 1);
      builder_.addTimeRow(++id, u"Time:", day, u"HH:mm", false);
    }
  }

 private:
  pellucard::FormBuilder builder_;
};

void openForm(benchmark::State& state, Edition edition) {
  platform::testing::TestDevice device(edition, 240, 320);
  pellucard::registerStringTable();
  pellucard::registerMenus();
  platform::shell::startShell();
  const HWND owner =
      CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(owner);
  device.runUntilIdle();
  for (auto _ : state) {
    BenchForm form;
    const HWND dialog = form.open(owner, u"Edit Anniversary");
    device.runUntilIdle();
    state.PauseTiming();
    if (dialog == nullptr) state.SkipWithError("the form did not open");
    DestroyWindow(dialog);
    device.runUntilIdle();
    state.ResumeTiming();
  }
  platform::shell::stopShell();
  platform::ResourceTable::instance().clear();
}

void BM_OpenFormPocketPc(benchmark::State& state) { openForm(state, Edition::PocketPc); }
void BM_OpenFormSmartphone(benchmark::State& state) { openForm(state, Edition::Smartphone); }

BENCHMARK(BM_OpenFormPocketPc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFormSmartphone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
