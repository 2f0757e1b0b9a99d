#include "skin/JpegEncoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <jpeglib.h>

namespace pellucard {

namespace {

struct EncodeJob {
  const RgbImage* image = nullptr;
  int quality = JpegEncoder::kDefaultQuality;
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  std::jmp_buf jump;
  unsigned char* buffer = nullptr;  // allocated by the library with malloc
  unsigned long size = 0;
};

[[noreturn]] void encodeErrorExit(j_common_ptr info) {
  auto* job = static_cast<EncodeJob*>(info->client_data);
  std::longjmp(job->jump, 1);
}

void encodeOutputMessage(j_common_ptr) {}

bool runEncode(EncodeJob* job) {
  jpeg_compress_struct* info = &job->info;
  info->err = jpeg_std_error(&job->error);
  job->error.error_exit = encodeErrorExit;
  job->error.output_message = encodeOutputMessage;
  info->client_data = job;
  if (setjmp(job->jump)) {
    jpeg_destroy_compress(info);
    return false;
  }
  jpeg_create_compress(info);
  info->client_data = job;
  jpeg_mem_dest(info, &job->buffer, &job->size);
  const RgbImage& image = *job->image;
  info->image_width = static_cast<JDIMENSION>(image.width);
  info->image_height = static_cast<JDIMENSION>(image.height);
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, job->quality, TRUE);
  // Full-resolution colour keeps the small faces crisp; the files stay a few kilobytes.
  info->comp_info[0].h_samp_factor = 1;
  info->comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(info, TRUE);
  while (info->next_scanline < info->image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(image.pixel(0, static_cast<int>(info->next_scanline)));
    jpeg_write_scanlines(info, &row, 1);
  }
  jpeg_finish_compress(info);
  jpeg_destroy_compress(info);
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> JpegEncoder::encode(const RgbImage& image, int quality) {
  if (image.width <= 0 || image.height <= 0 || image.width > JPEG_MAX_DIMENSION || image.height > JPEG_MAX_DIMENSION ||
      image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
    return std::nullopt;
  }
  auto job = std::make_unique<EncodeJob>();
  job->image = &image;
  job->quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
  if (!runEncode(job.get()) || job->buffer == nullptr) {
    std::free(job->buffer);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(job->buffer, job->buffer + job->size);
  std::free(job->buffer);
  return bytes;
}

}  // namespace pellucard
