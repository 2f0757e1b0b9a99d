#include "app/MainScreen.h"

#include <utility>

#include "app/AppCaption.h"
#include "device/DeviceProfile.h"
#include "device/PrivateMessages.h"
#include "outlook/ExportCommands.h"
#include "platform/base/ResourceTable.h"
#include "platform/controls/CommCtrl.h"
#include "platform/gdi/WinGdi.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/sys/SysParams.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "views/FontCache.h"
#include "views/FormLauncher.h"

namespace pellucard {

namespace {

constexpr int index(ListKind kind) { return static_cast<int>(kind); }

// Tab order on the strip, with what each tab needs.
struct TabInfo {
  ListKind kind;
  UINT tabId;
  UINT caption;
  UINT menuBar;
  UINT openCommand;
  int recordKind;
};

constexpr TabInfo kTabs[] = {
    {ListKind::Friends, kFriendListId, IDS_TAB_FRIENDS, IDR_FRIENDS_BAR, ID_FRIEND_DETAILS, kRecordFriend},
    {ListKind::Gifts, kGiftListId, IDS_TAB_GIFTS, IDR_GIFTS_BAR, ID_GIFT_DETAILS, kRecordGift},
    {ListKind::Anniversaries, kAnniversaryListId, IDS_TAB_ANNIVERSARIES, IDR_ANNIVERSARIES_BAR, ID_ANNIVERSARY_DETAILS,
     kRecordAnniversary},
    {ListKind::Loans, kLoanListId, IDS_TAB_LOANS, IDR_LOANS_BAR, ID_LOAN_DETAILS, kRecordLoan},
};

const TabInfo& tabOf(ListKind kind) {
  for (const TabInfo& tab : kTabs) {
    if (tab.kind == kind) return tab;
  }
  return kTabs[0];
}

const TabInfo* tabById(UINT tabId) {
  for (const TabInfo& tab : kTabs) {
    if (tab.tabId == tabId) return &tab;
  }
  return nullptr;
}

// A sort command: its list, its key and the flag a newly chosen key starts with.
struct SortCommand {
  UINT command;
  ListKind kind;
  int key;
  int startFlag;
};

constexpr SortCommand kSortCommands[] = {
    {ID_GIFT_SORT_GIFT, ListKind::Gifts, GiftCollection::kSortByName, 1},
    {ID_GIFT_SORT_DATE, ListKind::Gifts, GiftCollection::kSortByDate, 0},
    {ID_GIFT_SORT_FRIEND, ListKind::Gifts, GiftCollection::kSortByFriend, 1},
    {ID_LOAN_SORT_ITEM, ListKind::Loans, LoanCollection::kSortByItem, 1},
    {ID_LOAN_SORT_LOAN_DATE, ListKind::Loans, LoanCollection::kSortByLoanDate, 0},
    {ID_LOAN_SORT_RETURN_DATE, ListKind::Loans, LoanCollection::kSortByReturnDate, 0},
    {ID_LOAN_SORT_FRIEND, ListKind::Loans, LoanCollection::kSortByFriend, 1},
    {ID_ANNIVERSARY_SORT_NAME, ListKind::Anniversaries, AnniversaryCollection::kSortByName, 1},
    {ID_ANNIVERSARY_SORT_DATE, ListKind::Anniversaries, AnniversaryCollection::kSortByDate, 1},
    {ID_ANNIVERSARY_SORT_DAY, ListKind::Anniversaries, AnniversaryCollection::kSortByDayOfYear, 1},
    {ID_ANNIVERSARY_SORT_FRIEND, ListKind::Anniversaries, AnniversaryCollection::kSortByFriend, 1},
};

struct FilterCommand {
  UINT command;
  ListKind kind;
  int value;
};

constexpr FilterCommand kFilterCommands[] = {
    {ID_GIFT_FILTER_ALL, ListKind::Gifts, GiftCollection::kFilterAll},
    {ID_GIFT_FILTER_FROM, ListKind::Gifts, 1},
    {ID_GIFT_FILTER_TO, ListKind::Gifts, 2},
    {ID_GIFT_FILTER_IDEAS, ListKind::Gifts, 4},
    {ID_LOAN_FILTER_ALL, ListKind::Loans, LoanCollection::kFilterAll},
    {ID_LOAN_FILTER_FROM, ListKind::Loans, 1},
    {ID_LOAN_FILTER_TO, ListKind::Loans, 2},
    {ID_LOAN_FILTER_OVERDUE, ListKind::Loans, 4},
    {ID_ANNIVERSARY_FILTER_ALL, ListKind::Anniversaries, AnniversaryCollection::kFilterAll},
    {ID_ANNIVERSARY_FILTER_NEAREST, ListKind::Anniversaries, AnniversaryCollection::kFilterNearest},
};

int filterAll(ListKind kind) {
  switch (kind) {
    case ListKind::Gifts:
      return GiftCollection::kFilterAll;
    case ListKind::Loans:
      return LoanCollection::kFilterAll;
    case ListKind::Anniversaries:
      return AnniversaryCollection::kFilterAll;
    case ListKind::Friends:
      break;
  }
  return 0;
}

// The kind whose Add, Edit, Remove or Open command this is.
ListKind kindOfItemCommand(UINT command) {
  switch (command) {
    case ID_GIFT_ADD:
    case ID_GIFT_EDIT:
    case ID_GIFT_REMOVE:
    case ID_GIFT_DETAILS:
      return ListKind::Gifts;
    case ID_LOAN_ADD:
    case ID_LOAN_EDIT:
    case ID_LOAN_REMOVE:
    case ID_LOAN_DETAILS:
      return ListKind::Loans;
    case ID_ANNIVERSARY_ADD:
    case ID_ANNIVERSARY_EDIT:
    case ID_ANNIVERSARY_REMOVE:
    case ID_ANNIVERSARY_DETAILS:
      return ListKind::Anniversaries;
    default:
      return ListKind::Friends;
  }
}

std::u16string withName(std::u16string text, const std::u16string& name) {
  const std::size_t at = text.find(u"%s");
  if (at != std::u16string::npos) text.replace(at, 2, name);
  return text;
}

bool pocketPc() { return getSettings().deviceProfile().isPocketPc(); }

}  // namespace

MainScreen::ListState MainScreen::defaultState(ListKind kind) {
  ListState state;
  state.sortKey = 1;
  state.sortFlag = 1;
  state.filter = filterAll(kind);
  return state;
}

MainScreen::MainScreen() {
  for (const TabInfo& tab : kTabs) states_[index(tab.kind)] = defaultState(tab.kind);
}

MainScreen::~MainScreen() = default;

const platform::MessageMap<MainScreen>& MainScreen::messageMap() {
  using M = MainScreen;
  static const platform::MessageMap<M> map =
      platform::MessageMap<M>()
          .message(WM_CREATE, &M::onCreate)
          .message(WM_ERASEBKGND, &M::onEraseBackground)
          .message(WM_PAINT, &M::onPaint)
          .message(WM_WINDOWPOSCHANGED, &M::onWindowPosChanged)
          .message(WM_SETFOCUS, &M::onSetFocus)
          .message(WM_HOTKEY, &M::onHotKey)
          .message(UM_TABCHANGED, &M::onTabChanged)
          .message(UM_RELOADLIST, &M::onReloadList)
          .message(UM_ACTIVATEINSTANCE, &M::onActivateInstance)
          .message(UM_LAYOUTCHANGED, &M::onLayoutChanged)
          .message(UM_SIPCHANGED, &M::onSipChanged)
          .notifyCode(LVN_ITEMACTIVATE, &M::onItemActivate)
          .command(ID_FRIEND_ADD, &M::onAdd)
          .command(ID_GIFT_ADD, &M::onAdd)
          .command(ID_LOAN_ADD, &M::onAdd)
          .command(ID_ANNIVERSARY_ADD, &M::onAdd)
          .command(ID_FRIEND_EDIT, &M::onEdit)
          .command(ID_GIFT_EDIT, &M::onEdit)
          .command(ID_LOAN_EDIT, &M::onEdit)
          .command(ID_ANNIVERSARY_EDIT, &M::onEdit)
          .command(ID_FRIEND_REMOVE, &M::onRemove)
          .command(ID_GIFT_REMOVE, &M::onRemove)
          .command(ID_LOAN_REMOVE, &M::onRemove)
          .command(ID_ANNIVERSARY_REMOVE, &M::onRemove)
          .command(ID_FRIEND_DETAILS, &M::onOpen)
          .command(ID_GIFT_DETAILS, &M::onOpen)
          .command(ID_LOAN_DETAILS, &M::onOpen)
          .command(ID_ANNIVERSARY_DETAILS, &M::onOpen)
          .command(ID_IMPORT_CONTACTS, &M::onImportContacts)
          .command(ID_BACKUP_CREATE, &M::onBackup)
          .command(ID_BACKUP_RESTORE, &M::onBackup)
          .command(ID_GIFT_SORT_GIFT, &M::onSort)
          .command(ID_GIFT_SORT_DATE, &M::onSort)
          .command(ID_GIFT_SORT_FRIEND, &M::onSort)
          .commandRange(ID_LOAN_SORT_ITEM, ID_LOAN_SORT_RETURN_DATE, &M::onSort)
          .command(ID_LOAN_SORT_FRIEND, &M::onSort)
          .commandRange(ID_ANNIVERSARY_SORT_NAME, ID_ANNIVERSARY_SORT_FRIEND, &M::onSort)
          .commandRange(ID_GIFT_FILTER_ALL, ID_GIFT_FILTER_IDEAS, &M::onFilter)
          .commandRange(ID_LOAN_FILTER_ALL, ID_LOAN_FILTER_TO, &M::onFilter)
          .command(ID_LOAN_FILTER_OVERDUE, &M::onFilter)
          .commandRange(ID_ANNIVERSARY_FILTER_ALL, ID_ANNIVERSARY_FILTER_NEAREST, &M::onFilter)
          .command(ID_EXPORT_CALENDAR, &M::onExportCalendar)
          .command(ID_EXPORT_TASKS, &M::onExportTasks)
          .add(reflectNotifications());
  return map;
}

platform::WindowClassInfo MainScreen::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"PellucardMainScreen";
  info.style = 0;
  return info;
}

