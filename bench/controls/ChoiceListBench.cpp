// The choice controls at the sizes a friend list reaches: filling a list box and a combo box
// with 20,000 names the way the forms fill them (redraw off, names appended with their data,
// redraw on), and dropping down the list of a combo box that holds them.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinListBox.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

namespace {

constexpr int kFriends = 20000;

std::vector<std::u16string> friendNames(int count) {
  static const char16_t* first[] = {u"Anna", u"Łukasz", u"Zoë", u"Søren", u"Margarethe", u"Émile", u"Kasia", u"Olof"};
  static const char16_t* last[] = {u"Berg", u"Wiśniewska", u"Lefèvre", u"Østergaard", u"Schröder", u"Dahl"};
  std::vector<std::u16string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string number = std::to_string(i);
    names.push_back(std::u16string(first[i % 8]) + u" " + last[i % 6] + u" " +
                    std::u16string(number.begin(), number.end()));
  }
  return names;
}

struct Form {
  HWND parent = nullptr;
  std::vector<std::u16string> names = friendNames(kFriends);

  Form() {
    platform::Clock::instance().useVirtual(1'700'000'000'000);
    platform::WindowManager::instance().reset();
    platform::sys::resetSystemParameters();
    platform::openScreen(240, 320);
    platform::controls::registerControlClasses();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.lpszClassName = u"BenchForm";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"BenchForm", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr,
                             nullptr);
    pump();
  }
  ~Form() { platform::WindowManager::instance().reset(); }

  void pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  // Fills as the forms do: redraw off, each name with its data, the first selected, redraw on.
  void fill(HWND control, UINT add, UINT setData, UINT reset, UINT select) {
    SendMessageW(control, reset, 0, 0);
    SendMessageW(control, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kFriends; ++i) {
      const auto index =
          SendMessageW(control, add, 0, reinterpret_cast<LPARAM>(names[static_cast<std::size_t>(i)].c_str()));
      SendMessageW(control, setData, static_cast<WPARAM>(index), i + 1);
    }
    SendMessageW(control, select, 0, 0);
    SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  }
};

void BM_FillListBox(benchmark::State& state) {
  Form form;
  HWND list = CreateWindowExW(0, WC_LISTBOXW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 84, 4,
                              152, 26, form.parent, nullptr, nullptr, nullptr);
  for (auto _ : state) {
    form.fill(list, LB_ADDSTRING, LB_SETITEMDATA, LB_RESETCONTENT, LB_SETCURSEL);
    form.pump();
    benchmark::DoNotOptimize(SendMessageW(list, LB_GETCOUNT, 0, 0));
  }
  state.SetItemsProcessed(state.iterations() * kFriends);
}
BENCHMARK(BM_FillListBox)->Unit(benchmark::kMillisecond);

void BM_FillComboBox(benchmark::State& state) {
  Form form;
  HWND combo = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 84, 4, 152,
                               102, form.parent, nullptr, nullptr, nullptr);
  for (auto _ : state) {
    form.fill(combo, CB_ADDSTRING, CB_SETITEMDATA, CB_RESETCONTENT, CB_SETCURSEL);
    form.pump();
    benchmark::DoNotOptimize(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  }
  state.SetItemsProcessed(state.iterations() * kFriends);
}
BENCHMARK(BM_FillComboBox)->Unit(benchmark::kMillisecond);

// From the request to the list painted on the screen; closing it again is not counted.
void BM_OpenComboDropDown(benchmark::State& state) {
  Form form;
  HWND combo = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 84, 4, 152,
                               102, form.parent, nullptr, nullptr, nullptr);
  form.fill(combo, CB_ADDSTRING, CB_SETITEMDATA, CB_RESETCONTENT, CB_SETCURSEL);
  SendMessageW(combo, CB_SETCURSEL, kFriends / 2, 0);
  form.pump();
  for (auto _ : state) {
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    form.pump();
    state.PauseTiming();
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    form.pump();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenComboDropDown)->Unit(benchmark::kMicrosecond);

}  // namespace
