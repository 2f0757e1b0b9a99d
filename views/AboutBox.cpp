#include "views/AboutBox.h"

#include <algorithm>
#include <string>

#include "device/DeviceProfile.h"
#include "platform/base/ResourceTable.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/WinGdi.h"
#include "platform/gdi/WinIcon.h"
#include "resources/CommandIds.h"
#include "resources/Icons.h"
#include "resources/StringIds.h"

namespace pellucard {

namespace {

HWND createStatic(HWND dialog, const std::u16string& text, DWORD style) {
  return CreateWindowExW(0, WC_STATICW, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog, nullptr,
                         nullptr, nullptr);
}

std::u16string versionText() {
  std::u16string text = platform::loadString(IDS_ABOUT_TEXT);
  if (const std::size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, AboutBox::kVersion);
  return text;
}

// The part of `wanted` inside `area`; an empty rectangle at its corner when none is.
RECT inside(const RECT& wanted, const RECT& area) {
  RECT r{};
  if (!IntersectRect(&r, &wanted, &area)) r = RECT{wanted.left, wanted.top, wanted.left, wanted.top};
  return r;
}

void move(HWND window, const RECT& r) {
  if (window != nullptr)
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

AboutBox::AboutBox() : FormDialog(IDR_DONE_BAR, false) {}

void AboutBox::createContent(HWND dialog) {
  heading_ = createStatic(dialog, platform::loadString(IDS_ABOUT_HEADING_PREFIX) + platform::loadString(IDS_APP_TITLE),
                          SS_LEFT | SS_NOPREFIX);
  if (heading_ != nullptr) SendMessageW(heading_, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont()), FALSE);
  // The icon is centred in its place rather than the control shrunk to the icon.
  icon_ = createStatic(dialog, u"", SS_ICON | SS_CENTERIMAGE);
  if (icon_ != nullptr) {
    const HICON image = LoadIconW(nullptr, MAKEINTRESOURCE(IDI_PELLUCARD));
    SendMessageW(icon_, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
  }
  text_ = createStatic(dialog, versionText(), SS_LEFT | SS_NOPREFIX);
  place();
}

void AboutBox::place() {
  if (hwnd() == nullptr) return;
  // The layout of the screen as it is now, which a rotation may have changed.
  DeviceProfile profile;
  profile.compute();
  const ScreenLayout& layout = profile.layout();
  RECT area{};
  GetClientRect(hwnd(), &area);
  InflateRect(&area, -layout.margin(), -layout.margin());
  // The layouts are drawn for screens at least 240 pixels wide; on a narrower one the icon moves
  // in to stay whole and the heading gives way to it.
  RECT icon = layout.rectR3();
  OffsetRect(&icon, std::min<LONG>(0, area.right - icon.right), std::min<LONG>(0, area.bottom - icon.bottom));
  icon = inside(icon, area);
  RECT heading = inside(layout.rectR2(), area);
  if (heading.right > icon.left && heading.left < icon.left && heading.top < icon.bottom && icon.top < heading.bottom)
    heading.right = icon.left;
  move(heading_, heading);
  move(icon_, icon);
  move(text_, inside(layout.rectR4(), area));
}

}  // namespace pellucard
