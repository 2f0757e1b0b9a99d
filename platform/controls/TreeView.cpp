#include "platform/controls/TreeView.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/base/TextCase.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/ControlTable.h"
#include "platform/controls/WinImageList.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinGdi.h"
#include "platform/sys/WinBase.h"

namespace platform::controls {
namespace {

constexpr int kDefaultIndent = 19;
constexpr DWORD kSearchPauseMs = 1000;
// What TVM_INSERTITEM and TVM_SETITEM may set directly; the caret's TVIS_SELECTED comes with
// TVM_SELECTITEM.
constexpr UINT kInsertableStates = TVIS_CUT | TVIS_DROPHILITED | TVIS_BOLD | TVIS_EXPANDED | TVIS_EXPANDEDONCE |
                                   TVIS_EXPANDPARTIAL | TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK;
constexpr UINT kNotifyItemMask = TVIF_TEXT | TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
constexpr UINT kExpandItemMask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
constexpr int kDisplayTextSize = 260;

int copyText(std::u16string_view text, LPWSTR buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  const int n = std::min(static_cast<int>(text.size()), size - 1);
  if (n > 0) std::memcpy(buffer, text.data(), static_cast<std::size_t>(n) * sizeof(WCHAR));
  buffer[n] = 0;
  return n;
}

int compareText(std::u16string_view a, std::u16string_view b) { return platform::compareIgnoringCase(a, b); }

bool startsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && platform::equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

SIZE imageListSize(HIMAGELIST list) {
  int cx = 0;
  int cy = 0;
  if (list == nullptr || !ImageList_GetIconSize(list, &cx, &cy)) return SIZE{0, 0};
  return SIZE{cx, cy};
}

}  // namespace

TreeView::TreeView(HWND hwnd) : hwnd_(hwnd), indent_(scaled(kDefaultIndent)) {}

TreeView::~TreeView() {
  if (boldFont_ != nullptr) DeleteObject(boldFont_);
}

void TreeView::registerClass() {
  WNDCLASSW wc{};
  if (GetClassInfoW(nullptr, WC_TREEVIEWW, &wc)) return;
  wc.style = CS_GLOBALCLASS | CS_DBLCLKS;
  wc.lpfnWndProc = &TreeView::windowProc;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = WC_TREEVIEWW;
  RegisterClassW(&wc);
}

LRESULT CALLBACK TreeView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ControlTable<TreeView>::dispatch(hwnd, message, wParam, lParam);
}

DWORD TreeView::style() const { return static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)); }

