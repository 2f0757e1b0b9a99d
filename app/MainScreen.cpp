#include "app/MainScreen.h"

#include <string_view>
#include <type_traits>
#include <utility>

#include "app/BackupCommands.h"
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
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "views/ContactImport.h"
#include "views/FontCache.h"
#include "views/FormLauncher.h"
#include "views/FrameLink.h"
#include "views/ListCommands.h"

namespace pellucard {

namespace {

// The tabs on the strip, left to right.
constexpr ListKind kTabOrder[] = {ListKind::Friends, ListKind::Gifts, ListKind::Anniversaries, ListKind::Loans};

bool pocketPc() { return getSettings().deviceProfile().isPocketPc(); }

}  // namespace

MainScreen::MainScreen() { resetStates(); }

MainScreen::~MainScreen() = default;

const platform::MessageMap<MainScreen>& MainScreen::messageMap() {
  using M = MainScreen;
  static const auto map = [] {
    platform::MessageMap<M> m;
    m.on<WM_CREATE>(&M::onCreate)
        .on<WM_ERASEBKGND>(&M::onEraseBackground)
        .on<WM_PAINT>(&M::onPaint)
        .on<WM_WINDOWPOSCHANGED>(&M::onWindowPosChanged)
        .on<WM_SETFOCUS>(&M::onSetFocus)
        .on<WM_HOTKEY>(&M::onHotKey)
        .on(UM_TABCHANGED, &M::onTabChanged)
        .on(UM_RELOADLIST, &M::onReloadList)
        .on(UM_ACTIVATEINSTANCE, &M::onActivateInstance)
        .on(UM_LAYOUTCHANGED, &M::onLayoutChanged)
        .on(UM_SIPCHANGED, &M::onSipChanged)
        .notify(LVN_ITEMACTIVATE, &M::onItemActivate)
        .command(ID_IMPORT_CONTACTS, &M::onImportContacts)
        .on(WM_DROPFILES, &M::onDropFiles)
        .command(ID_BACKUP_CREATE, &M::onBackup)
        .command(ID_BACKUP_RESTORE, &M::onBackup)
        .command(ID_EXPORT_CALENDAR, &M::onExport)
        .command(ID_EXPORT_TASKS, &M::onExport)
        .reflectNotifications();
    for (ListKind kind : kTabOrder) {
      const ListCommands::List& list = ListCommands::list(kind);
      m.command(list.add, &M::onAdd).command(list.edit, &M::onEdit).command(list.remove, &M::onRemove);
      m.command(list.open, &M::onOpen);
    }
    for (const ListCommands::Choice& choice : ListCommands::choices()) m.command(choice.command, &M::onSortOrFilter);
    return m;
  }();
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

void MainScreen::resetStates() {
  for (ListKind kind : kTabOrder) state(kind) = ListState(kind);
}

void MainScreen::focusTabStrip() {
  if (tabStrip_) SetFocus(tabStrip_->hwnd());
}

bool MainScreen::onCreate(const CREATESTRUCTW&) {
  resetStates();
  buildChildren(kFriendListId);
  fillAll();
  InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
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
  for (ListKind kind : kTabOrder) {
    const ListCommands::List& tab = ListCommands::list(kind);
    auto control = std::make_unique<ItemListCtrl>();
    // Only the selected page is visible; the strip shows and hides them from here on.
    DWORD style = ItemListCtrl::kStyle | WS_TABSTOP;
    if (tab.listId != selectedTab) style &= ~static_cast<DWORD>(WS_VISIBLE);
    control->create(hwnd(), listRect, kind, tab.listId, style);
    tabStrip_->addPage(tab.listId, platform::loadString(tab.caption), control->hwnd());
    lists_[static_cast<int>(kind)] = std::move(control);
  }
  tabStrip_->selectPage(selectedTab);
  building_ = false;
}

void MainScreen::destroyChildren() {
  building_ = true;
  for (auto& control : lists_) {
    if (control) control->destroyWindow();
    control.reset();
  }
  if (tabStrip_) tabStrip_->destroyWindow();
  tabStrip_.reset();
  building_ = false;
}

void MainScreen::fill(ListKind kind) {
  ItemListCtrl* control = list(kind);
  if (!control || !IsWindow(control->hwnd())) return;
  if (kind != ListKind::Friends) tabStrip_->setMarker(ListCommands::list(kind).listId, state(kind).filtered());
  // A hidden page is filled when it is shown: at 100,000 rows a refill nobody sees costs
  // more than the whole start of the other lists.
  if ((GetWindowLongW(control->hwnd(), GWL_STYLE) & WS_VISIBLE) == 0) {
    stale_[static_cast<int>(kind)] = true;
    return;
  }
  stale_[static_cast<int>(kind)] = false;
  fillRows(kind);
}

void MainScreen::fillRows(ListKind kind) {
  // Loan and anniversary rows carry the loan's item or the anniversary's name.
  const auto noText = [](const auto&) { return std::u16string_view(); };
  switch (kind) {
    case ListKind::Friends:
      fillFrom(kind, getFriendCollection(), noText);
      break;
    case ListKind::Gifts:
      fillFrom(kind, getGiftCollection(), noText);
      break;
    case ListKind::Loans:
      fillFrom(kind, getLoanCollection(), [](const Loan& l) { return l.item(); });
      break;
    case ListKind::Anniversaries:
      fillFrom(kind, getAnniversaryCollection(), [](const Anniversary& a) { return a.name(); });
      break;
  }
}

template <class Collection, class TextOf>
void MainScreen::fillFrom(ListKind kind, Collection& collection, TextOf textOf) {
  ItemListCtrl* control = list(kind);
  if (!control || !IsWindow(control->hwnd())) return;
  typename Collection::List items = collection.snapshot();
  // The friends list shows the collection in its own order.
  if constexpr (!std::is_same_v<Collection, FriendCollection>) state(kind).order(collection, items);
  control->fill(items, textOf);
}

void MainScreen::fillAll() {
  for (ListKind kind : kTabOrder) fill(kind);
}

void MainScreen::sendToFrame(UINT message, WPARAM wParam, LPARAM lParam) {
  if (HWND frame = GetParent(hwnd())) SendMessageW(frame, message, wParam, lParam);
}

void MainScreen::applyMenu(UINT tabId) {
  const ListCommands::List* tab = ListCommands::listWithId(tabId);
  if (!tab) return;
  sendToFrame(UM_SETMENUBAR, tab->menuBar, reinterpret_cast<LPARAM>(hwnd()));
  if (tab->kind == ListKind::Loans && getLoanCollection().empty()) sendToFrame(UM_ENABLEMENUITEM, ID_EXPORT_TASKS, 0);
  if (tab->kind == ListKind::Anniversaries && getAnniversaryCollection().empty()) {
    sendToFrame(UM_ENABLEMENUITEM, ID_EXPORT_CALENDAR, 0);
  }
  if (tab->kind == ListKind::Friends) return;
  const ListState& s = state(tab->kind);
  if (const UINT sortItem = s.sortCommand(); sortItem != 0) sendToFrame(UM_CHECKMENUITEM, sortItem, 1);
  if (const UINT filterItem = s.filterCommand(); filterItem != 0) sendToFrame(UM_CHECKMENUITEM, filterItem, 1);
}

void MainScreen::onPaint() {
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
}

void MainScreen::onWindowPosChanged(const WINDOWPOS& pos) {
  passOn();
  if ((pos.flags & SWP_SHOWWINDOW) && tabStrip_) {
    // Under a form (a rotation shows the screen again) the focus would activate the frame.
    if (GetActiveWindow() == GetParent(hwnd())) SetFocus(tabStrip_->hwnd());
    tabStrip_->selectPage(tabStrip_->currentKey());
  }
}

// Keys go to the tab header, which passes them on to the visible list.
void MainScreen::onSetFocus(HWND) { focusTabStrip(); }

LRESULT MainScreen::onHotKey(int id, UINT modifiers, UINT vk) {
  if (!tabStrip_) return 0;
  return SendMessageW(tabStrip_->hwnd(), WM_HOTKEY, static_cast<WPARAM>(id),
                      MAKELPARAM(static_cast<WORD>(modifiers), static_cast<WORD>(vk)));
}

LRESULT MainScreen::onTabChanged(WPARAM tabId, LPARAM) {
  const ListCommands::List* tab = ListCommands::listWithId(static_cast<UINT>(tabId));
  if (tab && stale_[static_cast<int>(tab->kind)]) fill(tab->kind);
  applyMenu(static_cast<UINT>(tabId));
  return 0;
}

LRESULT MainScreen::onReloadList(WPARAM listId, LPARAM) {
  if (building_) return 0;
  if (const ListCommands::List* tab = ListCommands::listWithId(static_cast<UINT>(listId))) {
    fill(tab->kind);
  } else {
    fillAll();
  }
  return 0;
}

LRESULT MainScreen::onActivateInstance(WPARAM, LPARAM) {
  if (!tabStrip_) return 0;
  resetStates();
  building_ = true;
  tabStrip_->selectPage(kFriendListId);
  building_ = false;
  for (ListKind kind : {ListKind::Friends, ListKind::Gifts, ListKind::Loans, ListKind::Anniversaries}) {
    fill(kind);
    list(kind)->discardSearch();
  }
  InvalidateRect(tabStrip_->hwnd(), nullptr, FALSE);
  return 0;
}

LRESULT MainScreen::onLayoutChanged(WPARAM, LPARAM) {
  const UINT selected = currentTab();
  destroyChildren();
  buildChildren(selected);
  fillAll();
  return 0;
}

LRESULT MainScreen::onSipChanged(WPARAM, LPARAM sipInfo) {
  const auto* sip = reinterpret_cast<const SIPINFO*>(sipInfo);
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
  for (auto& control : lists_) {
    if (control) MoveWindow(control->hwnd(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
  }
  return 0;
}

LRESULT MainScreen::onItemActivate(NMHDR& header) {
  const ListCommands::List* tab = ListCommands::listWithId(static_cast<UINT>(header.idFrom));
  if (!tab) {
    passOn();
    return 0;
  }
  onOpen(static_cast<WORD>(tab->open), 0, nullptr);
  return 0;
}

void MainScreen::onAdd(WORD id, WORD, HWND) {
  const ListCommands::List* tab = ListCommands::listOfItemCommand(id);
  FormLauncher* forms = formLauncher();
  if (!tab || forms == nullptr) return;
  const bool done = tab->kind == ListKind::Friends ? forms->addFriend(GetParent(hwnd())) != 0
                                                   : forms->runItemForm(GetParent(hwnd()), tab->record, 0, 0);
  if (done) fill(tab->kind);
  focusTabStrip();
}

void MainScreen::onEdit(WORD id, WORD, HWND) {
  const ListCommands::List* tab = ListCommands::listOfItemCommand(id);
  if (!tab || !list(tab->kind)) return;
  const RecordId record = list(tab->kind)->selectedRecordId();
  FormLauncher* forms = formLauncher();
  if (record == 0 || forms == nullptr) return;
  bool done = false;
  if (tab->kind == ListKind::Friends) {
    Friend* person = getFriendCollection().find(record);
    if (!person) return;
    done = forms->editFriend(GetParent(hwnd()), *person);
  } else {
    done = forms->runItemForm(GetParent(hwnd()), tab->record, record, 0);
  }
  if (done) fill(tab->kind);
  focusTabStrip();
}

void MainScreen::onImportContacts(WORD, WORD, HWND) { importContacts({}); }

void MainScreen::importContacts(const std::vector<LONG>& checked) {
  ContactImport::importContacts(
      GetParent(hwnd()),
      [this] {
        fill(ListKind::Friends);
        fill(ListKind::Anniversaries);
      },
      checked);
  focusTabStrip();
}

LRESULT MainScreen::onDropFiles(WPARAM drop, LPARAM) {
  const std::vector<LONG> added = ContactImport::addDroppedFiles(reinterpret_cast<HDROP>(drop), GetParent(hwnd()));
  if (added.empty()) return 0;
  // The import opens over the lists it fills.
  sendToFrame(WM_COMMAND, kMainScreenId, 0);
  importContacts(added);
  return 0;
}

void MainScreen::onBackup(WORD id, WORD, HWND) {
  if (id == ID_BACKUP_CREATE) {
    BackupCommands::create(GetParent(hwnd()));
  } else {
    BackupCommands::restore(GetParent(hwnd()));
  }
  focusTabStrip();
}

void MainScreen::onOpen(WORD id, WORD, HWND) {
  const ListCommands::List* tab = ListCommands::listOfItemCommand(id);
  if (!tab || !list(tab->kind)) return;
  const RecordId record = list(tab->kind)->selectedRecordId();
  if (record != 0) sendToFrame(UM_SHOWRECORD, record, tab->record);
}

void MainScreen::onRemove(WORD id, WORD, HWND) {
  const ListCommands::List* tab = ListCommands::listOfItemCommand(id);
  if (!tab || !list(tab->kind)) return;
  const RecordId record = list(tab->kind)->selectedRecordId();
  if (record == 0) return;
  // A database that could not be read is not changed: no use asking first.
  if (!RecordStore::acceptsWrites()) {
    reportRemoveFailure();
    return;
  }
  if (!FrameLink::confirmDelete(GetParent(hwnd()))) return;
  bool removed = false;
  switch (tab->kind) {
    case ListKind::Friends:
      removeFriend(record);
      return;
    case ListKind::Gifts:
      removed = getGiftCollection().remove(record);
      break;
    case ListKind::Loans:
      removed = getLoanCollection().remove(record);
      break;
    case ListKind::Anniversaries:
      removed = getAnniversaryCollection().remove(record);
      break;
  }
  fill(tab->kind);
  if (!removed) reportRemoveFailure();
}

void MainScreen::reportRemoveFailure() {
  const UINT text = RecordStore::acceptsWrites() ? IDS_REMOVE_FAILED : IDS_REMOVE_REFUSED;
  FrameLink::show(GetParent(hwnd()), platform::loadString(text), MB_OK | MB_ICONEXCLAMATION);
}

void MainScreen::removeFriend(RecordId id) {
  const Friend* found = getFriendCollection().find(id);
  if (!found) return;
  bool removeItems = false;
  if (RecordStore::friendHasItems(id)) {
    const std::u16string question = FrameLink::textWith(IDS_REMOVE_FRIEND_ITEMS, found->displayName());
    removeItems = FrameLink::show(GetParent(hwnd()), question, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  const bool removed = RecordStore::removeFriend(id, removeItems);
  if (removeItems) {
    fill(ListKind::Anniversaries);
    fill(ListKind::Loans);
    fill(ListKind::Gifts);
  }
  fill(ListKind::Friends);
  if (!removed) reportRemoveFailure();
}

void MainScreen::onSortOrFilter(WORD id, WORD, HWND) {
  const ListCommands::Choice* choice = ListCommands::choice(id);
  if (!choice) return;
  state(choice->kind).apply(*choice, choice->ascendingFirst);
  fill(choice->kind);
  applyMenu(ListCommands::list(choice->kind).listId);
  // The filter mark of the tab may have changed.
  if (!choice->sort && tabStrip_) InvalidateRect(tabStrip_->hwnd(), nullptr, FALSE);
}

void MainScreen::onExport(WORD id, WORD, HWND) {
  const bool loans = id == ID_EXPORT_TASKS;
  FrameLink::reportExport(GetParent(hwnd()),
                          loans ? ExportCommands::exportLoans() : ExportCommands::exportAnniversaries(), loans);
}

}  // namespace pellucard
