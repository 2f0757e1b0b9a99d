#include "skin/ThumbnailJob.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "skin/ExifOrientation.h"
#include "skin/ExifThumbnail.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegError.h"
#include "skin/PictureCodec.h"
#include "skin/PictureScaler.h"
#include "skin/PixelRows.h"

// clang-format off
#include <png.h>
#include <jpeglib.h>
// clang-format on

namespace pellucard {

using Clock = std::chrono::steady_clock;

namespace {

bool tooLarge(std::uint64_t width, std::uint64_t height) {
  return width == 0 || height == 0 || width * height > ImageDecoder::kMaxPixels;
}

// The thumbnail's size: the picture fitted into the box, never enlarged.
SIZE thumbnailSize(SIZE box, SIZE picture) {
  if (picture.cx <= box.cx && picture.cy <= box.cy) return picture;
  return PictureScaler::fitIntoBox(box, picture);
}

// Averages source rows into the target as they arrive: each source pixel adds to the target
// pixel it falls in.
class RowReducer {
 public:
  RowReducer(int sourceWidth, int sourceHeight, int width, int height)
      : sourceHeight_(sourceHeight), width_(width), height_(height) {
    xMap_.resize(static_cast<std::size_t>(sourceWidth));
    for (int x = 0; x < sourceWidth; ++x) {
      xMap_[static_cast<std::size_t>(x)] =
          static_cast<int>(static_cast<std::int64_t>(x) * width / std::max(sourceWidth, 1));
    }
    sums_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
    counts_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  }

  void add(const std::uint8_t* rgb) {
    if (row_ >= sourceHeight_) return;
    const auto ty = static_cast<std::size_t>(static_cast<std::int64_t>(row_) * height_ / sourceHeight_);
    const std::size_t base = ty * static_cast<std::size_t>(width_);
    for (std::size_t x = 0; x < xMap_.size(); ++x, rgb += 3) {
      const std::size_t t = base + static_cast<std::size_t>(xMap_[x]);
      std::uint32_t* sum = &sums_[t * 3];
      sum[0] += rgb[0];
      sum[1] += rgb[1];
      sum[2] += rgb[2];
      ++counts_[t];
    }
    ++row_;
  }

  RgbImage image() const {
    RgbImage out;
    out.width = width_;
    out.height = height_;
    out.rgb.resize(sums_.size());
    for (std::size_t t = 0; t < counts_.size(); ++t) {
      const std::uint32_t n = std::max<std::uint32_t>(counts_[t], 1);
      for (std::size_t c = 0; c < 3; ++c)
        out.rgb[t * 3 + c] = static_cast<std::uint8_t>((sums_[t * 3 + c] + n / 2) / n);
    }
    return out;
  }

 private:
  int sourceHeight_;
  int width_;
  int height_;
  int row_ = 0;
  std::vector<int> xMap_;
  std::vector<std::uint32_t> sums_;
  std::vector<std::uint32_t> counts_;
};

enum class Progress { Failed, More, Finished };

// ---- JPEG ------------------------------------------------------------------------------------
// The library reports errors by longjmp, so the functions that call it keep no C++ objects of
// their own; everything lives in JpegState.

struct JpegState {
  jpeg_decompress_struct info{};
  JpegError error{};
  bool created = false;
  bool cmyk = false;
  // Progressive files are absorbed scan by scan before the rows can be read.
  bool absorbing = false;
  int orientation = ExifOrientation::kUpright;
  std::vector<std::uint8_t> preview;  // the Exif preview, when the file has one
  SIZE target{0, 0};                  // the thumbnail in the file's own orientation
  std::vector<std::uint8_t> row;
  std::vector<std::uint8_t> rgb;
  std::unique_ptr<RowReducer> reducer;