LRESULT TreeView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= TV_FIRST && message < TV_FIRST + 0x100) return handleTreeMessage(message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      return 0;
    case WM_DESTROY:
      deleteAll();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      paint();
      return 0;
    case WM_SIZE:
      layoutChanged();
      updateScrollBars();
      return 0;
    case WM_STYLECHANGED:
      itemHeight_ = 0;
      layoutChanged();
      updateScrollBars();
      return 0;
    case WM_ENABLE:
      invalidateAll();
      return 0;
    case WM_SETREDRAW:
      DefWindowProcW(hwnd_, message, wParam, lParam);
      redraw_ = wParam != 0;
      if (redraw_) {
        layoutChanged();
        updateScrollBars();
      }
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (boldFont_ != nullptr) DeleteObject(boldFont_);
      boldFont_ = nullptr;
      itemHeight_ = 0;
      items_.forgetTextWidths();
      layoutChanged();
      if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) updateScrollBars();
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_GETDLGCODE: {
      // The action key toggles the selected item, inside dialogs too.
      const auto* msg = reinterpret_cast<const MSG*>(lParam);
      const bool action = msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN;
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (action ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      NMHDR header{};
      notify(header, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
      if (!dead_) invalidateItem(caret_);
      return 0;
    }
    case WM_KEYDOWN:
      onKeyDown(wParam);
      return 0;
    case WM_CHAR:
      onChar(wParam);
      return 0;
    case WM_KEYUP:
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      onLButtonDown(lParam, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_LBUTTONUP:
      onLButtonUp(lParam);
      return 0;
    case WM_VSCROLL:
      onScroll(SB_VERT, LOWORD(wParam));
      return 0;
    case WM_HSCROLL:
      onScroll(SB_HORZ, LOWORD(wParam));
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

LRESULT TreeView::handleTreeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const auto item = reinterpret_cast<HTREEITEM>(lParam);
  switch (message) {
    case TVM_INSERTITEMW:
      return lParam != 0 ? reinterpret_cast<LRESULT>(insertItem(*reinterpret_cast<const TVINSERTSTRUCTW*>(lParam))) : 0;
    case TVM_DELETEITEM:
      return deleteItem(item);
    case TVM_EXPAND:
      return expand(items_.slotOf(item), static_cast<UINT>(wParam), false);
    case TVM_GETITEMRECT:
      return lParam != 0 && getItemRect(*reinterpret_cast<RECT*>(lParam), wParam != 0) ? TRUE : FALSE;
    case TVM_GETCOUNT:
      return items_.count();
    case TVM_GETINDENT:
      return indent_;
    case TVM_SETINDENT:
      indent_ = std::max(static_cast<int>(wParam), scaled(kDefaultIndent));
      layoutChanged();
      return 0;
    case TVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == TVSIL_STATE    ? stateImages_
                                       : wParam == TVSIL_NORMAL ? images_
                                                                : nullptr);
    case TVM_SETIMAGELIST: {
      if (wParam != TVSIL_NORMAL && wParam != TVSIL_STATE) return 0;
      HIMAGELIST& slot = wParam == TVSIL_STATE ? stateImages_ : images_;
      HIMAGELIST old = slot;
      slot = reinterpret_cast<HIMAGELIST>(lParam);
      itemHeight_ = 0;
      layoutChanged();
      return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(nextItem(item, static_cast<UINT>(wParam)));
    case TVM_SELECTITEM:
      return selectItem(static_cast<UINT>(wParam), item);
    case TVM_GETITEMW:
      return lParam != 0 ? getItem(*reinterpret_cast<TVITEMW*>(lParam)) : FALSE;
    case TVM_SETITEMW:
      return lParam != 0 ? setItem(*reinterpret_cast<const TVITEMW*>(lParam)) : FALSE;
    case TVM_GETEDITCONTROL:
    case TVM_EDITLABELW:
      return 0;
    case TVM_ENDEDITLABELNOW:
      return FALSE;
    case TVM_GETVISIBLECOUNT:
      return pageRows();
    case TVM_HITTEST: {
      if (lParam == 0) return 0;
      auto& info = *reinterpret_cast<TVHITTESTINFO*>(lParam);
      return reinterpret_cast<LRESULT>(items_.handle(hitTest(info)));
    }
    case TVM_SORTCHILDREN:
      return sortChildren(item, wParam != 0, nullptr);
    case TVM_SORTCHILDRENCB: {
      const auto* sort = reinterpret_cast<const TVSORTCB*>(lParam);
      return sort != nullptr && sort->lpfnCompare != nullptr ? sortChildren(sort->hParent, wParam != 0, sort) : FALSE;
    }
    case TVM_ENSUREVISIBLE: {
      const TreeSlot slot = items_.slotOf(item);
      return slot != kNone && ensureVisible(slot) ? TRUE : FALSE;
    }
    case TVM_SETITEMHEIGHT: {
      const int old = itemHeight();
      const int wanted = static_cast<int>(static_cast<SHORT>(LOWORD(wParam)));
      customItemHeight_ = wanted == -1 ? 0 : std::max(wanted, 1);
      if (customItemHeight_ > 1 && !(style() & TVS_NONEVENHEIGHT)) customItemHeight_ &= ~1;
      itemHeight_ = 0;
      layoutChanged();
      return old;
    }
    case TVM_GETITEMHEIGHT:
      return itemHeight();
    case TVM_SETBKCOLOR:
    case TVM_SETTEXTCOLOR:
    case TVM_SETLINECOLOR: {
      COLORREF& color = message == TVM_SETBKCOLOR ? bkColor_ : message == TVM_SETTEXTCOLOR ? textColor_ : lineColor_;
      const COLORREF old = color;
      color = static_cast<COLORREF>(lParam);
      invalidateAll();
      return static_cast<LRESULT>(old);
    }
    case TVM_GETBKCOLOR:
      return static_cast<LRESULT>(bkColor_);
    case TVM_GETTEXTCOLOR:
      return static_cast<LRESULT>(textColor_);
    case TVM_GETLINECOLOR:
      return static_cast<LRESULT>(lineColor_);
    case TVM_GETITEMSTATE: {
      const TreeSlot slot = items_.slotOf(reinterpret_cast<HTREEITEM>(wParam));
      return slot != kNone ? static_cast<LRESULT>(items_.at(slot).state & static_cast<UINT>(lParam)) : 0;
    }
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// ---------------------------------------------------------------------------------------------
// Items

HTREEITEM TreeView::insertItem(const TVINSERTSTRUCTW& insert) {
  const TreeSlot parent =
      insert.hParent == nullptr || insert.hParent == TVI_ROOT ? kRoot : items_.slotOf(insert.hParent);
  if (parent == kNone) return nullptr;
  const TVITEMW& in = insert.item;
  TreeItem item;
  if (in.mask & TVIF_TEXT) {
    item.textCallback = in.pszText == LPSTR_TEXTCALLBACKW;
    if (!item.textCallback && in.pszText != nullptr) item.text = in.pszText;
  }
  if (in.mask & TVIF_IMAGE) item.image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) item.selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_PARAM) item.lParam = in.lParam;
  if (in.mask & TVIF_CHILDREN) {
    item.children = in.cChildren;
    item.childrenGiven = true;
  }
  if (in.mask & TVIF_STATE) item.state = in.state & in.stateMask & kInsertableStates;

  const bool firstChild = items_.childCount(parent) == 0;
  TreeSlot slot = kNone;
  if (insert.hInsertAfter == TVI_SORT && !item.textCallback && items_.childrenSorted(parent)) {
    slot = items_.insertSorted(parent, std::move(item));
  } else {
    std::size_t position = items_.childCount(parent);
    if (insert.hInsertAfter == TVI_FIRST) {
      position = 0;
    } else if (insert.hInsertAfter == TVI_SORT) {
      position = sortedPosition(parent, item.text);
      if (position == kNoPosition) return nullptr;
    } else if (insert.hInsertAfter != TVI_LAST && insert.hInsertAfter != nullptr) {
      // After a sibling; an item that is not one inserts last, as the handheld does.
      const TreeSlot after = items_.slotOf(insert.hInsertAfter);
      if (after != kNone && items_.at(after).parent == parent) position = items_.indexInParent(after) + 1;
    }
    slot = items_.insert(parent, position, std::move(item));
  }
  if (items_.shown(slot)) {
    layoutChanged();
  } else if (firstChild && parent != kRoot) {
    invalidateItem(parent);  // its button appears
  }
  return items_.handle(slot);
}

std::size_t TreeView::sortedPosition(TreeSlot parent, std::u16string_view text) {
  // Siblings in any order, callback texts among them: walked one by one, the list read afresh
  // after every question, as the parent may change the tree while it answers.
  const HTREEITEM parentHandle = items_.handle(parent);
  for (std::size_t i = 0;; ++i) {
    if (parent != kRoot && items_.slotOf(parentHandle) != parent) return kNoPosition;
    const std::vector<TreeSlot>& kids = items_.children(parent);
    if (i >= kids.size()) return kids.size();
    const TreeSlot kid = kids[i];
    const int order =
        items_.at(kid).textCallback ? compareText(text, displayText(kid)) : compareText(text, items_.at(kid).text);
    if (order < 0) return i;
  }
}

BOOL TreeView::deleteItem(HTREEITEM handle) {
  if (handle == nullptr || handle == TVI_ROOT) {
    deleteAll();
    return TRUE;
  }
  const TreeSlot slot = items_.slotOf(handle);
  if (slot == kNone) return FALSE;
  // A selection inside what goes moves to the previous sibling, else the parent, else the next.
  HTREEITEM newCaret = nullptr;
  if (caret_ != kNone && (caret_ == slot || items_.isAncestor(slot, caret_))) {
    const TreeSlot previous = items_.previousSibling(slot);
    const TreeSlot parent = items_.parentOf(slot);
    const TreeSlot next = items_.nextSibling(slot);
    newCaret = items_.handle(previous != kNone ? previous : parent != kRoot ? parent : next);
  }
  const int top = topRow();
  const bool shown = items_.shown(slot);
  removeSubtree(slot);
  if (dead_) return TRUE;
  if (firstVisible_ == kNone && !items_.rows().empty()) {
    firstVisible_ = items_.rows()[static_cast<std::size_t>(std::min(top, rowCount() - 1))];
  }
  if (shown) layoutChanged();
  const TreeSlot target = items_.slotOf(newCaret);
  if (caret_ == kNone && target != kNone) select(target, TVC_UNKNOWN);
  return TRUE;
}

void TreeView::deleteAll() {
  removeChildren(kRoot);
  caret_ = dropTarget_ = firstVisible_ = pressed_ = kNone;
  scrollX_ = 0;
  layoutChanged();
}

void TreeView::removeChildren(TreeSlot parent) {
  // Each item goes after its children, each still whole when it is reported; the parent may
  // delete items while a report is out, so every handle is checked again before it is used. An
  // explicit stack, so that no depth of tree can exhaust the real one.
  struct Frame {
    HTREEITEM item;  // null for the parent, which stays
    std::vector<HTREEITEM> kids;
    std::size_t next = 0;
  };
  auto detached = [this](TreeSlot slot) {
    std::vector<HTREEITEM> handles;
    for (TreeSlot kid : items_.detachChildren(slot)) handles.push_back(items_.handle(kid));
    return handles;
  };
  std::vector<Frame> stack;
  stack.push_back(Frame{nullptr, detached(parent)});
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (top.next < top.kids.size()) {
      const HTREEITEM kid = top.kids[top.next++];
      const TreeSlot slot = items_.slotOf(kid);
      if (slot != kNone) stack.push_back(Frame{kid, detached(slot)});
      continue;
    }
    const HTREEITEM item = top.item;
    stack.pop_back();
    const TreeSlot slot = items_.slotOf(item);
    if (slot == kNone) continue;
    notifyTreeView(TVN_DELETEITEMW, 0, slot, kNone, TVIF_HANDLE | TVIF_PARAM);
    if (items_.slotOf(item) != slot) continue;
    forgetReferences(slot);
    items_.free(slot);
  }
}

void TreeView::removeSubtree(TreeSlot slot) {
  const HTREEITEM handle = items_.handle(slot);
  items_.unlink(slot);
  removeChildren(slot);
  if (items_.slotOf(handle) != slot) return;
  notifyTreeView(TVN_DELETEITEMW, 0, slot, kNone, TVIF_HANDLE | TVIF_PARAM);
  if (items_.slotOf(handle) != slot) return;
  forgetReferences(slot);
  items_.free(slot);
}

void TreeView::forgetReferences(TreeSlot slot) {
  if (caret_ == slot) caret_ = kNone;
  if (dropTarget_ == slot) dropTarget_ = kNone;
  if (firstVisible_ == slot) firstVisible_ = kNone;
  if (pressed_ == slot) pressed_ = kNone;
}

BOOL TreeView::getItem(TVITEMW& out) {
  const TreeSlot slot = items_.slotOf(out.hItem);
  if (slot == kNone) return FALSE;
  const HTREEITEM handle = out.hItem;
  if (out.mask & TVIF_TEXT) {
    const std::u16string text = displayText(slot);
    copyText(text, out.pszText, out.cchTextMax);
  }
  if (items_.slotOf(handle) != slot) return FALSE;
  if (out.mask & TVIF_IMAGE) out.iImage = displayImage(slot, false);
  if (out.mask & TVIF_SELECTEDIMAGE) out.iSelectedImage = displayImage(slot, true);
  if (out.mask & TVIF_CHILDREN) out.cChildren = hasChildren(slot) ? 1 : 0;
  if (items_.slotOf(handle) != slot) return FALSE;
  const TreeItem& item = items_.at(slot);
  if ((out.mask & TVIF_CHILDREN) && item.childrenGiven && item.children != I_CHILDRENCALLBACK) {
    out.cChildren = item.children;
  }
  if (out.mask & TVIF_PARAM) out.lParam = item.lParam;
  if (out.mask & TVIF_STATE) out.state = item.state & out.stateMask;
  return TRUE;
}

BOOL TreeView::setItem(const TVITEMW& in) {
  const TreeSlot slot = items_.slotOf(in.hItem);
  if (slot == kNone) return FALSE;
  TreeItem& item = items_.at(slot);
  bool geometryChanged = false;
  if (in.mask & TVIF_TEXT) {
    item.textCallback = in.pszText == LPSTR_TEXTCALLBACKW;
    item.text = item.textCallback || in.pszText == nullptr ? std::u16string() : std::u16string(in.pszText);
    item.textWidth = -1;
    items_.childrenUnsorted(item.parent);
    geometryChanged = true;
  }
  if (in.mask & TVIF_IMAGE) item.image = in.iImage;
  if (in.mask & TVIF_SELECTEDIMAGE) item.selectedImage = in.iSelectedImage;
  if (in.mask & TVIF_PARAM) item.lParam = in.lParam;
  if (in.mask & TVIF_CHILDREN) {
    item.children = in.cChildren;
    item.childrenGiven = true;
  }
  if (in.mask & TVIF_STATE) {
    const UINT old = item.state;
    item.state = (old & ~in.stateMask) | (in.state & in.stateMask);
    if ((old ^ item.state) & TVIS_BOLD) {
      item.textWidth = -1;
      geometryChanged = true;
    }
    if (((old ^ item.state) & TVIS_EXPANDED) && items_.childCount(slot) > 0 && items_.shown(slot)) {
      items_.rowsChanged();
      geometryChanged = true;
    }
    if ((old ^ item.state) & TVIS_DROPHILITED) {
      if (item.state & TVIS_DROPHILITED) dropTarget_ = slot;
      if (!(item.state & TVIS_DROPHILITED) && dropTarget_ == slot) dropTarget_ = kNone;
    }
  }
  if (geometryChanged && items_.shown(slot)) {
    layoutChanged();
  } else {
    invalidateItem(slot);
  }
  return TRUE;
}

HTREEITEM TreeView::nextItem(HTREEITEM handle, UINT relation) {
  switch (relation) {
    case TVGN_ROOT:
      return items_.handle(items_.firstChild(kRoot));
    case TVGN_CARET:
      return items_.handle(caret_);
    case TVGN_DROPHILITE:
      return items_.handle(dropTarget_);
    case TVGN_FIRSTVISIBLE:
      return rowCount() > 0 ? items_.handle(items_.rows()[static_cast<std::size_t>(topRow())]) : nullptr;
    case TVGN_LASTVISIBLE:
      return rowCount() > 0 ? items_.handle(items_.rows().back()) : nullptr;
    case TVGN_CHILD: {
      const TreeSlot parent = handle == nullptr || handle == TVI_ROOT ? kRoot : items_.slotOf(handle);
      return parent != kNone ? items_.handle(items_.firstChild(parent)) : nullptr;
    }
    default:
      break;
  }
  const TreeSlot slot = items_.slotOf(handle);
  if (slot == kNone) return nullptr;
  switch (relation) {
    case TVGN_NEXT:
      return items_.handle(items_.nextSibling(slot));
    case TVGN_PREVIOUS:
      return items_.handle(items_.previousSibling(slot));
    case TVGN_PARENT:
      return items_.handle(items_.parentOf(slot));
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      const int row = items_.rowOf(slot);
      const int next = relation == TVGN_NEXTVISIBLE ? row + 1 : row - 1;
      if (row < 0 || next < 0 || next >= rowCount()) return nullptr;
      return items_.handle(items_.rows()[static_cast<std::size_t>(next)]);
    }
    default:
      return nullptr;
  }
}

