// The screen shown at start: a tab header over four lists (friends, gifts, anniversaries,
// loans) fed from the collections. It keeps each list's sort and filter, turns menu commands
// into remove, open, sort, filter and export actions, and keeps the menubar's check marks in
// step with the visible tab.
#pragma once

#include <array>
#include <memory>

#include "platform/win/WindowBase.h"
#include "skin/SpinnerViewCtrl.h"
#include "store/RecordId.h"
#include "views/ItemListCtrl.h"
#include "views/ListKind.h"

namespace pellucard {

class MainScreen : public platform::WindowImpl<MainScreen> {
 public:
  static constexpr UINT kTabStripId = 1099;

  // Sort keys and filters with the values the collections take.
  struct ListState {
    int sortKey = 1;
    int sortFlag = 1;
    int filter = 0;
  };
  static ListState defaultState(ListKind kind);

  MainScreen();
  ~MainScreen() override;

  static const platform::MessageMap<MainScreen>& messageMap();

  // Created hidden; the frame shows it.
  HWND create(HWND frame, const RECT& rect);

  // The tab id (1015 friends, 1016 loans, 1017 gifts, 1018 anniversaries) of the visible list.
  UINT currentTab() const;
  const ListState& state(ListKind kind) const { return states_[static_cast<int>(kind)]; }
  ItemListCtrl& list(ListKind kind) { return *lists_[static_cast<int>(kind)]; }
  // Whether a hidden page waits for its refill.
  bool stale(ListKind kind) const { return stale_[static_cast<int>(kind)]; }
  SpinnerViewCtrl& tabStrip() { return *tabStrip_; }

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  LRESULT onCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT onPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled);
  LRESULT onSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onHotKey(UINT message, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT onTabChanged(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onReloadList(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT onActivateInstance(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT onSipChanged(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT onItemActivate(int id, NMHDR*, BOOL&);

  LRESULT onAdd(WORD, WORD id, HWND, BOOL&);
  LRESULT onEdit(WORD, WORD id, HWND, BOOL&);
  LRESULT onRemove(WORD, WORD id, HWND, BOOL&);
  LRESULT onOpen(WORD, WORD id, HWND, BOOL&);
  LRESULT onImportContacts(WORD, WORD, HWND, BOOL&);
  LRESULT onBackup(WORD, WORD id, HWND, BOOL&);
  LRESULT onSort(WORD, WORD id, HWND, BOOL&);
  LRESULT onFilter(WORD, WORD id, HWND, BOOL&);
  LRESULT onExportCalendar(WORD, WORD, HWND, BOOL&);
  LRESULT onExportTasks(WORD, WORD, HWND, BOOL&);

  void buildChildren(UINT selectedTab);
  void destroyChildren();
  // Marks the tab and refills the list, or, while its page is hidden, leaves that for when
  // the page is shown.
  void fill(ListKind kind);
  void fillRows(ListKind kind);
  void fillAll();
  // Menubar of the tab, greyed exports and check marks.
  void applyMenu(UINT tab);
  void removeFriend(RecordId id);
  void sendToFrame(UINT message, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<SpinnerViewCtrl> tabStrip_;
  std::array<std::unique_ptr<ItemListCtrl>, 4> lists_;
  std::array<ListState, 4> states_;
  std::array<bool, 4> stale_{};
  bool building_ = false;
};

}  // namespace pellucard
