#include "views/ItemViewScreen.h"

#include "platform/shell/AygShell.h"
#include "resources/CommandIds.h"
#include "store/AnniversaryCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/CardLook.h"
#include "views/FrameLink.h"

namespace pellucard {

const platform::MessageMap<ItemViewScreen>& ItemViewScreen::messageMap() {
  using M = ItemViewScreen;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_CREATE>(&M::onCreate)
                              .on(UM_LAYOUTCHANGED, &M::onLayoutChanged)
                              .on<WM_SIZE>(&M::onSize)
                              .on<WM_PAINT>(&M::onPaint)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_WINDOWPOSCHANGED>(&M::onWindowPosChanged)
                              .command(ID_ITEM_CANCEL, &M::onCancel)
                              .command(IDOK, &M::onCancel)
                              .on<WM_COMMAND>(&M::onCommand)
                              .on<WM_SETFOCUS>(&M::onSetFocus);
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
  // A hidden screen takes the focus when it shows.
  if (IsWindowVisible(hwnd())) SetFocus(card_.hwnd());
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool ItemViewScreen::onCreate(const CREATESTRUCTW&) {
  makeCard();
  return true;
}

LRESULT ItemViewScreen::onLayoutChanged(WPARAM, LPARAM) {
  card_.destroyWindow();
  makeCard();
  return 0;
}

void ItemViewScreen::onSize(UINT, SIZE) {
  if (card_.hwnd() != nullptr) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    MoveWindow(card_.hwnd(), 0, 0, client.right, client.bottom, TRUE);
  }
  passOn();
}

void ItemViewScreen::onPaint() {
  PAINTSTRUCT ps{};
  BeginPaint(hwnd(), &ps);
  EndPaint(hwnd(), &ps);
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

void ItemViewScreen::onWindowPosChanged(const WINDOWPOS& pos) {
  passOn();
  HWND frame = GetParent(hwnd());
  if (pos.flags & SWP_SHOWWINDOW) {
    // Under a form (a rotation shows the screen again) the focus would activate the frame.
    if (card_.hwnd() != nullptr && GetActiveWindow() == frame) SetFocus(card_.hwnd());
    if (CardLook::pocketPc() && frame != nullptr) {
      SendMessageW(frame, UM_SHOWSIPBUTTON, 0, 0);
      SHDoneButton(frame, SHDB_SHOW);
    }
  } else if ((pos.flags & SWP_HIDEWINDOW) && CardLook::pocketPc() && frame != nullptr) {
    SHDoneButton(frame, SHDB_HIDE);
  }
}

// The frame gives the focus to the screen; the keys that scroll the notes belong to the card.
void ItemViewScreen::onSetFocus(HWND) {
  if (card_.hwnd() != nullptr) SetFocus(card_.hwnd());
}

// Cancel and the Done button (IDOK) go back to the screen before.
void ItemViewScreen::onCancel(WORD, WORD, HWND) { FrameLink::sendBackRelease(GetParent(hwnd())); }

void ItemViewScreen::onCommand(WORD id, WORD code, HWND from) {
  const HWND card = card_.hwnd();
  if (card == nullptr || SendMessageW(card, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from)) == 0) {
    passOn();
  }
}

}  // namespace pellucard