BOOL TreeView::sortChildren(HTREEITEM handle, bool recurse, const TVSORTCB* callback) {
  const TreeSlot parent = handle == nullptr || handle == TVI_ROOT ? kRoot : items_.slotOf(handle);
  if (parent == kNone) return FALSE;
  std::vector<TreeSlot> pending{parent};
  while (!pending.empty()) {
    const TreeSlot p = pending.back();
    pending.pop_back();
    if (callback != nullptr) {
      items_.sortChildren(
          p,
          [this, callback](TreeSlot a, TreeSlot b) {
            return callback->lpfnCompare(items_.at(a).lParam, items_.at(b).lParam, callback->lParam) < 0;
          },
          false);
    } else {
      // Callback texts are asked for once, before sorting.
      const std::vector<TreeSlot> kids = items_.children(p);
      bool plain = true;
      for (TreeSlot kid : kids) plain = plain && !items_.at(kid).textCallback;
      if (plain) {
        items_.sortChildren(
            p, [this](TreeSlot a, TreeSlot b) { return compareText(items_.at(a).text, items_.at(b).text) < 0; }, true);
      } else {
        std::unordered_map<TreeSlot, std::u16string> texts;
        for (TreeSlot kid : kids) texts[kid] = items_.live(kid) ? displayText(kid) : std::u16string();
        items_.sortChildren(
            p, [&texts](TreeSlot a, TreeSlot b) { return compareText(texts[a], texts[b]) < 0; }, false);
      }
    }
    if (recurse) {
      for (TreeSlot kid : items_.children(p)) pending.push_back(kid);
    }
  }
  layoutChanged();
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// What items show

bool TreeView::askDisplayInfo(TreeSlot slot, UINT mask, NMTVDISPINFOW& info, WCHAR* buffer, int size) {
  const HTREEITEM handle = items_.handle(slot);
  const TreeItem& item = items_.at(slot);
  info = NMTVDISPINFOW{};
  info.item.mask = mask;
  info.item.hItem = handle;
  info.item.state = item.state;
  info.item.stateMask = 0xFFFFFFFFu;
  info.item.lParam = item.lParam;
  info.item.iImage = item.image;
  info.item.iSelectedImage = item.selectedImage;
  info.item.cChildren = item.children;
  if (buffer != nullptr && size > 0) buffer[0] = 0;
  info.item.pszText = buffer;
  info.item.cchTextMax = size;
  notify(info.hdr, TVN_GETDISPINFOW);
  return items_.slotOf(handle) == slot;
}

std::u16string TreeView::displayText(TreeSlot slot) {
  if (!items_.at(slot).textCallback) return items_.at(slot).text;
  WCHAR buffer[kDisplayTextSize];
  NMTVDISPINFOW info;
  if (!askDisplayInfo(slot, TVIF_TEXT, info, buffer, kDisplayTextSize)) return {};
  std::u16string text;
  if (info.item.pszText != nullptr && info.item.pszText != LPSTR_TEXTCALLBACKW) {
    // A pointer to the buffer is read within its size; another pointer is the parent's own string.
    if (info.item.pszText == buffer) {
      const auto end = std::find(buffer, buffer + kDisplayTextSize, u'\0');
      text.assign(buffer, end);
    } else {
      text = info.item.pszText;
    }
  }
  if (info.item.mask & TVIF_DI_SETITEM) {
    TreeItem& item = items_.at(slot);
    item.text = text;
    item.textCallback = false;
  }
  return text;
}

int TreeView::displayImage(TreeSlot slot, bool selected) {
  const TreeItem& item = items_.at(slot);
  const int image = selected ? item.selectedImage : item.image;
  if (image != I_IMAGECALLBACK) return image;
  const UINT mask = selected ? TVIF_SELECTEDIMAGE : TVIF_IMAGE;
  NMTVDISPINFOW info;
  if (!askDisplayInfo(slot, mask, info, nullptr, 0)) return -1;
  const int answer = selected ? info.item.iSelectedImage : info.item.iImage;
  if (info.item.mask & TVIF_DI_SETITEM) (selected ? items_.at(slot).selectedImage : items_.at(slot).image) = answer;
  return answer;
}

bool TreeView::hasChildren(TreeSlot slot) {
  const TreeItem& item = items_.at(slot);
  if (!item.childrenGiven) return items_.childCount(slot) > 0;
  if (item.children != I_CHILDRENCALLBACK) return item.children > 0;
  NMTVDISPINFOW info;
  if (!askDisplayInfo(slot, TVIF_CHILDREN, info, nullptr, 0)) return false;
  if (info.item.mask & TVIF_DI_SETITEM) items_.at(slot).children = info.item.cChildren;
  return info.item.cChildren > 0;
}

// ---------------------------------------------------------------------------------------------
// Expansion

BOOL TreeView::expand(TreeSlot slot, UINT action, bool byUser) {
  if (slot == kNone) return FALSE;
  switch (action & TVE_TOGGLE) {
    case TVE_COLLAPSE:
      return collapseItem(slot, (action & TVE_COLLAPSERESET) != 0, byUser);
    case TVE_EXPAND:
      return expandItem(slot, byUser);
    case TVE_TOGGLE:
      return toggle(slot, byUser);
    default:
      return FALSE;
  }
}

BOOL TreeView::toggle(TreeSlot slot, bool byUser) {
  return (items_.at(slot).state & TVIS_EXPANDED) ? collapseItem(slot, false, byUser) : expandItem(slot, byUser);
}

bool TreeView::notifyExpand(UINT code, TreeSlot slot, UINT action) {
  return notifyTreeView(code, action, kNone, slot, kExpandItemMask) != 0;
}

BOOL TreeView::expandItem(TreeSlot slot, bool byUser) {
  const HTREEITEM handle = items_.handle(slot);
  if (items_.at(slot).state & TVIS_EXPANDED) return TRUE;
  if (!hasChildren(slot) || items_.slotOf(handle) != slot) return FALSE;
  const bool tell = byUser || !(items_.at(slot).state & TVIS_EXPANDEDONCE);
  if (tell && notifyExpand(TVN_ITEMEXPANDINGW, slot, TVE_EXPAND)) return FALSE;
  if (dead_ || items_.slotOf(handle) != slot || items_.childCount(slot) == 0) return FALSE;
  items_.at(slot).state |= TVIS_EXPANDED;
  if (items_.shown(slot)) {
    items_.rowsChanged();
    layoutChanged();
    // As many of the new rows as fit come into view, the item staying in it.
    const int row = items_.rowOf(slot);
    const int top = topRow();
    const int page = std::max(pageRows(), 1);
    if (row >= top && row < top + page) {
      TreeSlot last = slot;
      while ((items_.at(last).state & TVIS_EXPANDED) && items_.childCount(last) > 0) last = items_.lastChild(last);
      const int lastRow = items_.rowOf(last);
      if (lastRow >= top + page) setTopRow(std::min(row, lastRow - page + 1));
    }
  }
  if (tell) {
    notifyExpand(TVN_ITEMEXPANDEDW, slot, TVE_EXPAND);
    if (items_.slotOf(handle) == slot) items_.at(slot).state |= TVIS_EXPANDEDONCE;
  }
  return TRUE;
}

BOOL TreeView::collapseItem(TreeSlot slot, bool reset, bool byUser) {
  const HTREEITEM handle = items_.handle(slot);
  const UINT action = TVE_COLLAPSE | (reset ? TVE_COLLAPSERESET : 0);
  if (items_.childCount(slot) == 0 && !hasChildren(slot)) return FALSE;
  if (items_.slotOf(handle) != slot) return FALSE;
  const bool wasExpanded = (items_.at(slot).state & TVIS_EXPANDED) != 0;
  const bool tell = wasExpanded && (byUser || !(items_.at(slot).state & TVIS_EXPANDEDONCE));
  if (tell && notifyExpand(TVN_ITEMEXPANDINGW, slot, action)) return FALSE;
  if (dead_ || items_.slotOf(handle) != slot) return FALSE;
  items_.at(slot).state &= ~TVIS_EXPANDED;
  if (wasExpanded && items_.shown(slot)) {
    // What was inside goes out of view: the selection and the top row move to the item.
    if (caret_ != kNone && items_.isAncestor(slot, caret_)) setCaretQuietly(slot);
    if (firstVisible_ != kNone && items_.isAncestor(slot, firstVisible_)) firstVisible_ = slot;
    items_.rowsChanged();
    layoutChanged();
  }
  if (tell) notifyExpand(TVN_ITEMEXPANDEDW, slot, action);
  if (reset && items_.slotOf(handle) == slot) {
    items_.at(slot).state &= ~TVIS_EXPANDEDONCE;
    if (caret_ != kNone && items_.isAncestor(slot, caret_)) setCaretQuietly(slot);
    removeChildren(slot);
    if (items_.slotOf(handle) == slot) invalidateItem(slot);
  }
  return wasExpanded ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Selection

void TreeView::setCaretQuietly(TreeSlot slot) {
  if (caret_ != kNone) {
    items_.at(caret_).state &= ~TVIS_SELECTED;
    invalidateItem(caret_);
  }
  caret_ = slot;
  if (caret_ != kNone) {
    items_.at(caret_).state |= TVIS_SELECTED;
    invalidateItem(caret_);
  }
}

bool TreeView::select(TreeSlot slot, UINT cause) {
  if (slot == caret_) {
    if (slot != kNone) ensureVisible(slot);
    return true;
  }
  const HTREEITEM newHandle = items_.handle(slot);
  const HTREEITEM oldHandle = items_.handle(caret_);
  if (notifyTreeView(TVN_SELCHANGINGW, cause, caret_, slot, kNotifyItemMask) != 0 || dead_) return false;
  slot = items_.slotOf(newHandle);
  if (newHandle != nullptr && slot == kNone) return false;
  setCaretQuietly(slot);
  if (slot != kNone) ensureVisible(slot);
  if (dead_) return true;
  notifyTreeView(TVN_SELCHANGEDW, cause, items_.slotOf(oldHandle), items_.slotOf(newHandle), kNotifyItemMask);
  return true;
}

BOOL TreeView::selectItem(UINT code, HTREEITEM handle) {
  const TreeSlot slot = handle != nullptr ? items_.slotOf(handle) : kNone;
  if (handle != nullptr && slot == kNone) return FALSE;
  switch (code & 0xFF) {
    case TVGN_CARET:
      return select(slot, TVC_UNKNOWN) ? TRUE : FALSE;
    case TVGN_DROPHILITE:
      if (dropTarget_ != kNone) {
        items_.at(dropTarget_).state &= ~TVIS_DROPHILITED;
        invalidateItem(dropTarget_);
      }
      dropTarget_ = slot;
      if (slot != kNone) {
        items_.at(slot).state |= TVIS_DROPHILITED;
        invalidateItem(slot);
      }
      return TRUE;
    case TVGN_FIRSTVISIBLE:
      if (slot == kNone) return FALSE;
      ensureVisible(slot);
      if (items_.rowOf(slot) < 0) return FALSE;
      setTopRow(items_.rowOf(slot));
      return TRUE;
    default:
      return FALSE;
  }
}

// ---------------------------------------------------------------------------------------------
// Geometry

int TreeView::itemHeight() {
  if (customItemHeight_ > 0) return customItemHeight_;
  if (itemHeight_ > 0) return itemHeight_;
  int height = fontHeight(font()) + scaled(4);
  height = std::max<int>(height, imageListSize(images_).cy + scaled(2));
  height = std::max<int>(height, imageListSize(stateImages_).cy + scaled(2));
  // Even, so that the dotted lines join from row to row.
  if (!(style() & TVS_NONEVENHEIGHT)) height += height & 1;
  itemHeight_ = height;
  return itemHeight_;
}

RECT TreeView::clientRect() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return rc;
}

int TreeView::pageRows() { return std::max<int>(clientRect().bottom, 0) / itemHeight(); }

int TreeView::maxTopRow() { return std::max(0, rowCount() - std::max(pageRows(), 1)); }

int TreeView::topRow() {
  if (rowCount() == 0 || firstVisible_ == kNone) return 0;
  // An item that went out of view leaves its nearest ancestor in view at the top.
  TreeSlot slot = firstVisible_;
  while (slot != kRoot && !items_.shown(slot)) slot = items_.parentOf(slot);
  const int row = slot == kRoot ? 0 : items_.rowOf(slot);
  return std::clamp(row, 0, maxTopRow());
}

TreeViewGeometry TreeView::geometry() {
  const DWORD st = style();
  TreeViewGeometry g;
  g.indent = indent_;
  g.itemHeight = itemHeight();
  g.stateImageWidth = imageListSize(stateImages_).cx;
  g.imageWidth = imageListSize(images_).cx;
  g.imageGap = scaled(2);
  g.labelPadding = scaled(2);
  g.rootColumn = (st & TVS_LINESATROOT) && (st & (TVS_HASLINES | TVS_HASBUTTONS));
  g.scrollX = scrollX_;
  return g;
}

int TreeView::textWidth(TreeSlot slot) {
  TreeItem& item = items_.at(slot);
  if (item.textWidth >= 0 && !item.textCallback) return item.textWidth;
  const std::u16string text = displayText(slot);
  if (!items_.live(slot)) return 0;
  const int width = measureText(text, (items_.at(slot).state & TVIS_BOLD) != 0);
  if (!items_.at(slot).textCallback) items_.at(slot).textWidth = width;
  return width;
}

int TreeView::measureText(std::u16string_view text, bool bold) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return 0;
  SIZE size{0, 0};
  {
    gdi::SelectedObject selected(dc, bold ? boldFont() : font());
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  }
  DeleteDC(dc);
  return size.cx;
}

