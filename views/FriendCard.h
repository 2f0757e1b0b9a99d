// The card on the Details tab of the friend details screen: the friend's face, first and last
// name, and notes that scroll when they are taller than their area.
#pragma once

#include "platform/win/WindowBase.h"
#include "skin/PictureBitmaps.h"
#include "store/RecordId.h"
#include "views/NotesPane.h"

namespace pellucard {

class FriendCard : public platform::WindowImpl<FriendCard> {
 public:
  // WS_CHILD | WS_VISIBLE | WS_VSCROLL
  static constexpr DWORD kStyle = 0x50200000;
  static constexpr const char16_t* kWindowName = u"FriendDetails";

  static const platform::MessageMap<FriendCard>& messageMap();

  HWND create(HWND parent, const RECT& rect, UINT id);

  // Remembers the friend and measures its notes; an id no friend has leaves the card empty.
  void setFriend(RecordId id);
  RecordId friendId() const { return friend_; }
  const NotesPane& notes() const { return notes_; }

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  void onDestroy();
  // The paint draws the whole background.
  bool onEraseBackground(HDC) { return false; }
  void onPaint();
  void onVScroll(UINT code, int position, HWND bar);
  void onKeyDown(UINT vk, UINT flags);

  void drawHeader(HDC hdc, RecordId id);

  RecordId friend_ = 0;
  NotesPane notes_;
  PictureBitmaps picture_;
};

}  // namespace pellucard
