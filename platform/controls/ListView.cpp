#include "platform/controls/ListView.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/base/WinError.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {
namespace {

int copyText(const std::u16string& text, LPWSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  const int n = std::min(static_cast<int>(text.size()), size - 1);
  if (n > 0) std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(WCHAR));
  buffer[n] = 0;
  return n;
}

std::u16string textFrom(LPCWSTR text) {
  if (text == nullptr || text == LPSTR_TEXTCALLBACKW) return {};
  return std::u16string(text);
}

constexpr UINT kSelFocus = LVIS_SELECTED | LVIS_FOCUSED;

}  // namespace

ListView::ListView(HWND hwnd)
    : hwnd_(hwnd),
      bkColor_(GetSysColor(COLOR_WINDOW)),
      textColor_(GetSysColor(COLOR_WINDOWTEXT)),
      textBkColor_(GetSysColor(COLOR_WINDOW)) {}

void ListView::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_LISTVIEWW, &wc)) return;
  wc.style = CS_GLOBALCLASS;
  wc.lpfnWndProc = &ListView::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_LISTVIEWW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK ListView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<ListView>::dispatch(hwnd, message, wParam, lParam);
}

DWORD ListView::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }
bool ListView::ownerDrawn() const { return (style() & LVS_OWNERDRAWFIXED) != 0; }

