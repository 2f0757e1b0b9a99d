// A private X display for one test: Xvfb on the first free display number, ended with the test.
#pragma once

#include <sys/types.h>

#include <string>

namespace pellucard::testing {

class XServer {
 public:
  // Starts Xvfb with one screen of this size (24-bit colour) and waits until it takes clients.
  XServer(int width, int height);
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool running() const { return pid_ > 0 && !display_.empty(); }
  // Why it did not start (when not running).
  const std::string& problem() const { return problem_; }
  // ":N", for DISPLAY.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string problem_;
};

}  // namespace pellucard::testing
