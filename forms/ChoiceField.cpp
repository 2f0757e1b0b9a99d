#include "forms/ChoiceField.h"

#include <algorithm>
#include <string>

#include "forms/FieldArrow.h"
#include "forms/PlatformEdition.h"
#include "forms/WindowText.h"
#include "platform/controls/ControlLook.h"
#include "platform/controls/WinEdit.h"
#include "platform/gdi/MemoryDc.h"

namespace pellucard {

const platform::MessageMap<ChoiceField>& ChoiceField::messageMap() {
  using M = ChoiceField;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_SETFOCUS>(&M::onSetFocus)
                              .on<WM_KILLFOCUS>(&M::onKillFocus)
                              .on<WM_LBUTTONDOWN>(&M::onStylusDown)
                              .on(WM_SETTEXT, &M::onSetText);
  return map;
}

HWND ChoiceField::create(HWND parent, const RECT& rect) {
  return createOfClass(WC_EDITW, parent, rect, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_READONLY);
}

void ChoiceField::onPaint() {
  PAINTSTRUCT ps{};
  const HDC dc = BeginPaint(hwnd(), &ps);
  if (dc == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  platform::gdi::MemoryDc buffer(dc, std::max<int>(client.right, 1), std::max<int>(client.bottom, 1));
  if (buffer) {
    const HDC mem = buffer.dc();
    FillRect(mem, &client, GetSysColorBrush(COLOR_WINDOW));
    RECT textRect = client;
    if (hasDropDown_) {
      drawFieldArrow(mem, client, formScale());
      textRect.right = std::max(client.left, client.right - (client.bottom - client.top));
    }
    std::u16string text = windowText(hwnd());
    if (text.size() > static_cast<std::size_t>(kMaxText)) text.resize(kMaxText);
    const platform::gdi::SelectedObject font(mem, platform::controls::windowFont(hwnd()));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, GetSysColor(IsWindowEnabled(hwnd()) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX);
    buffer.copyTo(dc, 0, 0);
  }
  EndPaint(hwnd(), &ps);
}

void ChoiceField::onSetFocus(HWND) {
  if (combo_ == nullptr || !IsWindow(combo_)) {
    passOn();
    return;
  }
  handingOn_ = true;
  SetFocus(combo_);
  handingOn_ = false;
}

void ChoiceField::onKillFocus(HWND) {
  if (!handingOn_) passOn();
}

// The arrow's square: the list, lying at the same place, gets the same press and opens.
void ChoiceField::onStylusDown(POINT point, UINT) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  if (combo_ != nullptr && hasDropDown_ && point.x > client.right - (client.bottom - client.top)) {
    const MSG* message = currentMessage();
    PostMessageW(combo_, WM_LBUTTONDOWN, message->wParam, message->lParam);
  }
  // The focus goes on to the list; the edit underneath has no caret to place.
  SetFocus(hwnd());
}

// The text is shown as drawn here, not as the edit would.
LRESULT ChoiceField::onSetText(WPARAM, LPARAM) {
  passOn();
  InvalidateRect(hwnd(), nullptr, FALSE);
  return TRUE;
}

}  // namespace pellucard
