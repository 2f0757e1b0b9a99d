// The list a combo box drops ("ComboLBox"): a popup without activation that shows the combo
// box's rows and holds the stylus while it is open, so a tap outside it closes it. The rows and
// the selection stay the combo box's; the keys stay with the combo box, which has the focus.
#pragma once

#include "platform/controls/ListBoxRows.h"
#include "platform/win/WinUser.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class ComboBox;

class ComboDropList {
  friend class ControlTable<ComboDropList>;

 public:
  ComboDropList(HWND hwnd, HWND combo, bool scrollBar) : hwnd_(hwnd), combo_(combo), scrollBar_(scrollBar) {}
  // Made by the window's creation: its combo box is the owner, its scroll bar the style's.
  ComboDropList(HWND hwnd, const CREATESTRUCTW& cs)
      : ComboDropList(hwnd, cs.hwndParent, (static_cast<DWORD>(cs.style) & WS_VSCROLL) != 0) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Creates the hidden list of a combo box, with a scroll bar when it has to scroll.
  static HWND create(HWND combo, bool scrollBar);
  static ComboDropList* fromWindow(HWND hwnd);

  // Shows the list over `screenRect` with the selection in view and takes the stylus. When the
  // stylus opened it, the press may go on into the list and choose where it is lifted.
  void open(const RECT& screenRect, bool byStylus);
  void close();
  // The combo box's items or selection changed: the selection is brought into view.
  void refresh();
  int clientHeight() const;

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  ComboBox* combo() const;
  void onLButtonDown(POINT pt);
  void onMouseMove(POINT pt);
  void onLButtonUp(POINT pt);
  // The scroll bar lies outside the client area, where the window holding the stylus has to
  // find its parts itself.
  void onScrollBarDown(int y);
  void dragThumb(int y);
  void scrollTo(int top);
  void onVScroll(int code);
  void updateScrollBar();
  void setHot(int i);
  void paint();

  HWND hwnd_;
  HWND combo_;
  bool scrollBar_;
  bool dead_ = false;
  int depth_ = 0;
  int hot_ = -1;                 // the row under the stylus, shown instead of the selection
  bool tracking_ = false;        // the stylus went down in the list
  bool pressFromField_ = false;  // the press that opened the list is still down
  bool draggingThumb_ = false;
  int thumbGrab_ = 0;  // where the thumb was taken, from its top
};

}  // namespace platform::controls
