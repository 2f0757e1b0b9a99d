// A picture file or picture bytes decoded into a small picture a slice at a time: the shell's
// file chooser and contact card run one between input events. Camera photos give their Exif
// preview when it is large enough; other pictures are read row by row and averaged down as
// they come, so even a 40-megapixel picture needs only the memory of its thumbnail.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/shell/PictureDecoder.h"
#include "skin/RgbImage.h"

namespace pellucard {

class ThumbnailJob : public platform::shell::PictureJob {
 public:
  // About how long one step may take.
  static constexpr std::chrono::milliseconds kSlice{8};

  ThumbnailJob(platform::shell::PictureSource source, SIZE box);
  ~ThumbnailJob() override;
  ThumbnailJob(const ThumbnailJob&) = delete;
  ThumbnailJob& operator=(const ThumbnailJob&) = delete;

  bool step() override;
  std::optional<platform::shell::PicturePixels> result() override;

  // Installs jobs of this kind as the shell's picture decoder.
  static void install();

  struct Decoding;  // the codec's state between steps

 private:
  enum class Phase { Read, Start, Rows, Done };

  void start();
  void finish(std::optional<RgbImage> image);

  platform::shell::PictureSource source_;
  SIZE box_;
  Phase phase_ = Phase::Read;
  std::unique_ptr<Decoding> decoding_;
  std::optional<RgbImage> result_;
};

}  // namespace pellucard