LRESULT ListView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      deleteAllItems(true);
      return 0;
    case WM_ERASEBKGND:
      eraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SIZE:
      if (rowHeight_ != 0 || items_.count() > 0) {
        setTop(top_);
        updateScrollBar();
        sendCacheHint();
      }
      invalidateAll();
      return 0;
    case WM_STYLECHANGED:
      updateScrollBar();
      invalidateAll();
      return 0;
    case WM_SETREDRAW:
      DefWindowProcW(hwnd_, message, wParam, lParam);
      redraw_ = wParam != 0;
      if (redraw_) {
        updateScrollBar();
        invalidateAll();
      }
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      rowHeight_ = 0;
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) invalidateAll();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: {
      // The action key activates the row on the handheld, inside dialogs too.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      const bool action = msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (action ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      NMHDR header{};
      notify(header, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      if (dead_) return 0;
      const int focused = items_.focused();
      if (focused >= 0) invalidateRows(focused, focused);
      for (int i = items_.next(-1, LVIS_SELECTED); i >= 0; i = items_.next(i, LVIS_SELECTED)) invalidateRows(i, i);
      return 0;
    }
    case WM_KEYDOWN:
      onKeyDown(wParam, lParam);
      return 0;
    case WM_CHAR:
    case WM_KEYUP:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(wParam, lParam);
      return 0;
    case WM_LBUTTONUP: {
      LVHITTESTINFO info{};
      info.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      NMITEMACTIVATE click{};
      click.iItem = hitTest(info);
      click.ptAction = info.pt;
      click.lParam = items_.valid(click.iItem) ? items_.at(click.iItem).lParam : 0;
      notify(click.hdr, NM_CLICK);
      return 0;
    }
    case WM_VSCROLL:
      onVScroll(LOWORD(wParam));
      return 0;

    case LVM_GETITEMCOUNT:
      return items_.count();
    case LVM_SETITEMCOUNT:
      items_.reserve(static_cast<int>(wParam));
      return TRUE;
    case LVM_INSERTITEMW:
      return lParam != 0 ? insertItem(*reinterpret_cast<const LVITEMW*>(lParam)) : -1;
    case LVM_DELETEITEM:
      return deleteItem(static_cast<int>(wParam));
    case LVM_DELETEALLITEMS:
      return deleteAllItems(false);
    case LVM_GETITEMW:
      return lParam != 0 ? getItem(*reinterpret_cast<LVITEMW*>(lParam)) : FALSE;
    case LVM_SETITEMW:
      return lParam != 0 ? setItem(*reinterpret_cast<const LVITEMW*>(lParam)) : FALSE;
    case LVM_GETITEMTEXTW:
      return lParam != 0 ? getItemText(static_cast<int>(wParam), *reinterpret_cast<LVITEMW*>(lParam)) : 0;
    case LVM_SETITEMTEXTW: {
      if (lParam == 0) return FALSE;
      LVITEMW item = *reinterpret_cast<const LVITEMW*>(lParam);
      item.iItem = static_cast<int>(wParam);
      item.mask = LVIF_TEXT;
      return setItem(item);
    }
    case LVM_SETITEMSTATE:
      return lParam != 0 ? setItemStateMessage(static_cast<int>(wParam), *reinterpret_cast<const LVITEMW*>(lParam))
                         : FALSE;
    case LVM_GETITEMSTATE: {
      const int i = static_cast<int>(wParam);
      return items_.valid(i) ? static_cast<LRESULT>(items_.at(i).state & static_cast<UINT>(lParam)) : 0;
    }
    case LVM_GETNEXTITEM:
      return nextItem(static_cast<int>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)));
    case LVM_GETSELECTEDCOUNT:
      return items_.selectedCount();
    case LVM_GETSELECTIONMARK:
      return selectionMark_;
    case LVM_SETSELECTIONMARK: {
      const int old = selectionMark_;
      selectionMark_ = static_cast<int>(lParam);
      return old;
    }
    case LVM_GETTOPINDEX:
      return top_;
    case LVM_GETCOUNTPERPAGE:
      return countPerPage();
    case LVM_ENSUREVISIBLE:
      return ensureVisible(static_cast<int>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) ? TRUE : FALSE;
    case LVM_SCROLL: {
      const int h = rowHeight();
      setTop(top_ + static_cast<int>(lParam) / std::max(h, 1));
      return TRUE;
    }
    case LVM_REDRAWITEMS: {
      const int first = static_cast<int>(wParam);
      const int last = static_cast<int>(lParam);
      if (last < first || first < 0 || last >= items_.count()) return FALSE;
      invalidateRows(first, last);
      return TRUE;
    }
    case LVM_UPDATE: {
      const int i = static_cast<int>(wParam);
      if (!items_.valid(i)) return FALSE;
      invalidateRows(i, i);
      return TRUE;
    }
    case LVM_GETITEMRECT:
      return lParam != 0 && getItemRect(static_cast<int>(wParam), *reinterpret_cast<RECT*>(lParam)) ? TRUE : FALSE;
    case LVM_GETSUBITEMRECT: {
      if (lParam == 0) return FALSE;
      auto& rect = *reinterpret_cast<RECT*>(lParam);
      const int sub = rect.top;
      RECT row{LVIR_BOUNDS, 0, 0, 0};
      if (!getItemRect(static_cast<int>(wParam), row) || sub < 0 || sub >= static_cast<int>(columns_.size())) {
        return FALSE;
      }
      int x = 0;
      for (int c = 0; c < sub; ++c) x += columns_[static_cast<std::size_t>(c)].width;
      rect = {x, row.top, x + columns_[static_cast<std::size_t>(sub)].width, row.bottom};
      return TRUE;
    }
    case LVM_HITTEST:
      return lParam != 0 ? hitTest(*reinterpret_cast<LVHITTESTINFO*>(lParam)) : -1;
    case LVM_SUBITEMHITTEST: {
      if (lParam == 0) return -1;
      auto& info = *reinterpret_cast<LVHITTESTINFO*>(lParam);
      const int i = hitTest(info);
      info.iSubItem = 0;
      int x = 0;
      for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (info.pt.x >= x && info.pt.x < x + columns_[c].width) info.iSubItem = static_cast<int>(c);
        x += columns_[c].width;
      }
      return i;
    }
    case LVM_INSERTCOLUMNW:
      return lParam != 0 ? insertColumn(static_cast<int>(wParam), *reinterpret_cast<const LVCOLUMNW*>(lParam)) : -1;
    case LVM_DELETECOLUMN: {
      const auto i = static_cast<std::size_t>(wParam);
      if (i >= columns_.size()) return FALSE;
      columns_.erase(columns_.begin() + static_cast<std::ptrdiff_t>(i));
      invalidateAll();
      return TRUE;
    }
    case LVM_GETCOLUMNW:
      return lParam != 0 ? getColumn(static_cast<int>(wParam), *reinterpret_cast<LVCOLUMNW*>(lParam)) : FALSE;
    case LVM_SETCOLUMNW:
      return lParam != 0 ? setColumn(static_cast<int>(wParam), *reinterpret_cast<const LVCOLUMNW*>(lParam)) : FALSE;
    case LVM_SETCOLUMNWIDTH:
      return setColumnWidth(static_cast<int>(wParam), static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))));
    case LVM_GETCOLUMNWIDTH: {
      const auto i = static_cast<std::size_t>(wParam);
      return i < columns_.size() ? columns_[i].width : 0;
    }
    case LVM_GETHEADER:
      return 0;
    case LVM_APPROXIMATEVIEWRECT:
      return static_cast<LRESULT>(approximateViewRect(static_cast<int>(wParam)));
    case LVM_GETVIEWRECT: {
      if (lParam == 0) return FALSE;
      const DWORD size = approximateViewRect(-1);
      *reinterpret_cast<RECT*>(lParam) = {0, 0, LOWORD(size), HIWORD(size)};
      return TRUE;
    }
    case LVM_GETORIGIN:
      return FALSE;
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      const DWORD old = exStyle_;
      const DWORD mask = wParam != 0 ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
      exStyle_ = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
      if ((exStyle_ & LVS_EX_CHECKBOXES) && !(old & LVS_EX_CHECKBOXES)) {
        // Every row starts unchecked once the list shows boxes.
        for (int i = 0; i < items_.count(); ++i) {
          items_.setState(i, (items_.at(i).state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(1));
        }
      }
      invalidateAll();
      return static_cast<LRESULT>(old);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return static_cast<LRESULT>(exStyle_);
    case LVM_GETBKCOLOR:
      return static_cast<LRESULT>(bkColor_);
    case LVM_SETBKCOLOR:
      bkColor_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return static_cast<LRESULT>(textColor_);
    case LVM_SETTEXTCOLOR:
      textColor_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return static_cast<LRESULT>(textBkColor_);
    case LVM_SETTEXTBKCOLOR:
      textBkColor_ = static_cast<COLORREF>(lParam);
      invalidateAll();
      return TRUE;
    case LVM_GETIMAGELIST:
    case LVM_SETIMAGELIST:
    case LVM_GETCALLBACKMASK:
      return 0;
    case LVM_SETCALLBACKMASK:
      return TRUE;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------------
// Items

int ListView::insertItem(const LVITEMW& item) {
  if (item.iSubItem != 0) return -1;
  ListViewItem row;
  if (item.mask & LVIF_TEXT) row.text = textFrom(item.pszText);
  if (item.mask & LVIF_IMAGE) row.image = item.iImage;
  if (item.mask & LVIF_PARAM) row.lParam = item.lParam;
  if (item.mask & LVIF_INDENT) row.indent = item.iIndent;
  UINT state = 0;
  UINT stateMask = 0;
  if (item.mask & LVIF_STATE) {
    stateMask = item.stateMask;
    state = item.state & item.stateMask;
  }
  if (checkBoxes() && !(state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(1);
  // State images and overlays are data; selection and focus go through changeState below.
  row.state |= state & ~kSelFocus;
  const int index = items_.insert(item.iItem, std::move(row));
  if (selectionMark_ >= index) ++selectionMark_;

  NMLISTVIEW nm{};
  nm.iItem = index;
  nm.lParam = items_.at(index).lParam;
  notify(nm.hdr, LVN_INSERTITEM);
  if (dead_) return -1;
  if (state & stateMask & kSelFocus) changeState(index, state & kSelFocus, stateMask & kSelFocus);
  if (dead_) return -1;
  updateScrollBar();
  invalidateFrom(index);
  return index;
}

BOOL ListView::deleteItem(int i) {
  if (!items_.valid(i)) return FALSE;
  NMLISTVIEW nm{};
  nm.iItem = i;
  nm.lParam = items_.at(i).lParam;
  notify(nm.hdr, LVN_DELETEITEM);
  if (dead_ || !items_.valid(i)) return FALSE;
  items_.erase(i);
  if (selectionMark_ == i) selectionMark_ = -1;
  if (selectionMark_ > i) --selectionMark_;
  setTop(top_);
  updateScrollBar();
  invalidateFrom(i);
  return TRUE;
}

BOOL ListView::deleteAllItems(bool destroying) {
  // Selection and focus go without notifications, as the rows themselves go.
  for (int k = items_.next(-1, LVIS_SELECTED); k >= 0; k = items_.next(k, LVIS_SELECTED)) {
    items_.setState(k, items_.at(k).state & ~kSelFocus);
  }
  if (items_.focused() >= 0) items_.setState(items_.focused(), items_.at(items_.focused()).state & ~LVIS_FOCUSED);
  selectionMark_ = -1;
  NMLISTVIEW nm{};
  nm.iItem = -1;
  const bool suppress = notify(nm.hdr, LVN_DELETEALLITEMS) != 0;
  if (dead_ && !destroying) return FALSE;
  if (!suppress) {
    for (int i = items_.count() - 1; i >= 0; --i) {
      // The parent may have deleted rows itself meanwhile.
      if (i >= items_.count()) {
        i = items_.count();
        continue;
      }
      NMLISTVIEW del{};
      del.iItem = i;
      del.lParam = items_.at(i).lParam;
      notify(del.hdr, LVN_DELETEITEM);
      if (dead_ && !destroying) return FALSE;
    }
  }
  items_.clear();
  if (destroying) return TRUE;
  setTop(0);
  updateScrollBar();
  invalidateAll();
  return TRUE;
}

BOOL ListView::getItem(LVITEMW& item) const {
  if (!items_.valid(item.iItem)) return FALSE;
  const ListViewItem& row = items_.at(item.iItem);
  if (item.iSubItem < 0 || item.iSubItem > static_cast<int>(std::max<std::size_t>(columns_.size(), 1)) + 64) {
    return FALSE;
  }
  if (item.mask & LVIF_TEXT) copyText(row.textOf(item.iSubItem), item.pszText, item.cchTextMax);
  if (item.iSubItem > 0) return TRUE;
  if (item.mask & LVIF_IMAGE) item.iImage = row.image;
  if (item.mask & LVIF_PARAM) item.lParam = row.lParam;
  if (item.mask & LVIF_STATE) item.state = row.state & item.stateMask;
  if (item.mask & LVIF_INDENT) item.iIndent = row.indent;
  return TRUE;
}

int ListView::getItemText(int i, LVITEMW& item) const {
  if (!items_.valid(i) || item.iSubItem < 0) return 0;
  return copyText(items_.at(i).textOf(item.iSubItem), item.pszText, item.cchTextMax);
}

BOOL ListView::setItem(const LVITEMW& item) {
  const int i = item.iItem;
  if (!items_.valid(i) || item.iSubItem < 0) return FALSE;
  if (item.iSubItem > 0) {
    if (!(item.mask & LVIF_TEXT)) return FALSE;
    items_.edit(i).setText(item.iSubItem, textFrom(item.pszText));
    invalidateRows(i, i);
    return TRUE;
  }
  const ListViewItem& row = items_.at(i);
  UINT changed = 0;
  if ((item.mask & LVIF_TEXT) && row.text != textFrom(item.pszText)) changed |= LVIF_TEXT;
  if ((item.mask & LVIF_IMAGE) && row.image != item.iImage) changed |= LVIF_IMAGE;
  if ((item.mask & LVIF_PARAM) && row.lParam != item.lParam) changed |= LVIF_PARAM;
  if ((item.mask & LVIF_INDENT) && row.indent != item.iIndent) changed |= LVIF_INDENT;
  if (changed != 0) {
    if (notifyListView(LVN_ITEMCHANGING, i, row.state, row.state, changed, row.lParam) != 0) return FALSE;
    if (dead_ || !items_.valid(i)) return FALSE;
    ListViewItem& target = items_.edit(i);
    if (changed & LVIF_TEXT) target.text = textFrom(item.pszText);
    if (changed & LVIF_IMAGE) target.image = item.iImage;
    if (changed & LVIF_PARAM) target.lParam = item.lParam;
    if (changed & LVIF_INDENT) target.indent = item.iIndent;
    notifyListView(LVN_ITEMCHANGED, i, target.state, target.state, changed, target.lParam);
    if (dead_ || !items_.valid(i)) return FALSE;
    invalidateRows(i, i);
  }
  if (item.mask & LVIF_STATE) return changeState(i, item.state, item.stateMask) ? TRUE : FALSE;
  return TRUE;
}

BOOL ListView::setItemStateMessage(int i, const LVITEMW& item) {
  if (i == -1) {
    // Every row; with one selection allowed, selecting "all" leaves the last one selected.
    for (int k = 0; k < items_.count() && !dead_; ++k) changeState(k, item.state, item.stateMask);
    return TRUE;
  }
  if (!items_.valid(i)) return FALSE;
  return changeState(i, item.state, item.stateMask) ? TRUE : FALSE;
}

bool ListView::changeState(int i, UINT state, UINT mask) {
  if (!items_.valid(i)) return false;
  const UINT old = items_.at(i).state;
  const UINT wanted = (old & ~mask) | (state & mask);
  if (wanted == old) return true;
  if (notifyListView(LVN_ITEMCHANGING, i, wanted, old, LVIF_STATE, items_.at(i).lParam) != 0) return false;
  if (dead_ || !items_.valid(i)) return false;

  const int previousFocus = items_.focused();
  const UINT now = (items_.at(i).state & ~mask) | (state & mask);
  items_.setState(i, now);
  invalidateRows(i, i);

  if ((now & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (style() & LVS_SINGLESEL)) {
    for (int k = items_.next(-1, LVIS_SELECTED); k >= 0 && !dead_; k = items_.next(k, LVIS_SELECTED)) {
      if (k != i) changeState(k, 0, LVIS_SELECTED);
    }
  }
  if ((now & LVIS_FOCUSED) && !(old & LVIS_FOCUSED) && previousFocus >= 0 && previousFocus != i && !dead_) {
    changeState(previousFocus, 0, LVIS_FOCUSED);
  }
  if (dead_ || !items_.valid(i)) return false;
  notifyListView(LVN_ITEMCHANGED, i, now, old, LVIF_STATE, items_.at(i).lParam);
  return true;
}

int ListView::nextItem(int start, UINT flags) const {
  const UINT mask = (flags & LVNI_SELECTED ? LVIS_SELECTED : 0) | (flags & LVNI_FOCUSED ? LVIS_FOCUSED : 0) |
                    (flags & LVNI_CUT ? LVIS_CUT : 0) | (flags & LVNI_DROPHILITED ? LVIS_DROPHILITED : 0);
  if (flags & LVNI_ABOVE) {
    for (int i = std::min(start, items_.count()) - 1; i >= 0; --i) {
      if ((items_.at(i).state & mask) == mask) return i;
    }
    return -1;
  }
  // Below, to the right, to the left and "all" are the next rows in report view.
  return items_.next(start, mask);
}

void ListView::selectAndFocus(int i) {
  for (int k = items_.next(-1, LVIS_SELECTED); k >= 0 && !dead_; k = items_.next(k, LVIS_SELECTED)) {
    if (k != i) changeState(k, 0, LVIS_SELECTED);
  }
  if (dead_) return;
  changeState(i, kSelFocus, kSelFocus);
  selectionMark_ = i;
}

// ---------------------------------------------------------------------------------------------
// Columns

int ListView::insertColumn(int i, const LVCOLUMNW& column) {
  if (i < 0) return -1;
  Column c;
  if (column.mask & LVCF_FMT) c.fmt = column.fmt & LVCFMT_JUSTIFYMASK;
  if (column.mask & LVCF_WIDTH) c.width = std::max(column.cx, 0);
  if (column.mask & LVCF_TEXT) c.text = textFrom(column.pszText);
  i = std::min(i, static_cast<int>(columns_.size()));
  columns_.insert(columns_.begin() + i, std::move(c));
  invalidateAll();
  return i;
}

BOOL ListView::getColumn(int i, LVCOLUMNW& column) const {
  if (i < 0 || i >= static_cast<int>(columns_.size())) return FALSE;
  const Column& c = columns_[static_cast<std::size_t>(i)];
  if (column.mask & LVCF_FMT) column.fmt = c.fmt;
  if (column.mask & LVCF_WIDTH) column.cx = c.width;
  if (column.mask & LVCF_TEXT) copyText(c.text, column.pszText, column.cchTextMax);
  if (column.mask & LVCF_SUBITEM) column.iSubItem = i;
  return TRUE;
}

BOOL ListView::setColumn(int i, const LVCOLUMNW& column) {
  if (i < 0 || i >= static_cast<int>(columns_.size())) return FALSE;
  Column& c = columns_[static_cast<std::size_t>(i)];
  if (column.mask & LVCF_FMT) c.fmt = column.fmt & LVCFMT_JUSTIFYMASK;
  if (column.mask & LVCF_WIDTH) c.width = std::max(column.cx, 0);
  if (column.mask & LVCF_TEXT) c.text = textFrom(column.pszText);
  invalidateAll();
  return TRUE;
}

int ListView::totalColumnWidth() const {
  int total = 0;
  for (const Column& c : columns_) total += c.width;
  return total;
}

int ListView::autoColumnWidth(int i) const {
  const platform::gdi::MemoryDc dc(nullptr);
  const platform::gdi::SelectedObject font(dc.dc(), font_ != nullptr ? font_ : systemFont());
  int widest = 0;
  auto measure = [&](const std::u16string& text) {
    SIZE size{};
    if (!text.empty() && GetTextExtentPoint32W(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size)) {
      widest = std::max(widest, static_cast<int>(size.cx));
    }
  };
  for (int k = 0; k < items_.count(); ++k) measure(items_.at(k).textOf(i));
  return widest + scaled(6);
}

BOOL ListView::setColumnWidth(int i, int width) {
  if (i < 0 || i >= static_cast<int>(columns_.size())) return FALSE;
  if (width == LVSCW_AUTOSIZE_USEHEADER && i == static_cast<int>(columns_.size()) - 1) {
    const int others = totalColumnWidth() - columns_[static_cast<std::size_t>(i)].width;
    width = std::max(clientRect().right - others, 0);
  } else if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    width = autoColumnWidth(i);
  }
  columns_[static_cast<std::size_t>(i)].width = std::max(width, 0);
  updateScrollBar();
  invalidateAll();
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Geometry

int ListView::rowHeight() {
  if (rowHeight_ > 0) return rowHeight_;
  const int natural = fontHeight(font_ != nullptr ? font_ : systemFont()) + scaled(4);
  rowHeight_ = natural;
  if (ownerDrawn()) {
    // Asked once the window exists, so that a subclassing owner answers the reflected message.
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_LISTVIEW;
    mis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd_));
    mis.itemHeight = static_cast<UINT>(natural);
    HWND parent = GetParent(hwnd_);
    if (parent != nullptr) SendMessageW(parent, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    rowHeight_ = std::max(static_cast<int>(mis.itemHeight), 1);
  }
  return rowHeight_;
}

int ListView::headerHeight() const {
  if ((style() & LVS_NOCOLUMNHEADER) || columns_.empty()) return 0;
  return fontHeight(font_ != nullptr ? font_ : systemFont()) + scaled(6);
}

RECT ListView::clientRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc;
}

int ListView::countPerPage() {
  const RECT rc = clientRect();
  return std::max(static_cast<int>(rc.bottom) - headerHeight(), 0) / rowHeight();
}

int ListView::maxTop() { return std::max(items_.count() - countPerPage(), 0); }

bool ListView::getItemRect(int i, RECT& rect) {
  if (!items_.valid(i)) return false;
  const int code = rect.left;
  const int h = rowHeight();
  const int y = headerHeight() + (i - top_) * h;
  const int col0 = columns_.empty() ? clientRect().right : columns_[0].width;
  const int stateWidth = checkBoxes() && !ownerDrawn() ? h : 0;
  switch (code) {
    case LVIR_BOUNDS:
    case LVIR_SELECTBOUNDS:
      rect = {0, y, columns_.empty() ? col0 : totalColumnWidth(), y + h};
      return true;
    case LVIR_ICON:
      rect = {stateWidth, y, stateWidth, y + h};
      return true;
    case LVIR_LABEL:
      rect = {stateWidth, y, std::max(col0, stateWidth), y + h};
      return true;
    default:
      return false;
  }
}

int ListView::hitTest(LVHITTESTINFO& info) {
  info.iItem = -1;
  info.iSubItem = 0;
  const RECT rc = clientRect();
  const int header = headerHeight();
  if (info.pt.y < header) {
    info.flags = info.pt.y < 0 ? LVHT_ABOVE : LVHT_NOWHERE;
    return -1;
  }
  if (info.pt.y >= rc.bottom) {
    info.flags = LVHT_BELOW;
    return -1;
  }
  if (info.pt.x < 0 || info.pt.x >= rc.right) {
    info.flags = info.pt.x < 0 ? LVHT_TOLEFT : LVHT_TORIGHT;
    return -1;
  }
  const int i = top_ + (info.pt.y - header) / rowHeight();
  const int width = columns_.empty() ? rc.right : totalColumnWidth();
  if (!items_.valid(i) || info.pt.x >= width) {
    info.flags = LVHT_NOWHERE;
    return -1;
  }
  info.iItem = i;
  info.flags = checkBoxes() && !ownerDrawn() && info.pt.x < rowHeight() ? LVHT_ONITEMSTATEICON : LVHT_ONITEMLABEL;
  return i;
}

DWORD ListView::approximateViewRect(int count) {
  if (count < 0) count = items_.count();
  const int width = columns_.empty() ? clientRect().right : totalColumnWidth();
  const int height = headerHeight() + count * rowHeight();
  return static_cast<DWORD>(
      MAKELONG(static_cast<WORD>(std::min(width, 0xFFFF)), static_cast<WORD>(std::min(height, 0xFFFF))));
}

// ---------------------------------------------------------------------------------------------
// Scrolling and redrawing

void ListView::setTop(int top) {
  const int clamped = std::clamp(top, 0, maxTop());
  if (clamped == top_) return;
  top_ = clamped;
  updateScrollBar();
  invalidateAll();
  sendCacheHint();
}

bool ListView::ensureVisible(int i, bool partialOk) {
  if (!items_.valid(i)) return false;
  if (style() & LVS_NOSCROLL) return true;
  const int perPage = countPerPage();
  if (i < top_) {
    setTop(i);
  } else if (perPage <= 0) {
    setTop(i);
  } else if (i >= top_ + perPage) {
    // A row cut by the bottom edge counts as visible when the caller accepts that.
    const RECT rc = clientRect();
    const int y = headerHeight() + (i - top_) * rowHeight();
    if (!(partialOk && y < rc.bottom)) setTop(i - perPage + 1);
  }
  return true;
}

void ListView::updateScrollBar() {
  if (!redraw_ || updatingScroll_ || dead_) return;
  updatingScroll_ = true;
  if (style() & LVS_NOSCROLL) {
    if (style() & WS_VSCROLL) ShowScrollBar(hwnd_, SB_VERT, FALSE);
  } else if (items_.count() > 0 || (style() & WS_VSCROLL)) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(items_.count() - 1, 0);
    si.nPage = static_cast<UINT>(items_.count() > 0 ? countPerPage() : 1);
    si.nPos = top_;
    SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  }
  updatingScroll_ = false;
}

void ListView::sendCacheHint() {
  if (items_.count() == 0 || dead_) return;
  const int perPage = countPerPage();
  if (top_ == hintFrom_ && perPage == hintTo_ - hintFrom_) return;
  hintFrom_ = top_;
  hintTo_ = top_ + perPage;
  NMLVCACHEHINT hint{};
  hint.iFrom = top_;
  hint.iTo = std::min(top_ + perPage, items_.count() - 1);
  notify(hint.hdr, LVN_ODCACHEHINT);
}

void ListView::invalidateRows(int first, int last) {
  if (!redraw_ || dead_) return;
  const int perPage = countPerPage();
  first = std::max(first, top_);
  last = std::min(last, top_ + perPage);
  if (last < first) return;
  const RECT rc = clientRect();
  const int h = rowHeight();
  const int header = headerHeight();
  RECT rows{0, header + (first - top_) * h, rc.right, header + (last - top_ + 1) * h};
  InvalidateRect(hwnd_, &rows, TRUE);
}

void ListView::invalidateFrom(int first) {
  if (!redraw_ || dead_) return;
  if (first < top_) first = top_;
  const RECT rc = clientRect();
  const int y = headerHeight() + (first - top_) * rowHeight();
  if (y >= rc.bottom) return;
  RECT rows{0, y, rc.right, rc.bottom};
  InvalidateRect(hwnd_, &rows, TRUE);
}

void ListView::invalidateAll() {
  if (redraw_ && !dead_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListView::onVScroll(int code) {
  if (style() & LVS_NOSCROLL) return;
  const int page = std::max(countPerPage(), 1);
  int top = top_;
  switch (code) {
    case SB_LINEUP:
      --top;
      break;
    case SB_LINEDOWN:
      ++top;
      break;
    case SB_PAGEUP:
      top -= page;
      break;
    case SB_PAGEDOWN:
      top += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, SB_VERT, &si)) top = si.nTrackPos;
      break;
    }
    case SB_TOP:
      top = 0;
      break;
    case SB_BOTTOM:
      top = maxTop();
      break;
    default:
      return;
  }
  setTop(top);
}

