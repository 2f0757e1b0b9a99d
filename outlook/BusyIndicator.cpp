#include "outlook/BusyIndicator.h"

namespace pellucard {

namespace {
// A window that paints without validating would otherwise keep the loop going for ever.
constexpr int kMostPaintsAtOnce = 64;
}  // namespace

BusyIndicator::BusyIndicator() : previous_(GetCursor()), wait_(LoadCursorW(nullptr, IDC_WAIT)) { SetCursor(wait_); }

BusyIndicator::~BusyIndicator() { SetCursor(previous_); }

void BusyIndicator::keepPainting() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE) ||
         PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
  }
  int painted = 0;
  while (painted < kMostPaintsAtOnce && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    DispatchMessageW(&msg);
    ++painted;
  }
  // Showing the wait cursor again puts it over what was just painted and shows the screen.
  if (painted > 0) SetCursor(wait_);
}

}  // namespace pellucard
