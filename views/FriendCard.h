// The card on the Details tab of the friend details screen: the friend's face, first and last
// name, and notes that scroll when they are taller than their area.
#pragma once

#include "skin/PictureBitmaps.h"
#include "store/RecordId.h"
#include "views/NotesCard.h"

namespace pellucard {

class FriendCard : public NotesCard {
 public:
  // WS_CHILD | WS_VISIBLE | WS_VSCROLL
  static constexpr DWORD kStyle = 0x50200000;
  static constexpr const char16_t* kWindowName = u"FriendDetails";

  HWND create(HWND parent, const RECT& rect, UINT id);

  // Remembers the friend and measures its notes; an id no friend has leaves the card empty.
  void setFriend(RecordId id);

 protected:
  platform::WindowClassInfo windowClass() const override;
  void drawContent(HDC dc, HFONT font, SIZE card) override;

 private:
  void drawHeader(HDC hdc, RecordId id);

  RecordId friend_ = 0;
  PictureBitmaps picture_;
};

}  // namespace pellucard
