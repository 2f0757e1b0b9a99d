// The program's life: a normal start (single instance, the application-wide objects in their
// order, the main frame, the PIN check, the message loop), the uninstall clean-up, and the
// shutdown order.
#pragma once

#include <optional>
#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard {

class Startup {
 public:
  // The entry point's work; returns the exit code.
  static int run(HINSTANCE instance, const std::u16string& commandLine, int showCommand);

  // Deletes the application-wide objects in their order and uninitialises COM.
  static void shutdown();

  // What the user reads when start-up fails with a text: string 5015, the text, string 5016.
  static std::u16string errorMessage(const std::u16string& text);

 private:
  static void normalStart(HINSTANCE instance, int showCommand);
  static void runMainWindow(HINSTANCE instance, int showCommand, bool firstLaunch,
                            const std::optional<std::u16string>& databaseProblem);
  static void uninstall(HINSTANCE instance, bool reinstall);
};

}  // namespace pellucard
