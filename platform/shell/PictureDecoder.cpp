#include "platform/shell/PictureDecoder.h"

namespace platform::shell {
namespace {

PictureDecoderFactory& factory() {
  static PictureDecoderFactory f;
  return f;
}

}  // namespace

void PictureDecoder::install(PictureDecoderFactory f) { factory() = std::move(f); }

bool PictureDecoder::installed() { return static_cast<bool>(factory()); }

std::unique_ptr<PictureJob> PictureDecoder::start(PictureSource source, SIZE box) {
  if (!factory() || box.cx <= 0 || box.cy <= 0) return nullptr;
  return factory()(std::move(source), box);
}

std::optional<PicturePixels> PictureDecoder::decodeNow(PictureSource source, SIZE box) {
  std::unique_ptr<PictureJob> job = start(std::move(source), box);
  if (job == nullptr) return std::nullopt;
  while (!job->step()) {
  }
  return job->result();
}

HBITMAP PictureDecoder::toBitmap(const PicturePixels& pixels) {
  if (pixels.width <= 0 || pixels.height <= 0 ||
      pixels.rgb.size() < static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height) * 3) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = pixels.width;
  info.bmiHeader.biHeight = -pixels.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    return nullptr;
  }
  auto* out = static_cast<std::uint8_t*>(bits);
  const std::uint8_t* in = pixels.rgb.data();
  const std::size_t count = static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height);
  for (std::size_t i = 0; i < count; ++i, in += 3, out += 4) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    out[3] = 0;
  }
  return bitmap;
}

}  // namespace platform::shell
