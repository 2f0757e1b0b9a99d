// The program's entry point, called by the platform once the device is up.
#include <string>

#include "app/Startup.h"
#include "platform/base/WinMain.h"

int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
  return pellucard::Startup::run(instance, commandLine ? std::u16string(commandLine) : std::u16string(), showCommand);
}