HWND MainScreen::create(HWND frame, const RECT& rect) {
  return WindowBase::create(frame, rect, u"MainScreen", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, kMainScreenId);
}

UINT MainScreen::currentTab() const { return tabStrip_ ? tabStrip_->currentKey() : kFriendListId; }

LRESULT MainScreen::onCreate(UINT, WPARAM, LPARAM, BOOL&) {
  for (const TabInfo& tab : kTabs) states_[index(tab.kind)] = defaultState(tab.kind);
  buildChildren(kFriendListId);
  fillAll();
  InvalidateRect(hwnd(), nullptr, TRUE);
  return 0;
}

void MainScreen::buildChildren(UINT selectedTab) {
  building_ = true;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int stripHeight = getSettings().deviceProfile().layout().metricB();
  tabStrip_ = std::make_unique<SpinnerViewCtrl>();
  tabStrip_->create(hwnd(), RECT{0, 0, client.right, stripHeight}, kTabStripId, WS_CHILD | WS_VISIBLE);
  if (pocketPc()) {
    SendMessageW(tabStrip_->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontCache::instance().font(FontCache::kBold)),
                 FALSE);
  }
  const RECT listRect{0, stripHeight, client.right, client.bottom};
  for (const TabInfo& tab : kTabs) {
    auto list = std::make_unique<ItemListCtrl>();
    // Only the selected page is visible; the strip shows and hides them from here on.
    DWORD style = ItemListCtrl::kStyle | WS_TABSTOP;
    if (tab.tabId != selectedTab) style &= ~static_cast<DWORD>(WS_VISIBLE);
    list->create(hwnd(), listRect, tab.kind, tab.tabId, style);
    list->setIconImage(ItemListCtrl::iconRoleOf(tab.kind));
    tabStrip_->addPage(tab.tabId, platform::loadString(tab.caption), list->hwnd());
    lists_[index(tab.kind)] = std::move(list);
  }
  tabStrip_->selectPage(selectedTab);
  building_ = false;
}

