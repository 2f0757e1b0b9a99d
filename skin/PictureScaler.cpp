#include "skin/PictureScaler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pellucard {

namespace {

struct Tap {
  int index;
  float weight;
};

// For each target position, the source cells it covers and how much of each, normalised to 1.
std::vector<std::vector<Tap>> coverage(int sourceLength, int targetLength) {
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(targetLength));
  const double scale = static_cast<double>(sourceLength) / targetLength;
  for (int t = 0; t < targetLength; ++t) {
    const double start = t * scale;
    const double end = (t + 1) * scale;
    const int first = static_cast<int>(std::floor(start));
    const int last = std::min(sourceLength - 1, static_cast<int>(std::ceil(end)) - 1);
    for (int s = first; s <= last; ++s) {
      const double covered = std::min<double>(end, s + 1) - std::max<double>(start, s);
      if (covered > 0) taps[static_cast<std::size_t>(t)].push_back({s, static_cast<float>(covered / scale)});
    }
  }
  return taps;
}

}  // namespace

SIZE PictureScaler::fitIntoBox(SIZE box, SIZE image) {
  const std::int64_t W = box.cx, H = box.cy, w = image.cx, h = image.cy;
  if (W <= 0 || H <= 0 || w <= 0 || h <= 0) return SIZE{0, 0};
  const std::int64_t candidate = H * w / h;
  if (candidate > 0 && candidate <= W) return SIZE{static_cast<LONG>(candidate), static_cast<LONG>(H)};
  if (candidate == 0) return SIZE{1, static_cast<LONG>(H)};
  return SIZE{static_cast<LONG>(W), static_cast<LONG>(std::max<std::int64_t>(1, W * h / w))};
}

std::optional<RgbImage> PictureScaler::resample(const RgbImage& source, int width, int height) {
  if (source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0) return std::nullopt;
  if (source.rgb.size() != static_cast<std::size_t>(source.width) * source.height * 3) return std::nullopt;
  const auto columns = coverage(source.width, width);
  const auto rows = coverage(source.height, height);

  // Horizontal pass: every source row reduced to the target width.
  std::vector<float> narrow(static_cast<std::size_t>(source.height) * width * 3);
  for (int y = 0; y < source.height; ++y) {
    float* out = narrow.data() + static_cast<std::size_t>(y) * width * 3;
    for (int x = 0; x < width; ++x) {
      float r = 0, g = 0, b = 0;
      for (const Tap& tap : columns[static_cast<std::size_t>(x)]) {
        const std::uint8_t* p = source.pixel(tap.index, y);
        r += p[0] * tap.weight;
        g += p[1] * tap.weight;
        b += p[2] * tap.weight;
      }
      out[x * 3] = r;
      out[x * 3 + 1] = g;
      out[x * 3 + 2] = b;
    }
  }

  // Vertical pass.
  RgbImage target;
  target.width = width;
  target.height = height;
  target.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  std::vector<float> sum(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    std::fill(sum.begin(), sum.end(), 0.0f);
    for (const Tap& tap : rows[static_cast<std::size_t>(y)]) {
      const float* in = narrow.data() + static_cast<std::size_t>(tap.index) * width * 3;
      for (std::size_t i = 0; i < sum.size(); ++i) sum[i] += in[i] * tap.weight;
    }
    std::uint8_t* out = target.rgb.data() + static_cast<std::size_t>(y) * width * 3;
    for (std::size_t i = 0; i < sum.size(); ++i) {
      out[i] = static_cast<std::uint8_t>(std::clamp(std::lround(sum[i]), 0L, 255L));
    }
  }
  return target;
}

}  // namespace pellucard
