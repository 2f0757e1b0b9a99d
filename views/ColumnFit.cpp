#include "views/ColumnFit.h"

#include "platform/controls/CommCtrl.h"
#include "platform/win/WinUser.h"

namespace pellucard {

void ColumnFit::fit(HWND list) {
  if (list == nullptr || !IsWindow(list)) return;
  RECT frame{};
  RECT client{};
  GetWindowRect(list, &frame);
  GetClientRect(list, &client);
  const int width = frame.right - frame.left;
  const int rowsHeight = HIWORD(ListView_ApproximateViewRect(list, -1, -1, -1));
  const auto style = static_cast<DWORD>(GetWindowLongW(list, GWL_STYLE));
  int columnWidth = width;
  DWORD wanted = style | LVS_NOSCROLL;
  if (client.bottom < rowsHeight) {
    wanted = style & ~static_cast<DWORD>(LVS_NOSCROLL);
    columnWidth = width - GetSystemMetrics(SM_CXVSCROLL);
  }
  if (wanted != style) SetWindowLongW(list, GWL_STYLE, static_cast<LONG>(wanted));
  ListView_SetColumnWidth(list, 0, columnWidth > 0 ? columnWidth : 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace pellucard
