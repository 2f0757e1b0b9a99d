// The screen under the shown windows whose class has CS_SAVEBITS (menus, dialogs). Hiding such a
// window puts back the pixels and the texts recorded there, instead of making the windows it
// covered paint again; only where something below changed meanwhile is painted afresh.
#pragma once

#include <vector>

#include "platform/gdi/SavedScreenArea.h"
#include "platform/win/RectList.h"
#include "platform/win/WindowTree.h"

namespace platform {

class SavedBits {
 public:
  explicit SavedBits(const WindowTree& tree) : tree_(tree) {}

  // Keeps the screen under a top-level window about to be shown at `screenRect`. What windows
  // above it cover there is not the screen under it: that part will be painted afresh.
  void save(HWND hwnd, const RECT& screenRect);
  // The window `changed` (null: the desktop) changes within `screenRect`: under every saving
  // window above it, that part is to be painted afresh.
  void markStale(HWND changed, const RECT& screenRect);
  // The window was hidden from `screenRect`: puts back what is still good of the screen kept
  // under it, outside the windows above it, and forgets it. Returns what must be painted afresh
  // (all of `screenRect` when nothing was kept).
  RectList restore(HWND hwnd, const RECT& screenRect);
  void discard(HWND hwnd);

  bool empty() const { return entries_.empty(); }
  void clear() { entries_.clear(); }

 private:
  struct Entry {
    HWND hwnd;
    gdi::SavedScreenArea saved;
    RectList stale;
  };

  // Z-order position of the top-level window holding `hwnd`: 0 topmost, -1 unknown.
  int depthOf(HWND hwnd) const;

  const WindowTree& tree_;
  std::vector<Entry> entries_;  // a few at a time: a menu and its submenus, a dialog
};

}  // namespace platform
