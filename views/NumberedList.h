// A list of entries chosen by number, as the Options screen lists its pages: a subclassed list
// view in report mode (no header, single selection, full-row selection) that shows its own
// array of entries a page at a time. Each row shows its number on the page and the entry's
// text; a page that cannot hold the rest ends with "More ...", which shows the next page.
//
// Keys: a digit chooses the row of that number, Enter the selected row, Backspace shows the
// previous page, "0" removes the selected entry, and Up and Down wrap around the page. A tap on
// the selected row chooses it too. Choosing an entry sends UM_ITEMCHOSEN
// (device/PrivateMessages.h) to the parent with the entry's index in the whole array and its
// data value. The parent reflects notifications (WM_NOTIFY) back to the list.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/win/WindowBase.h"
#include "views/NumberedPages.h"

namespace pellucard {

class NumberedList : public platform::WindowImpl<NumberedList> {
 public:
  // WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER
  static constexpr DWORD kStyle = 0x50014005;

  struct Entry {
    std::u16string text;
    LPARAM data = 0;
  };

  static const platform::MessageMap<NumberedList>& messageMap();

  // Creates the list view with this control id, subclasses it, lays out its three columns and
  // shows the first page.
  HWND create(HWND parent, const RECT& rect, UINT id, DWORD style = kStyle);

  // Appends an entry; the page on show is shown again, so that "More ..." appears when the
  // entry does not fit.
  void addEntry(std::u16string text, LPARAM data);
  // Replaces every entry and shows the first page.
  void setEntries(std::vector<Entry> entries);
  // Removes an entry and shows the page again with the selection on the entry that took its
  // place (or the new last one); false for an index outside the array.
  bool removeEntry(int index);
  const std::vector<Entry>& entries() const { return entries_; }

  int page() const { return page_; }
  int pageCount() const { return pages().pageCount(); }
  // Shows a page (clamped to the pages there are) with the selection and focus on one row.
  void showPage(int page, int row = 0);
  // Rows per page and numbered rows, as the list's height and the screen give them now.
  int rowsPerPage() const;
  int numberedRows() const;
  // The selected row of the page, -1 when none; the entry it shows, -1 for "More ...".
  int selectedRow() const;
  int selectedEntry() const;
  // Chooses a row of the page, as its digit does: "More ..." shows the next page, an entry is
  // reported to the parent.
  void choose(int row);

 private:
  void onSize(UINT type, SIZE client);
  void onKeyDown(UINT vk, UINT flags);
  void onChar(WCHAR ch, UINT flags);
  LRESULT onItemActivate(NMHDR& header);

  NumberedPages pages() const;
  void layoutColumns();
  void fillPage(int row);
  void selectRow(int row);
  int rowCount() const;

  std::vector<Entry> entries_;
  int page_ = 0;
};

}  // namespace pellucard
