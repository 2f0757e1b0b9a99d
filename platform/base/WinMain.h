// The program's entry point, which the platform's main calls once the device is up: the
// instance handle, no previous instance, the rest of the command line untouched, and the show
// command. The program (or, until it exists, the demo window tree) defines it.
#pragma once

#include "platform/base/WinTypes.h"

int WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPWSTR commandLine, int showCommand);
