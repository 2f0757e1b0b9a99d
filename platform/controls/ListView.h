// The list view window (SysListView32) in report view: columns with or without a header,
// owner-drawn fixed rows or rows drawn from the item texts, single or multiple selection,
// check-box state images, keyboard, stylus, a vertical scroll bar and the LVN_ notifications.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/ListViewItems.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class ListView {
  friend class ControlTable<ListView>;

 public:
  explicit ListView(HWND hwnd);

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Column {
    int fmt = LVCFMT_LEFT;
    int width = 0;
    std::u16string text;
  };

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  // Items.
  int insertItem(const LVITEMW& item);
  BOOL deleteItem(int i);
  BOOL deleteAllItems(bool destroying);
  BOOL getItem(LVITEMW& item) const;
  BOOL setItem(const LVITEMW& item);
  int getItemText(int i, LVITEMW& item) const;
  BOOL setItemStateMessage(int i, const LVITEMW& item);
  // Changes one row's state with LVN_ITEMCHANGING / LVN_ITEMCHANGED; keeps one focused row and,
  // with LVS_SINGLESEL, one selected row. False when the parent vetoed the change.
  bool changeState(int i, UINT state, UINT mask);
  int nextItem(int start, UINT flags) const;
  void selectAndFocus(int i);

  // Columns.
  int insertColumn(int i, const LVCOLUMNW& column);
  BOOL setColumnWidth(int i, int width);
  BOOL getColumn(int i, LVCOLUMNW& column) const;
  BOOL setColumn(int i, const LVCOLUMNW& column);
  int totalColumnWidth() const;
  int autoColumnWidth(int i) const;

  // Geometry.
  int rowHeight();
  int headerHeight() const;
  RECT clientRect() const;
  int countPerPage();
  int maxTop();
  bool getItemRect(int i, RECT& rect);
  int hitTest(LVHITTESTINFO& info);
  DWORD approximateViewRect(int count);

  // Scrolling and redrawing.
  void setTop(int top);
  bool ensureVisible(int i, bool partialOk);
  void updateScrollBar();
  void sendCacheHint();
  void invalidateRows(int first, int last);
  void invalidateFrom(int first);
  void invalidateAll();
  void onVScroll(int code);

  // Input.
  void onKeyDown(WPARAM vk, LPARAM lParam);
  void onLButtonDown(WPARAM keys, LPARAM lParam);
  void activate(int i, POINT pt);

  // Painting.
  void paint();
  void eraseBackground(HDC hdc);
  void drawHeader(HDC hdc);
  void drawRow(HDC hdc, int i, const RECT& row);
  void drawOwnerRow(HDC hdc, int i, const RECT& row);
  void drawCheckBox(HDC hdc, const RECT& box, bool checked) const;

  // Notifications to the parent.
  LRESULT notify(NMHDR& header, UINT code) const;
  LRESULT notifyListView(UINT code, int i, UINT newState, UINT oldState, UINT changed, LPARAM itemParam,
                         POINT pt = {0, 0}) const;
  DWORD style() const;
  bool ownerDrawn() const;
  bool checkBoxes() const { return (exStyle_ & LVS_EX_CHECKBOXES) != 0; }

  HWND hwnd_;
  // The window may be destroyed by the parent while a notification is out; the object lives on
  // until the outermost message returns.
  bool dead_ = false;
  int depth_ = 0;
  ListViewItems items_;
  std::vector<Column> columns_;
  DWORD exStyle_ = 0;
  HFONT font_ = nullptr;
  int rowHeight_ = 0;  // 0 until measured
  int top_ = 0;
  bool redraw_ = true;
  bool updatingScroll_ = false;
  int hintFrom_ = -1;
  int hintTo_ = -1;
  int selectionMark_ = -1;
  COLORREF bkColor_;
  COLORREF textColor_;
  COLORREF textBkColor_;
};

}  // namespace platform::controls
