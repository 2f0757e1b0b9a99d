// While a long command runs on the one thread: the wait cursor shows, and between the command's
// steps the screen repaints. Taps and keys that arrive meanwhile are dropped, so that none starts
// another command or closes the window halfway; every other message waits in the queue.
#pragma once

#include "platform/win/WinUser.h"

namespace pellucard {

class BusyIndicator {
 public:
  BusyIndicator();
  // The cursor shown before comes back.
  ~BusyIndicator();
  BusyIndicator(const BusyIndicator&) = delete;
  BusyIndicator& operator=(const BusyIndicator&) = delete;

  // Paints what needs painting and shows it, with the wait cursor on top; drops input.
  void keepPainting();

 private:
  HCURSOR previous_;
  HCURSOR wait_;
};

}  // namespace pellucard
