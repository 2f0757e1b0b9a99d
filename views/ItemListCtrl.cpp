#include "views/ItemListCtrl.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

#include "device/DeviceKeyMap.h"
#include "device/DeviceProfile.h"
#include "device/PrivateMessages.h"
#include "platform/base/ResourceTable.h"
#include "platform/gdi/WinGdi.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/ListCommands.h"
#include "views/RowPainter.h"

namespace pellucard {

namespace {

constexpr int kMaxRowText = 128;

// The top row last seen by any list's cache hint.
int& lastSeenTop() {
  static int top = -1;
  return top;
}

// Draws the screen background's top-left part over the rectangle (0, 0, width, height).
void drawBackground(HDC hdc, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const RECT area{0, 0, width, height};
  SkinPainter::drawScreenBackground(hdc, area, area);
}

}  // namespace

ItemListCtrl::ItemListCtrl() = default;

ItemListCtrl::~ItemListCtrl() { freeCaches(); }

const platform::MessageMap<ItemListCtrl>& ItemListCtrl::messageMap() {
  using M = ItemListCtrl;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_SIZE>(&M::onSize)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<OCM_MEASUREITEM>(&M::onMeasureItem)
                              .on<OCM_DRAWITEM>(&M::onDrawItem)
                              .on(OCM_DELETEITEM, &M::onDeleteItem)
                              .on(OCM_COMPAREITEM, &M::onCompareItem)
                              .on<WM_KEYDOWN>(&M::onKeyDown)
                              .on<WM_KEYUP>(&M::onKeyUp)
                              .on<WM_CHAR>(&M::onChar)
                              .on<WM_VSCROLL>(&M::onVScroll)
                              .on<WM_WINDOWPOSCHANGED>(&M::onWindowPosChanged)
                              .on(UM_ISSEARCHING, &M::onIsSearching)
                              .reflectedNotify(LVN_KEYDOWN, &M::onListKeyDown)
                              .reflectedNotify(LVN_DELETEALLITEMS, &M::onDeleteAllItems)
                              .reflectedNotify(LVN_ITEMCHANGED, &M::onItemChanged)
                              .reflectedNotify(LVN_ITEMCHANGING, &M::onItemChanging)
                              .reflectedNotify(LVN_ODCACHEHINT, &M::onCacheHint);
  return map;
}

HWND ItemListCtrl::create(HWND parent, const RECT& rect, ListKind kind, UINT listId, DWORD style) {
  InitCommonControls();
  const ListCommands::List& list = ListCommands::list(kind);
  HWND hwnd = createOfClass(WC_LISTVIEWW, parent, rect, list.windowName, style, 0, listId);
  if (hwnd == nullptr) return nullptr;
  kind_ = kind;
  iconImage_ = list.iconRole;
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

void ItemListCtrl::insertRows(const std::vector<Row>& rows) {
  // Room for every row at once: growing step by step would move each row several times.
  SendMessageW(hwnd(), LVM_SETITEMCOUNT, rows.size(), 0);
  LVITEMW item{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.iImage = 0;
    item.lParam = static_cast<LPARAM>(rows[i].recordId);
    if (!rows[i].text.empty()) {
      item.mask |= LVIF_TEXT;
      item.pszText = const_cast<LPWSTR>(rows[i].text.c_str());
    }
    // Straight to the list view: this control takes no part in inserting rows, and a refill
    // inserts thousands.
    defWindowProc(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
}

void ItemListCtrl::fill(const std::vector<Row>& rows) {
  if (hwnd() == nullptr) return;
  SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  insertRows(rows);
  if (!rows.empty()) select(0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int ItemListCtrl::count() const {
  return hwnd() != nullptr ? static_cast<int>(SendMessageW(hwnd(), LVM_GETITEMCOUNT, 0, 0)) : 0;
}

int ItemListCtrl::selectedIndex() const {
  if (hwnd() == nullptr) return -1;
  return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RecordId ItemListCtrl::recordIdAt(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (hwnd() == nullptr || !SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return 0;
  return static_cast<RecordId>(item.lParam);
}

RecordId ItemListCtrl::selectedRecordId() const {
  const int row = selectedIndex();
  return row >= 0 ? recordIdAt(row) : 0;
}

std::u16string ItemListCtrl::textAt(int row) const {
  std::array<WCHAR, kMaxRowText + 1> buffer{};
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  if (hwnd() == nullptr || !SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return std::u16string(buffer.data());
}

void ItemListCtrl::select(int row) {
  if (hwnd() == nullptr) return;
  LVITEMW item{};
  // The old row is deselected first, as the list view's own moves do, so that the focus
  // bookkeeping never sees two rows with the focus.
  const int previous = selectedIndex();
  if (previous >= 0 && previous != row) {
    item.stateMask = LVIS_SELECTED;
    item.state = 0;
    SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(previous), reinterpret_cast<LPARAM>(&item));
  }
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(hwnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

int ItemListCtrl::topIndex() const { return static_cast<int>(SendMessageW(hwnd(), LVM_GETTOPINDEX, 0, 0)); }

int ItemListCtrl::perPage() const { return static_cast<int>(SendMessageW(hwnd(), LVM_GETCOUNTPERPAGE, 0, 0)); }

void ItemListCtrl::redrawRows(int first, int last) {
  const int n = count();
  first = std::max(first, 0);
  last = std::min(last, n - 1);
  if (first > last) return;
  SendMessageW(hwnd(), LVM_REDRAWITEMS, static_cast<WPARAM>(first), last);
}

// ---------------------------------------------------------------------------------------------
// Search

void ItemListCtrl::discardSearch() {
  search_.clear();
  indexBuilt_ = false;
}

void ItemListCtrl::buildIndex() {
  search_.clear();
  // A friend's name is folded and cut into words once, however many items it has.
  std::unordered_map<LONG, KeypadSearch::TextRef> friendWords;
  auto addFriendOf = [&](RecordId id, LONG friendId) {
    auto [it, added] = friendWords.try_emplace(friendId);
    if (added) {
      if (const Friend* f = friendOf(friendId)) it->second = search_.addText(id, f->displayName());
      return;
    }
    search_.addTextAgain(id, it->second);
  };
  const int n = count();
  if (n > 0) {
    // About two words of the item and two of its friend's name per row.
    search_.reserve(static_cast<std::size_t>(n) * 4, static_cast<std::size_t>(n) * 16);
    friendWords.reserve(getFriendCollection().size());
  }
  for (int i = 0; i < n; ++i) {
    const RecordId id = recordIdAt(i);
    switch (kind_) {
      case ListKind::Friends:
        if (const Friend* f = getFriendCollection().find(id)) search_.addText(id, f->displayName());
        break;
      case ListKind::Gifts:
        if (const Gift* g = getGiftCollection().find(id)) {
          search_.addText(id, g->name());
          addFriendOf(id, g->friendId());
        }
        break;
      case ListKind::Loans:
        if (const Loan* l = getLoanCollection().find(id)) {
          search_.addText(id, l->item());
          addFriendOf(id, l->friendId());
        }
        break;
      case ListKind::Anniversaries:
        if (const Anniversary* a = getAnniversaryCollection().find(id)) {
          search_.addText(id, a->name());
          addFriendOf(id, a->friendId());
        }
        break;
    }
  }
  indexBuilt_ = true;
}

void ItemListCtrl::rebuildRowsFromSearch() {
  rebuilding_ = true;
  SendMessageW(hwnd(), LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  // A record matched by several of its words is listed once, at its first match.
  std::unordered_set<RecordId> listed;
  listed.reserve(search_.topSize());
  std::u16string word;
  LVITEMW item{};
  int row = 0;
  for (std::size_t i = 0; i < search_.topSize(); ++i) {
    const KeypadSearch::SearchEntry entry = search_.topEntry(i);
    if (!listed.insert(entry.recordId).second) continue;
    word.assign(entry.word);
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row++;
    item.iImage = 0;
    item.lParam = static_cast<LPARAM>(entry.recordId);
    item.pszText = word.data();
    SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (row > 0) select(0);
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd(), nullptr, TRUE);
  rebuilding_ = false;
}

void ItemListCtrl::onChar(WCHAR typed, UINT) {
  if (!indexBuilt_) buildIndex();
  const char16_t ch = getDeviceKeyMap().mapKey(typed);
  if (search_.type(ch)) rebuildRowsFromSearch();
}

// ---------------------------------------------------------------------------------------------
// Painting

int ItemListCtrl::rowHeight() const { return ImageCache::instance().layout().rowHeight(); }

int ItemListCtrl::rowWidth() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right - client.left;
  // A list as wide as the screen leaves room for its scroll bar.
  return width == GetSystemMetrics(SM_CXSCREEN) ? width - GetSystemMetrics(SM_CXVSCROLL) : width;
}

void ItemListCtrl::freeCaches() {
  stripeCache_.reset();
  composedCache_.reset();
}

void ItemListCtrl::ensureCaches(HDC like) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int width = client.right;
  const int height = client.bottom;
  if (!composedCache_) {
    stripeCache_ = std::make_unique<platform::gdi::MemoryDc>(like, width, height);
    composedCache_ = std::make_unique<platform::gdi::MemoryDc>(like, width, height);
    // A new composed cache holds nothing yet.
    backgroundDirty_ = true;
    drawBackground(stripeCache_->dc(), width, height);
    ImageEntry* stripe = ImageCache::instance().loadedEntry(ImageCache::kRowStripe);
    if (stripe != nullptr && stripe->colour && stripe->colour.height() > 0) {
      const int h = stripe->colour.height();
      for (int y = 0; y <= height - h; y += h) SkinPainter::drawAcross(stripeCache_->dc(), stripe, 0, y, width);
    }
  }
  if (backgroundDirty_) {
    drawBackground(composedCache_->dc(), width, height);
    // Stripes only behind the rows there are.
    const long long band = std::min<long long>(static_cast<long long>(count()) * rowHeight(), height);
    if (band > 0) BitBlt(composedCache_->dc(), 0, 0, width, static_cast<int>(band), stripeCache_->dc(), 0, 0, SRCCOPY);
    backgroundDirty_ = false;
  }
}

bool ItemListCtrl::onEraseBackground(HDC dc) {
  ensureCaches(dc);
  return true;
}

void ItemListCtrl::drawRow(HDC hdc, const RECT& rect, int row, bool selected) {
  std::array<WCHAR, kMaxRowText + 1> buffer{};
  LVITEMW item{};
  item.mask = LVIF_PARAM | LVIF_TEXT;
  item.iItem = row;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  if (!SendMessageW(hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return;
  const bool smartphone = !getSettings().deviceProfile().isPocketPc();
  const RowPainter painter(kind_, iconImage_, typedKeys(), smartphone);
  painter.draw(hdc, rect, static_cast<RecordId>(item.lParam), std::u16string_view(buffer.data()), selected);
}

void ItemListCtrl::onPaint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd(), &ps);
  if (hdc == nullptr) return;
  // A paint that was not preceded by an erase still needs the background.
  ensureCaches(hdc);
  RECT client{};
  GetClientRect(hwnd(), &client);
  const RECT& update = ps.rcPaint;
  const int uw = update.right - update.left;
  const int uh = update.bottom - update.top;
  platform::gdi::MemoryDc buffer(hdc, client.right, client.bottom);
  if (buffer && uw > 0 && uh > 0) {
    BitBlt(buffer.dc(), update.left, update.top, uw, uh, composedCache_->dc(), update.left, update.top, SRCCOPY);
    SetBkMode(buffer.dc(), TRANSPARENT);
    const int rows = count();
    const int h = rowHeight();
    const int width = rowWidth();
    if (rows > 0 && h > 0) {
      const int selected = selectedIndex();
      // Rows outside the update area would not reach the screen; they are skipped.
      for (int i = topIndex(), y = 0; i < rows && y < client.bottom; ++i, y += h) {
        if (y + h <= update.top) continue;
        if (y >= update.bottom) break;
        drawRow(buffer.dc(), RECT{0, y, width, y + h}, i, i == selected);
      }
    } else if (rows == 0) {
      const int top = (client.bottom - h) / 2;
      RECT placeholder{0, top, width, top + h};
      SkinPainter::drawAcross(buffer.dc(), ImageCache::instance().loadedEntry(ImageCache::kSelectionBar), 0, top,
                              width);
      const std::u16string text = platform::loadString(IDS_EMPTY_LIST);
      DrawTextW(buffer.dc(), text.c_str(), static_cast<int>(text.size()), &placeholder, DT_CENTER | DT_VCENTER);
    }
    BitBlt(hdc, update.left, update.top, uw, uh, buffer.dc(), update.left, update.top, SRCCOPY);
  }
  EndPaint(hwnd(), &ps);
}

bool ItemListCtrl::onMeasureItem(MEASUREITEMSTRUCT& measure) {
  measure.itemHeight = static_cast<UINT>(rowHeight());
  measure.itemWidth = static_cast<UINT>(std::max(rowWidth(), 0));
  return true;
}

bool ItemListCtrl::onDrawItem(const DRAWITEMSTRUCT& draw) {
  if (draw.hDC == nullptr) return false;
  drawRow(draw.hDC, draw.rcItem, static_cast<int>(draw.itemID), (draw.itemState & ODS_SELECTED) != 0);
  return true;
}

void ItemListCtrl::onDestroy() {
  freeCaches();
  passOn();
}

void ItemListCtrl::onSize(UINT, SIZE) {
  // Both caches are made again, at the new size, by the next erase.
  freeCaches();
  passOn();
}

void ItemListCtrl::onVScroll(UINT, int position, HWND) {
  if (position != lastScrollPos_) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    lastScrollPos_ = position;
  }
  passOn();
}

void ItemListCtrl::onWindowPosChanged(const WINDOWPOS& pos) {
  passOn();
  if (!(pos.flags & SWP_HIDEWINDOW)) return;
  // Hidden lists lose their search; the owner refills them in full.
  discardSearch();
  HWND parent = GetParent(hwnd());
  if (parent != nullptr) SendMessageW(parent, UM_RELOADLIST, static_cast<WPARAM>(GetDlgCtrlID(hwnd())), 0);
}

// ---------------------------------------------------------------------------------------------
// Keys and selection

void ItemListCtrl::onKeyDown(UINT vk, UINT) {
  // The wrap replaces the list view's own move, so the other end is where the key lands.
  if (arrows_.press()) {
    if (const int row = ArrowKeyHold::wrappedRow(vk, selectedIndex(), count()); row >= 0) {
      select(row);
      return;
    }
  }
  passOn();
}

void ItemListCtrl::onKeyUp(UINT, UINT) {
  arrows_.release();
  passOn();
}

LRESULT ItemListCtrl::onListKeyDown(NMHDR& header) {
  const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(&header);
  const int s = selectedIndex();
  const int p = perPage();
  if (arrows_.heldLong()) {
    // The list view's own one-row move follows; together they travel one page.
    const int middle = ArrowKeyHold::pageStepRow(key->wVKey, s, count(), p);
    if (middle >= 0) {
      select(middle);
      repaintPending_ = true;
    }
  } else if (key->wVKey == VK_DOWN && s >= 0 && s + 1 == topIndex() + p) {
    repaintPending_ = true;
  }
  return 0;
}

LRESULT ItemListCtrl::onDeleteAllItems(NMHDR&) {
  backgroundDirty_ = true;
  if (!rebuilding_) discardSearch();
  // The rows own nothing: no LVN_DELETEITEM per row.
  return TRUE;
}

LRESULT ItemListCtrl::onItemChanged(NMHDR& header) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(&header);
  if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_FOCUSED)) {
    HWND parent = GetParent(hwnd());
    if (parent != nullptr) SendMessageW(parent, UM_SELCHANGED, 0, 0);
  }
  return 0;
}

LRESULT ItemListCtrl::onItemChanging(NMHDR& header) {
  const auto* change = reinterpret_cast<const NMLISTVIEW*>(&header);
  if (!(change->uChanged & LVIF_STATE)) return 0;
  const int c = change->iItem;
  if (change->uNewState & LVIS_FOCUSED) {
    const int t = topIndex();
    const int p = perPage();
    if (c >= t + p) {
      repaintPending_ = true;
      redrawRows(t + 1, t + p);
    } else if (c < t) {
      repaintPending_ = true;
      redrawRows(t, t + p - 1);
    } else {
      redrawRows(c, c);
    }
  }
  if (change->uOldState & LVIS_FOCUSED) redrawRows(c, c);
  return 0;
}

LRESULT ItemListCtrl::onCacheHint(NMHDR&) {
  const int t = topIndex();
  if (t != lastSeenTop()) {
    redrawRows(t, t + perPage());
    lastSeenTop() = t;
  }
  if (repaintPending_) {
    InvalidateRect(hwnd(), nullptr, FALSE);
    repaintPending_ = false;
  }
  return 0;
}

}  // namespace pellucard
