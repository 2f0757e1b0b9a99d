// The window manager's tables: classes, windows, the queue, timers, focus and paint state.
// user32 calls (the *Api.cpp files) are thin checks over this. One thread owns all of it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/WinGdi.h"
#include "platform/win/RectList.h"
#include "platform/win/WinUser.h"

namespace platform {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC proc = nullptr;
  int clsExtra = 0;
  int wndExtra = 0;
  HINSTANCE instance = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  int windowCount = 0;
};

struct ScrollBarState {
  int min = 0;
  int max = 100;  // the range a window scroll bar starts with
  int page = 0;
  int pos = 0;
  int trackPos = 0;
  bool enabled = true;
};

struct DialogState {
  DLGPROC proc = nullptr;
  LRESULT msgResult = 0;
  LONG_PTR user = 0;
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HWND savedFocus = nullptr;
  HWND disabledOwner = nullptr;  // the owner a modal dialog disabled, enabled again at its end
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
  UINT_PTR id = 0;
  HWND parent = nullptr;       // child windows only
  HWND owner = nullptr;        // top-level windows only
  std::vector<HWND> children;  // z-order, topmost first
  RECT rect{};                 // window rectangle in the parent's client coordinates (screen for top-level)
  std::u16string text;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  std::vector<BYTE> extra;
  // Paint state, client coordinates.
  RECT update{};
  bool erase = false;
  bool internalPaint = false;
  bool frameDirty = false;
  bool redraw = true;
  bool painting = false;
  ScrollBarState vscroll;
  ScrollBarState hscroll;
  std::unique_ptr<DialogState> dialog;
  bool destroying = false;
  bool created = false;
};

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  std::int64_t due = 0;
  TIMERPROC proc = nullptr;
};

struct HotKey {
  HWND hwnd = nullptr;
  int id = 0;
  UINT modifiers = 0;
  UINT vk = 0;
};

// Host input waiting to become window messages; its target is chosen when it is read.
struct InputEvent {
  enum class Kind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp };
  Kind kind = Kind::KeyDown;
  POINT pt{};
  UINT vk = 0;
  WCHAR ch = 0;  // for VK_PACKET
  bool repeat = false;
  DWORD time = 0;
};

class WindowManager {
 public:
  static WindowManager& instance();

  // The window of a handle, or nullptr (no last error set).
  Window* find(HWND hwnd);
  // Like find, but sets ERROR_INVALID_WINDOW_HANDLE when the handle is not a live window.
  Window* get(HWND hwnd);
  std::shared_ptr<WindowClass> findClass(const std::u16string& name);

  HWND newHandle();
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::map<std::u16string, std::shared_ptr<WindowClass>> classes;  // by lower-case name
  ATOM nextAtom = 0xC000;
  std::vector<HWND> topLevels;  // z-order, topmost first

  // Geometry.
  POINT clientOrigin(const Window& w);  // screen position of the client area's (0,0)
  RECT windowScreenRect(const Window& w);
  RECT clientRectLocal(const Window& w);  // client area relative to the window rectangle
  RECT clientScreenRect(const Window& w);
  bool visible(const Window& w);  // WS_VISIBLE on the window and every ancestor
  bool enabled(const Window& w);
  HWND topLevelOf(HWND hwnd);
  bool isDescendant(HWND ancestor, HWND hwnd);  // hwnd inside ancestor's tree (or equal)
  // The visible part of the client area (or whole window) in screen coordinates.
  RectList visibleRegion(const Window& w, bool wholeWindow);
  HWND windowFromPoint(POINT screenPt, int* hitTest = nullptr);
  std::vector<HWND>& siblingsOf(const Window& w);

  // Paint: rules in Paint.cpp.
  void invalidate(Window& w, const RECT* clientRect, bool erase, bool children);
  void validate(Window& w, const RECT* clientRect, bool children);
  void invalidateScreenArea(const RECT& screenRect);  // after something uncovered it
  void fillDesktop(const RECT& screenRect);
  HWND findWindowToPaint();
  void paintFrame(Window& w);
  void sendPaint(HWND hwnd);
  void paintTree(HWND hwnd, bool children);  // synchronous repaint of a window (and children)