  ~JpegState() {
    if (created) jpeg_destroy_decompress(&info);
  }
};

// Reads the header: size, orientation and preview. False when the file is no JPEG we take.
bool readJpegHeader(JpegState* s, const std::uint8_t* data, std::size_t size, SIZE box) {
  jpeg_decompress_struct* info = &s->info;
  s->error.attach(info);
  if (setjmp(s->error.jump)) return false;
  jpeg_create_decompress(info);
  s->created = true;
  info->mem->max_memory_to_use = 512L * 1024 * 1024;
  jpeg_mem_src(info, data, static_cast<unsigned long>(size));
  jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || tooLarge(info->image_width, info->image_height)) return false;
  for (jpeg_saved_marker_ptr marker = info->marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1) continue;
    const std::span<const std::uint8_t> payload(marker->data, marker->data_length);
    if (s->orientation == ExifOrientation::kUpright) s->orientation = ExifOrientation::fromApp1(payload);
    if (s->preview.empty()) {
      const std::span<const std::uint8_t> preview = ExifThumbnail::fromApp1(payload);
      s->preview.assign(preview.begin(), preview.end());
    }
  }
  const bool turned = ExifOrientation::swapsSides(s->orientation);
  const SIZE stored{static_cast<LONG>(info->image_width), static_cast<LONG>(info->image_height)};
  const SIZE upright{turned ? stored.cy : stored.cx, turned ? stored.cx : stored.cy};
  const SIZE thumb = thumbnailSize(box, upright);
  s->target = turned ? SIZE{thumb.cy, thumb.cx} : thumb;
  return s->target.cx > 0 && s->target.cy > 0;
}

bool startJpegRows(JpegState* s) {
  jpeg_decompress_struct* info = &s->info;
  if (setjmp(s->error.jump)) return false;
  s->cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = s->cmyk ? JCS_CMYK : JCS_RGB;
  info->scale_num = 1;
  info->scale_denom = 1;
  for (unsigned d : {8u, 4u, 2u}) {
    if ((info->image_width + d - 1) / d >= static_cast<unsigned>(s->target.cx) &&
        (info->image_height + d - 1) / d >= static_cast<unsigned>(s->target.cy)) {
      info->scale_denom = d;
      break;
    }
  }
  // A progressive file would be absorbed whole inside the start; in buffered mode it is read a
  // row of blocks at a time, between input events like every other step.
  s->absorbing = jpeg_has_multiple_scans(info) != FALSE;
  info->buffered_image = s->absorbing ? TRUE : FALSE;
  jpeg_start_decompress(info);
  if (s->error.truncated || info->output_width == 0 || info->output_height == 0) return false;
  s->row.assign(static_cast<std::size_t>(info->output_width) * static_cast<std::size_t>(info->output_components), 0);
  s->rgb.assign(static_cast<std::size_t>(info->output_width) * 3, 0);
  s->reducer = std::make_unique<RowReducer>(static_cast<int>(info->output_width), static_cast<int>(info->output_height),
                                            std::min<int>(s->target.cx, static_cast<int>(info->output_width)),
                                            std::min<int>(s->target.cy, static_cast<int>(info->output_height)));
  return true;
}

Progress readJpegRows(JpegState* s, Clock::time_point deadline) {
  jpeg_decompress_struct* info = &s->info;
  if (setjmp(s->error.jump)) return Progress::Failed;
  while (s->absorbing) {
    const int read = jpeg_consume_input(info);
    if (read == JPEG_SUSPENDED || s->error.truncated) return Progress::Failed;
    if (read == JPEG_REACHED_EOI) {
      s->absorbing = false;
      jpeg_start_output(info, info->input_scan_number);
    }
    if (Clock::now() >= deadline) return Progress::More;
  }
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = s->row.data();
    if (jpeg_read_scanlines(info, &row, 1) != 1 || s->error.truncated) return Progress::Failed;
    if (s->cmyk) {
      pixelrows::cmykToRgb(row, s->rgb.data(), static_cast<int>(info->output_width), info->saw_Adobe_marker);
      s->reducer->add(s->rgb.data());
    } else {
      s->reducer->add(row);
    }
    if (Clock::now() >= deadline)
      return info->output_scanline < info->output_height ? Progress::More : Progress::Finished;
  }
  return Progress::Finished;
}

// ---- PNG -------------------------------------------------------------------------------------

struct PngState {
  png_structp png = nullptr;
  png_infop info = nullptr;
  std::span<const std::uint8_t> data;
  std::size_t offset = 0;
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  png_uint_32 y = 0;
  int pass = 0;
  int passes = 1;
  // Rows read per pass, and whether the rows come whole or pass by pass into `picture`.
  png_uint_32 rows = 0;
  png_uint_32 rowWidth = 0;
  bool wholeRows = true;
  std::vector<std::uint8_t> picture;
  std::vector<std::uint8_t> rgba;
  std::vector<std::uint8_t> rgb;
  std::unique_ptr<RowReducer> reducer;

  ~PngState() {
    if (png != nullptr) png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  }
};

void pngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep target, png_size_t length) {
  auto* s = static_cast<PngState*>(png_get_io_ptr(png));
  if (length > s->data.size() - s->offset) png_error(png, "truncated");
  std::memcpy(target, s->data.data() + s->offset, length);
  s->offset += length;
}

