// The list control of every list of records: a subclassed list view that paints itself from a
// skin (background, row stripes, selection bar), draws each row from its record at paint time,
// shows "Empty List" when it has no rows, wraps around and jumps by pages with the arrow keys,
// and narrows its rows with an incremental keypad or letter search.
//
// The owner reflects notifications (WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM ...) back to the
// control, fills it with fill(), and receives UM_SELCHANGED and UM_RELOADLIST (device/PrivateMessages.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/win/WindowBase.h"
#include "store/Anniversary.h"
#include "store/Friend.h"
#include "store/Gift.h"
#include "store/Loan.h"
#include "views/KeypadSearch.h"
#include "views/ListKind.h"

namespace pellucard {

class ItemListCtrl : public platform::WindowImpl<ItemListCtrl> {
 public:
  // WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER
  static constexpr DWORD kStyle = 0x50004405;

  struct Row {
    RecordId recordId = 0;
    std::u16string text;  // the highlight word; may be empty
  };

  ItemListCtrl();
  ~ItemListCtrl() override;

  static const platform::MessageMap<ItemListCtrl>& messageMap();

 protected:
  // Lets the list view's own messages (item insertion and queries, thousands per refill) skip
  // the map.
  bool processWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 public:
  // The window name of a kind: "FriendList", "GiftList", "LoanList", "AnniversaryList".
  static const char16_t* windowName(ListKind kind);
  // The image role whose frames a kind's rows show: friends 3, gifts 4, loans 5, anniversaries 6.
  static int iconRoleOf(ListKind kind);

  // Creates the list view as a child with the given id (the list id sent in UM_RELOADLIST),
  // subclasses it, sets kind and icon image and inserts the one column as wide as the control.
  HWND create(HWND parent, const RECT& rect, ListKind kind, UINT listId, DWORD style = kStyle);

  ListKind kind() const { return kind_; }
  void setKind(ListKind kind) { kind_ = kind; }
  int iconImage() const { return iconImage_; }
  void setIconImage(int role) { iconImage_ = role; }

  // The owner's refill: every row deleted, one row per record in this order (redrawing off
  // meanwhile), row 0 selected, focused and scrolled into view, then a repaint.
  void fill(const std::vector<Row>& rows);
  // The same from a snapshot: loan and anniversary rows carry the item's name as their text.
  void fill(const std::vector<Friend*>& items);
  void fill(const std::vector<Gift*>& items);
  void fill(const std::vector<Loan*>& items);
  void fill(const std::vector<Anniversary*>& items);

  int count() const;
  int selectedIndex() const;
  // The record of the selected row, 0 when nothing is selected.
  RecordId selectedRecordId() const;
  RecordId recordIdAt(int row) const;
  std::u16string textAt(int row) const;
  // Selects and focuses a row and scrolls it into view.
  void select(int row);

  // Whether at least one search key is typed (what UM_ISSEARCHING answers).
  bool isSearching() const { return search_.levelCount() >= 2; }
  int typedKeys() const { return indexBuilt_ ? search_.typedKeys() : 0; }
  // Drops the search index; the next typed character builds it again from the rows.
  void discardSearch();

 private:
  // A memory bitmap of the client size with its device context.
  struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    Surface(HDC like, int width, int height);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
  };

  LRESULT onDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT onSize(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT onEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT onDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT onDeleteItem(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }
  LRESULT onCompareItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT onKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT onKeyUp(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT onChar(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onVScroll(UINT, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled);
  LRESULT onIsSearching(UINT, WPARAM, LPARAM, BOOL&) { return isSearching() ? TRUE : FALSE; }
  LRESULT onListKeyDown(int, NMHDR* header, BOOL&);
  LRESULT onDeleteAllItems(int, NMHDR*, BOOL&);
  LRESULT onItemChanged(int, NMHDR* header, BOOL&);
  LRESULT onItemChanging(int, NMHDR* header, BOOL&);
  LRESULT onCacheHint(int, NMHDR*, BOOL&);

  void ensureCaches(HDC like);
  void freeCaches();
  int rowHeight() const;
  int rowWidth() const;
  int topIndex() const;
  int perPage() const;
  void redrawRows(int first, int last);
  void drawRow(HDC hdc, const RECT& rect, int row, bool selected);
  void buildIndex();
  void rebuildRowsFromSearch();
  void insertRows(const std::vector<Row>& rows);

  ListKind kind_ = ListKind::Friends;
  int iconImage_ = 0;
  std::unique_ptr<Surface> stripeCache_;
  std::unique_ptr<Surface> composedCache_;
  bool backgroundDirty_ = true;
  bool repaintPending_ = false;
  int lastScrollPos_ = 0;
  // The first press after focus arrives counts as fresh.
  bool freshPress_ = true;
  DWORD holdStart_ = 0;
  bool holding_ = false;
  KeypadSearch search_;
  bool indexBuilt_ = false;
  bool rebuilding_ = false;
};

}  // namespace pellucard
