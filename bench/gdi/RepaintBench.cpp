// A full repaint as the program's lists do it: a background image, eight rows of two text
// lines drawn into a memory bitmap of the client size, then one copy to the window.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"

namespace {

void repaint(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  platform::gdi::initScreen(width, height);
  HWND window = reinterpret_cast<HWND>(0x4000);
  const int rowHeight = height / 8;

  // The background: a gradient-ish image with magenta holes, like a skin image.
  HDC imageDc = CreateCompatibleDC(nullptr);
  HBITMAP image = CreateBitmap(width, height, 1, 16, nullptr);
  HGDIOBJ oldImage = SelectObject(imageDc, image);
  for (int y = 0; y < height; y += 4) {
    HBRUSH band = CreateSolidBrush(RGB(200 + (y * 50 / height), 220, 240));
    RECT r{0, y, width, y + 4};
    FillRect(imageDc, &r, band);
    DeleteObject(band);
  }

  LOGFONTW lf{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
  lf.lfHeight = lf.lfHeight * 8 / 10;
  HFONT small = CreateFontIndirectW(&lf);
  const std::u16string first[] = {u"Garden tools, due 12/05/2026",
                                  u"Birthday cake for Alice",
                                  u"Concert tickets",
                                  u"A very long gift name that needs an ellipsis",
                                  u"Cookbook",
                                  u"Wedding anniversary [12]",
                                  u"Umbrella, due 01/02/2027",
                                  u"Camera"};
  const std::u16string second[] = {u"To: Bob Jones", u"For: Alice Smith", u"Idea for: Carol", u"From: Dave",
                                   u"General idea",  u"Erin Fischer",     u"General loan",    u"From: Frank"};

  for (auto _ : state) {
    HDC paint = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, width, height}});
    platform::gdi::beginTextCapture(window, RECT{0, 0, width, height});
    HDC buffer = CreateCompatibleDC(paint);
    HBITMAP bitmap = CreateCompatibleBitmap(paint, width, height);
    HGDIOBJ oldBitmap = SelectObject(buffer, bitmap);
    BitBlt(buffer, 0, 0, width, height, imageDc, 0, 0, SRCCOPY);
    SetBkMode(buffer, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(buffer, small);
    for (int row = 0; row < 8; ++row) {
      const int top = row * rowHeight;
      const int h = rowHeight - 2;
      RECT icon{3, top + 1, 3 + h, top + 1 + h};
      TransparentBlt(buffer, icon.left, icon.top, h, h, imageDc, 0, 0, h, h, RGB(255, 0, 255));
      RECT line1{3 + h, top + 1, width - 3, top + 1 + h / 2};
      RECT line2{3 + h, top + 1 + h / 2, width - 3, top + 1 + h};
      DrawTextW(buffer, first[row].c_str(), -1, &line1, DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS);
      DrawTextW(buffer, second[row].c_str(), -1, &line2, DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS);
    }
    BitBlt(paint, 0, 0, width, height, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldFont);
    SelectObject(buffer, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    platform::gdi::releaseWindowDC(paint);
    benchmark::DoNotOptimize(platform::gdi::takeDirtyRect());
  }
  if (platform::gdi::capturedTexts(window).size() != 16) state.SkipWithError("texts were not captured");
  platform::gdi::forgetWindow(window);
  DeleteObject(small);
  SelectObject(imageDc, oldImage);
  DeleteObject(image);
  DeleteDC(imageDc);
}

BENCHMARK(repaint)->Args({240, 320})->Args({480, 640})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
