// The combo box window ("ComboBox") in its drop-down list form (CBS_DROPDOWNLIST): a field that
// shows the selected item and a button, and a list that drops below it (ComboDropList). The
// forms with an edit field (CBS_SIMPLE, CBS_DROPDOWN) are not built; such a combo box behaves as a
// drop-down list. WS_VSCROLL gives the list its scroll bar; CBS_SORT keeps the items in order.
//
// The height the window is created with is the field and the dropped list together: the window
// keeps the field's height (from its font) and the rest is the list's. The list opens with the
// stylus, F4, Alt+Down or Alt+Up (Down with the extended interface), and the action key on the
// Smartphone; it closes with a choice (tap, action key), or without one with Back (Escape), a tap
// elsewhere or the loss of the focus, which put back the selection it opened with. Closed, the
// arrows, Home, End, Page Up, Page Down and typed letters change the selection (in a Smartphone
// dialog Up and Down go on to the next field of the form instead).
//
// Notifications (WM_COMMAND to the parent): CBN_SETFOCUS, CBN_KILLFOCUS; CBN_SELCHANGE when the
// user changes the selection; CBN_DROPDOWN before the list opens; on closing CBN_SELENDOK or
// CBN_SELENDCANCEL, then CBN_CLOSEUP, then CBN_SELCHANGE if the closing itself changed the
// selection. Selections made by messages are not announced. CB_SETCURSEL with an index out of
// range answers CB_ERR and leaves the selection as it was; -1 clears it.
#pragma once

#include "platform/controls/ListBoxRows.h"
#include "platform/controls/WinComboBox.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class ComboBox {
  friend class ControlTable<ComboBox>;

 public:
  explicit ComboBox(HWND hwnd) : hwnd_(hwnd) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The combo box behind a window; nullptr when it is not one or is being destroyed.
  static ComboBox* fromWindow(HWND hwnd);

  // For the dropped list.
  const ListBoxRows& rows() const { return rows_; }
  ListBoxRows& rows() { return rows_; }
  bool dropped() const { return dropped_; }
  // The user picked row i in the list: it becomes the selection and the list closes.
  void choose(int i);
  // The user left the list without a choice.
  void cancel();

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleComboMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCreate(const CREATESTRUCTW& cs);
  void onDestroy();

  int addString(LPCWSTR text);
  int insertString(int at, LPCWSTR text);
  LRESULT setCurSel(int i);
  void select(int i, bool byUser);
  void contentChanged();
  LRESULT selectedText(int size, LPWSTR buffer) const;

  // The field and the list.
  void measure();
  void keepFieldHeight();
  RECT dropRect() const;
  void open(bool byStylus);
  // Closes the list with CBN_SELENDOK (ok) or CBN_SELENDCANCEL; `choice` (when >= 0) becomes the
  // selection, else `restore` puts back the one the list opened with.
  void close(bool ok, bool restore, int choice = -1);

  void onKeyDown(UINT vk);
  void onChar(WCHAR ch);
  LRESULT dialogCode(const MSG* msg) const;
  void paint();
  void notify(int code);
  DWORD style() const;

  HWND hwnd_;
  bool dead_ = false;
  int depth_ = 0;
  ListBoxRows rows_;
  HWND list_ = nullptr;
  HFONT font_ = nullptr;
  int fieldHeight_ = 0;
  int listHeight_ = 0;    // from the height the window was created with
  int droppedWidth_ = 0;  // the list's least width (CB_SETDROPPEDWIDTH)
  bool fixedItemHeight_ = false;
  bool fixedFieldHeight_ = false;
  bool extendedUi_ = false;
  bool listScrollBar_ = false;  // created with WS_VSCROLL, which goes to the list
  bool dropped_ = false;
  int droppedWith_ = -1;  // the selection when the list opened
  bool redraw_ = true;
  bool resizing_ = false;
};

// How the closed field looks: a framed text area with the selected item and a button with an
// arrow at the right end, as wide as the field is high.
struct ComboFieldLook {
  HFONT font = nullptr;
  const std::u16string* text = nullptr;
  bool focused = false;
  bool enabled = true;
  bool pressed = false;  // the list is open
};
void drawComboField(HDC hdc, const RECT& rect, const ComboFieldLook& look);

}  // namespace platform::controls
