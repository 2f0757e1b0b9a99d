// The host window's icon: the largest picture of the program's application icon (its first
// "ICON" resource, as the handheld's shell takes it).
#pragma once

struct SDL_Window;

namespace platform {

// False while the program has registered no icon yet (it does so once it runs).
bool setSdlWindowIcon(SDL_Window* window);

}  // namespace platform
