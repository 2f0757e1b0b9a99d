// What an uninstall removes besides the program: its appointments and tasks, and the PIN.
#pragma once

namespace pellucard {

class UninstallCleanup {
 public:
  // Logs on, opens the store, deletes the exported appointment of every anniversary and the
  // exported task of every loan (identifiers are cleared in memory only, the records are not
  // written), then switches the PIN lock off without asking. The entry point calls it after
  // initialising COM and runs the shutdown sequence afterwards.
  static void run();
};

}  // namespace pellucard
