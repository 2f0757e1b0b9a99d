#include "platform/controls/ListBoxRows.h"

#include <algorithm>

#include "platform/gdi/MemoryDc.h"
#include "platform/win/WinUser.h"

namespace platform::controls {

void ListBoxRows::setSelected(int i) {
  if (i == -1 || items_.valid(i)) selected_ = i;
}

int ListBoxRows::perPage(int clientHeight) const { return std::max(clientHeight / itemHeight_, 1); }

int ListBoxRows::maxTop(int clientHeight) const { return std::max(count() - perPage(clientHeight), 0); }

bool ListBoxRows::setTop(int top, int clientHeight) {
  const int clamped = std::clamp(top, 0, maxTop(clientHeight));
  if (clamped == top_) return false;
  top_ = clamped;
  return true;
}

bool ListBoxRows::ensureVisible(int i, int clientHeight) {
  if (!items_.valid(i)) return false;
  if (i < top_) return setTop(i, clientHeight);
  const int page = perPage(clientHeight);
  if (i >= top_ + page) return setTop(i - page + 1, clientHeight);
  return false;
}

int ListBoxRows::rowAt(int y) const {
  if (y < 0) return -1;
  const int i = top_ + y / itemHeight_;
  return items_.valid(i) ? i : -1;
}

RECT ListBoxRows::rowRect(int i, int width) const {
  const int y = (i - top_) * itemHeight_;
  return RECT{0, y, width, y + itemHeight_};
}

int ListBoxRows::keyTarget(UINT vk, int clientHeight) const {
  const int n = count();
  if (n == 0) return -1;
  const int page = perPage(clientHeight);
  const int from = selected_;
  int target = -1;
  switch (vk) {
    case VK_UP:
    case VK_LEFT:
      target = from < 0 ? 0 : from - 1;
      break;
    case VK_DOWN:
    case VK_RIGHT:
      target = from < 0 ? 0 : from + 1;
      break;
    case VK_HOME:
      target = 0;
      break;
    case VK_END:
      target = n - 1;
      break;
    case VK_PRIOR:
      target = from < 0 ? 0 : from - std::max(page - 1, 1);
      break;
    case VK_NEXT:
      target = from < 0 ? 0 : from + std::max(page - 1, 1);
      break;
    default:
      return -1;
  }
  return std::clamp(target, 0, n - 1);
}

int ListBoxRows::insert(int at, std::u16string text) {
  if (at == -1) at = count();
  if (at < 0 || at > count()) return -1;
  items_.insert(at, std::move(text));
  if (selected_ >= at) ++selected_;
  return at;
}

bool ListBoxRows::erase(int i) {
  if (!items_.valid(i)) return false;
  items_.erase(i);
  if (selected_ == i) {
    selected_ = -1;
  } else if (selected_ > i) {
    --selected_;
  }
  if (top_ > 0 && top_ >= count()) top_ = std::max(count() - 1, 0);
  return true;
}

void ListBoxRows::clear() {
  items_.clear();
  selected_ = -1;
  top_ = 0;
}

void drawListBoxRows(HDC hdc, const ListBoxRows& rows, const RECT& client, int marked, const ListRowLook& look) {
  FillRect(hdc, &client, look.background);
  gdi::SavedDcState saved(hdc);
  if (look.font != nullptr) SelectObject(hdc, look.font);
  SetBkMode(hdc, TRANSPARENT);
  const int width = client.right - client.left;
  for (int i = rows.top(); i < rows.count(); ++i) {
    RECT row = rows.rowRect(i, width);
    OffsetRect(&row, client.left, client.top);
    if (row.top >= client.bottom) break;
    const bool lit = i == marked;
    if (lit) {
      HBRUSH brush = CreateSolidBrush(look.highlight);
      FillRect(hdc, &row, brush);
      DeleteObject(brush);
    }
    SetTextColor(hdc, lit ? look.highlightText : look.text);
    const std::u16string& text = rows.items().at(i).text;
    if (text.empty()) continue;
    RECT area{row.left + look.padding, row.top, row.right - look.padding, row.bottom};
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

}  // namespace platform::controls
