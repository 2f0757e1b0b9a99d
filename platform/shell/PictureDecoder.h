// Pictures the shell shows (file chooser thumbnails, the contact card's photo) are decoded by
// the program's image code, which installs itself here at start. A decoding is a job done in
// slices, so that a huge picture never keeps the device from answering its input.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/WinGdi.h"

namespace platform::shell {

// 8-bit red, green, blue per pixel, rows from the top, no padding.
struct PicturePixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

class PictureJob {
 public:
  virtual ~PictureJob() = default;
  // Does a short slice of the work; true once the job is finished, either way.
  virtual bool step() = 0;
  // The picture fitted into the box asked for; none when it did not decode.
  virtual std::optional<PicturePixels> result() = 0;
};

// What to decode: a host file, or encoded bytes held in memory.
struct PictureSource {
  std::string hostPath;
  std::vector<std::uint8_t> bytes;
};

using PictureDecoderFactory = std::function<std::unique_ptr<PictureJob>(PictureSource source, SIZE box)>;

class PictureDecoder {
 public:
  static void install(PictureDecoderFactory factory);
  static bool installed();
  // A job for the picture, or nullptr when no decoder is installed.
  static std::unique_ptr<PictureJob> start(PictureSource source, SIZE box);
  // Runs a job to its end at once (for a single small picture).
  static std::optional<PicturePixels> decodeNow(PictureSource source, SIZE box);
  // A 32-bit DIB section of the pixels; nullptr for an empty picture. The caller deletes it.
  static HBITMAP toBitmap(const PicturePixels& pixels);
};

}  // namespace platform::shell
