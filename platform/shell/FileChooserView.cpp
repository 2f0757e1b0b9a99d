#include "platform/shell/FileChooserView.h"

#include <algorithm>
#include <unordered_map>

#include "platform/controls/ControlLook.h"
#include "platform/gdi/MemoryDc.h"
#include "platform/gdi/WinIcon.h"
#include "platform/shell/ShellWindow.h"
#include "platform/sys/WinNls.h"

namespace platform::shell {
namespace {

constexpr const char16_t* kViewClass = u"FileChooserView";
constexpr UINT kFolderIcon = 5120;
constexpr UINT kFileIcon = 5122;

std::unordered_map<HWND, std::unique_ptr<FileChooserView>>& views() {
  static std::unordered_map<HWND, std::unique_ptr<FileChooserView>> table;
  return table;
}

int textWidth(HDC hdc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

std::u16string dateText(const FILETIME& modified) {
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&modified, &local) || !FileTimeToSystemTime(&local, &st)) return {};
  WCHAR buffer[64] = {};
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 64) <= 0) return {};
  return buffer;
}

std::u16string sizeText(ULONGLONG bytes) {
  const auto ascii = [](const std::string& s) { return std::u16string(s.begin(), s.end()); };
  if (bytes < 1024) return ascii(std::to_string(bytes) + "B");
  if (bytes < 1024ull * 1024) return ascii(std::to_string((bytes + 1023) / 1024) + "K");
  const ULONGLONG tenths = (bytes * 10 + 1024 * 1024 / 2) / (1024 * 1024);
  if (tenths < 100) return ascii(std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "M");
  return ascii(std::to_string((tenths + 5) / 10) + "M");
}

// A plain page or folder shape for a device whose program brought no icons.
void drawFallbackIcon(HDC hdc, const RECT& r, bool folder) {
  const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (folder) {
    controls::frameRect(hdc, RECT{r.left, r.top + h / 4, r.right, r.bottom - h / 8}, ink);
    controls::drawLine(hdc, r.left, r.top + h / 4, r.left + w / 3, r.top + h / 8, ink);
    controls::drawLine(hdc, r.left + w / 3, r.top + h / 8, r.left + w / 2, r.top + h / 4, ink);
  } else {
    controls::frameRect(hdc, RECT{r.left + w / 6, r.top, r.right - w / 6, r.bottom}, ink);
  }
}

}  // namespace

