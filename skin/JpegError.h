// The JPEG library's error handling as the decoders use it: a fatal error jumps back to the
// caller's setjmp, warnings are kept quiet, and a file that ends early is marked, because the
// library pads such a file with an end marker and carries on; the decoders refuse it.
#pragma once

#include <csetjmp>
#include <cstdio>

// clang-format off
#include <jpeglib.h>
// clang-format on

namespace pellucard {

struct JpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  bool truncated = false;

  // Makes this the decompressor's error handler; call setjmp(jump) before the library.
  void attach(jpeg_decompress_struct* info);
};

}  // namespace pellucard
