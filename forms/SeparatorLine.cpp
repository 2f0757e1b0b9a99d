#include "forms/SeparatorLine.h"

#include "platform/gdi/WinGdi.h"

namespace pellucard {

const platform::MessageMap<SeparatorLine>& SeparatorLine::messageMap() {
  using M = SeparatorLine;
  static const auto map = platform::MessageMap<M>().on<WM_ERASEBKGND>(&M::onEraseBackground).on<WM_PAINT>(&M::onPaint);
  return map;
}

HWND SeparatorLine::create(HWND parent, const RECT& rect) {
  return createOfClass(u"STATIC", parent, rect, u"", WS_CHILD | WS_VISIBLE);
}

void SeparatorLine::onPaint() {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const HBRUSH brush = CreateSolidBrush(kColor);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  EndPaint(hwnd(), &ps);
}

}  // namespace pellucard
