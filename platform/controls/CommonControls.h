// Registration of the control classes this folder builds ("EDIT", "BUTTON", "SysListView32", "STATIC"...).
#pragma once

namespace platform::controls {

// Registers the classes that are not registered yet; safe to call any number of times (after a
// window manager reset too).
void registerControlClasses();

}  // namespace platform::controls