void MainScreen::destroyChildren() {
  building_ = true;
  for (auto& list : lists_) {
    if (list) list->destroyWindow();
    list.reset();
  }
  if (tabStrip_) tabStrip_->destroyWindow();
  tabStrip_.reset();
  building_ = false;
}

void MainScreen::fill(ListKind kind) {
  ItemListCtrl* list = lists_[index(kind)].get();
  if (!list || !IsWindow(list->hwnd())) return;
  if (kind != ListKind::Friends) {
    tabStrip_->setMarker(tabOf(kind).tabId, states_[index(kind)].filter != filterAll(kind));
  }
  // A hidden page is filled when it is shown: at 100,000 rows a refill nobody sees costs
  // more than the whole start of the other lists.
  if ((GetWindowLongW(list->hwnd(), GWL_STYLE) & WS_VISIBLE) == 0) {
    stale_[index(kind)] = true;
    return;
  }
  stale_[index(kind)] = false;
  fillRows(kind);
}

void MainScreen::fillRows(ListKind kind) {
  ItemListCtrl* list = lists_[index(kind)].get();
  if (!list || !IsWindow(list->hwnd())) return;
  const ListState& s = states_[index(kind)];
  switch (kind) {
    case ListKind::Friends:
      list->fill(getFriendCollection().snapshot());
      break;
    case ListKind::Gifts: {
      GiftCollection& gifts = getGiftCollection();
      GiftCollection::List items = gifts.snapshot();
      gifts.filter(items, s.filter);
      gifts.sort(items, s.sortKey, s.sortFlag != 0);
      list->fill(items);
      break;
    }
    case ListKind::Loans: {
      LoanCollection& loans = getLoanCollection();
      LoanCollection::List items = loans.snapshot();
      loans.filter(items, s.filter);
      loans.sort(items, s.sortKey, s.sortFlag != 0);
      list->fill(items);
      break;
    }
    case ListKind::Anniversaries: {
      AnniversaryCollection& anniversaries = getAnniversaryCollection();
      AnniversaryCollection::List items = anniversaries.snapshot();
      anniversaries.filter(items, s.filter);
      anniversaries.sort(items, s.sortKey, s.sortFlag != 0);
      list->fill(items);
      break;
    }
  }
}