void TreeView::measure() {
  // Every row's label width, in one go with one DC; the bold font only where it is used.
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return;
  {
    gdi::SelectedObject selected(dc, font());
    for (TreeSlot slot : std::vector<TreeSlot>(items_.rows())) {
      TreeItem& item = items_.at(slot);
      if (item.textWidth >= 0 || item.textCallback || (item.state & TVIS_BOLD)) continue;
      SIZE size{0, 0};
      GetTextExtentPoint32W(dc, item.text.data(), static_cast<int>(item.text.size()), &size);
      item.textWidth = size.cx;
    }
  }
  DeleteDC(dc);
}

int TreeView::contentWidth() {
  if (contentWidth_ >= 0) return contentWidth_;
  measure();
  const TreeViewGeometry g = geometry();
  int width = 0;
  for (TreeSlot slot : std::vector<TreeSlot>(items_.rows())) {
    if (!items_.live(slot)) continue;
    width = std::max(width, g.contentRight(items_.at(slot).level, textWidth(slot)));
  }
  contentWidth_ = width;
  return width;
}

bool TreeView::getItemRect(RECT& rect, bool textOnly) {
  HTREEITEM handle = nullptr;
  std::memcpy(&handle, &rect, sizeof handle);
  const TreeSlot slot = items_.slotOf(handle);
  if (slot == kNone) return false;
  const int row = items_.rowOf(slot);
  if (row < 0) return false;
  const int h = itemHeight();
  const int top = (row - topRow()) * h;
  if (textOnly) {
    const TreeViewGeometry g = geometry();
    const int left = g.labelLeft(items_.at(slot).level);
    rect = RECT{left, top, left + g.labelWidth(textWidth(slot)), top + h};
  } else {
    rect = RECT{0, top, clientRect().right, top + h};
  }
  return true;
}

