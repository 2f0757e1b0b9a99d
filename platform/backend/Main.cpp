// The platform owns main, as the handheld's loader did: it reads the device
// options, opens the backend and runs the program.
#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win/DeviceConfig.h"

namespace {

int runWindow(const platform::DeviceConfig& config) {
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "pellucard: cannot open a window (%s); run with --headless instead\n", SDL_GetError());
    return 1;
  }
  SDL_Window* window = SDL_CreateWindow("Pellucard", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        config.screenWidth * config.scale, config.screenHeight * config.scale, 0);
  if (!window) {
    std::fprintf(stderr, "pellucard: cannot open a window (%s); run with --headless instead\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  bool running = true;
  while (running) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) && event.type == SDL_QUIT) running = false;
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    if (surface) {
      SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 255, 255));
      SDL_UpdateWindowSurface(window);
    }
  }
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto parsed = platform::parseDeviceOptions(args);
  if (!parsed.config) {
    std::fprintf(stderr, "pellucard: %s\n%s", parsed.error.c_str(), platform::deviceOptionsHelp().c_str());
    return 2;
  }
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  config = *parsed.config;
  if (config.showHelp) {
    std::fputs(platform::deviceOptionsHelp().c_str(), stdout);
    return 0;
  }
  if (config.showVersion) {
    std::printf("%s\n", platform::pellucardVersion().c_str());
    return 0;
  }
  if (config.headless) {
    std::fprintf(stderr, "pellucard: the headless device is not there yet\n");
    return 2;
  }
  return runWindow(config);
}