void MainScreen::fillAll() {
  for (const TabInfo& tab : kTabs) fill(tab.kind);
}

void MainScreen::sendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND frame = GetParent(hwnd())) SendMessageW(frame, message, wParam, lParam);
}

void MainScreen::applyMenu(UINT tabId) {
  const TabInfo* tab = tabById(tabId);
  if (!tab) return;
  sendToFrame(UM_SETMENUBAR, tab->menuBar, reinterpret_cast<LPARAM>(hwnd()));
  if (tab->kind == ListKind::Loans && getLoanCollection().empty()) sendToFrame(UM_ENABLEMENUITEM, ID_EXPORT_TASKS, 0);
  if (tab->kind == ListKind::Anniversaries && getAnniversaryCollection().empty()) {
    sendToFrame(UM_ENABLEMENUITEM, ID_EXPORT_CALENDAR, 0);
  }
  if (tab->kind == ListKind::Friends) return;
  const ListState& s = states_[index(tab->kind)];
  for (const SortCommand& sort : kSortCommands) {
    if (sort.kind == tab->kind && sort.key == s.sortKey) sendToFrame(UM_CHECKMENUITEM, sort.command, 1);
  }
  for (const FilterCommand& filter : kFilterCommands) {
    if (filter.kind == tab->kind && filter.value == s.filter) sendToFrame(UM_CHECKMENUITEM, filter.command, 1);
  }
}

LRESULT MainScreen::onPaint(UINT, WPARAM, LPARAM, BOOL&) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(hwnd(), &ps);
  if (ps.fErase) {
    // The part of the screen background that lies under this window.
    RECT client{};
    GetClientRect(hwnd(), &client);
    RECT source{};
    GetWindowRect(hwnd(), &source);
    SkinPainter::drawScreenBackground(dc, client, source);
  }
  EndPaint(hwnd(), &ps);
  return 0;
}

LRESULT MainScreen::onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  if (pos && (pos->flags & SWP_SHOWWINDOW) && tabStrip_) {
    SetFocus(tabStrip_->hwnd());
    tabStrip_->selectPage(tabStrip_->currentKey());
  }
  return 0;
}

LRESULT MainScreen::onSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
  // Keys go to the tab header, which passes them on to the visible list.
  if (tabStrip_) SetFocus(tabStrip_->hwnd());
  return 0;
}

