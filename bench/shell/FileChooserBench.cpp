// The picture chooser over a folder of 500 camera photos of 12 megapixels: how long until its
// first paint, how long until every thumbnail is there, and the longest slice of decoding
// (the longest the device may keep a key or tap waiting). Camera photos carry a small Exif
// preview, which the chooser uses; the same photos without one are decoded from their pixels.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/shell/FileChooser.h"
#include "resources/Icons.h"
#include "skin/JpegEncoder.h"
#include "skin/ThumbnailJob.h"
#include "tests/support/ExifPreview.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"

namespace {

namespace fs = std::filesystem;
using platform::shell::FileChooser;

pellucard::RgbImage photo(int width, int height) {
  pellucard::RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  std::uint32_t noise = 12345;
  std::size_t i = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1103515245u + 12345u;
      const int grain = static_cast<int>((noise >> 16) & 31) - 16;
      image.rgb[i++] = static_cast<std::uint8_t>(std::clamp(x * 255 / width + grain, 0, 255));
      image.rgb[i++] = static_cast<std::uint8_t>(std::clamp(y * 255 / height + grain, 0, 255));
      image.rgb[i++] = static_cast<std::uint8_t>(std::clamp(((x + y) / 16 % 2) * 120 + 60 + grain, 0, 255));
    }
  }
  return image;
}

void write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Folders of photos made once: hard links of one photo, so 500 of them take no room.
struct PhotoFolders {
  platform::testing::TempFolder root;
  PhotoFolders() {
    const auto big = pellucard::JpegEncoder::encode(photo(4000, 3000), 85);
    const auto small = pellucard::JpegEncoder::encode(photo(160, 120), 85);
    fs::create_directories(root.path() / "Camera");
    fs::create_directories(root.path() / "Plain");
    write(root.path() / "camera.jpg", platform::testing::withExifPreview(*big, *small));
    write(root.path() / "plain.jpg", *big);
    for (int i = 0; i < 500; ++i) {
      const std::string name = "IMG_" + std::to_string(1000 + i) + ".jpg";
      fs::create_hard_link(root.path() / "camera.jpg", root.path() / "Camera" / name);
      if (i < 20) fs::create_hard_link(root.path() / "plain.jpg", root.path() / "Plain" / name);
    }
  }
  static PhotoFolders& instance() {
    static PhotoFolders folders;
    return folders;
  }
};

struct Device {
  platform::testing::TestDevice device;
  Device() {
    platform::DeviceConfig::current().deviceRoot = PhotoFolders::instance().root.path().string();
    pellucard::registerIcons();
    pellucard::ThumbnailJob::install();
  }
};

FileChooser::Options optionsFor(const char16_t* folder) {
  FileChooser::Options options;
  options.folder = folder;
  options.title = u"Select Picture";
  return options;
}

void BM_ChooserFirstPaint(benchmark::State& state) {
  Device device;
  for (auto _ : state) {
    FileChooser chooser(optionsFor(u"\\Camera"));
    chooser.open();
    device.device.runUntilIdle();
  }
}
BENCHMARK(BM_ChooserFirstPaint)->Unit(benchmark::kMillisecond);

void allThumbnails(benchmark::State& state, const char16_t* folder) {
  Device device;
  double longest = 0;
  int pictures = 0;
  for (auto _ : state) {
    FileChooser chooser(optionsFor(folder));
    chooser.open();
    device.device.runUntilIdle();
    for (;;) {
      const auto start = std::chrono::steady_clock::now();
      if (!chooser.idleStep()) break;
      longest = std::max(longest,
                         std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    pictures = static_cast<int>(chooser.view()->entries().size());
  }
  state.counters["longest_slice_ms"] = longest;
  state.counters["pictures"] = pictures;
}

void BM_ChooserAllThumbnails500CameraPhotos(benchmark::State& state) { allThumbnails(state, u"\\Camera"); }
BENCHMARK(BM_ChooserAllThumbnails500CameraPhotos)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ChooserAllThumbnails20PhotosWithoutPreview(benchmark::State& state) { allThumbnails(state, u"\\Plain"); }
BENCHMARK(BM_ChooserAllThumbnails20PhotosWithoutPreview)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
