// The item view screen of the main frame: one gift, loan or anniversary shown read-only on an
// ItemCard that fills the screen. Cancel and the Done button go back to the screen before.
#pragma once

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"
#include "views/ItemCard.h"

namespace pellucard {

class ItemViewScreen : public platform::WindowImpl<ItemViewScreen> {
 public:
  static constexpr WORD kCancelCommand = 1062;

  static const platform::MessageMap<ItemViewScreen>& messageMap();

  // A hidden child of the frame; the card is made with it.
  HWND create(HWND frame, const RECT& rect, UINT id = kItemViewScreenId);

  // Gives the card the gift, loan or anniversary (kind 1, 2 or 3) with that id. Nothing
  // happens, and false is returned, when there is no such record.
  bool show(int kind, RecordId id);

  ItemCard& card() { return card_; }

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  LRESULT onCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onSize(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT onPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return TRUE; }
  LRESULT onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled);
  LRESULT onCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT onSetFocus(UINT, WPARAM, LPARAM, BOOL&);

  void makeCard();

  ItemCard card_;
};

}  // namespace pellucard
