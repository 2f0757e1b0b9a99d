#include "skin/JpegError.h"

// clang-format off
#include <jerror.h>
// clang-format on

namespace pellucard {

namespace {

[[noreturn]] void errorExit(j_common_ptr info) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  std::longjmp(error->jump, 1);
}

void emitMessage(j_common_ptr info, int level) {
  auto* error = reinterpret_cast<JpegError*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) error->truncated = true;
}

void outputMessage(j_common_ptr) {}

}  // namespace

void JpegError::attach(jpeg_decompress_struct* info) {
  info->err = jpeg_std_error(&manager);
  manager.error_exit = errorExit;
  manager.emit_message = emitMessage;
  manager.output_message = outputMessage;
}

}  // namespace pellucard