TreeSlot TreeView::hitTest(TVHITTESTINFO& info) {
  info.hItem = nullptr;
  const RECT rc = clientRect();
  UINT outside = 0;
  if (info.pt.x < 0) outside |= TVHT_TOLEFT;
  if (info.pt.x >= rc.right) outside |= TVHT_TORIGHT;
  if (info.pt.y < 0) outside |= TVHT_ABOVE;
  if (info.pt.y >= rc.bottom) outside |= TVHT_BELOW;
  if (outside != 0) {
    info.flags = outside;
    return kNone;
  }
  const int row = topRow() + info.pt.y / itemHeight();
  if (row >= rowCount()) {
    info.flags = TVHT_NOWHERE;
    return kNone;
  }
  const TreeSlot slot = items_.rows()[static_cast<std::size_t>(row)];
  const TreeViewGeometry g = geometry();
  const int level = items_.at(slot).level;
  const int x = info.pt.x;
  if (x < g.linesLeft(level)) {
    info.flags = TVHT_ONITEMINDENT;
  } else if (x < g.stateLeft(level)) {
    const bool button = (style() & TVS_HASBUTTONS) && (level > 0 || g.rootColumn) && hasChildren(slot);
    info.flags = button ? TVHT_ONITEMBUTTON : TVHT_ONITEMINDENT;
  } else if (x < g.imageLeft(level)) {
    info.flags = TVHT_ONITEMSTATEICON;
  } else if (x < g.labelLeft(level)) {
    info.flags = TVHT_ONITEMICON;
  } else if (x < g.labelLeft(level) + g.labelWidth(textWidth(slot))) {
    info.flags = TVHT_ONITEMLABEL;
  } else {
    info.flags = TVHT_ONITEMRIGHT;
  }
  if (!items_.live(slot)) return kNone;
  info.hItem = items_.handle(slot);
  return slot;
}

