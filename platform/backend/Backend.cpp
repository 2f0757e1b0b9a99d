#include "platform/backend/Backend.h"

#include <cstdio>

namespace platform {

int Backend::serveDumpRequest(int timeoutMs) {
  if (dumpRequest_ == nullptr) return timeoutMs;
  std::string error;
  // The program goes on either way; the one who asked sees no new file.
  if (!dumpRequest_->serve(error)) std::fprintf(stderr, "pellucard: --dump-file: %s\n", error.c_str());
  return timeoutMs < 0 || timeoutMs > DumpRequest::kPollMs ? DumpRequest::kPollMs : timeoutMs;
}

}  // namespace platform
