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
#include "platform/gdi/MemoryDc.h"
#include "platform/win/WindowBase.h"
#include "store/RecordId.h"
#include "views/ArrowKeyHold.h"
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

  // Creates the list view as a child with the given id (the list id sent in UM_RELOADLIST) and
  // the kind's window name ("GiftList"...), subclasses it, takes the kind's row icons and
  // inserts the one column as wide as the control.
  HWND create(HWND parent, const RECT& rect, ListKind kind, UINT listId, DWORD style = kStyle);

  ListKind kind() const { return kind_; }

  // The owner's refill: every row deleted, one row per record in this order (redrawing off
  // meanwhile), row 0 selected, focused and scrolled into view, then a repaint.
  void fill(const std::vector<Row>& rows);
  // The same from the records of a snapshot, each row carrying its record's id and the text
  // `textOf` gives it (loans their item, anniversaries their name, so that a search can
  // highlight them).
  template <class Item, class TextOf>
  void fill(const std::vector<Item*>& items, TextOf textOf) {
    std::vector<Row> rows;
    rows.reserve(items.size());
    // The records lie all over memory in a sorted list: each is fetched a few rows ahead.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i + kAhead < items.size()) __builtin_prefetch(items[i + kAhead]);
      rows.push_back(Row{items[i]->recordId(), std::u16string(textOf(*items[i]))});
    }
    fill(rows);
  }

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
  void onDestroy();
  void onSize(UINT type, SIZE client);
  bool onEraseBackground(HDC dc);
  void onPaint();
  bool onMeasureItem(MEASUREITEMSTRUCT& measure);
  bool onDrawItem(const DRAWITEMSTRUCT& draw);
  LRESULT onDeleteItem(WPARAM, LPARAM) { return TRUE; }
  LRESULT onCompareItem(WPARAM, LPARAM) { return 0; }
  void onKeyDown(UINT vk, UINT flags);
  void onKeyUp(UINT vk, UINT flags);
  void onChar(WCHAR ch, UINT flags);
  void onVScroll(UINT code, int position, HWND bar);
  void onWindowPosChanged(const WINDOWPOS& pos);
  LRESULT onIsSearching(WPARAM, LPARAM) { return isSearching() ? TRUE : FALSE; }
  LRESULT onListKeyDown(NMHDR& header);
  LRESULT onDeleteAllItems(NMHDR& header);
  LRESULT onItemChanged(NMHDR& header);
  LRESULT onItemChanging(NMHDR& header);
  LRESULT onCacheHint(NMHDR& header);

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
  std::unique_ptr<platform::gdi::MemoryDc> stripeCache_;
  std::unique_ptr<platform::gdi::MemoryDc> composedCache_;
  bool backgroundDirty_ = true;
  bool repaintPending_ = false;
  int lastScrollPos_ = 0;
  ArrowKeyHold arrows_;
  KeypadSearch search_;
  bool indexBuilt_ = false;
  bool rebuilding_ = false;
};

}  // namespace pellucard
