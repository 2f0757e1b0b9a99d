// Registration of the control classes this folder builds ("SysListView32", "SysTreeView32", "STATIC",
// "LISTBOX", "ComboBox", "SysDateTimePick32", "SysMonthCal32").
#pragma once

namespace platform::controls {

// Registers the classes that are not registered yet; safe to call any number of times (after a
// window manager reset too).
void registerControlClasses();

}  // namespace platform::controls
