// The item view screen of the main frame: one gift, loan or anniversary shown read-only on an
// ItemCard that fills the screen. Cancel and the Done button go back to the screen before.
#pragma once

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"
#include "views/ItemCard.h"

namespace pellucard {

class ItemViewScreen : public platform::WindowImpl<ItemViewScreen> {
 public:
  static const platform::MessageMap<ItemViewScreen>& messageMap();

  // A hidden child of the frame; the card is made with it.
  HWND create(HWND frame, const RECT& rect, UINT id = kItemViewScreenId);

  // Gives the card the gift, loan or anniversary (kind 1, 2 or 3) with that id. Nothing
  // happens, and false is returned, when there is no such record.
  bool show(int kind, RecordId id);

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  bool onCreate(const CREATESTRUCTW& create);
  LRESULT onLayoutChanged(WPARAM, LPARAM);
  void onSize(UINT type, SIZE client);
  void onPaint();
  // The card covers the screen.
  bool onEraseBackground(HDC) { return true; }
  void onWindowPosChanged(const WINDOWPOS& pos);
  void onCancel(WORD id, WORD code, HWND from);
  // The card's commands (Edit, Remove, Friend Details) are the card's.
  void onCommand(WORD id, WORD code, HWND from);
  void onSetFocus(HWND previous);

  void makeCard();

  ItemCard card_;
};

}  // namespace pellucard