bool startPng(PngState* s, SIZE box) {
  s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  if (s->png == nullptr) return false;
  s->info = png_create_info_struct(s->png);
  if (s->info == nullptr) return false;
  if (setjmp(png_jmpbuf(s->png))) return false;
  png_set_read_fn(s->png, s, pngRead);
  png_read_info(s->png, s->info);
  s->width = png_get_image_width(s->png, s->info);
  s->height = png_get_image_height(s->png, s->info);
  if (tooLarge(s->width, s->height)) return false;
  const SIZE thumb = thumbnailSize(box, SIZE{static_cast<LONG>(s->width), static_cast<LONG>(s->height)});
  if (thumb.cx <= 0 || thumb.cy <= 0) return false;
  const bool interlaced = png_get_interlace_type(s->png, s->info) != PNG_INTERLACE_NONE;
  if (!interlaced) {
    const std::uint64_t packedRows = static_cast<std::uint64_t>(s->height) * (png_get_rowbytes(s->png, s->info) + 1);
    if ((s->data.size() - s->offset) * 1032ull < packedRows) return false;
  }
  // The first of an interlaced picture's seven passes is every eighth pixel of every eighth
  // row: when that covers the thumbnail, it is all we read.
  const png_uint_32 firstPassWidth = PNG_PASS_COLS(s->width, 0);
  const png_uint_32 firstPassHeight = PNG_PASS_ROWS(s->height, 0);
  s->wholeRows = !interlaced || (firstPassWidth >= static_cast<png_uint_32>(thumb.cx) &&
                                 firstPassHeight >= static_cast<png_uint_32>(thumb.cy));
  if (interlaced && !s->wholeRows) s->passes = png_set_interlace_handling(s->png);
  png_set_expand(s->png);
  png_set_strip_16(s->png);
  png_set_gray_to_rgb(s->png);
  png_set_add_alpha(s->png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(s->png, s->info);
  const std::size_t rowBytes = static_cast<std::size_t>(s->width) * 4;
  if (png_get_rowbytes(s->png, s->info) != rowBytes) return false;
  s->rgb.assign(static_cast<std::size_t>(s->width) * 3, 0);
  if (s->wholeRows) {
    s->rowWidth = interlaced ? firstPassWidth : s->width;
    s->rows = interlaced ? firstPassHeight : s->height;
    s->rgba.assign(rowBytes, 0);
    s->reducer = std::make_unique<RowReducer>(static_cast<int>(s->rowWidth), static_cast<int>(s->rows),
                                              std::min<int>(thumb.cx, static_cast<int>(s->rowWidth)),
                                              std::min<int>(thumb.cy, static_cast<int>(s->rows)));
  } else {
    // Smaller than eight thumbnails across: the passes build the whole picture, which is small.
    s->rows = s->height;
    s->rowWidth = s->width;
    s->picture.assign(rowBytes * s->height, 0);
    s->reducer =
        std::make_unique<RowReducer>(static_cast<int>(s->width), static_cast<int>(s->height), thumb.cx, thumb.cy);
  }
  return true;
}

Progress readPngRows(PngState* s, Clock::time_point deadline) {
  if (setjmp(png_jmpbuf(s->png))) return Progress::Failed;
  const std::size_t rowBytes = static_cast<std::size_t>(s->width) * 4;
  while (s->pass < s->passes) {
    while (s->y < s->rows) {
      if (s->wholeRows) {
        png_read_row(s->png, s->rgba.data(), nullptr);
        pixelrows::flattenRgba(s->rgba.data(), s->rgb.data(), static_cast<int>(s->rowWidth));
        s->reducer->add(s->rgb.data());
      } else {
        png_read_row(s->png, s->picture.data() + rowBytes * s->y, nullptr);
      }
      ++s->y;
      if (Clock::now() >= deadline) return Progress::More;
    }
    s->y = 0;
    ++s->pass;
  }
  if (!s->wholeRows) {
    for (png_uint_32 y = 0; y < s->height; ++y) {
      pixelrows::flattenRgba(s->picture.data() + rowBytes * y, s->rgb.data(), static_cast<int>(s->width));
      s->reducer->add(s->rgb.data());
    }
    s->picture.clear();
  }
  return Progress::Finished;
}

}  // namespace

struct ThumbnailJob::Decoding {
  std::vector<std::uint8_t> bytes;
  std::unique_ptr<JpegState> jpeg;
  std::unique_ptr<PngState> png;
};

