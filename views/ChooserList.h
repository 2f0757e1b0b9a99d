// The list of the choosers and of the contact import: a subclassed list view with one text a
// row, drawn in the system colours, with an optional check box at the left of each row that a
// tap toggles. Typing narrows the rows with the keypad search of the record lists; the full
// rows are kept aside meanwhile, so that check states survive the narrowing and clearSearch()
// can put every row back. While a search runs, the Back key edits it: a short press removes
// the last typed key, a press held for a second clears them all.
//
// The owner reflects notifications (WM_NOTIFY, WM_DRAWITEM) back to the list, and hands it the
// Back key (WM_HOTKEY for VK_TBACK) before it acts on that key itself: a nonzero answer means
// the list took it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/win/WindowBase.h"
#include "views/ArrowKeyHold.h"
#include "views/KeypadSearch.h"

namespace pellucard {

class ChooserList : public platform::WindowImpl<ChooserList> {
 public:
  // WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED |
  // LVS_NOCOLUMNHEADER
  static constexpr DWORD kStyle = 0x50014405;
  // The timer of a held Back key and how long the key must be held to clear the search.
  static constexpr UINT_PTR kBackTimer = 101;
  static constexpr UINT kBackHoldMs = 1000;

  ChooserList();
  // Lets go of the process-wide Back timer when this list holds it.
  ~ChooserList() override;

  static const platform::MessageMap<ChooserList>& messageMap();

  // Creates the list view with this window name ("Items", "Contacts") and control id,
  // subclasses it and inserts its one left-aligned column, as wide as the list.
  HWND create(HWND parent, const RECT& rect, LPCWSTR name, UINT id, DWORD style = kStyle);

  // Shows or hides the check boxes (LVS_EX_CHECKBOXES); every row starts unchecked once they
  // are turned on.
  void setCheckBoxes(bool on);
  bool hasCheckBoxes() const;

  // Appends a row with its text and the owner's value; a running search is cleared first so
  // that the row joins the full list. Returns the row's index, -1 on failure.
  int addRow(std::u16string_view text, LPARAM data, bool checked = false);
  int count() const;
  // The selected row, -1 when none.
  int selectedIndex() const;
  // Selects and focuses a row and scrolls it into view.
  void select(int row);
  // The text a row shows and the value the owner gave it, the same while a search narrows the
  // rows (whose own texts are then the matched words).
  std::u16string textAt(int row) const;
  LPARAM dataAt(int row) const;
  bool isChecked(int row) const;
  void setChecked(int row, bool checked);

  // Whether at least one search key is typed.
  bool isSearching() const { return search_.levelCount() >= 2; }
  int typedKeys() const { return indexBuilt_ ? search_.typedKeys() : 0; }
  // Ends a search: every row comes back in its first order with its text, value and current
  // check state, and the row selected now stays selected. Owners call it before they read all
  // rows (which ones are checked).
  void clearSearch();

  // For the screen that holds the list: offers a Back hot key to the search first, and tells
  // whether the screen should cancel (the search left the key and it is the key's release).
  bool backKeyCancels(int id, UINT modifiers, UINT vk) const;

 private:
  // A row as it was before the search, with its check state kept up to date.
  struct SavedRow {
    std::u16string text;
    bool checked = false;
    LPARAM data = 0;
  };

  bool onDrawItem(const DRAWITEMSTRUCT& draw);
  bool onEraseBackground(HDC dc);
  void onLButtonDown(POINT at, UINT flags);
  LRESULT onLButtonDoubleClick(WPARAM, LPARAM lParam);
  void onKeyDown(UINT vk, UINT flags);
  void onKeyUp(UINT vk, UINT flags);
  void onChar(WCHAR ch, UINT flags);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  void onTimer(UINT_PTR id);
  void onDestroy();
  LRESULT onListKeyDown(NMHDR& header);
  LRESULT onDeleteAllItems(NMHDR& header);

  void toggleAt(POINT at);
  int rowHeight() const;
  LPARAM rawParam(int row) const;
  std::u16string rawText(int row) const;
  // The saved row a narrowed row stands for, or nullptr.
  const SavedRow* savedOf(int row) const;
  void insertRow(int at, std::u16string_view text, LPARAM param, bool checked);

  void buildIndex();
  void discardIndex();
  void saveRows();
  void refreshSavedChecks();
  void showMatches();
  void stopBackTimer();

  int rowHeight_ = 0;  // of the last row drawn; also the width of the check-box column
  bool pocketPc_ = true;
  KeypadSearch search_;
  bool indexBuilt_ = false;
  std::vector<SavedRow> saved_;
  // Set while the list itself deletes and inserts its rows.
  bool rebuilding_ = false;
  ArrowKeyHold arrows_;
  // A held Back key has cleared the search; its release removes nothing more.
  bool longPress_ = false;
};

}  // namespace pellucard
