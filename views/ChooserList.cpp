#include "views/ChooserList.h"

#include <algorithm>
#include <array>

#include "device/DeviceKeyMap.h"
#include "device/DeviceProfile.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"
#include "settings/Settings.h"
#include "views/ChooserRowPainter.h"

namespace pellucard {

namespace {

constexpr int kMaxRowText = 128;
constexpr WCHAR kBackspace = 8;
constexpr WCHAR kClearSearch = 3;

// The chooser list whose Back timer runs; one for the whole process, as there is one Back key.
HWND g_backTimerWindow = nullptr;

}  // namespace

ChooserList::ChooserList() = default;

ChooserList::~ChooserList() {
  // The base class destroys a window still attached without telling this object.
  if (hwnd() != nullptr && g_backTimerWindow == hwnd()) stopBackTimer();
}

const platform::MessageMap<ChooserList>& ChooserList::messageMap() {
  using M = ChooserList;
  static const auto map = platform::MessageMap<M>()
                              .on<OCM_DRAWITEM>(&M::onDrawItem)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_LBUTTONDOWN>(&M::onLButtonDown)
                              .on(WM_LBUTTONDBLCLK, &M::onLButtonDoubleClick)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_KEYUP>(&M::onKeyUp)
                              .on<WM_CHAR>(&M::onChar)
                              .on<WM_HOTKEY>(&M::onHotKey)
                              .on<WM_TIMER>(&M::onTimer)
                              .on<WM_DESTROY>(&M::onDestroy)
                              .reflectedNotify(LVN_KEYDOWN, &M::onListKeyDown)
                              .reflectedNotify(LVN_DELETEALLITEMS, &M::onDeleteAllItems);
  return map;
}

HWND ChooserList::create(HWND parent, const RECT& rect, LPCWSTR name, UINT id, DWORD style) {
  InitCommonControls();
  HWND hwnd = createOfClass(WC_LISTVIEWW, parent, rect, name, style, 0, id);
  if (hwnd == nullptr) return nullptr;
  pocketPc_ = getSettings().deviceProfile().isPocketPc();
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = rect.right - rect.left;
  column.pszText = const_cast<LPWSTR>(u"");
  SendMessageW(hwnd, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  return hwnd;
}

// ---------------------------------------------------------------------------------------------
// Rows

void ChooserList::setCheckBoxes(bool on) {
  if (hwnd() != nullptr) ListView_SetExtendedListViewStyleEx(hwnd(), LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}

bool ChooserList::hasCheckBoxes() const {
  return hwnd() != nullptr && (ListView_GetExtendedListViewStyle(hwnd()) & LVS_EX_CHECKBOXES) != 0;
}

int ChooserList::count() const { return hwnd() != nullptr ? ListView_GetItemCount(hwnd()) : 0; }

int ChooserList::selectedIndex() const {
  return hwnd() != nullptr ? ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED) : -1;
}

void ChooserList::select(int row) {
  if (hwnd() == nullptr || row < 0 || row >= count()) return;
  // The old row is deselected first, as the list view's own moves do.
  const int previous = selectedIndex();
  if (previous >= 0 && previous != row) ListView_SetItemState(hwnd(), previous, 0, LVIS_SELECTED);
  ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(hwnd(), row, FALSE);
}

void ChooserList::insertRow(int at, std::u16string_view text, LPARAM param, bool checked) {
  std::u16string copy(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = at;
  item.pszText = copy.data();
  item.lParam = param;
  if (hasCheckBoxes()) {
    item.mask |= LVIF_STATE;
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  }
  ListView_InsertItem(hwnd(), &item);
}

int ChooserList::addRow(std::u16string_view text, LPARAM data, bool checked) {
  if (hwnd() == nullptr) return -1;
  clearSearch();
  const int at = count();
  insertRow(at, text, data, checked);
  return count() > at ? at : -1;
}

LPARAM ChooserList::rawParam(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return ListView_GetItem(hwnd(), &item) ? item.lParam : 0;
}

std::u16string ChooserList::rawText(int row) const {
  // The whole text, however long: it comes back as the row's text when a search ends.
  std::u16string text(kMaxRowText, u'\0');
  for (;;) {
    LVITEMW item{};
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto copied = static_cast<std::size_t>(
        SendMessageW(hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < text.size()) {
      text.resize(copied);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

const ChooserList::SavedRow* ChooserList::savedOf(int row) const {
  if (saved_.empty() || row < 0 || row >= count()) return nullptr;
  const LPARAM index = rawParam(row);
  if (index < 0 || static_cast<std::size_t>(index) >= saved_.size()) return nullptr;
  return &saved_[static_cast<std::size_t>(index)];
}

std::u16string ChooserList::textAt(int row) const {
  if (hwnd() == nullptr || row < 0 || row >= count()) return {};
  if (const SavedRow* saved = savedOf(row)) return saved->text;
  return rawText(row);
}

LPARAM ChooserList::dataAt(int row) const {
  if (hwnd() == nullptr || row < 0 || row >= count()) return 0;
  if (const SavedRow* saved = savedOf(row)) return saved->data;
  return rawParam(row);
}

bool ChooserList::isChecked(int row) const { return hwnd() != nullptr && ListView_GetCheckState(hwnd(), row) != FALSE; }

void ChooserList::setChecked(int row, bool checked) {
  if (hwnd() != nullptr && row >= 0 && row < count()) ListView_SetCheckState(hwnd(), row, checked ? TRUE : FALSE);
}

// ---------------------------------------------------------------------------------------------
// Search

void ChooserList::discardIndex() {
  search_.clear();
  indexBuilt_ = false;
}

void ChooserList::buildIndex() {
  search_.clear();
  const int n = count();
  // About three words a row.
  if (n > 0) search_.reserve(static_cast<std::size_t>(n) * 3, static_cast<std::size_t>(n) * 24);
  if (saved_.empty()) {
    for (int i = 0; i < n; ++i) search_.addText(static_cast<RecordId>(i), rawText(i));
  } else {
    for (std::size_t i = 0; i < saved_.size(); ++i) search_.addText(static_cast<RecordId>(i), saved_[i].text);
  }
  indexBuilt_ = true;
}

void ChooserList::saveRows() {
  const int n = count();
  saved_.clear();
  saved_.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) saved_.push_back(SavedRow{rawText(i), isChecked(i), rawParam(i)});
}

void ChooserList::refreshSavedChecks() {
  const int n = count();
  for (int i = 0; i < n; ++i) {
    const LPARAM index = rawParam(i);
    if (index >= 0 && static_cast<std::size_t>(index) < saved_.size()) {
      saved_[static_cast<std::size_t>(index)].checked = isChecked(i);
    }
  }
}

void ChooserList::showMatches() {
  rebuilding_ = true;
  ListView_DeleteAllItems(hwnd());
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  // A row matched by several of its words is listed once, at its first match.
  std::vector<bool> listed(saved_.size(), false);
  int row = 0;
  for (std::size_t i = 0; i < search_.topSize(); ++i) {
    const KeypadSearch::SearchEntry entry = search_.topEntry(i);
    if (entry.recordId >= saved_.size() || listed[entry.recordId]) continue;
    listed[entry.recordId] = true;
    insertRow(row++, entry.word, static_cast<LPARAM>(entry.recordId), saved_[entry.recordId].checked);
  }
  if (row > 0) select(0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
  rebuilding_ = false;
}

void ChooserList::clearSearch() {
  if (saved_.empty()) {
    discardIndex();
    return;
  }
  refreshSavedChecks();
  const int selected = selectedIndex();
  const LPARAM keep = selected >= 0 ? rawParam(selected) : 0;
  const std::vector<SavedRow> rows = std::move(saved_);
  saved_.clear();
  discardIndex();
  rebuilding_ = true;
  ListView_DeleteAllItems(hwnd());
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  for (std::size_t i = 0; i < rows.size(); ++i)
    insertRow(static_cast<int>(i), rows[i].text, rows[i].data, rows[i].checked);
  if (!rows.empty()) select(keep >= 0 && static_cast<std::size_t>(keep) < rows.size() ? static_cast<int>(keep) : 0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
  rebuilding_ = false;
}

void ChooserList::onChar(WCHAR typed, UINT) {
  if (!indexBuilt_) buildIndex();
  const char16_t ch = getDeviceKeyMap().mapKey(typed);
  if (!search_.type(ch)) return;
  if (saved_.empty()) {
    // Backspace or clearing with nothing typed leaves the rows as they are.
    if (search_.typedKeys() == 0) return;
    saveRows();
  } else {
    refreshSavedChecks();
  }
  // With every key gone the full rows come back, those without any word among them.
  if (search_.typedKeys() == 0) {
    clearSearch();
    return;
  }
  showMatches();
}

LRESULT ChooserList::onDeleteAllItems(NMHDR&) {
  // The owner emptied the list: what was kept aside belongs to rows that are gone.
  if (!rebuilding_) {
    saved_.clear();
    discardIndex();
  }
  // The rows own nothing: no LVN_DELETEITEM per row.
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Painting

int ChooserList::rowHeight() const {
  if (rowHeight_ > 0) return rowHeight_;
  // No row drawn yet: the list view's own row height (the list has no header).
  return HIWORD(ListView_ApproximateViewRect(hwnd(), -1, -1, 1));
}

bool ChooserList::onDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.hDC == nullptr) return false;
  const RECT& r = draw.rcItem;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return true;
  rowHeight_ = height;
  const int row = static_cast<int>(draw.itemID);
  std::array<WCHAR, kMaxRowText + 1> buffer{};
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
  item.iItem = row;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  item.stateMask = LVIS_STATEIMAGEMASK;
  if (!ListView_GetItem(hwnd(), &item)) return false;
  // While a search runs the row's own text is the matched word; it shows its saved row.
  std::u16string_view text(buffer.data());
  std::u16string_view word;
  if (const SavedRow* saved = savedOf(row)) {
    word = text;
    text = saved->text;
  }
  const bool checked = (item.state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
  const ChooserRowPainter painter(hasCheckBoxes(), pocketPc_, typedKeys());
  const platform::gdi::MemoryDc canvas(draw.hDC, width, height);
  if (!canvas) return false;
  {
    const platform::gdi::SelectedObject font(canvas.dc(), GetCurrentObject(draw.hDC, OBJ_FONT));
    const platform::gdi::SelectedObject pen(canvas.dc(), GetCurrentObject(draw.hDC, OBJ_PEN));
    painter.draw(canvas.dc(), RECT{0, 0, width, height}, text, word, (draw.itemState & ODS_SELECTED) != 0, checked);
  }
  canvas.copyTo(draw.hDC, r.left, r.top);
  return true;
}

bool ChooserList::onEraseBackground(HDC dc) {
  if (dc == nullptr) return false;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int h = rowHeight();
  const long long shown = static_cast<long long>(count() - ListView_GetTopIndex(hwnd())) * h;
  const LONG rowsBottom = static_cast<LONG>(std::clamp<long long>(shown, 0, client.bottom));
  // Rows paint themselves whole; only what lies below them, and right of a narrower column,
  // is the window's background.
  const RECT below{0, rowsBottom, client.right, client.bottom};
  if (below.top < below.bottom) FillRect(dc, &below, GetSysColorBrush(COLOR_WINDOW));
  const LONG rowsRight = std::min<LONG>(ListView_GetColumnWidth(hwnd(), 0), client.right);
  const RECT right{rowsRight, 0, client.right, rowsBottom};
  if (right.left < right.right && right.top < right.bottom) FillRect(dc, &right, GetSysColorBrush(COLOR_WINDOW));
  return true;
}

// ---------------------------------------------------------------------------------------------
// Stylus and keys

void ChooserList::toggleAt(POINT at) {
  if (!hasCheckBoxes()) return;
  const int h = rowHeight();
  if (h <= 0 || at.x < 0 || at.y < 0) return;
  const int row = ListView_GetTopIndex(hwnd()) + at.y / h;
  if (row >= count()) return;
  // The box column toggles any row; the text only the row already selected.
  if (row == selectedIndex() || at.x <= h) setChecked(row, !isChecked(row));
}

void ChooserList::onLButtonDown(POINT at, UINT) {
  toggleAt(at);
  passOn();
}

LRESULT ChooserList::onLButtonDoubleClick(WPARAM, LPARAM lParam) {
  toggleAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  passOn();
  return 0;
}

void ChooserList::onKeyDown(UINT vk, UINT) {
  // The wrap replaces the list view's own move, so the other end is where the key lands.
  if (arrows_.press()) {
    if (const int row = ArrowKeyHold::wrappedRow(vk, selectedIndex(), count()); row >= 0) {
      select(row);
      return;
    }
  }
  passOn();
}

void ChooserList::onKeyUp(UINT, UINT) {
  arrows_.release();
  passOn();
}

LRESULT ChooserList::onListKeyDown(NMHDR& header) {
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(&header);
  if (arrows_.heldLong()) {
    // The list view's own one-row move follows; together they travel one page.
    const int middle =
        ArrowKeyHold::pageStepRow(key->wVKey, selectedIndex(), count(), ListView_GetCountPerPage(hwnd()));
    if (middle >= 0) select(middle);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// The Back key

void ChooserList::stopBackTimer() {
  if (g_backTimerWindow == nullptr) return;
  KillTimer(g_backTimerWindow, kBackTimer);
  g_backTimerWindow = nullptr;
}

LRESULT ChooserList::onHotKey(int, UINT modifiers, UINT vk) {
  const bool up = (modifiers & MOD_KEYUP) != 0;
  // The release of a press this list took is its own, even if the search ended meanwhile.
  const bool mine = up && g_backTimerWindow == hwnd();
  if (vk != VK_TBACK || !(isSearching() || longPress_ || mine)) {
    passOn();
    return 0;
  }
  if (up) {
    stopBackTimer();
    if (longPress_) {
      longPress_ = false;
    } else {
      SendMessageW(hwnd(), WM_CHAR, kBackspace, 0);
    }
  } else if (g_backTimerWindow == nullptr) {
    // Auto-repeated presses find the timer running and leave it be.
    g_backTimerWindow = hwnd();
    SetTimer(hwnd(), kBackTimer, kBackHoldMs, nullptr);
  }
  return TRUE;
}

void ChooserList::onTimer(UINT_PTR id) {
  KillTimer(hwnd(), id);
  if (id != kBackTimer) return;
  // Held for a second: every key goes, and the release that follows removes nothing more.
  longPress_ = true;
  SendMessageW(hwnd(), WM_CHAR, kClearSearch, 0);
}

void ChooserList::onDestroy() {
  if (g_backTimerWindow == hwnd()) stopBackTimer();
  passOn();
}

bool ChooserList::backKeyCancels(int id, UINT modifiers, UINT vk) const {
  const LRESULT taken =
      hwnd() != nullptr ? SendMessageW(hwnd(), WM_HOTKEY, static_cast<WPARAM>(id), MAKELPARAM(modifiers, vk)) : 0;
  return taken == 0 && (modifiers & MOD_KEYUP) != 0;
}

}  // namespace pellucard
