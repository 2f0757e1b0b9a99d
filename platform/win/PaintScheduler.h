// What needs painting and in which order. Paint is a flag, not a queued message: each window
// keeps an update rectangle (client coordinates), an erase flag, an internal-paint flag and a
// dirty frame; the queue asks here for the next window to paint when nothing else is waiting.
// Windows of a CS_SAVEBITS class keep the screen under them (SavedBits).
#pragma once

#include <unordered_map>
#include <unordered_set>

#include "platform/win/InputState.h"
#include "platform/win/SavedBits.h"
#include "platform/win/WindowTree.h"

namespace platform {

class PaintScheduler {
 public:
  // The input state tells which window is active, for its caption.
  PaintScheduler(WindowTree& tree, const InputState& input);

  // Adds to the update rectangle of a visible window (null: the whole client area) and, with
  // `children`, to the children under it.
  void invalidate(Window& w, const RECT* clientRect, bool erase, bool children);
  void validate(Window& w, const RECT* clientRect, bool children);
  // The frame (border, caption, scroll bars) is drawn again before the window's next paint.
  void invalidateFrame(const Window& w);
  // Something uncovered a screen area: the windows there are invalidated (erase) and the
  // desktop colour fills what no window covers.
  void invalidateScreenArea(const RECT& screenRect);
  void fillDesktop(const RECT& screenRect);

  struct Update {
    RECT rect{};  // client coordinates; empty when nothing is pending
    bool erase = false;
  };
  Update pendingUpdate(const Window& w) const;
  // BeginPaint: hands over the update and leaves nothing pending but the frame.
  Update takeUpdate(const Window& w);
  void clearErase(const Window& w);
  void setInternalPaint(const Window& w, bool on);
  // ScrollWindowEx: a pending update inside `area` also covers where the pixels went.
  void scrollUpdate(const Window& w, const RECT& area, int dx, int dy, const RECT& clipArea);
  // WM_SETREDRAW: while off, the window and its children are not painted; what is invalidated
  // meanwhile waits.
  void setRedraw(const Window& w, bool on);

  // The first window in z-order (topmost first, a parent before its children) with something
  // to paint; dirty frames met on the way are drawn at once.
  HWND findWindowToPaint();
  // UpdateWindow: paints the window (and its children) now.
  void paintTree(HWND hwnd, bool children);
  // Draws the frame now if it is waiting to be drawn.
  void paintFrameIfDirty(const Window& w);

  // Saved bits (SetWindowPos). A window changed in place, size, z-order or look within
  // `screenRect`: what windows above it keep of the screen there is out of date.
  void windowChanged(const Window& w, const RECT& screenRect);
  // A top-level window is about to be painted after being shown; one of a CS_SAVEBITS class
  // keeps the screen under it.
  void windowShown(const Window& w);
  // A window was hidden from `oldScreenRect`: what it kept is put back, the rest (or all of it)
  // invalidated in the windows below. Without redraw, nothing is repainted.
  void windowHidden(const Window& w, const RECT& oldScreenRect, bool redraw);
  // A window moved or changed size while shown: what it kept no longer lies under it.
  void windowMoved(const Window& w) { savedBits_.discard(w.handle); }
  bool keepsSavedBits() const { return !savedBits_.empty(); }
  // Forgets the screen kept under windows (the screen was resized).
  void dropSavedBits() { savedBits_.clear(); }

  void forget(HWND hwnd);
  void clear();

 private:
  struct Pending {
    RECT update{};
    bool erase = false;
    bool internalPaint = false;
    bool frameDirty = false;
  };

  Pending* pendingOf(HWND hwnd);
  const Pending* pendingOf(HWND hwnd) const;
  void tidy(HWND hwnd);
  bool redrawOn(HWND hwnd) const { return noRedraw_.empty() || !noRedraw_.contains(hwnd); }
  HWND searchPaint(HWND hwnd);
  // Tells the saved bits above the window that its frame is drawn anew.
  void frameChanged(const Window& w);
  RECT clientBounds(const Window& w) const;

  WindowTree& tree_;
  const InputState& input_;
  std::unordered_map<HWND, Pending> pending_;
  std::unordered_set<HWND> noRedraw_;
  SavedBits savedBits_;
};

}  // namespace platform
