// Picture and skin drawing costs at realistic sizes.
#include <benchmark/benchmark.h>

#include "platform/gdi/WinGdi.h"
#include "skin/ImageCache.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegEncoder.h"
#include "skin/PictureCodec.h"
#include "skin/PictureScaler.h"
#include "skin/SkinPainter.h"

namespace {

using pellucard::RgbImage;

RgbImage photo(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
      p[0] = static_cast<std::uint8_t>(x * 7 + y);
      p[1] = static_cast<std::uint8_t>((x ^ y) & 0xFF);
      p[2] = static_cast<std::uint8_t>(y * 3);
    }
  }
  return image;
}

// A picked camera photo (width x height JPEG) to the stored 80x80 avatar JPEG.
void BM_PhotoToAvatar(benchmark::State& state) {
  const auto jpeg =
      *pellucard::JpegEncoder::encode(photo(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))));
  for (auto _ : state) benchmark::DoNotOptimize(pellucard::PictureCodec::encodeForBox(jpeg, {80, 80}));
  state.SetLabel(std::to_string(jpeg.size() / 1024) + " KiB");
}
BENCHMARK(BM_PhotoToAvatar)->Args({640, 480})->Args({2048, 1536})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

// The stored avatar JPEG decoded for the list rows' small bitmap.
void BM_AvatarToSmallPicture(benchmark::State& state) {
  const auto jpeg = *pellucard::JpegEncoder::encode(photo(80, 60));
  for (auto _ : state) benchmark::DoNotOptimize(pellucard::PictureCodec::decodeForBox(jpeg, {32, 32}));
}
BENCHMARK(BM_AvatarToSmallPicture)->Unit(benchmark::kMicrosecond);

void BM_AreaAverage(benchmark::State& state) {
  const RgbImage source = photo(static_cast<int>(state.range(0)), static_cast<int>(state.range(0)) * 3 / 4);
  for (auto _ : state) benchmark::DoNotOptimize(pellucard::PictureScaler::resample(source, 80, 60));
}
BENCHMARK(BM_AreaAverage)->Arg(640)->Arg(2000)->Unit(benchmark::kMillisecond);

// One blended selection bar into a 16-bit memory bitmap, as every selected row draws it.
void BM_DrawSelectionBar(benchmark::State& state) {
  auto& cache = pellucard::ImageCache::instance();
  cache.setUpRoles(pellucard::ScreenLayout(pellucard::LayoutKind::Portrait));
  pellucard::ImageEntry* bar = cache.loadedEntry(pellucard::ImageCache::kSelectionBar);
  auto target = pellucard::DibBitmap::create(240, 320, pellucard::DibBitmap::Format::Rgb565);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, target.handle());
  for (auto _ : state) pellucard::SkinPainter::drawSkinImageAt(dc, bar, 0, 40);
  SelectObject(dc, previous);
  DeleteDC(dc);
  pellucard::ImageCache::destroy();
}
BENCHMARK(BM_DrawSelectionBar)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
