#include "views/ItemViewScreen.h"

#include "platform/shell/AygShell.h"
#include "store/AnniversaryCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/CardLook.h"
#include "views/FrameLink.h"

namespace pellucard {

const platform::MessageMap<ItemViewScreen>& ItemViewScreen::messageMap() {
  using Map = platform::MessageMap<ItemViewScreen>;
  static const Map map = Map()
                             .message(WM_CREATE, &ItemViewScreen::onCreate)
                             .message(UM_LAYOUTCHANGED, &ItemViewScreen::onLayoutChanged)
                             .message(WM_SIZE, &ItemViewScreen::onSize)
                             .message(WM_PAINT, &ItemViewScreen::onPaint)
                             .message(WM_ERASEBKGND, &ItemViewScreen::onEraseBackground)
                             .message(WM_WINDOWPOSCHANGED, &ItemViewScreen::onWindowPosChanged)
                             .message(WM_COMMAND, &ItemViewScreen::onCommand)
                             .message(WM_SETFOCUS, &ItemViewScreen::onSetFocus);
  return map;
}

platform::WindowClassInfo ItemViewScreen::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"ItemViewScreen";
  return info;
}

HWND ItemViewScreen::create(HWND frame, const RECT& rect, UINT id) {
  return WindowImpl::create(frame, rect, u"ItemView", WS_CHILD | WS_CLIPCHILDREN, 0, id);
}

void ItemViewScreen::makeCard() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  card_.create(hwnd(), client);
  SetFocus(card_.hwnd());
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ItemViewScreen::onCreate(UINT, WPARAM, LPARAM, BOOL&) {
  makeCard();
  return 0;
}

LRESULT ItemViewScreen::onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&) {
  card_.destroyWindow();
  makeCard();
  return 0;
}

LRESULT ItemViewScreen::onSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (card_.hwnd() != nullptr) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    MoveWindow(card_.hwnd(), 0, 0, client.right, client.bottom, TRUE);
  }
  handled = FALSE;
  return 0;
}

LRESULT ItemViewScreen::onPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT ps{};
  BeginPaint(hwnd(), &ps);
  EndPaint(hwnd(), &ps);
  return 0;
}

bool ItemViewScreen::show(int kind, RecordId id) {
  bool found = false;
  switch (kind) {
    case kRecordGift:
      found = getGiftCollection().find(id) != nullptr;
      break;
    case kRecordLoan:
      found = getLoanCollection().find(id) != nullptr;
      break;
    case kRecordAnniversary:
      found = getAnniversaryCollection().find(id) != nullptr;
      break;
    default:
      break;
  }
  if (!found) return false;
  card_.setItem(static_cast<RecordKind>(kind), id);
  if (card_.hwnd() != nullptr) InvalidateRect(card_.hwnd(), nullptr, TRUE);
  return true;
}

LRESULT ItemViewScreen::onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (pos == nullptr) return 0;
  HWND frame = GetParent(hwnd());
  if (pos->flags & SWP_SHOWWINDOW) {
    if (card_.hwnd() != nullptr) SetFocus(card_.hwnd());
    if (CardLook::pocketPc() && frame != nullptr) {
      SendMessageW(frame, UM_SHOWSIPBUTTON, 0, 0);
      SHDoneButton(frame, SHDB_SHOW);
    }
  } else if ((pos->flags & SWP_HIDEWINDOW) && CardLook::pocketPc() && frame != nullptr) {
    SHDoneButton(frame, SHDB_HIDE);
  }
  return 0;
}

// The frame gives the focus to the screen; the keys that scroll the notes belong to the card.
LRESULT ItemViewScreen::onSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
  if (card_.hwnd() != nullptr) SetFocus(card_.hwnd());
  return 0;
}

LRESULT ItemViewScreen::onCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  const WORD id = LOWORD(wParam);
  if (id == kCancelCommand || id == IDOK) {
    FrameLink::sendBackRelease(GetParent(hwnd()));
    return TRUE;
  }
  return card_.hwnd() != nullptr ? SendMessageW(card_.hwnd(), WM_COMMAND, wParam, lParam) : 0;
}

}  // namespace pellucard