// ---------------------------------------------------------------------------------------------
// Scrolling and redrawing

void TreeView::setTopRow(int row) {
  if (rowCount() == 0) {
    firstVisible_ = kNone;
    return;
  }
  const int old = topRow();
  row = std::clamp(row, 0, maxTopRow());
  const TreeSlot target = items_.rows()[static_cast<std::size_t>(row)];
  if (row == old && firstVisible_ == target) return;
  firstVisible_ = target;
  if (!redraw_ || dead_ || row == old) return;
  if (!(style() & TVS_NOSCROLL)) SetScrollPos(hwnd_, SB_VERT, row, TRUE);
  const int delta = row - old;
  if (std::abs(delta) < pageRows() && !layoutDirty_) {
    ScrollWindowEx(hwnd_, 0, -delta * itemHeight(), nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  } else {
    invalidateAll();
  }
}

void TreeView::setScrollX(int x) {
  const int limit = std::max(0, contentWidth() - clientRect().right);
  x = std::clamp(x, 0, limit);
  if (x == scrollX_) return;
  const int delta = x - scrollX_;
  scrollX_ = x;
  if (!redraw_ || dead_) return;
  if (!(style() & (TVS_NOSCROLL | TVS_NOHSCROLL))) SetScrollPos(hwnd_, SB_HORZ, x, TRUE);
  if (std::abs(delta) < clientRect().right && !layoutDirty_) {
    ScrollWindowEx(hwnd_, -delta, 0, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  } else {
    invalidateAll();
  }
}

bool TreeView::ensureVisible(TreeSlot slot) {
  const HTREEITEM handle = items_.handle(slot);
  bool expandedSome = false;
  std::vector<TreeSlot> ancestors;
  for (TreeSlot p = items_.parentOf(slot); p != kRoot && p != kNone; p = items_.parentOf(p)) ancestors.push_back(p);
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    if (!items_.live(*it) || (items_.at(*it).state & TVIS_EXPANDED)) continue;
    expandItem(*it, false);
    expandedSome = true;
    if (dead_ || items_.slotOf(handle) != slot) return false;
  }
  const int row = items_.rowOf(slot);
  if (row < 0) return false;
  if (layoutDirty_) updateScrollBars();
  const int top = topRow();
  const int page = std::max(pageRows(), 1);
  bool scrolled = false;
  if (row < top) {
    setTopRow(row);
    scrolled = true;
  } else if (row >= top + page) {
    setTopRow(row - page + 1);
    scrolled = true;
  }
  if (!(style() & TVS_NOHSCROLL)) {
    // The label comes into view, its start first.
    const TreeViewGeometry g = geometry();
    const int left = g.labelLeft(items_.at(slot).level) + scrollX_;
    const int right = left + g.labelWidth(textWidth(slot));
    const int width = clientRect().right;
    int x = scrollX_;
    if (right - x > width) x = right - width;
    if (left < x) x = left;
    setScrollX(x);
  }
  return scrolled && !expandedSome;
}

void TreeView::layoutChanged() {
  layoutDirty_ = true;
  contentWidth_ = -1;
  invalidateAll();
}

void TreeView::updateScrollBars() {
  if (!redraw_ || updatingScroll_ || dead_) return;
  updatingScroll_ = true;
  layoutDirty_ = false;
  const DWORD st = style();
  if (st & TVS_NOSCROLL) {
    if (st & WS_VSCROLL) ShowScrollBar(hwnd_, SB_VERT, FALSE);
    if (st & WS_HSCROLL) ShowScrollBar(hwnd_, SB_HORZ, FALSE);
  } else {
    // Twice: a bar that appears narrows the other direction's page.
    for (int pass = 0; pass < 2 && !dead_; ++pass) {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
      si.nMax = std::max(rowCount() - 1, 0);
      si.nPage = static_cast<UINT>(std::max(pageRows(), 1));
      si.nPos = topRow();
      SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
      if (!(st & TVS_NOHSCROLL)) {
        const int width = clientRect().right;
        const int content = contentWidth();
        scrollX_ = std::clamp(scrollX_, 0, std::max(0, content - width));
        si.nMax = std::max(content - 1, 0);
        si.nPage = static_cast<UINT>(std::max(width, 1));
        si.nPos = scrollX_;
        SetScrollInfo(hwnd_, SB_HORZ, &si, TRUE);
      } else {
        scrollX_ = 0;
      }
    }
  }
  updatingScroll_ = false;
}

void TreeView::invalidateItem(TreeSlot slot) {
  if (!redraw_ || dead_ || slot == kNone || !items_.live(slot) || slot == kRoot) return;
  if (items_.rowsDirty()) {
    InvalidateRect(hwnd_, nullptr, TRUE);
    return;
  }
  const int row = items_.rowOf(slot);
  if (row < 0) return;
  const int h = itemHeight();
  const int y = (row - topRow()) * h;
  const RECT rc = clientRect();
  if (y + h <= 0 || y >= rc.bottom) return;
  const RECT area{0, y, rc.right, y + h};
  InvalidateRect(hwnd_, &area, TRUE);
}

void TreeView::invalidateAll() {
  if (redraw_ && !dead_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void TreeView::onScroll(int bar, int code) {
  if (style() & TVS_NOSCROLL) return;
  if (layoutDirty_) updateScrollBars();
  const bool vertical = bar == SB_VERT;
  const int position = vertical ? topRow() : scrollX_;
  const int line = vertical ? 1 : itemHeight();
  const int page = vertical ? std::max(pageRows(), 1) : std::max<int>(clientRect().right, 1);
  int target = position;
  switch (code) {
    case SB_LINEUP:
      target -= line;
      break;
    case SB_LINEDOWN:
      target += line;
      break;
    case SB_PAGEUP:
      target -= page;
      break;
    case SB_PAGEDOWN:
      target += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      if (GetScrollInfo(hwnd_, bar, &si)) target = si.nTrackPos;
      break;
    }
    case SB_TOP:
      target = 0;
      break;
    case SB_BOTTOM:
      target = vertical ? maxTopRow() : contentWidth();
      break;
    default:
      return;
  }
  if (vertical) {
    setTopRow(target);
  } else {
    setScrollX(target);
  }
}

// ---------------------------------------------------------------------------------------------
// Input

void TreeView::onKeyDown(WPARAM vk) {
  NMTVKEYDOWN key{};
  key.wVKey = static_cast<WORD>(vk);
  notify(key.hdr, TVN_KEYDOWN);
  if (dead_ || rowCount() == 0) return;
  if (layoutDirty_) updateScrollBars();
  const int count = rowCount();
  const TreeSlot current = caret_ != kNone && items_.rowOf(caret_) >= 0 ? caret_ : kNone;
  const int row = current != kNone ? items_.rowOf(current) : -1;
  const int top = topRow();
  const int page = std::max(pageRows(), 1);
  int target = -1;
  switch (vk) {
    case VK_UP:
      target = row < 0 ? top : std::max(row - 1, 0);
      break;
    case VK_DOWN:
      target = row < 0 ? top : std::min(row + 1, count - 1);
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = count - 1;
      break;
    case VK_PRIOR:
      target = row == top ? std::max(top - page + 1, 0) : top;
      break;
    case VK_NEXT: {
      const int bottom = std::min(top + page - 1, count - 1);
      target = row == bottom ? std::min(row + page - 1, count - 1) : bottom;
      break;
    }
    case VK_LEFT:
    case VK_BACK:
    case VK_SUBTRACT:
      if (current == kNone) return;
      if (vk != VK_BACK && (items_.at(current).state & TVIS_EXPANDED) && items_.childCount(current) > 0) {
        collapseItem(current, false, true);
        return;
      }
      if (vk == VK_SUBTRACT || items_.parentOf(current) == kRoot) return;
      target = items_.rowOf(items_.parentOf(current));
      break;
    case VK_RIGHT:
    case VK_ADD:
      if (current == kNone || !hasChildren(current)) return;
      if (!(items_.at(current).state & TVIS_EXPANDED)) {
        expandItem(current, true);
        return;
      }
      if (vk == VK_ADD || items_.childCount(current) == 0) return;
      target = items_.rowOf(items_.firstChild(current));
      break;
    case VK_RETURN: {
      NMHDR header{};
      const HTREEITEM handle = items_.handle(current);
      if (notify(header, NM_RETURN) != 0 || dead_) return;
      const TreeSlot slot = items_.slotOf(handle);
      if (slot != kNone) toggle(slot, true);
      return;
    }
    default:
      return;
  }
  if (target < 0 || dead_ || target >= rowCount()) return;
  select(items_.rows()[static_cast<std::size_t>(target)], TVC_BYKEYBOARD);
}

void TreeView::onChar(WPARAM ch) {
  if (ch < 0x20 || ch == 0x7F || rowCount() == 0) return;
  const DWORD now = GetTickCount();
  if (now - searchTime_ > kSearchPauseMs) search_.clear();
  searchTime_ = now;
  search_.push_back(static_cast<char16_t>(ch));
  // The same letter again and again steps through the items starting with it; other letters
  // refine the search from the current item.
  const bool repeated = std::all_of(search_.begin(), search_.end(), [this](char16_t c) {
    return platform::upperCase(c) == platform::upperCase(search_[0]);
  });
  const std::u16string wanted = repeated ? search_.substr(0, 1) : search_;
  const int count = rowCount();
  const int row = caret_ != kNone ? std::max(items_.rowOf(caret_), 0) : 0;
  const int start = repeated && caret_ != kNone ? row + 1 : row;
  const std::vector<TreeSlot> rows = items_.rows();
  for (int i = 0; i < count; ++i) {
    const TreeSlot slot = rows[static_cast<std::size_t>((start + i) % count)];
    if (!items_.live(slot)) continue;
    if (startsWithIgnoringCase(displayText(slot), wanted)) {
      if (items_.live(slot)) select(slot, TVC_BYKEYBOARD);
      return;
    }
  }
}

void TreeView::onLButtonDown(LPARAM lParam, bool doubleTap) {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
  if (dead_) return;
  TVHITTESTINFO info{};
  info.pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  TreeSlot slot = hitTest(info);
  pressed_ = kNone;
  if (slot == kNone) return;
  const HTREEITEM handle = items_.handle(slot);
  const bool fullRow = (style() & TVS_FULLROWSELECT) && !(style() & TVS_HASLINES);
  const UINT onItem = TVHT_ONITEM | (fullRow ? TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT : 0);
  if (doubleTap) {
    NMHDR header{};
    if (notify(header, NM_DBLCLK) != 0 || dead_) return;
    slot = items_.slotOf(handle);
    if (slot != kNone && (info.flags & (onItem | TVHT_ONITEMBUTTON))) toggle(slot, true);
    return;
  }
  if (info.flags & TVHT_ONITEMBUTTON) {
    toggle(slot, true);
    return;
  }
  if (!(info.flags & onItem)) return;
  SetCapture(hwnd_);
  select(slot, TVC_BYMOUSE);
  if (!dead_) pressed_ = items_.slotOf(handle);
}

void TreeView::onLButtonUp(LPARAM) {
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (pressed_ == kNone || dead_) return;
  pressed_ = kNone;
  NMHDR header{};
  notify(header, NM_CLICK);
}

// ---------------------------------------------------------------------------------------------
// Painting

TreeViewLook TreeView::look() {
  const DWORD st = style();
  const bool focused = GetFocus() == hwnd_;
  TreeViewLook lk;
  lk.geometry = geometry();
  lk.width = clientRect().right;
  lk.buttonSize = scaled(9);
  lk.font = font();
  lk.boldFont = boldFont();
  lk.images = images_;
  lk.imageHeight = imageListSize(images_).cy;
  lk.stateImages = stateImages_;
  lk.stateImageHeight = imageListSize(stateImages_).cy;
  lk.background = bkColor_ == CLR_NONE ? GetSysColor(COLOR_WINDOW) : bkColor_;
  lk.text = !IsWindowEnabled(hwnd_)  ? GetSysColor(COLOR_GRAYTEXT)
            : textColor_ == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT)
                                     : textColor_;
  lk.line = lineColor_ == CLR_DEFAULT ? GetSysColor(COLOR_GRAYTEXT) : lineColor_;
  lk.buttonFrame = GetSysColor(COLOR_BTNSHADOW);
  lk.highlight = focused ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_BTNFACE);
  lk.highlightText = focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_BTNTEXT);
  lk.buttons = (st & TVS_HASBUTTONS) != 0;
  lk.lines = (st & TVS_HASLINES) != 0;
  lk.fullRowSelect = (st & TVS_FULLROWSELECT) && !(st & TVS_HASLINES);
  return lk;
}

