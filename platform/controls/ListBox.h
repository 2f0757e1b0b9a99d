// The list box window ("LISTBOX"): single selection, item data, sorted or in the order given,
// rows of one height (a list box only one row high shows that row over its whole height, as the
// Smartphone's spinner fields do), keyboard and stylus, a vertical scroll bar with WS_VSCROLL,
// WM_SETREDRAW, and the LBN_ notifications (LBN_SELCHANGE and LBN_DBLCLK with LBS_NOTIFY).
#pragma once

#include "platform/controls/ListBoxRows.h"
#include "platform/controls/WinListBox.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class ListBox {
  friend class ControlTable<ListBox>;

 public:
  explicit ListBox(HWND hwnd) : hwnd_(hwnd) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleListMessage(UINT message, WPARAM wParam, LPARAM lParam);

  int addString(LPCWSTR text);
  int insertString(int at, LPCWSTR text);
  LRESULT setCurSel(int i);
  void select(int i, bool byUser);
  // After items came or went: the first row shown, the scroll bar and the picture follow.
  void contentChanged();

  // Geometry.
  int clientHeight() const;
  void measure();
  void keepIntegralHeight();
  void scrollTo(int top);
  void updateScrollBar();
  void invalidateRow(int i);
  void invalidateAll();
  void onVScroll(int code);

  // Input.
  void onKeyDown(UINT vk);
  void onChar(WCHAR ch);
  void onLButtonDown(POINT pt, bool doubleTap);
  void onMouseMove(POINT pt);

  void paint();
  void notify(int code);
  DWORD style() const;

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;
  ListBoxRows rows_;
  HFONT font_ = nullptr;
  bool fixedItemHeight_ = false;  // LB_SETITEMHEIGHT was sent
  bool hasScrollBar_ = false;     // created with WS_VSCROLL
  bool updatingScrollBar_ = false;
  bool redraw_ = true;
  bool tracking_ = false;  // the stylus is down in the list
  bool resizing_ = false;
};

}  // namespace platform::controls
