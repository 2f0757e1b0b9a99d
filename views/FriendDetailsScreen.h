// The friend details screen of the main frame: a tab header over the friend's card and the
// lists of the friend's gifts, anniversaries and loans, each with its own sort and filter. It
// talks to the frame through the private messages only: menubars, check marks, greyed items,
// opening records and telling the other screens to reload their lists.
#pragma once

#include <array>

#include "device/PrivateMessages.h"
#include "platform/win/WindowBase.h"
#include "skin/SpinnerViewCtrl.h"
#include "store/RecordId.h"
#include "views/FriendCard.h"
#include "views/ItemListCtrl.h"
#include "views/ListState.h"

namespace pellucard {

class FriendDetailsScreen : public platform::WindowImpl<FriendDetailsScreen> {
 public:
  // The tab ids: the card's, also its window id; the lists' are the list ids.
  static constexpr UINT kDetailsTab = 1014;
  // The main screen's list style plus LVS_NOSORTHEADER.
  static constexpr DWORD kListStyle = ItemListCtrl::kStyle | LVS_NOSORTHEADER;

  static const platform::MessageMap<FriendDetailsScreen>& messageMap();

  // A hidden child of the frame with its header, card and lists.
  HWND create(HWND frame, const RECT& rect, UINT id = kFriendDetailsScreenId);

  // Shows the friend with that id on the Details tab, with every list back to its first sort
  // and no filter. An id no friend has gives an empty card and empty lists.
  void showFriend(RecordId id);

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  // One list tab: the control, its sort and filter, and whether the friend has no item of
  // the kind at all (before filtering), which greys the tab's export.
  struct Page {
    ListKind kind;
    ItemListCtrl list;
    ListState state;
    bool friendHasNone = true;
  };

  bool onCreate(const CREATESTRUCTW& create);
  LRESULT onLayoutChanged(WPARAM, LPARAM);
  void onSize(UINT type, SIZE client);
  bool onEraseBackground(HDC dc);
  LRESULT onTabChanged(WPARAM tab, LPARAM);
  LRESULT onReloadList(WPARAM listId, LPARAM);
  void onWindowPosChanged(const WINDOWPOS& pos);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  void onSetFocus(HWND previous);
  LRESULT onItemActivate(NMHDR& header);
  void onEditFriend(WORD, WORD, HWND);
  void onShowContactInfo(WORD, WORD, HWND);
  void onSwitchToFriends(WORD, WORD, HWND);
  void onAdd(WORD id, WORD, HWND);
  void onEdit(WORD id, WORD, HWND);
  void onRemove(WORD id, WORD, HWND);
  void onOpen(WORD id, WORD, HWND);
  void onSortOrFilter(WORD id, WORD, HWND);
  void onExport(WORD id, WORD, HWND);

  void build();
  void teardown();
  void placeChildren();
  // Refills a list from its collection: the friend's items, filtered and sorted.
  void fill(ListKind kind);
  template <class Collection, class TextOf>
  void fillPage(Page& page, Collection& collection, TextOf textOf);
  void fillAll();
  // The menubar, greyed exports, check marks, input-panel button and the extra menu item of
  // the tab.
  void applyTab(UINT tab);
  void openItem(ListKind kind);

  bool friendShown() const;
  HWND frame() const;
  // The frame, which owns the screen's message boxes; the screen itself without one.
  HWND owner() const;
  Page* pageOf(ListKind kind);
  Page* pageWithListId(UINT listId);

  RecordId friend_ = 0;
  // While the children are torn down, their hiding must not refill them.
  bool tearingDown_ = false;

  SpinnerViewCtrl header_;
  FriendCard card_;
  // In the order the lists are made.
  std::array<Page, 3> pages_{Page{ListKind::Gifts, {}, ListState(ListKind::Gifts)},
                             Page{ListKind::Loans, {}, ListState(ListKind::Loans)},
                             Page{ListKind::Anniversaries, {}, ListState(ListKind::Anniversaries)}};
};

}  // namespace pellucard
