#include "tests/desktop/XServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace pellucard::testing {

namespace {
constexpr int kStartSeconds = 20;
}

XServer::XServer(int width, int height) {
  int ready[2];
  if (::pipe(ready) != 0) {
    problem_ = "no pipe to hear from Xvfb";
    return;
  }
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
  const std::string fd = std::to_string(ready[1]);
  pid_ = ::fork();
  if (pid_ == 0) {
    ::close(ready[0]);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    // -displayfd: the server picks a free display and writes its number when it takes clients.
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", nullptr);
    ::_exit(127);
  }
  ::close(ready[1]);
  if (pid_ < 0) {
    ::close(ready[0]);
    problem_ = "cannot start a process for Xvfb";
    return;
  }
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
  while (number.empty() || number.back() != '\n') {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    pollfd p{ready[0], POLLIN, 0};
    if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
    char c = 0;
    if (::read(ready[0], &c, 1) != 1) break;
    number += c;
  }
  ::close(ready[0]);
  if (number.empty() || number.back() != '\n') {
    problem_ = "Xvfb did not start (is the xvfb package installed? scripts/setup installs it)";
    return;
  }
  number.pop_back();
  display_ = ":" + number;
}

XServer::~XServer() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

}  // namespace pellucard::testing
