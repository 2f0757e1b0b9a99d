// The list view at the sizes the lists reach: filling 100,000 rows the way the program fills
// its lists (redraw off, rows appended, first row selected, redraw on), moving the selection
// through them with the keyboard, and deleting them all.
#include <benchmark/benchmark.h>

#include "platform/base/Clock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

namespace {

LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 32;
    return TRUE;
  }
  if (message == WM_DRAWITEM) return TRUE;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Screen {
  HWND parent = nullptr;
  HWND list = nullptr;

  Screen() {
    platform::Clock::instance().useVirtual(1'700'000'000'000);
    platform::WindowManager::instance().reset();
    platform::sys::resetSystemParameters();
    platform::openScreen(240, 320);
    platform::controls::registerControlClasses();
    WNDCLASSW wc{};
    wc.lpfnWndProc = &parentProc;
    wc.lpszClassName = u"BenchParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"BenchParent", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr,
                             nullptr);
    list = CreateWindowExW(0, WC_LISTVIEWW, u"FriendList", 0x50004405, 0, 0, 240, 268, parent,
                           reinterpret_cast<HMENU>(1015), nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.cx = 240;
    column.pszText = const_cast<LPWSTR>(u"");
    ListView_InsertColumn(list, 0, &column);
  }
  ~Screen() { platform::WindowManager::instance().reset(); }

  void fill(int rows) {
    ListView_DeleteAllItems(list);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    LVITEMW item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    for (int i = 0; i < rows; ++i) {
      item.iItem = i;
      item.lParam = i + 1;
      ListView_InsertItem(list, &item);
    }
    ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, 0, FALSE);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  }

  void pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
};

void BM_FillRows(benchmark::State& state) {
  Screen screen;
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    screen.fill(rows);
    benchmark::DoNotOptimize(ListView_GetItemCount(screen.list));
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_FillRows)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MoveSelectionThroughAllRows(benchmark::State& state) {
  Screen screen;
  const int rows = static_cast<int>(state.range(0));
  screen.fill(rows);
  for (auto _ : state) {
    ListView_SetItemState(screen.list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (int i = 1; i < rows; ++i) SendMessageW(screen.list, WM_KEYDOWN, VK_DOWN, 0x40000001);
    benchmark::DoNotOptimize(ListView_GetNextItem(screen.list, -1, LVNI_SELECTED));
    screen.pump();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_MoveSelectionThroughAllRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_InsertAtTopAndDeleteFromTop(benchmark::State& state) {
  Screen screen;
  const int rows = static_cast<int>(state.range(0));
  screen.fill(rows);
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  for (auto _ : state) {
    for (int i = 0; i < 1000; ++i) {
      item.iItem = 0;
      ListView_InsertItem(screen.list, &item);
    }
    for (int i = 0; i < 1000; ++i) ListView_DeleteItem(screen.list, 0);
  }
  state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_InsertAtTopAndDeleteFromTop)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
