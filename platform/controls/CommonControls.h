// Registration of the control classes this folder builds ("EDIT", "BUTTON", "STATIC", "LISTBOX",
// "ComboBox", "SysListView32", "SysTreeView32", "SysDateTimePick32", "SysMonthCal32", "msctls_updown32").
#pragma once

namespace platform::controls {

// Registers the classes that are not registered yet; safe to call any number of times (after a
// window manager reset too).
void registerControlClasses();

}  // namespace platform::controls
