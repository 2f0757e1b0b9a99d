// The one window of the item view: a gift, loan or anniversary as lines of text on the card
// background, with its notes scrolling below them, and the commands on that item (Edit,
// Remove, Friend Details).
#pragma once

#include <string>
#include <vector>

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"
#include "store/RecordId.h"
#include "views/NotesPane.h"

namespace pellucard {

class ItemCard : public platform::WindowImpl<ItemCard> {
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
  RecordKind kind() const { return kind_; }
  RecordId itemId() const { return id_; }
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
  void onEdit(WORD, WORD, HWND);
  void onRemove(WORD, WORD, HWND);
  void onFriendDetails(WORD, WORD, HWND);

  HWND frame() const;
  std::u16string notesText() const;
  LONG friendIdOfItem() const;
  void remeasure();

  RecordKind kind_ = kRecordFriend;  // kRecordFriend: nothing shown
  RecordId id_ = 0;
  NotesPane notes_;
};

}  // namespace pellucard