HFONT TreeView::font() const { return font_ != nullptr ? font_ : systemFont(); }

HFONT TreeView::boldFont() {
  if (boldFont_ == nullptr) {
    LOGFONTW lf{};
    if (GetObjectW(font(), sizeof lf, &lf) != 0) {
      lf.lfWeight = FW_BOLD;
      boldFont_ = CreateFontIndirectW(&lf);
    }
  }
  return boldFont_ != nullptr ? boldFont_ : font();
}

TreeViewRow TreeView::describeRow(TreeSlot slot, std::u16string& text) {
  TreeViewRow row;
  const HTREEITEM handle = items_.handle(slot);
  text = displayText(slot);
  const bool selected = slot == caret_;
  const int image = items_.live(slot) ? displayImage(slot, selected) : -1;
  const bool button = items_.live(slot) && hasChildren(slot);
  if (items_.slotOf(handle) != slot) return row;
  const TreeItem& item = items_.at(slot);
  const bool showSelection = GetFocus() == hwnd_ || (style() & TVS_SHOWSELALWAYS);
  row.level = item.level;
  row.text = text;
  // A text the parent supplies was just asked for; it is measured as it came.
  row.textWidth = item.textCallback ? measureText(text, (item.state & TVIS_BOLD) != 0) : textWidth(slot);
  row.image = image;
  row.stateImage = static_cast<int>((item.state & TVIS_STATEIMAGEMASK) >> 12);
  row.button = button;
  row.expanded = (item.state & TVIS_EXPANDED) != 0;
  row.highlighted = (item.state & TVIS_DROPHILITED) || (selected && showSelection);
  row.dimmedImage = (item.state & (TVIS_CUT | TVIS_DROPHILITED)) != 0;
  row.bold = (item.state & TVIS_BOLD) != 0;
  row.lineUp = item.parent != kRoot || items_.previousSibling(slot) != kNone;
  row.lineDown = items_.nextSibling(slot) != kNone;
  row.throughLines.assign(static_cast<std::size_t>(std::max(item.level, 0)), false);
  for (TreeSlot a = item.parent; a != kRoot; a = items_.at(a).parent) {
    row.throughLines[static_cast<std::size_t>(items_.at(a).level)] = items_.nextSibling(a) != kNone;
  }
  return row;
}

