// A dump asked for from outside while the device runs with a window: SIGUSR1 makes it write its
// window dump and its screen to files the next time it is idle, so a test or a person can see
// what the program shows without a script. The signal handler only raises a flag; the files are
// written from the message loop.
#pragma once

#include <signal.h>

#include <string>

namespace platform {

class DumpRequest {
 public:
  // Listens for SIGUSR1 until destroyed. The dump goes to `path`, the screen to `path` + ".png";
  // each is written beside its place first and then renamed, so a reader never sees half a file.
  explicit DumpRequest(std::string path);
  ~DumpRequest();
  DumpRequest(const DumpRequest&) = delete;
  DumpRequest& operator=(const DumpRequest&) = delete;

  // A signal came that was not served yet.
  static bool pending();
  // Writes both files when a signal came since the last call. False, with the reason, when they
  // could not be written; the request is then dropped all the same.
  bool serve(std::string& error);

  // How long the host may wait for input at most while a request can come, in milliseconds.
  static constexpr int kPollMs = 50;

 private:
  std::string path_;
  struct sigaction previous_ {};
};

}  // namespace platform
