// The friend details screen of the main frame: a tab header over the friend's card and the
// lists of the friend's gifts, anniversaries and loans, each with its own sort and filter. It
// talks to the frame through the private messages only: menubars, check marks, greyed items,
// opening records and telling the other screens to reload their lists.
#pragma once

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"
#include "skin/SpinnerViewCtrl.h"
#include "store/RecordId.h"
#include "views/FriendCard.h"
#include "views/ItemListCtrl.h"

namespace pellucard {

class FriendDetailsScreen : public platform::WindowImpl<FriendDetailsScreen> {
 public:
  // The tab ids; the card's is also its window id, the lists' are the list ids.
  static constexpr UINT kDetailsTab = 1014;
  // The main screen's list style plus LVS_NOSORTHEADER.
  static constexpr DWORD kListStyle = ItemListCtrl::kStyle | LVS_NOSORTHEADER;

  // Sort mode, ascending flag and filter selection of one list.
  struct ListState {
    int sort = 1;
    bool ascending = true;
    int filter = 0;
  };

  static const platform::MessageMap<FriendDetailsScreen>& messageMap();

  // A hidden child of the frame with its header, card and lists.
  HWND create(HWND frame, const RECT& rect, UINT id = kFriendDetailsScreenId);

  // Shows the friend with that id on the Details tab, with every list back to its first sort
  // and no filter. An id no friend has gives an empty card and empty lists.
  void showFriend(RecordId id);
  RecordId friendId() const { return friend_; }
  bool friendShown() const;

  const ListState& giftState() const { return gifts_; }
  const ListState& loanState() const { return loans_; }
  const ListState& anniversaryState() const { return anniversaries_; }
  bool noLoans() const { return noLoans_; }
  bool noAnniversaries() const { return noAnniversaries_; }

  SpinnerViewCtrl& header() { return header_; }
  FriendCard& card() { return card_; }
  ItemListCtrl& giftList() { return giftList_; }
  ItemListCtrl& loanList() { return loanList_; }
  ItemListCtrl& anniversaryList() { return anniversaryList_; }

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  LRESULT onCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onSize(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT onEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onTabChanged(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onReloadList(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onSelChanged(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled);
  LRESULT onHotKey(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT onSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled);
  LRESULT onItemActivate(int id, NMHDR*, BOOL&);

  void build();
  void teardown();
  void placeChildren();
  void fillGifts();
  void fillLoans();
  void fillAnniversaries();
  void fillAll();
  // The menubar, greyed exports, check marks, input-panel button and the extra menu item of
  // the tab.
  void applyTab(UINT tab);

  bool sortCommand(WORD id);
  bool filterCommand(WORD id);
  void addItem(int kind);
  void editItem(int kind);
  void removeItem(int kind);
  void openItem(int kind);
  void editFriend();
  void showContactInfo();
  void exportItems(bool loans);

  HWND frame() const;
  ItemListCtrl* listOfKind(int kind);
  void refill(int kind);

  RecordId friend_ = 0;
  ListState gifts_{1, true, 7};
  ListState loans_{1, true, 3};
  ListState anniversaries_{1, true, 2};
  bool noLoans_ = true;
  bool noAnniversaries_ = true;
  // While the children are torn down, their hiding must not refill them.
  bool tearingDown_ = false;

  SpinnerViewCtrl header_;
  FriendCard card_;
  ItemListCtrl giftList_;
  ItemListCtrl loanList_;
  ItemListCtrl anniversaryList_;
};

}  // namespace pellucard
