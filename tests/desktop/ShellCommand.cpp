#include "tests/desktop/ShellCommand.h"

#include <stdio.h>
#include <sys/wait.h>

#include <array>

namespace pellucard::testing {

ShellOutcome runShell(const std::string& command) {
  ShellOutcome outcome;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return outcome;
  std::array<char, 4096> buffer{};
  while (const size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) outcome.output.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

std::string shellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace pellucard::testing