void TreeView::paint() {
  if (layoutDirty_ && redraw_) updateScrollBars();
  if (dead_) return;
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  const RECT rc = clientRect();
  if (rc.right > 0 && rc.bottom > 0) {
    gdi::MemoryDc buffer(hdc, rc.right, rc.bottom);
    if (buffer) {
      const TreeViewLook lk = look();
      HBRUSH background = CreateSolidBrush(lk.background);
      FillRect(buffer.dc(), &ps.rcPaint, background);
      DeleteObject(background);
      // Only the rows that meet the area being painted are described and drawn.
      const int h = lk.geometry.itemHeight;
      const int top = topRow();
      const int first = top + std::max<int>(ps.rcPaint.top, 0) / h;
      const int last = std::min(rowCount(), top + (std::max<int>(ps.rcPaint.bottom, 0) + h - 1) / h);
      std::vector<HTREEITEM> handles;
      for (int r = first; r < last; ++r) handles.push_back(items_.handle(items_.rows()[static_cast<std::size_t>(r)]));
      std::vector<std::u16string> texts(handles.size());
      std::vector<TreeViewRow> rows;
      rows.reserve(handles.size());
      for (std::size_t i = 0; i < handles.size(); ++i) {
        const TreeSlot slot = items_.slotOf(handles[i]);
        rows.push_back(slot != kNone ? describeRow(slot, texts[i]) : TreeViewRow{});
      }
      if (!dead_) {
        paintTreeViewRows(buffer.dc(), lk, rows, (first - top) * h);
        BitBlt(hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, buffer.dc(), ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
      }
    }
  }
  EndPaint(hwnd_, &ps);
}

// ---------------------------------------------------------------------------------------------
// Notifications

LRESULT TreeView::notify(NMHDR& header, UINT code) {
  HWND parent = GetParent(hwnd_);
  if (parent == nullptr || dead_) return 0;
  header.hwndFrom = hwnd_;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(hwnd_));
  header.code = code;
  return SendMessageW(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void TreeView::describeForNotify(TVITEMW& out, TreeSlot slot, UINT mask, std::u16string& text) {
  const TreeItem& item = items_.at(slot);
  out.mask = mask;
  out.hItem = items_.handle(slot);
  out.state = item.state;
  out.stateMask = 0xFFFFFFFFu;
  out.lParam = item.lParam;
  out.iImage = item.image;
  out.iSelectedImage = item.selectedImage;
  out.cChildren = item.childrenGiven ? item.children : (items_.childCount(slot) == 0 ? 0 : 1);
  if (mask & TVIF_TEXT) {
    text = item.text;
    out.pszText = item.textCallback ? LPSTR_TEXTCALLBACKW : text.data();
    out.cchTextMax = static_cast<int>(text.size()) + 1;
  }
}

LRESULT TreeView::notifyTreeView(UINT code, UINT action, TreeSlot oldItem, TreeSlot newItem, UINT mask, POINT pt) {
  NMTREEVIEWW nm{};
  nm.action = action;
  std::u16string oldText;
  std::u16string newText;
  if (oldItem != kNone && items_.live(oldItem)) describeForNotify(nm.itemOld, oldItem, mask, oldText);
  if (newItem != kNone && items_.live(newItem)) describeForNotify(nm.itemNew, newItem, mask, newText);
  nm.ptDrag = pt;
  return notify(nm.hdr, code);
}

}  // namespace platform::controls
