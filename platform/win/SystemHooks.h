// What the window layer hands the system services below it when it starts, as a driver is
// handed its callbacks: the broadcaster of setting changes and the windows the single-instance
// channel may find, post to and bring forward.
#pragma once

namespace platform {

// Idempotent; the window manager calls it when it comes up.
void installSystemHooks();

}  // namespace platform