ThumbnailJob::ThumbnailJob(platform::shell::PictureSource source, SIZE box)
    : source_(std::move(source)), box_(box), decoding_(std::make_unique<Decoding>()) {}

ThumbnailJob::~ThumbnailJob() = default;

void ThumbnailJob::install() {
  platform::shell::PictureDecoder::install([](platform::shell::PictureSource source, SIZE box) {
    return std::unique_ptr<platform::shell::PictureJob>(std::make_unique<ThumbnailJob>(std::move(source), box));
  });
}

void ThumbnailJob::finish(std::optional<RgbImage> image) {
  result_ = std::move(image);
  decoding_.reset();
  phase_ = Phase::Done;
}

void ThumbnailJob::start() {
  Decoding& d = *decoding_;
  const std::span<const std::uint8_t> bytes(d.bytes);
  switch (ImageDecoder::detectFormat(bytes)) {
    case ImageFormat::Jpeg: {
      d.jpeg = std::make_unique<JpegState>();
      JpegState& s = *d.jpeg;
      if (!readJpegHeader(&s, d.bytes.data(), d.bytes.size(), box_)) return finish(std::nullopt);
      if (!s.preview.empty()) {
        // The preview serves when it is as large as the thumbnail and shows the same shape
        // (some cameras pad their previews with bars).
        const std::optional<RgbImage> preview = ImageDecoder::decode(s.preview);
        const std::int64_t w = s.info.image_width, h = s.info.image_height;
        if (preview && preview->width >= s.target.cx && preview->height >= s.target.cy &&
            std::abs(preview->width * h - preview->height * w) * 50 <= w * preview->height) {
          const std::optional<RgbImage> small = PictureScaler::resample(*preview, s.target.cx, s.target.cy);
          if (small) return finish(ExifOrientation::upright(*small, s.orientation));
        }
      }
      if (!startJpegRows(&s)) return finish(std::nullopt);
      phase_ = Phase::Rows;
      return;
    }
    case ImageFormat::Png: {
      d.png = std::make_unique<PngState>();
      d.png->data = bytes;
      if (!startPng(d.png.get(), box_)) return finish(std::nullopt);
      phase_ = Phase::Rows;
      return;
    }
    case ImageFormat::Unknown:
      break;
  }
  finish(std::nullopt);
}

bool ThumbnailJob::step() {
  const Clock::time_point deadline = Clock::now() + kSlice;
  if (phase_ == Phase::Read) {
    if (!source_.hostPath.empty()) {
      std::optional<std::vector<std::uint8_t>> bytes = PictureCodec::readFile(source_.hostPath);
      if (!bytes) {
        finish(std::nullopt);
        return true;
      }
      decoding_->bytes = std::move(*bytes);
    } else {
      decoding_->bytes = std::move(source_.bytes);
    }
    phase_ = Phase::Start;
    // Reading a large file is a slice of its own.
    if (Clock::now() >= deadline) return false;
  }
  if (phase_ == Phase::Start) {
    start();
    if (phase_ == Phase::Done || Clock::now() >= deadline) return phase_ == Phase::Done;
  }
  if (phase_ == Phase::Rows) {
    Decoding& d = *decoding_;
    const Progress progress = d.jpeg ? readJpegRows(d.jpeg.get(), deadline) : readPngRows(d.png.get(), deadline);
    if (progress == Progress::Failed) {
      finish(std::nullopt);
    } else if (progress == Progress::Finished) {
      if (d.jpeg) {
        const int orientation = d.jpeg->orientation;
        RgbImage image = d.jpeg->reducer->image();
        // Scaled decoding may land a little off the thumbnail's size; the last pass sets it.
        if (image.width != d.jpeg->target.cx || image.height != d.jpeg->target.cy) {
          std::optional<RgbImage> exact = PictureScaler::resample(image, d.jpeg->target.cx, d.jpeg->target.cy);
          if (exact) image = std::move(*exact);
        }
        finish(ExifOrientation::upright(image, orientation));
      } else {
        finish(d.png->reducer->image());
      }
    }
  }
  return phase_ == Phase::Done;
}

std::optional<platform::shell::PicturePixels> ThumbnailJob::result() {
  if (!result_) return std::nullopt;
  platform::shell::PicturePixels pixels;
  pixels.width = result_->width;
  pixels.height = result_->height;
  pixels.rgb = result_->rgb;
  return pixels;
}

}  // namespace pellucard
