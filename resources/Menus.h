// The program's menus, soft-key menubars and accelerator table, and their registration with
// the platform's resources.
#pragma once

namespace pellucard {

// Registers menus 1501 to 1511, menubars 1500 to 1510, the forms' menus 1521 and 1525 and
// menubars 1520 to 1524, 5102 and 5104, and accelerator table 128. Called at
// start-up, after the string table (the menubar buttons take their texts from it).
void registerMenus();

}  // namespace pellucard