LRESULT MainScreen::onHotKey(UINT message, WPARAM wParam, LPARAM lParam, BOOL&) {
  return tabStrip_ ? SendMessageW(tabStrip_->hwnd(), message, wParam, lParam) : 0;
}

LRESULT MainScreen::onTabChanged(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (const TabInfo* tab = tabById(static_cast<UINT>(wParam)); tab && stale_[index(tab->kind)]) fill(tab->kind);
  applyMenu(static_cast<UINT>(wParam));
  return 0;
}

LRESULT MainScreen::onReloadList(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (building_) return 0;
  if (const TabInfo* tab = tabById(static_cast<UINT>(wParam))) {
    fill(tab->kind);
  } else {
    fillAll();
  }
  return 0;
}

LRESULT MainScreen::onActivateInstance(UINT, WPARAM, LPARAM, BOOL&) {
  if (!tabStrip_) return 0;
  for (const TabInfo& tab : kTabs) states_[index(tab.kind)] = defaultState(tab.kind);
  building_ = true;
  tabStrip_->selectPage(kFriendListId);
  building_ = false;
  for (ListKind kind : {ListKind::Friends, ListKind::Gifts, ListKind::Loans, ListKind::Anniversaries}) {
    fill(kind);
    lists_[index(kind)]->discardSearch();
  }
  InvalidateRect(tabStrip_->hwnd(), nullptr, FALSE);
  return 0;
}

LRESULT MainScreen::onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&) {
  const UINT selected = currentTab();
  destroyChildren();
  buildChildren(selected);
  fillAll();
  return 0;
}

