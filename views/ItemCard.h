// The one window of the item view: a gift, loan or anniversary as lines of text on the card
// background, with its notes scrolling below them, and the commands on that item (Edit,
// Remove, Friend Details).
#pragma once

#include <string>
#include <vector>

#include "device/PrivateMessages.h"
#include "store/RecordId.h"
#include "views/NotesCard.h"

namespace pellucard {

class ItemCard : public platform::WindowImpl<ItemCard, NotesCard> {
 public:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  static constexpr COLORREF kOverdueColour = RGB(224, 0, 0);

  struct Line {
    std::u16string text;
    bool overdue = false;
  };

  static const platform::MessageMap<ItemCard>& messageMap();

  HWND create(HWND parent, const RECT& rect);

  // Shows the gift, loan or anniversary with that id (kinds 1 to 3), forgetting any other; an
  // unknown kind or id leaves the card empty.
  void setItem(RecordKind kind, RecordId id);
  // Empty when the card holds nothing or the item is gone.
  std::vector<Line> lines() const;
  bool hasItem() const;

 protected:
  platform::WindowClassInfo windowClass() const override;
  void drawContent(HDC dc, HFONT font, SIZE card) override;

 private:
  void onEdit(WORD, WORD, HWND);
  void onRemove(WORD, WORD, HWND);
  void onFriendDetails(WORD, WORD, HWND);

  HWND frame() const;
  std::u16string notesText() const;
  LONG friendIdOfItem() const;
  void remeasure();

  RecordKind kind_ = kRecordFriend;  // kRecordFriend: nothing shown
  RecordId id_ = 0;
};

}  // namespace pellucard
