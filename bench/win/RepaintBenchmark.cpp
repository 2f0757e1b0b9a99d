// A full repaint of a screen of eight two-line text rows over a bitmap background, the way the
// program's lists paint: into a memory bitmap, then one copy to the window.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/base/Clock.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"

namespace {

HBITMAP g_background = nullptr;

LRESULT CALLBACK rowsProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP buffer = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ oldBuffer = SelectObject(mem, buffer);
  HDC bg = CreateCompatibleDC(dc);
  HGDIOBJ oldBg = SelectObject(bg, g_background);
  BitBlt(mem, 0, 0, client.right, client.bottom, bg, 0, 0, SRCCOPY);
  SetBkMode(mem, TRANSPARENT);
  const int rowHeight = client.bottom / 8;
  for (int i = 0; i < 8; ++i) {
    RECT top{4, i * rowHeight + 2, client.right - 4, i * rowHeight + rowHeight / 2};
    RECT bottom{4, i * rowHeight + rowHeight / 2, client.right - 4, (i + 1) * rowHeight - 2};
    const std::u16string name = u"Friend number " + std::u16string(1, static_cast<char16_t>(u'A' + i));
    SetTextColor(mem, RGB(0, 0, 0));
    DrawTextW(mem, name.c_str(), static_cast<int>(name.size()), &top, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    SetTextColor(mem, RGB(90, 90, 90));
    DrawTextW(mem, u"Birthday on 12 March, gift idea: a book", -1, &bottom,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  }
  BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
  SelectObject(bg, oldBg);
  DeleteDC(bg);
  SelectObject(mem, oldBuffer);
  DeleteObject(buffer);
  DeleteDC(mem);
  EndPaint(hwnd, &ps);
  return 0;
}

HWND setUp(int width, int height) {
  platform::WindowManager::instance().reset();
  platform::Clock::instance().useVirtual(0);
  platform::openScreen(width, height);
  WNDCLASSW wc{};
  wc.lpfnWndProc = rowsProc;
  wc.lpszClassName = u"BenchRows";
  RegisterClassW(&wc);
  HDC screen = GetDC(nullptr);
  g_background = CreateCompatibleBitmap(screen, width, height);
  HDC mem = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(mem, g_background);
  for (int y = 0; y < height; y += 4) {
    HBRUSH b =
        CreateSolidBrush(RGB(255, static_cast<BYTE>(255 - y * 64 / height), static_cast<BYTE>(200 + y * 55 / height)));
    RECT r{0, y, width, y + 4};
    FillRect(mem, &r, b);
    DeleteObject(b);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  HWND hwnd =
      CreateWindowExW(0, u"BenchRows", u"", WS_VISIBLE, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
  UpdateWindow(hwnd);
  return hwnd;
}

void tearDown() {
  platform::WindowManager::instance().reset();
  DeleteObject(g_background);
  g_background = nullptr;
}

void BM_FullRepaint(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  HWND hwnd = setUp(width, height);
  for (auto _ : state) {
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateWindow(hwnd);
    benchmark::DoNotOptimize(platform::gdi::takeDirtyRect());
  }
  tearDown();
}

}  // namespace

BENCHMARK(BM_FullRepaint)->Args({240, 320})->Args({480, 640})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
