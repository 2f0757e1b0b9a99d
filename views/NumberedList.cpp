#include "views/NumberedList.h"

#include <algorithm>
#include <string>

#include "device/PrivateMessages.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "resources/StringIds.h"

namespace pellucard {

namespace {

constexpr WCHAR kBackspace = 8;

bool screenIs240Wide() { return GetSystemMetrics(SM_CXSCREEN) == 240; }

}  // namespace

const platform::MessageMap<NumberedList>& NumberedList::messageMap() {
  using M = NumberedList;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_SIZE>(&M::onSize)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_CHAR>(&M::onChar)
                              .reflectedNotify(LVN_ITEMACTIVATE, &M::onItemActivate);
  return map;
}

HWND NumberedList::create(HWND parent, const RECT& rect, UINT id, DWORD style) {
  InitCommonControls();
  HWND hwnd = createOfClass(WC_LISTVIEWW, parent, rect, u"", style, 0, id);
  if (hwnd == nullptr) return nullptr;
  ListView_SetExtendedListViewStyleEx(hwnd, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  column.fmt = LVCFMT_LEFT;
  for (int i = 0; i < 3; ++i) ListView_InsertColumn(hwnd, i, &column);
  layoutColumns();
  fillPage(0);
  return hwnd;
}

// ---------------------------------------------------------------------------------------------
// Entries and pages

int NumberedList::rowsPerPage() const {
  if (hwnd() == nullptr) return 0;
  RECT client{};
  GetClientRect(hwnd(), &client);
  // The list has no header: the view of one row is one row high.
  const int rowHeight = HIWORD(ListView_ApproximateViewRect(hwnd(), -1, -1, 1));
  if (rowHeight <= 0 || client.bottom <= 0) return 0;
  return static_cast<int>(static_cast<unsigned>(client.bottom) / static_cast<unsigned>(rowHeight));
}

int NumberedList::numberedRows() const { return std::min(rowsPerPage(), screenIs240Wide() ? 10 : 9); }

NumberedPages NumberedList::pages() const {
  return NumberedPages(static_cast<int>(entries_.size()), rowsPerPage(), numberedRows());
}

int NumberedList::rowCount() const { return hwnd() != nullptr ? ListView_GetItemCount(hwnd()) : 0; }

void NumberedList::addEntry(std::u16string text, LPARAM data) {
  entries_.push_back(Entry{std::move(text), data});
  fillPage(std::max(selectedRow(), 0));
}

void NumberedList::setEntries(std::vector<Entry> entries) {
  entries_ = std::move(entries);
  page_ = 0;
  fillPage(0);
}

bool NumberedList::removeEntry(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  entries_.erase(entries_.begin() + index);
  if (entries_.empty()) {
    showPage(0, 0);
    return true;
  }
  // The entry that moved into its place is selected (the one before it when the last went), on
  // the page shown unless that page no longer holds it.
  const int next = std::min(index, static_cast<int>(entries_.size()) - 1);
  const NumberedPages layout = pages();
  const int first = layout.firstEntry(page_);
  const bool onPage = page_ < layout.pageCount() && next >= first && layout.entryAt(page_, next - first) == next;
  if (!onPage) page_ = layout.pageOf(next);
  fillPage(next - layout.firstEntry(page_));
  return true;
}

void NumberedList::showPage(int page, int row) {
  page_ = page;
  fillPage(row);
}

void NumberedList::layoutColumns() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int number = screenIs240Wide() ? 30 : 20;
  ListView_SetColumnWidth(hwnd(), 0, 0);
  ListView_SetColumnWidth(hwnd(), 1, number);
  ListView_SetColumnWidth(hwnd(), 2, std::max<int>(client.right - number, 0));
}

void NumberedList::fillPage(int row) {
  if (hwnd() == nullptr) return;
  const NumberedPages layout = pages();
  page_ = std::clamp(page_, 0, layout.pageCount() - 1);
  ListView_DeleteAllItems(hwnd());
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  const int rows = layout.rowCount(page_);
  const std::u16string more = platform::loadString(IDS_MORE);
  for (int r = 0; r < rows; ++r) {
    const int entry = layout.entryAt(page_, r);
    std::u16string text = entry >= 0 ? entries_[static_cast<std::size_t>(entry)].text : more;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = r;
    item.pszText = text.data();
    item.lParam = entry;
    ListView_InsertItem(hwnd(), &item);
    if (const int number = layout.numberOf(page_, r); number > 0) {
      const std::u16string digits = platform::toUtf16(std::to_string(number));
      ListView_SetItemText(hwnd(), r, 1, digits.c_str());
    }
    ListView_SetItemText(hwnd(), r, 2, text.c_str());
  }
  if (rows > 0) selectRow(std::clamp(row, 0, rows - 1));
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void NumberedList::selectRow(int row) {
  ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd(), row, FALSE);
}

int NumberedList::selectedRow() const {
  return hwnd() != nullptr ? ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED) : -1;
}

int NumberedList::selectedEntry() const {
  const int row = selectedRow();
  if (row < 0) return -1;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!ListView_GetItem(hwnd(), &item)) return -1;
  return static_cast<int>(item.lParam);
}

void NumberedList::choose(int row) {
  if (row < 0 || row >= rowCount()) return;
  // The choice shows before anything follows from it.
  selectRow(row);
  const NumberedPages layout = pages();
  if (layout.isMore(page_, row)) {
    showPage(page_ + 1, 0);
    return;
  }
  const int entry = selectedEntry();
  if (entry < 0 || entry >= static_cast<int>(entries_.size())) return;
  HWND parent = GetParent(hwnd());
  if (parent != nullptr) {
    SendMessageW(parent, UM_ITEMCHOSEN, static_cast<WPARAM>(entry), entries_[static_cast<std::size_t>(entry)].data);
  }
}

// ---------------------------------------------------------------------------------------------
// Messages

void NumberedList::onSize(UINT, SIZE) {
  passOn();
  // Another height may hold another number of rows: the selected entry stays in view.
  const int keep = selectedEntry();
  layoutColumns();
  if (keep < 0) {
    fillPage(0);
    return;
  }
  const NumberedPages layout = pages();
  page_ = layout.pageOf(keep);
  fillPage(keep - layout.firstEntry(page_));
}

void NumberedList::onKeyDown(UINT vk, UINT) {
  const int rows = rowCount();
  if (vk >= '1' && vk <= '9') {
    const int row = pages().rowOfNumber(page_, static_cast<int>(vk - '0'));
    if (row >= 0) choose(row);
    return;
  }
  if (vk == VK_RETURN) {
    choose(selectedRow());
    return;
  }
  if (rows > 0 && vk == VK_UP && selectedRow() == 0) {
    selectRow(rows - 1);
    return;
  }
  if (rows > 0 && vk == VK_DOWN && selectedRow() == rows - 1) {
    selectRow(0);
    return;
  }
  passOn();
}

void NumberedList::onChar(WCHAR ch, UINT) {
  // Every typed character is the list's; only these two do something.
  if (ch == kBackspace) {
    if (page_ > 0) showPage(page_ - 1, 0);
  } else if (ch == u'0') {
    removeEntry(selectedEntry());
  }
}

LRESULT NumberedList::onItemActivate(NMHDR& header) {
  // A tap on the selected row.
  choose(reinterpret_cast<const NMITEMACTIVATE*>(&header)->iItem);
  return 0;
}

}  // namespace pellucard
