// Commands run through the shell by the desktop tests: the install, the X tools, the program.
#pragma once

#include <string>

namespace pellucard::testing {

struct ShellOutcome {
  int exitCode = -1;   // -1 when the command did not end by itself
  std::string output;  // standard output and error together
};

// Runs `command` with /bin/sh and waits for it.
ShellOutcome runShell(const std::string& command);
// `text` as one word of the shell, whatever it holds.
std::string shellQuoted(const std::string& text);

}  // namespace pellucard::testing