  // Queue.
  std::deque<MSG> posted;
  std::deque<InputEvent> input;
  bool quitPosted = false;
  int quitCode = 0;
  bool hostFinished = false;
  MSG lastMsg{};
  // Finds the next message per the queue rules (Queue.cpp); false when there is none.
  bool nextMessage(MSG& msg, HWND filter, UINT min, UINT max, bool remove);
  // Turns host input into a window message; with apply, also its effects (key state,
  // activation, scroll bar tracking). False when the input becomes no message.
  bool readInput(const InputEvent& event, MSG& out, bool apply);
  void idle();  // present and wait for the host
  void removeMessagesFor(HWND hwnd);

  // Timers.
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 1;
  std::int64_t now();  // ticks of the platform clock, unwrapped to 64 bits
  std::int64_t lastTicks = 0;
  std::uint32_t lastRawTicks = 0;
  bool ticksStarted = false;
  // Milliseconds until the next timer is due, 0 if one is due, -1 if there is none.
  int msUntilNextTimer();

  // Focus, activation, capture.
  HWND focus = nullptr;
  HWND active = nullptr;
  HWND capture = nullptr;
  void setFocus(HWND hwnd);
  void activate(HWND hwnd, int how);
  void activateNextTopLevel(HWND leaving);
  void bringToTop(HWND hwnd);
  // Puts a window at the top of its siblings: below the topmost windows unless it is one, and
  // (for a top-level window) with the windows it owns kept above it. True when the order changed.
  bool raiseInZOrder(HWND hwnd);

  // Input state.
  BYTE keyState[256] = {};
  std::vector<HotKey> hotKeys;
  POINT cursorPos{};
  HWND lastClickWindow = nullptr;
  DWORD lastClickTime = 0;
  POINT lastClickPt{};
  bool lastClickWasDouble = false;
  // Scroll bar tracking by the stylus.
  HWND scrollTrackWindow = nullptr;
  int scrollTrackPart = 0;
  int scrollTrackOffset = 0;
  UINT_PTR scrollRepeatTimer = 0;  // repeats an arrow or page while the stylus holds it

  // Cursor.
  HCURSOR cursor = nullptr;
  bool waitCursorDrawn = false;
  RECT waitCursorRect{};
  void drawWaitCursor();

  // Destroys every window and forgets classes, timers, queue and input state (tests).
  void reset();
  void destroy(HWND hwnd);

 private:
  WindowManager() = default;
  std::uintptr_t nextHandle_ = 0x10000;
};

// Sends a message to a window procedure: the common path of SendMessage and DispatchMessage.
LRESULT callWindow(Window& w, UINT message, WPARAM wParam, LPARAM lParam);

// Shared by SetWindowPos and ShowWindow (WindowPos.cpp).
BOOL setWindowPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

// Frame sizes of a window's non-client area.
int frameBorder(const Window& w);
int frameCaption(const Window& w);
bool hasVScroll(const Window& w);
bool hasHScroll(const Window& w);
// Sets the window's scroll bar style bits after a change of range, page or visibility; true
// when the client area changed.
bool updateScrollStyle(Window& w, int bar, bool disableNoScroll);

// Parts of a window scroll bar in window coordinates (Scroll.cpp); all empty without the bar.
struct ScrollGeometry {
  RECT bar{};
  RECT lineUp{};
  RECT lineDown{};
  RECT track{};
  RECT thumb{};
};
ScrollGeometry scrollGeometry(Window& w, int bar);
// Scroll position for a thumb whose leading edge is at `offset` pixels into the track.
int scrollPosFromThumb(Window& w, int bar, int offset);
void drawScrollBar(Window& w, HDC windowDc, int bar);

HBRUSH classBackgroundBrush(const Window& w);
int copyWindowText(const std::u16string& text, LPWSTR buffer, int maxCount);

}  // namespace platform