LRESULT MainScreen::onSipChanged(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const auto* sip = reinterpret_cast<const SIPINFO*>(lParam);
  if (!tabStrip_) return 0;
  RECT client{};
  GetClientRect(hwnd(), &client);
  int bottom = client.bottom;
  if (sip && (sip->fdwFlags & SIPF_ON)) {
    // The lists end where the panel begins: the bottom of the area it leaves visible.
    POINT edge{0, sip->rcVisibleDesktop.bottom};
    ScreenToClient(hwnd(), &edge);
    if (edge.y < bottom) bottom = edge.y;
  }
  RECT strip{};
  GetWindowRect(tabStrip_->hwnd(), &strip);
  const int top = strip.bottom - strip.top;
  for (auto& list : lists_) {
    if (list) MoveWindow(list->hwnd(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
  }
  return 0;
}

LRESULT MainScreen::onItemActivate(int id, NMHDR*, BOOL& handled) {
  const TabInfo* tab = tabById(static_cast<UINT>(id));
  if (!tab) {
    handled = FALSE;
    return 0;
  }
  BOOL ignored = TRUE;
  onOpen(0, static_cast<WORD>(tab->openCommand), nullptr, ignored);
  return 0;
}

// The item forms, the contact import and the backup chooser are forms the program does not
// have yet: until a form launcher is registered, and for what it does not offer, these
// commands do nothing rather than pretend.
LRESULT MainScreen::onAdd(WORD, WORD id, HWND, BOOL&) {
  const ListKind kind = kindOfItemCommand(id);
  FormLauncher* forms = formLauncher();
  // The launcher has no entry for a new friend yet.
  if (kind == ListKind::Friends || forms == nullptr) return 1;
  if (forms->runItemForm(GetParent(hwnd()), tabOf(kind).recordKind, 0, 0)) fill(kind);
  if (tabStrip_) SetFocus(tabStrip_->hwnd());
  return 1;
}

LRESULT MainScreen::onEdit(WORD, WORD id, HWND, BOOL&) {
  const ListKind kind = kindOfItemCommand(id);
  if (!lists_[index(kind)]) return 1;
  const RecordId record = list(kind).selectedRecordId();
  if (record == 0) return 1;
  FormLauncher* forms = formLauncher();
  if (forms == nullptr) return 1;
  bool done = false;
  if (kind == ListKind::Friends) {
    Friend* person = getFriendCollection().find(record);
    if (!person) return 1;
    done = forms->editFriend(GetParent(hwnd()), *person);
  } else {
    done = forms->runItemForm(GetParent(hwnd()), tabOf(kind).recordKind, record, 0);
  }
  if (done) fill(kind);
  if (tabStrip_) SetFocus(tabStrip_->hwnd());
  return 1;
}

LRESULT MainScreen::onImportContacts(WORD, WORD, HWND, BOOL&) { return 1; }

LRESULT MainScreen::onBackup(WORD, WORD, HWND, BOOL&) { return 1; }

LRESULT MainScreen::onOpen(WORD, WORD id, HWND, BOOL&) {
  const ListKind kind = kindOfItemCommand(id);
  if (!lists_[index(kind)]) return 1;
  const RecordId record = list(kind).selectedRecordId();
  if (record == 0) return 1;
  sendToFrame(UM_SHOWRECORD, record, tabOf(kind).recordKind);
  return 1;
}

LRESULT MainScreen::onRemove(WORD, WORD id, HWND, BOOL&) {
  const ListKind kind = kindOfItemCommand(id);
  if (!lists_[index(kind)]) return 1;
  const RecordId record = list(kind).selectedRecordId();
  if (record == 0) return 1;
  const HWND owner = GetParent(hwnd());
  if (MessageBoxW(owner, platform::loadString(IDS_CONFIRM_DELETE).c_str(), appCaption().c_str(),
                  MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return 1;
  }
  switch (kind) {
    case ListKind::Friends:
      removeFriend(record);
      break;
    case ListKind::Gifts:
      getGiftCollection().remove(record);
      fill(kind);
      break;
    case ListKind::Loans:
      getLoanCollection().remove(record);
      fill(kind);
      break;
    case ListKind::Anniversaries:
      getAnniversaryCollection().remove(record);
      fill(kind);
      break;
  }
  return 1;
}

void MainScreen::removeFriend(RecordId id) {
  const Friend* found = getFriendCollection().find(id);
  if (!found) return;
  bool removeItems = false;
  if (RecordStore::friendHasItems(id)) {
    const std::u16string question = withName(platform::loadString(IDS_REMOVE_FRIEND_ITEMS), found->displayName());
    removeItems =
        MessageBoxW(GetParent(hwnd()), question.c_str(), appCaption().c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  RecordStore::removeFriend(id, removeItems);
  if (removeItems) {
    fill(ListKind::Anniversaries);
    fill(ListKind::Loans);
    fill(ListKind::Gifts);
  }
  fill(ListKind::Friends);
}

LRESULT MainScreen::onSort(WORD, WORD id, HWND, BOOL&) {
  for (const SortCommand& sort : kSortCommands) {
    if (sort.command != id) continue;
    ListState& s = states_[index(sort.kind)];
    if (s.sortKey == sort.key) {
      s.sortFlag = s.sortFlag ? 0 : 1;
    } else {
      s.sortKey = sort.key;
      s.sortFlag = sort.startFlag;
    }
    fill(sort.kind);
    applyMenu(tabOf(sort.kind).tabId);
    break;
  }
  return 1;
}

LRESULT MainScreen::onFilter(WORD, WORD id, HWND, BOOL&) {
  for (const FilterCommand& filter : kFilterCommands) {
    if (filter.command != id) continue;
    states_[index(filter.kind)].filter = filter.value;
    fill(filter.kind);
    applyMenu(tabOf(filter.kind).tabId);
    if (tabStrip_) InvalidateRect(tabStrip_->hwnd(), nullptr, FALSE);
    break;
  }
  return 1;
}

LRESULT MainScreen::onExportCalendar(WORD, WORD, HWND, BOOL&) {
  const auto message = ExportCommands::messageFor(ExportCommands::exportAnniversaries(), false);
  if (message) {
    const UINT icon = message->icon == ExportCommands::Icon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
    MessageBoxW(GetParent(hwnd()), platform::loadString(message->stringId).c_str(), appCaption().c_str(), MB_OK | icon);
  }
  return 1;
}

LRESULT MainScreen::onExportTasks(WORD, WORD, HWND, BOOL&) {
  const auto message = ExportCommands::messageFor(ExportCommands::exportLoans(), true);
  if (message) {
    const UINT icon = message->icon == ExportCommands::Icon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
    MessageBoxW(GetParent(hwnd()), platform::loadString(message->stringId).c_str(), appCaption().c_str(), MB_OK | icon);
  }
  return 1;
}

}  // namespace pellucard