// ---------------------------------------------------------------------------------------------
// Input

void ListView::onKeyDown(WPARAM vk, LPARAM) {
  NMLVKEYDOWN key{};
  key.wVKey = static_cast<WORD>(vk);
  key.flags = 0;
  notify(key.hdr, LVN_KEYDOWN);
  if (dead_ || items_.count() == 0) return;

  const int count = items_.count();
  const int focus = items_.focused();
  const int perPage = std::max(countPerPage(), 1);
  int target = -1;
  switch (vk) {
    case VK_UP:
      target = focus < 0 ? 0 : focus - 1;
      break;
    case VK_DOWN:
      target = focus < 0 ? 0 : std::min(focus + 1, count - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = count - 1;
      break;
    case VK_PRIOR:
      target = focus == top_ ? std::max(top_ - perPage + 1, 0) : top_;
      break;
    case VK_NEXT: {
      const int bottom = top_ + perPage - 1;
      target = std::min(focus == bottom ? focus + perPage - 1 : bottom, count - 1);
      break;
    }
    case VK_SPACE:
      if (checkBoxes() && focus >= 0) {
        const UINT image = (items_.at(focus).state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2;
        changeState(focus, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
      }
      return;
    case VK_RETURN: {
      NMHDR header{};
      notify(header, NM_RETURN);
      if (dead_) return;
      const int row = focus >= 0 ? focus : items_.next(-1, LVIS_SELECTED);
      if (row >= 0) {
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        getItemRect(row, rect);
        activate(row, {rect.left, rect.top});
      }
      return;
    }
    default:
      return;
  }
  if (target < 0 || target >= count) return;
  if (target == focus && (items_.at(target).state & LVIS_SELECTED)) return;
  selectAndFocus(target);
  if (!dead_) ensureVisible(target, false);
}

void ListView::onLButtonDown(WPARAM, LPARAM lParam) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (dead_) return;
  LVHITTESTINFO info{};
  info.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int i = hitTest(info);
  if (i < 0) return;
  if (info.flags & LVHT_ONITEMSTATEICON) {
    // Owner-drawn rows draw their own boxes; the list toggles only the boxes it draws.
    const UINT image = (items_.at(i).state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2) ? 1 : 2;
    changeState(i, INDEXTOSTATEIMAGEMASK(image), LVIS_STATEIMAGEMASK);
    if (dead_) return;
  }
  const UINT state = items_.at(i).state;
  if ((state & kSelFocus) == kSelFocus) {
    if (!(info.flags & LVHT_ONITEMSTATEICON)) activate(i, info.pt);
    return;
  }
  selectAndFocus(i);
  if (!dead_) ensureVisible(i, false);
}

void ListView::activate(int i, POINT pt) {
  if (!items_.valid(i)) return;
  NMITEMACTIVATE nm{};
  nm.iItem = i;
  nm.uNewState = items_.at(i).state;
  nm.uOldState = items_.at(i).state;
  nm.ptAction = pt;
  nm.lParam = items_.at(i).lParam;
  if (GetKeyState(VK_SHIFT) < 0) nm.uKeyFlags |= LVKF_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) nm.uKeyFlags |= LVKF_CONTROL;
  notify(nm.hdr, LVN_ITEMACTIVATE);
}

// ---------------------------------------------------------------------------------------------
// Painting

void ListView::eraseBackground(HDC hdc) {
  if (hdc == nullptr) return;
  RECT rc = clientRect();
  HBRUSH brush = CreateSolidBrush(bkColor_);
  FillRect(hdc, &rc, brush);
  DeleteObject(brush);
}

void ListView::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  HGDIOBJ oldFont = SelectObject(hdc, font_ != nullptr ? font_ : systemFont());
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  const int header = headerHeight();
  if (header > 0 && ps.rcPaint.top < header) drawHeader(hdc);
  if (items_.count() > 0) {
    const RECT rc = clientRect();
    const int h = rowHeight();
    const int width = columns_.empty() ? rc.right : totalColumnWidth();
    // Only the rows that meet the area being painted are drawn.
    int i = top_ + std::max(static_cast<int>(ps.rcPaint.top) - header, 0) / h;
    for (; i < items_.count() && !dead_; ++i) {
      const int y = header + (i - top_) * h;
      if (y >= ps.rcPaint.bottom || y >= rc.bottom) break;
      const RECT row{0, y, width, y + h};
      if (ownerDrawn()) {
        drawOwnerRow(hdc, i, row);
      } else {
        drawRow(hdc, i, row);
      }
    }
  }
  SetBkMode(hdc, oldMode);
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

void ListView::drawHeader(HDC hdc) {
  const RECT rc = clientRect();
  const int height = headerHeight();
  fillSysColor(hdc, RECT{0, 0, rc.right, height}, COLOR_BTNFACE);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  const COLORREF line = GetSysColor(COLOR_BTNSHADOW);
  int x = 0;
  for (const Column& c : columns_) {
    if (c.width > 0) {
      RECT text{x + scaled(3), 0, x + c.width - scaled(3), height};
      const UINT align = c.fmt == LVCFMT_RIGHT ? DT_RIGHT : c.fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
      DrawTextW(hdc, c.text.c_str(), static_cast<int>(c.text.size()), &text,
                align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      drawLine(hdc, x + c.width - 1, 0, x + c.width - 1, height - 1, line);
    }
    x += c.width;
  }
  drawLine(hdc, 0, height - 1, rc.right, height - 1, line);
}

void ListView::drawCheckBox(HDC hdc, const RECT& box, bool checked) const {
  fillSysColor(hdc, box, COLOR_WINDOW);
  frameRect(hdc, box, GetSysColor(COLOR_WINDOWTEXT));
  if (!checked) return;
  const int w = box.right - box.left;
  const int e = std::max(w / 4, 1);
  const COLORREF tick = GetSysColor(COLOR_WINDOWTEXT);
  const int left = box.left + e;
  const int bottom = box.bottom - e;
  const int right = box.right - e;
  const int thickness = std::max(w / 6, 2);
  for (int t = 0; t < thickness; ++t) {
    const int midX = left + (right - left) / 3;
    drawLine(hdc, left, bottom - (right - left) / 3 - t, midX, bottom - t, tick);
    drawLine(hdc, midX, bottom - t, right, box.top + e - t + thickness, tick);
  }
}

void ListView::drawRow(HDC hdc, int i, const RECT& row) {
  const ListViewItem& item = items_.at(i);
  const bool focusedWindow = GetFocus() == hwnd_;
  const bool selected = (item.state & LVIS_SELECTED) && (focusedWindow || (style() & LVS_SHOWSELALWAYS));
  const bool fullRow = (exStyle_ & LVS_EX_FULLROWSELECT) != 0;
  const int pad = scaled(2);

  HBRUSH back = CreateSolidBrush(textBkColor_);
  FillRect(hdc, &row, back);
  DeleteObject(back);

  const COLORREF highlight = focusedWindow ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE);
  const COLORREF highlightText = focusedWindow ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_BTNTEXT);
  const std::size_t columnCount = std::max<std::size_t>(columns_.size(), 1);
  int x = 0;
  for (std::size_t c = 0; c < columnCount; ++c) {
    const int width = columns_.empty() ? row.right : columns_[c].width;
    RECT cell{x, row.top, x + width, row.bottom};
    x += width;
    if (width <= 0) continue;
    RECT text{cell.left + pad, cell.top, cell.right - pad, cell.bottom};
    if (c == 0 && checkBoxes()) {
      const int size = std::min(row.bottom - row.top - scaled(4), scaled(13));
      RECT box{cell.left + pad, cell.top + (row.bottom - row.top - size) / 2, 0, 0};
      box.right = box.left + size;
      box.bottom = box.top + size;
      drawCheckBox(hdc, box, (item.state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
      text.left = cell.left + (row.bottom - row.top) + pad;
    }
    const std::u16string& s = item.textOf(static_cast<int>(c));
    const bool lit = selected && (fullRow || c == 0);
    if (lit) {
      RECT band = cell;
      if (c == 0 && checkBoxes()) band.left = text.left - pad;
      if (!fullRow) {
        SIZE extent{};
        GetTextExtentPoint32W(hdc, s.c_str(), static_cast<int>(s.size()), &extent);
        band.right = std::min(static_cast<LONG>(text.left + extent.cx + pad), cell.right);
      }
      HBRUSH brush = CreateSolidBrush(highlight);
      FillRect(hdc, &band, brush);
      DeleteObject(brush);
    }
    SetTextColor(hdc, lit ? highlightText : textColor_);
    const int fmt = columns_.empty() ? LVCFMT_LEFT : columns_[c].fmt;
    const UINT align = fmt == LVCFMT_RIGHT ? DT_RIGHT : fmt == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    if (!s.empty()) {
      DrawTextW(hdc, s.c_str(), static_cast<int>(s.size()), &text,
                align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  if ((item.state & LVIS_FOCUSED) && focusedWindow && !(item.state & LVIS_SELECTED)) DrawFocusRect(hdc, &row);
}

void ListView::drawOwnerRow(HDC hdc, int i, const RECT& row) {
  const ListViewItem& item = items_.at(i);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_LISTVIEW;
  dis.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd_));
  dis.itemID = static_cast<UINT>(i);
  dis.itemAction = ODA_DRAWENTIRE;
  if (item.state & LVIS_SELECTED) dis.itemState |= ODS_SELECTED;
  if ((item.state & LVIS_FOCUSED) && GetFocus() == hwnd_) dis.itemState |= ODS_FOCUS;
  dis.hwndItem = hwnd_;
  dis.hDC = hdc;
  dis.rcItem = row;
  dis.itemData = static_cast<ULONG_PTR>(item.lParam);
  HWND parent = GetParent(hwnd_);
  if (parent != nullptr) SendMessageW(parent, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

// ---------------------------------------------------------------------------------------------
// Notifications

LRESULT ListView::notify(NMHDR& header, UINT code) const {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return 0;
  header.hwndFrom = hwnd_;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  header.code = code;
  return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT ListView::notifyListView(UINT code, int i, UINT newState, UINT oldState, UINT changed, LPARAM itemParam,
                                 POINT pt) const {
  NMLISTVIEW nm{};
  nm.iItem = i;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.uChanged = changed;
  nm.ptAction = pt;
  nm.lParam = itemParam;
  return notify(nm.hdr, code);
}

}  // namespace platform::controls
