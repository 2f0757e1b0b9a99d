// Only one instance runs: a named mutex with the application title as its name, and the main
// window found by the same title as its class name.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

class SingleInstance {
 public:
  enum class Mode {
    Activate,  // a normal start: bring the running instance to the front
    Close,     // an uninstall: ask the running instance to end
  };
  static constexpr int kAttempts = 25;
  static constexpr DWORD kRetryMs = 100;
  static constexpr int kCloseCountdown = 15;

  // 0: this process may go on (the mutex stays open for its life); 1: another instance was
  // activated, or did not close in time; E_INVALIDARG or E_FAIL when the mutex cannot be made
  // or the title is missing.
  static HRESULT check(HINSTANCE instance, Mode mode);
};

}  // namespace pellucard