HWND FileChooserView::create(HWND parent, int id, Mode mode) {
  registerShellClass(kViewClass, &FileChooserView::windowProc, CS_DBLCLKS);
  HWND hwnd = CreateWindowExW(0, kViewClass, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (FileChooserView* view = fromWindow(hwnd)) view->mode_ = mode;
  return hwnd;
}

FileChooserView* FileChooserView::fromWindow(HWND hwnd) {
  auto it = views().find(hwnd);
  return it == views().end() ? nullptr : it->second.get();
}

LRESULT CALLBACK FileChooserView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) views()[hwnd].reset(new FileChooserView(hwnd, Mode::Thumbnails));
  FileChooserView* view = fromWindow(hwnd);
  if (view == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    views().erase(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return view->handle(message, wParam, lParam);
}

SIZE FileChooserView::thumbnailBox() const {
  const int w = std::max(cellWidth_ - controls::scaled(10), 8);
  return SIZE{w, w * 3 / 4};
}

void FileChooserView::layout() {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int width = std::max(static_cast<int>(rc.right), 1);
  lineHeight_ = std::max(controls::fontHeight(controls::systemFont()) + controls::scaled(4), controls::scaled(18));
  columns_ = std::max(2, width / controls::scaled(76));
  cellWidth_ = std::max(width / columns_, 1);
  cellHeight_ = thumbnailBox().cy + lineHeight_ + controls::scaled(6);
  topRow_ = std::clamp(topRow_, 0, std::max(rowCount() - visibleRows(), 0));
  updateScrollBar();
}

int FileChooserView::rowCount() const {
  const int n = static_cast<int>(entries_.size());
  return (n + columns() - 1) / columns();
}

int FileChooserView::visibleRows() const {
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  return std::max((static_cast<int>(rc.bottom) - headerHeight()) / std::max(rowHeight(), 1), 1);
}

void FileChooserView::updateScrollBar() {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMin = 0;
  si.nMax = std::max(rowCount() - 1, 0);
  si.nPage = static_cast<UINT>(visibleRows());
  si.nPos = topRow_;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
}

void FileChooserView::setEntries(const std::u16string& folder, std::vector<FolderEntry> entries) {
  folder_ = folder;
  entries_ = std::move(entries);
  selection_ = 0;
  topRow_ = 0;
  layout();
  if (mode_ == Mode::Thumbnails) {
    thumbs_.reset(folder_, entries_, thumbnailBox());
  } else {
    thumbs_.clear();
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

const FolderEntry* FileChooserView::selected() const {
  if (selection_ < 0 || selection_ >= static_cast<int>(entries_.size())) return nullptr;
  return &entries_[static_cast<std::size_t>(selection_)];
}

RECT FileChooserView::itemRect(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return RECT{};
  const int row = index / columns() - topRow_;
  if (row < 0 || row > visibleRows()) return RECT{};
  RECT rc{};
  GetClientRect(hwnd_, &rc);
  const int top = headerHeight() + row * rowHeight();
  if (mode_ == Mode::Details) return RECT{0, top, rc.right, top + rowHeight()};
  const int left = (index % columns()) * cellWidth_;
  return RECT{left, top, left + cellWidth_, top + rowHeight()};
}

void FileChooserView::select(int index) {
  if (entries_.empty()) return;
  index = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
  if (index == selection_) {
    ensureVisible(index);
    return;
  }
  RECT old = itemRect(selection_);
  InvalidateRect(hwnd_, &old, TRUE);
  selection_ = index;
  ensureVisible(index);
  RECT now = itemRect(selection_);
  InvalidateRect(hwnd_, &now, TRUE);
}

void FileChooserView::ensureVisible(int index) {
  const int row = index / columns();
  if (row < topRow_) {
    scrollTo(row);
  } else if (row >= topRow_ + visibleRows()) {
    scrollTo(row - visibleRows() + 1);
  }
}

void FileChooserView::scrollTo(int topRow) {
  topRow = std::clamp(topRow, 0, std::max(rowCount() - visibleRows(), 0));
  if (topRow == topRow_) return;
  topRow_ = topRow;
  updateScrollBar();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FileChooserView::idleStep() {
  const int first = topRow_ * columns();
  const int last = (topRow_ + visibleRows() + 1) * columns() - 1;
  const int done = thumbs_.step(first, last);
  if (done < 0) return;
  RECT r = itemRect(done);
  if (!IsRectEmpty(&r)) InvalidateRect(hwnd_, &r, TRUE);
}

int FileChooserView::hitTest(POINT pt) const {
  if (pt.y < headerHeight()) return -1;
  const int row = (pt.y - headerHeight()) / std::max(rowHeight(), 1) + topRow_;
  const int column = mode_ == Mode::Thumbnails ? pt.x / std::max(cellWidth_, 1) : 0;
  if (column >= columns()) return -1;
  const int index = row * columns() + column;
  return index >= 0 && index < static_cast<int>(entries_.size()) ? index : -1;
}

void FileChooserView::notify(WORD code) {
  SendMessageW(GetParent(hwnd_), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(hwnd_)), code),
               reinterpret_cast<LPARAM>(hwnd_));
}

void FileChooserView::onKey(UINT vk) {
  const int n = static_cast<int>(entries_.size());
  const int cols = columns();
  const int page = visibleRows() * cols;
  switch (vk) {
    case VK_LEFT:
      if (mode_ == Mode::Thumbnails && selection_ > 0) select(selection_ - 1);
      break;
    case VK_RIGHT:
      if (mode_ == Mode::Thumbnails && selection_ + 1 < n) select(selection_ + 1);
      break;
    case VK_UP:
      if (selection_ < cols) {
        notify(kLeaveUp);
      } else {
        select(selection_ - cols);
      }
      break;
    case VK_DOWN:
      if (selection_ + cols < n) {
        select(selection_ + cols);
      } else if (selection_ / cols < (n - 1) / cols) {
        select(n - 1);  // the last row is short: go to its last entry
      }
      break;
    case VK_PRIOR:
      select(std::max(selection_ - page, selection_ % cols));
      break;
    case VK_NEXT:
      select(std::min(selection_ + page, n - 1));
      break;
    case VK_HOME:
      select(0);
      break;
    case VK_END:
      select(n - 1);
      break;
    case VK_RETURN:
      if (selected() != nullptr) notify(kOpen);
      break;
    default:
      break;
  }
}

LRESULT FileChooserView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      layout();
      return 0;
    case WM_SIZE:
      layout();
      InvalidateRect(hwnd_, nullptr, TRUE);
      return 0;
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      RECT r = itemRect(selection_);
      InvalidateRect(hwnd_, &r, TRUE);
      return 0;
    }
    case WM_KEYDOWN:
      onKey(static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(hwnd_);
      const int hit = hitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      pressed_ = hit;
      if (hit >= 0) select(hit);
      SetCapture(hwnd_);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (GetCapture() == hwnd_) ReleaseCapture();
      const int hit = hitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      const bool tapped = hit >= 0 && hit == pressed_;
      pressed_ = -1;
      // A tap opens a folder or picks a file, as the handheld's lists act on one tap.
      if (tapped) notify(kOpen);
      return 0;
    }
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof(si);
      si.fMask = SIF_ALL;
      GetScrollInfo(hwnd_, SB_VERT, &si);
      int top = topRow_;
      switch (LOWORD(wParam)) {
        case SB_LINEUP:
          --top;
          break;
        case SB_LINEDOWN:
          ++top;
          break;
        case SB_PAGEUP:
          top -= visibleRows();
          break;
        case SB_PAGEDOWN:
          top += visibleRows();
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          top = si.nTrackPos;
          break;
        default:
          break;
      }
      scrollTo(top);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void FileChooserView::drawEntryIcon(HDC hdc, int index, const RECT& box, int size) {
  const bool folder = entries_[static_cast<std::size_t>(index)].folder;
  const int x = (box.left + box.right - size) / 2;
  const int y = (box.top + box.bottom - size) / 2;
  auto icon = static_cast<HICON>(
      LoadImageW(nullptr, MAKEINTRESOURCE(folder ? kFolderIcon : kFileIcon), IMAGE_ICON, size, size, LR_SHARED));
  if (icon == nullptr || !DrawIconEx(hdc, x, y, icon, size, size, 0, nullptr, DI_NORMAL)) {
    drawFallbackIcon(hdc, RECT{x, y, x + size, y + size}, folder);
  }
}

void FileChooserView::paintCell(HDC hdc, int index, const RECT& cell) {
  const FolderEntry& entry = entries_[static_cast<std::size_t>(index)];
  const bool isSelected = index == selection_;
  const int m = controls::scaled(2);
  const SIZE box = thumbnailBox();
  const RECT boxRect{cell.left + (cell.right - cell.left - box.cx) / 2, cell.top + controls::scaled(3),
                     cell.left + (cell.right - cell.left - box.cx) / 2 + box.cx,
                     cell.top + controls::scaled(3) + box.cy};
  if (isSelected) {
    controls::fillSysColor(hdc, RECT{cell.left + m, cell.top + m, cell.right - m, cell.bottom - m}, COLOR_HIGHLIGHT);
  }
  switch (thumbs_.state(index)) {
    case ThumbnailQueue::State::Ready: {
      const SIZE size = thumbs_.size(index);
      const gdi::MemoryDc source(hdc, thumbs_.bitmap(index));
      if (source) {
        BitBlt(hdc, (boxRect.left + boxRect.right - size.cx) / 2, (boxRect.top + boxRect.bottom - size.cy) / 2, size.cx,
               size.cy, source.dc(), 0, 0, SRCCOPY);
      }
      break;
    }
    case ThumbnailQueue::State::Pending:
      // The picture's place, until its thumbnail is ready.
      controls::frameRect(hdc, boxRect, GetSysColor(COLOR_BTNSHADOW));
      break;
    default:
      drawEntryIcon(hdc, index, boxRect, controls::scaled(32));
      break;
  }
  const RECT nameRect{cell.left + m, boxRect.bottom + controls::scaled(1), cell.right - m, cell.bottom - m};
  drawText(hdc, entry.name, nameRect, DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX,
           GetSysColor(isSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  if (isSelected && GetFocus() == hwnd_) controls::frameRect(hdc, cell, GetSysColor(COLOR_HIGHLIGHT));
}

void FileChooserView::paintRow(HDC hdc, int index, const RECT& row) {
  const FolderEntry& entry = entries_[static_cast<std::size_t>(index)];
  const bool isSelected = index == selection_;
  if (isSelected) controls::fillSysColor(hdc, row, COLOR_HIGHLIGHT);
  const COLORREF ink = GetSysColor(isSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
  const int m = controls::scaled(2);
  const int icon = controls::scaled(16);
  const int sizeWidth = textWidth(hdc, u"888.8M") + 2 * m;
  const int dateWidth = textWidth(hdc, u"88/88/8888") + 2 * m;
  const RECT iconBox{row.left + m, row.top, row.left + m + icon, row.bottom};
  drawEntryIcon(hdc, index, iconBox, icon);
  const int nameRight = static_cast<int>(row.right) - sizeWidth - dateWidth;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  drawText(hdc, entry.name, RECT{iconBox.right + 2 * m, row.top, nameRight - m, row.bottom}, format | DT_LEFT, ink);
  if (!entry.folder) {
    drawText(hdc, dateText(entry.modified), RECT{nameRight, row.top, nameRight + dateWidth - m, row.bottom},
             format | DT_RIGHT, ink);
    drawText(hdc, sizeText(entry.size), RECT{nameRight + dateWidth, row.top, row.right - m, row.bottom},
             format | DT_RIGHT, ink);
  }
}

void FileChooserView::paintHeader(HDC hdc, const RECT& client) {
  const RECT header{0, 0, client.right, headerHeight()};
  controls::fillSysColor(hdc, header, COLOR_BTNFACE);
  controls::drawLine(hdc, 0, header.bottom - 1, client.right, header.bottom - 1, GetSysColor(COLOR_BTNSHADOW));
  const int m = controls::scaled(2);
  const int sizeWidth = textWidth(hdc, u"888.8M") + 2 * m;
  const int dateWidth = textWidth(hdc, u"88/88/8888") + 2 * m;
  const int nameRight = static_cast<int>(client.right) - sizeWidth - dateWidth;
  const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  drawText(hdc, u"Name", RECT{m + controls::scaled(16) + 2 * m, 0, nameRight, header.bottom}, format | DT_LEFT, ink);
  drawText(hdc, u"Date", RECT{nameRight, 0, nameRight + dateWidth - m, header.bottom}, format | DT_RIGHT, ink);
  drawText(hdc, u"Size", RECT{nameRight + dateWidth, 0, client.right - m, header.bottom}, format | DT_RIGHT, ink);
}

void FileChooserView::paint() {
  PAINTSTRUCT ps{};
  HDC hdc = BeginPaint(hwnd_, &ps);
  if (hdc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  controls::fillSysColor(hdc, client, COLOR_WINDOW);
  HGDIOBJ oldFont = SelectObject(hdc, controls::systemFont());
  if (mode_ == Mode::Details) paintHeader(hdc, client);
  if (entries_.empty()) {
    RECT r{controls::scaled(4), headerHeight() + controls::scaled(8), client.right - controls::scaled(4),
           client.bottom};
    drawText(hdc, u"This folder is empty.", r, DT_CENTER | DT_TOP | DT_WORDBREAK | DT_NOPREFIX,
             GetSysColor(COLOR_GRAYTEXT));
  }
  const int first = topRow_ * columns();
  const int last = std::min(static_cast<int>(entries_.size()), (topRow_ + visibleRows() + 1) * columns());
  for (int i = first; i < last; ++i) {
    const RECT r = itemRect(i);
    RECT overlap{};
    if (!IntersectRect(&overlap, &r, &ps.rcPaint)) continue;
    if (mode_ == Mode::Thumbnails) {
      paintCell(hdc, i, r);
    } else {
      paintRow(hdc, i, r);
    }
  }
  SelectObject(hdc, oldFont);
  EndPaint(hwnd_, &ps);
}

}  // namespace platform::shell
