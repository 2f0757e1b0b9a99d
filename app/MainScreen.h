// The screen shown at start: a tab header over four lists (friends, gifts, anniversaries,
// loans) fed from the collections. It keeps each list's sort and filter, turns menu commands
// into remove, open, sort, filter and export actions, and keeps the menubar's check marks in
// step with the visible tab.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "platform/win/WindowBase.h"
#include "skin/SpinnerViewCtrl.h"
#include "store/RecordId.h"
#include "views/ItemListCtrl.h"
#include "views/ListKind.h"
#include "views/ListState.h"

namespace pellucard {

class MainScreen : public platform::WindowImpl<MainScreen> {
 public:
  static constexpr UINT kTabStripId = 1099;

  MainScreen();
  ~MainScreen() override;

  static const platform::MessageMap<MainScreen>& messageMap();

  // Created hidden; the frame shows it.
  HWND create(HWND frame, const RECT& rect);

  // The tab id (1015 friends, 1016 loans, 1017 gifts, 1018 anniversaries) of the visible list.
  UINT currentTab() const;

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  bool onCreate(const CREATESTRUCTW& create);
  // The paint draws the background where it was to be erased.
  bool onEraseBackground(HDC) { return false; }
  void onPaint();
  void onWindowPosChanged(const WINDOWPOS& pos);
  void onSetFocus(HWND previous);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  LRESULT onTabChanged(WPARAM tab, LPARAM);
  LRESULT onReloadList(WPARAM listId, LPARAM);
  LRESULT onActivateInstance(WPARAM, LPARAM);
  LRESULT onLayoutChanged(WPARAM, LPARAM);
  LRESULT onSipChanged(WPARAM, LPARAM sipInfo);
  LRESULT onItemActivate(NMHDR& header);

  void onAdd(WORD id, WORD, HWND);
  void onEdit(WORD id, WORD, HWND);
  void onRemove(WORD id, WORD, HWND);
  void onOpen(WORD id, WORD, HWND);
  void onImportContacts(WORD, WORD, HWND);
  // Files dropped on the program (forwarded by the frame): their contacts open in the import.
  LRESULT onDropFiles(WPARAM drop, LPARAM);
  void importContacts(const std::vector<LONG>& checked);
  void onBackup(WORD id, WORD, HWND);
  void onSortOrFilter(WORD id, WORD, HWND);
  void onExport(WORD id, WORD, HWND);

  void buildChildren(UINT selectedTab);
  void destroyChildren();
  void resetStates();
  // Marks the tab and refills the list, or, while its page is hidden, leaves that for when
  // the page is shown.
  void fill(ListKind kind);
  void fillRows(ListKind kind);
  template <class Collection, class TextOf>
  void fillFrom(ListKind kind, Collection& collection, TextOf textOf);
  void fillAll();
  // Menubar of the tab, greyed exports and check marks.
  void applyMenu(UINT tab);
  void removeFriend(RecordId id);
  // Tells the user a removal failed, or was refused because the database could not be read.
  void reportRemoveFailure();
  void sendToFrame(UINT message, WPARAM wParam, LPARAM lParam);
  ItemListCtrl* list(ListKind kind) const { return lists_[static_cast<int>(kind)].get(); }
  ListState& state(ListKind kind) { return states_[static_cast<int>(kind)]; }
  void focusTabStrip();

  std::unique_ptr<SpinnerViewCtrl> tabStrip_;
  std::array<std::unique_ptr<ItemListCtrl>, 4> lists_;
  std::array<ListState, 4> states_;
  std::array<bool, 4> stale_{};
  bool building_ = false;
};

}  // namespace pellucard
