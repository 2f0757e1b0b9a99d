// The windows and their classes: handles, the parent and owner links, the z-order of top-level
// windows and of each window's children, and where every window lies on the screen.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/HandleMap.h"
#include "platform/win/RectList.h"
#include "platform/win/Window.h"

namespace platform {

class WindowTree {
 public:
  // The window of a handle, or nullptr (no last error set).
  Window* find(HWND hwnd) const;
  // Like find, but sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a live window.
  Window* get(HWND hwnd) const;

  // Classes, by name (any case) or atom.
  std::shared_ptr<WindowClass> findClass(const std::u16string& name) const;
  std::shared_ptr<WindowClass> findClass(ATOM atom) const;
  // Adds a class under a fresh atom and returns the atom.
  ATOM addClass(std::shared_ptr<WindowClass> cls);
  void removeClass(const WindowClass& cls);

  // A new window under a handle never used before; it is in no z-order list yet.
  Window& create();
  // Takes the window out of its z-order list and forgets it.
  void remove(HWND hwnd);

  // Z-order lists, topmost first.
  const std::vector<HWND>& topLevels() const { return topLevels_; }
  const std::vector<HWND>& siblingsOf(const Window& w) const;
  // Puts a window at the bottom of its siblings (a new child: creation order is tab order).
  void linkAtBottom(const Window& w);
  // Puts a window at the top of its siblings, above the topmost ones too.
  void linkAtTop(const Window& w);
  void unlink(const Window& w);
  // Takes a handle out of the top-level list whether or not its window is still there.
  void unlinkTopLevel(HWND hwnd);
  // Puts a window at the top of its siblings: below the topmost windows unless it is one, and
  // (for a top-level window) with the windows it owns kept above it. True when the order changed.
  bool raise(HWND hwnd);
  // SetWindowPos's z-order: after `insertAfter`, or HWND_TOP, HWND_BOTTOM, HWND_TOPMOST or
  // HWND_NOTOPMOST (which also set or clear WS_EX_TOPMOST). True when the order changed.
  bool place(Window& w, HWND insertAfter);

  // Geometry.
  POINT clientOrigin(const Window& w) const;  // screen position of the client area's (0,0)
  RECT windowScreenRect(const Window& w) const;
  RECT clientScreenRect(const Window& w) const;
  bool visible(const Window& w) const;  // WS_VISIBLE on the window and every ancestor
  bool enabled(const Window& w) const;
  HWND topLevelOf(HWND hwnd) const;
  bool isDescendant(HWND ancestor, HWND hwnd) const;  // hwnd inside ancestor's tree (or equal)
  // The visible part of the client area (or whole window) in screen coordinates.
  RectList visibleRegion(const Window& w, bool wholeWindow) const;
  HWND windowFromPoint(POINT screenPt, int* hitTest = nullptr) const;

  // Forgets windows and classes (the windows must have been destroyed); handles stay unused.
  void clear();

 private:
  std::vector<HWND>& siblingList(const Window& w);

  HandleMap<HWND, std::unique_ptr<Window>> windows_;                // looked up on every message
  std::map<std::u16string, std::shared_ptr<WindowClass>> classes_;  // by lower-case name
  ATOM nextAtom_ = 0xC000;
  std::vector<HWND> topLevels_;
  std::uintptr_t nextHandle_ = 0x10000;
};

}  // namespace platform
