// The up-down control ("msctls_updown32"): a pair of arrows that moves a position through a range,
// shown beside a buddy window it keeps in step. With UDS_ALIGNRIGHT or UDS_ALIGNLEFT it takes its
// place at the buddy's edge and narrows the buddy by its own width; sent UDM_SETBUDDY again, it
// aligns itself to the buddy anew (a buddy it narrowed and nobody resized since is not narrowed
// twice). With UDS_SETBUDDYINT the buddy's text is the position (read back before each step, so a
// typed number counts); a list box buddy is spun through its items instead, its selection being
// the position. The control subclasses its buddy to see its keys: with UDS_ARROWKEYS the arrow
// keys step (Up and Down on Pocket PC; Left and Right on the Smartphone, where Up and Down move
// between the fields of a form).
//
// Every step asks the parent first (UDN_DELTAPOS; a non-zero answer refuses it, and the parent may
// change iDelta), then moves the position (stopping at the ends, or going round with UDS_WRAP),
// writes the buddy (a list box buddy's parent gets LBN_SELCHANGE, as if the user had chosen), and
// always ends with WM_VSCROLL (WM_HSCROLL with UDS_HORZ) SB_THUMBPOSITION to the parent; letting go
// of the arrow or key sends SB_ENDSCROLL. Holding an arrow repeats, faster by UDM_SETACCEL.
//
// On the Smartphone the control draws the device's left and right arrows at the end of the field,
// in the highlight colour while the field has the focus, an arrow that cannot move greyed; with
// UDS_NOSCROLL it shows no arrows, takes no width and never steps. With UDS_EXPANDABLE the action
// key on the field expands it: the parent gets WM_NOTIFY UDN_EXPANDING and, unless it answers
// non-zero, the platform shows a full-screen editor for an edit buddy (the text is written back on
// Done, with EN_CHANGE) or a full-screen pick list for a list box buddy (the choice becomes the
// selection, with LBN_SELCHANGE). The full screen's title is the up-down's own window text, else the
// label before the buddy (a STATIC just before it in z-order), else the top-level window's title.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/UpDownRange.h"
#include "platform/controls/WinUpDown.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class UpDown {
  friend class ControlTable<UpDown>;

 public:
  explicit UpDown(HWND hwnd) : hwnd_(hwnd) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The control behind a window; nullptr when it is not one or is being destroyed.
  static UpDown* fromWindow(HWND hwnd);

 private:
  enum class BuddyKind { None, Edit, List, Other };

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void onCreate(const CREATESTRUCTW& cs);

  // The buddy.
  HWND setBuddy(HWND buddy);
  void align();
  BuddyKind buddyKind() const;
  void hookBuddy();
  void unhookBuddy();
  static LRESULT CALLBACK buddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // A message for the buddy, seen first; false lets it through untouched.
  bool filterBuddyMessage(WNDPROC next, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // The position.
  // The range and position in force: the list's items for a list box buddy, else the control's.
  UpDownRange current() const;
  // Takes the position from the buddy's text; false when the text is no number of the range.
  bool readBuddy();
  void writeBuddy(int position, bool byUser);
  std::u16string formatted(int value) const;
  int setPosition(int position);
  LRESULT positionReply(bool wide, BOOL* error);

  // Stepping and expanding.
  bool smartphone() const;
  bool expandable() const;
  bool steps() const;
  int spinDirection(UINT vk) const;
  int increment(DWORD heldSince) const;
  // False when there was nothing to step (an empty list, a control that does not step).
  bool spin(int direction, DWORD heldSince);
  void endSpin();
  void expand();
  void expandText();
  void expandList();
  std::u16string expansionTitle() const;

  // Input.
  int arrowAt(POINT pt) const;
  void onLButtonDown(POINT pt);
  void stopPress();
  bool onKeyDown(UINT vk, LPARAM lParam);
  bool onKeyUp(UINT vk);

  // Look.
  int naturalWidth() const;
  void paint();
  void notifyScroll(int code);
  LRESULT notify(UINT code, NMUPDOWN& nm);
  DWORD style() const;

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;
  HWND buddy_ = nullptr;
  bool aligned_ = false;
  RECT buddyBefore_{};  // the buddy's rectangle before aligning narrowed it
  RECT buddyAfter_{};   // and as aligning left it
  int width_ = 0;       // as created (Pocket PC)
  UpDownRange range_;
  int base_ = 10;
  std::vector<UDACCEL> accels_{{0, 1}, {2, 5}, {5, 20}};
  int pressed_ = 0;  // the arrow the stylus holds: 1 up or right, -1 down or left
  DWORD pressedSince_ = 0;
  UINT spinKey_ = 0;  // the key whose release ends a spin
  DWORD keySince_ = 0;
  bool swallowReturn_ = false;  // the action key's character after it expanded the field
  bool expanding_ = false;
};

// How the control looks: two arrows side by side (horizontal) or stacked, on buttons on Pocket PC
// or bare at the end of the field on the Smartphone.
struct UpDownLook {
  bool smartphone = false;
  bool horizontal = false;
  bool enabled = true;
  bool focused = false;  // the field has the focus (Smartphone)
  int pressed = 0;       // 1 the up or right arrow, -1 the other
  bool canIncrease = true;
  bool canDecrease = true;
};
void drawUpDown(HDC hdc, const RECT& client, const UpDownLook& look);
// The arrow under a point of the client area: 1 up or right, -1 down or left, 0 none.
int upDownArrowAt(const RECT& client, bool horizontal, POINT pt);

}  // namespace platform::controls
