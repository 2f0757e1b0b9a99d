#include "forms/ExpandButton.h"

#include <algorithm>

#include "forms/FieldArrow.h"
#include "forms/PlatformEdition.h"
#include "forms/TextEntryDialog.h"
#include "forms/WindowText.h"
#include "platform/controls/WinUpDown.h"
#include "platform/gdi/MemoryDc.h"

namespace pellucard {

const platform::MessageMap<ExpandButton>& ExpandButton::messageMap() {
  using M = ExpandButton;
  static const auto map = platform::MessageMap<M>()
                              .on(UDM_SETBUDDY, &M::onSetBuddy)
                              .on(UDM_GETBUDDY, &M::onGetBuddy)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_LBUTTONDOWN>(&M::onStylusDown);
  return map;
}

HWND ExpandButton::create(HWND edit) {
  const HWND parent = GetParent(edit);
  if (parent == nullptr) return nullptr;
  RECT r{};
  GetWindowRect(edit, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  if (createOfClass(u"STATIC", parent, r, kWindowText, WS_CHILD | WS_VISIBLE) == nullptr) return nullptr;
  SendMessageW(hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
  return hwnd();
}

LRESULT ExpandButton::onSetBuddy(WPARAM edit, LPARAM) {
  const HWND buddy = reinterpret_cast<HWND>(edit);
  const HWND parent = GetParent(hwnd());
  if (buddy == nullptr || !IsWindow(buddy) || GetParent(buddy) != parent) return 0;
  buddy_ = buddy;
  RECT field{};
  GetWindowRect(buddy_, &field);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&field), 2);
  RECT mine{};
  GetWindowRect(hwnd(), &mine);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&mine), 2);
  const int height = field.bottom - field.top;
  // An edit that already ends where the button starts is aligned; told again, nothing moves.
  const bool aligned = field.right == mine.left && mine.top == field.top && mine.bottom - mine.top == height;
  if (!aligned) {
    const int width = kWidth * formScale();
    const int x = static_cast<int>(field.right) - width;
    SetWindowPos(hwnd(), nullptr, x, field.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(buddy_, nullptr, 0, 0, std::max(x - static_cast<int>(field.left), 0), height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return reinterpret_cast<LRESULT>(buddy_);
}

void ExpandButton::onPaint() {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  platform::gdi::MemoryDc buffer(dc, client.right, client.bottom);
  if (buffer) {
    FillRect(buffer.dc(), &client, GetSysColorBrush(COLOR_WINDOW));
    drawFieldArrow(buffer.dc(), client, formScale());
    buffer.copyTo(dc, 0, 0);
  }
  EndPaint(hwnd(), &ps);
}

void ExpandButton::onStylusDown(POINT, UINT) {
  const HWND parent = GetParent(hwnd());
  NMHDR header{};
  header.hwndFrom = hwnd();
  header.idFrom = 0;
  header.code = UDN_EXPANDING;
  if (parent != nullptr && SendMessageW(parent, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)) != 0) return;
  if (buddy_ == nullptr || !IsWindow(buddy_)) return;
  TextEntryDialog editor(windowText(buddy_), buddy_);
  editor.run(GetActiveWindow());
}

}  // namespace pellucard
