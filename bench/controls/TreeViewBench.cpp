// The tree view at the sizes a device's folders reach: 10,000 items inserted with redraw off
// (in order, and sorted as the backup chooser inserts folders), a folder of 2,000 entries filled
// while it expands, and the selection walked down through 10,000 rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

namespace {

// Names as a folder listing gives them: in no particular order.
std::vector<std::u16string> shuffledNames(int count) {
  std::vector<std::u16string> names;
  names.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string n = "Folder " + std::to_string(100000 + i * 7919 % 100000) + (i % 3 == 0 ? " photos" : "");
    names.emplace_back(n.begin(), n.end());
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(42));
  return names;
}

struct Screen {
  HWND parent = nullptr;
  HWND tree = nullptr;
  HTREEITEM filling = nullptr;
  const std::vector<std::u16string>* fillWith = nullptr;

  static Screen*& current() {
    static Screen* screen = nullptr;
    return screen;
  }

  // Fills a folder while it expands, as the backup chooser does: the placeholder goes, the
  // entries come sorted.
  static LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Screen* self = current();
    if (message == WM_NOTIFY && self != nullptr && self->fillWith != nullptr) {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(lParam);
      if (nm->hdr.code == TVN_ITEMEXPANDINGW && nm->action == TVE_EXPAND) {
        TreeView_DeleteItem(self->tree, TreeView_GetChild(self->tree, nm->itemNew.hItem));
        for (const std::u16string& name : *self->fillWith) self->insert(nm->itemNew.hItem, name, TVI_SORT);
      }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }

  Screen() {
    platform::Clock::instance().useVirtual(1'700'000'000'000);
    platform::WindowManager::instance().reset();
    platform::sys::resetSystemParameters();
    platform::openScreen(240, 320);
    platform::controls::registerControlClasses();
    current() = this;
    WNDCLASSW wc{};
    wc.lpfnWndProc = &parentProc;
    wc.lpszClassName = u"BenchTreeParent";
    RegisterClassW(&wc);
    parent = CreateWindowExW(0, u"BenchTreeParent", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                             nullptr, nullptr);
    tree =
        CreateWindowExW(0, WC_TREEVIEWW, u"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT,
                        0, 0, 240, 268, parent, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    SetFocus(tree);
  }
  ~Screen() {
    current() = nullptr;
    platform::WindowManager::instance().reset();
  }

  HTREEITEM insert(HTREEITEM parentItem, const std::u16string& name, HTREEITEM after) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parentItem;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<LPWSTR>(name.c_str());
    return TreeView_InsertItem(tree, &insert);
  }

  void pump() {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
};

// 10,000 items under the root, redraw off, then on and painted.
void BM_InsertTenThousandRedrawOff(benchmark::State& state) {
  Screen screen;
  const std::vector<std::u16string> names = shuffledNames(10000);
  const HTREEITEM after = state.range(0) != 0 ? TVI_SORT : TVI_LAST;
  for (auto _ : state) {
    state.PauseTiming();
    TreeView_DeleteAllItems(screen.tree);
    screen.pump();
    state.ResumeTiming();
    SendMessageW(screen.tree, WM_SETREDRAW, FALSE, 0);
    for (const std::u16string& name : names) screen.insert(TVI_ROOT, name, after);
    SendMessageW(screen.tree, WM_SETREDRAW, TRUE, 0);
    screen.pump();
    benchmark::DoNotOptimize(TreeView_GetCount(screen.tree));
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_InsertTenThousandRedrawOff)->ArgName("sorted")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// 100 folders of 99 files each, the folders collapsed: the shape of a device's folders.
void BM_InsertTenThousandNestedRedrawOff(benchmark::State& state) {
  Screen screen;
  const std::vector<std::u16string> names = shuffledNames(100);
  for (auto _ : state) {
    state.PauseTiming();
    TreeView_DeleteAllItems(screen.tree);
    screen.pump();
    state.ResumeTiming();
    SendMessageW(screen.tree, WM_SETREDRAW, FALSE, 0);
    for (const std::u16string& folder : names) {
      HTREEITEM item = screen.insert(TVI_ROOT, folder, TVI_SORT);
      for (int i = 0; i < 99; ++i) screen.insert(item, names[static_cast<std::size_t>(i)], TVI_SORT);
    }
    SendMessageW(screen.tree, WM_SETREDRAW, TRUE, 0);
    screen.pump();
    benchmark::DoNotOptimize(TreeView_GetCount(screen.tree));
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_InsertTenThousandNestedRedrawOff)->Unit(benchmark::kMillisecond);

// Expanding a folder whose 2,000 entries are inserted sorted while it expands, then painted.
void BM_ExpandFolderOfTwoThousand(benchmark::State& state) {
  Screen screen;
  const std::vector<std::u16string> entries = shuffledNames(2000);
  HTREEITEM root = screen.insert(TVI_ROOT, u"\\", TVI_LAST);
  HTREEITEM folder = screen.insert(root, u"My Documents", TVI_LAST);
  screen.insert(folder, u"Fake", TVI_LAST);
  TreeView_Expand(screen.tree, root, TVE_EXPAND);
  TreeView_SelectItem(screen.tree, folder);
  screen.pump();
  for (auto _ : state) {
    screen.fillWith = &entries;
    TreeView_Expand(screen.tree, folder, TVE_EXPAND);
    screen.pump();
    state.PauseTiming();
    screen.fillWith = nullptr;
    TreeView_Expand(screen.tree, folder, TVE_COLLAPSE | TVE_COLLAPSERESET);
    screen.insert(folder, u"Fake", TVI_LAST);
    screen.pump();
    state.ResumeTiming();
    benchmark::DoNotOptimize(TreeView_GetCount(screen.tree));
  }
  state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_ExpandFolderOfTwoThousand)->Unit(benchmark::kMillisecond);

// The selection walked down 10,000 rows, each step painted: scrolling stays smooth.
void BM_WalkDownTenThousandRows(benchmark::State& state) {
  Screen screen;
  const std::vector<std::u16string> names = shuffledNames(10000);
  SendMessageW(screen.tree, WM_SETREDRAW, FALSE, 0);
  for (const std::u16string& name : names) screen.insert(TVI_ROOT, name, TVI_LAST);
  SendMessageW(screen.tree, WM_SETREDRAW, TRUE, 0);
  screen.pump();
  for (auto _ : state) {
    TreeView_SelectItem(screen.tree, TreeView_GetRoot(screen.tree));
    screen.pump();
    for (int i = 1; i < 10000; ++i) {
      SendMessageW(screen.tree, WM_KEYDOWN, VK_DOWN, 0x00500001);
      screen.pump();
    }
    benchmark::DoNotOptimize(TreeView_GetSelection(screen.tree));
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_WalkDownTenThousandRows)->Unit(benchmark::kMillisecond);

}  // namespace
