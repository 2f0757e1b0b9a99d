#include "views/FriendDetailsScreen.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "outlook/ExportCommands.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/ResourceTable.h"
#include "platform/pim/Contact.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/CardLook.h"
#include "views/ContactMessages.h"
#include "views/FontCache.h"
#include "views/FormLauncher.h"
#include "views/FrameLink.h"

namespace pellucard {

namespace {

// The order of the tabs after Details, and of refilling the lists.
constexpr ListKind kTabOrder[] = {ListKind::Gifts, ListKind::Anniversaries, ListKind::Loans};

}  // namespace

const platform::MessageMap<FriendDetailsScreen>& FriendDetailsScreen::messageMap() {
  using M = FriendDetailsScreen;
  static const auto map = [] {
    platform::MessageMap<M> m;
    m.on<WM_CREATE>(&M::onCreate)
        .on(UM_LAYOUTCHANGED, &M::onLayoutChanged)
        .on<WM_SIZE>(&M::onSize)
        .on<WM_ERASEBKGND>(&M::onEraseBackground)
        .on(UM_TABCHANGED, &M::onTabChanged)
        .on(UM_RELOADLIST, &M::onReloadList)
        .on<WM_WINDOWPOSCHANGED>(&M::onWindowPosChanged)
        .on<WM_HOTKEY>(&M::onHotKey)
        .on<WM_SETFOCUS>(&M::onSetFocus)
        .notify(LVN_ITEMACTIVATE, &M::onItemActivate)
        .command(ID_FRIEND_EDIT, &M::onEditFriend)
        .command(ID_SHOW_CONTACT_INFO, &M::onShowContactInfo)
        .command(ID_SWITCH_TO_FRIENDS, &M::onSwitchToFriends)
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

platform::WindowClassInfo FriendDetailsScreen::windowClass() const {
  platform::WindowClassInfo info;
  info.name = u"FriendDetailsScreen";
  return info;
}

HWND FriendDetailsScreen::create(HWND frame, const RECT& rect, UINT id) {
  return WindowImpl::create(frame, rect, u"FriendDetailsScreen", WS_CHILD | WS_CLIPCHILDREN, 0, id);
}

HWND FriendDetailsScreen::frame() const { return hwnd() != nullptr ? GetParent(hwnd()) : nullptr; }

HWND FriendDetailsScreen::owner() const { return frame() != nullptr ? frame() : hwnd(); }

bool FriendDetailsScreen::friendShown() const { return getFriendCollection().find(friend_) != nullptr; }

FriendDetailsScreen::Page* FriendDetailsScreen::pageOf(ListKind kind) {
  for (Page& page : pages_) {
    if (page.kind == kind) return &page;
  }
  return nullptr;
}

FriendDetailsScreen::Page* FriendDetailsScreen::pageWithListId(UINT listId) {
  const ListCommands::List* list = ListCommands::listWithId(listId);
  return list != nullptr ? pageOf(list->kind) : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Children

bool FriendDetailsScreen::onCreate(const CREATESTRUCTW&) {
  for (Page& page : pages_) page.friendHasNone = true;
  build();
  return true;
}

void FriendDetailsScreen::build() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int band = ImageCache::instance().layout().metricB();
  const RECT top{0, 0, client.right, band};
  const RECT rest{0, band, client.right, client.bottom};
  header_.create(hwnd(), top);
  if (CardLook::pocketPc()) {
    SendMessageW(header_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(FontCache::instance().font(FontCache::kBold)),
                 FALSE);
  }
  card_.create(hwnd(), rest, kDetailsTab);
  for (Page& page : pages_) page.list.create(hwnd(), rest, page.kind, ListCommands::list(page.kind).listId, kListStyle);
  header_.addPage(kDetailsTab, platform::loadString(IDS_DETAILS), card_.hwnd());
  for (ListKind kind : kTabOrder) {
    const ListCommands::List& list = ListCommands::list(kind);
    header_.addPage(list.listId, platform::loadString(list.caption), pageOf(kind)->list.hwnd());
  }
  fillAll();
}

void FriendDetailsScreen::teardown() {
  tearingDown_ = true;
  header_.destroyWindow();
  card_.destroyWindow();
  for (Page& page : pages_) page.list.destroyWindow();
  tearingDown_ = false;
}

LRESULT FriendDetailsScreen::onLayoutChanged(WPARAM, LPARAM) {
  const UINT tab = header_.currentKey();
  teardown();
  build();
  card_.setFriend(friend_);
  header_.selectPage(tab != 0 ? tab : kDetailsTab);
  return 0;
}

void FriendDetailsScreen::placeChildren() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int band = ImageCache::instance().layout().metricB();
  if (header_.hwnd() != nullptr) MoveWindow(header_.hwnd(), 0, 0, client.right, band, TRUE);
  const auto place = [&](HWND child) {
    if (child != nullptr) MoveWindow(child, 0, band, client.right, client.bottom - band, TRUE);
  };
  place(card_.hwnd());
  for (Page& page : pages_) place(page.list.hwnd());
}

void FriendDetailsScreen::onSize(UINT, SIZE) {
  placeChildren();
  passOn();
}

bool FriendDetailsScreen::onEraseBackground(HDC hdc) {
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kBackground);
  if (hdc == nullptr || background == nullptr) return true;
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT onScreen{};
  GetWindowRect(hwnd(), &onScreen);
  SkinPainter::drawScreenBackground(
      hdc, client, RECT{onScreen.left, onScreen.top, onScreen.left + client.right, onScreen.top + client.bottom});
  return true;
}

// ---------------------------------------------------------------------------------------------
// The friend and its lists

void FriendDetailsScreen::showFriend(RecordId id) {
  friend_ = id;
  card_.setFriend(id);
  if (card_.hwnd() != nullptr) InvalidateRect(card_.hwnd(), nullptr, TRUE);
  header_.selectPage(kDetailsTab);
  for (Page& page : pages_) page.state = ListState(page.kind);
  fillAll();
}

void FriendDetailsScreen::fillAll() {
  for (ListKind kind : kTabOrder) fill(kind);
}

void FriendDetailsScreen::fill(ListKind kind) {
  Page* page = pageOf(kind);
  if (page == nullptr) return;
  switch (kind) {
    case ListKind::Gifts:
      fillPage(*page, getGiftCollection(), [](const Gift& g) { return g.name(); });
      break;
    case ListKind::Loans:
      fillPage(*page, getLoanCollection(), [](const Loan& l) { return l.item(); });
      break;
    case ListKind::Anniversaries:
      fillPage(*page, getAnniversaryCollection(), [](const Anniversary& a) { return a.name(); });
      break;
    case ListKind::Friends:
      break;
  }
}

template <class Collection, class TextOf>
void FriendDetailsScreen::fillPage(Page& page, Collection& collection, TextOf textOf) {
  if (page.list.hwnd() == nullptr) return;
  if (!friendShown()) {
    // A friend that is gone leaves nothing of the last one behind.
    page.friendHasNone = true;
    page.list.fill({});
    return;
  }
  header_.setMarker(ListCommands::list(page.kind).listId, page.state.filtered());
  typename Collection::List items = collection.snapshot();
  const auto ofAnother = [this](const auto* item) { return static_cast<RecordId>(item->friendId()) != friend_; };
  page.friendHasNone = std::all_of(items.begin(), items.end(), ofAnother);
  page.state.order(collection, items);
  std::erase_if(items, ofAnother);
  page.list.fill(items, textOf);
}

LRESULT FriendDetailsScreen::onReloadList(WPARAM listId, LPARAM) {
  if (tearingDown_) return 0;
  if (const Page* page = pageWithListId(static_cast<UINT>(listId))) {
    fill(page->kind);
  } else {
    fillAll();
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Tabs, menus and visibility

LRESULT FriendDetailsScreen::onTabChanged(WPARAM tab, LPARAM) {
  // A hidden screen or an inactive frame must not touch the menubar another screen shows.
  if (frame() == nullptr || GetActiveWindow() != frame() || !IsWindowVisible(hwnd())) return 0;
  applyTab(static_cast<UINT>(tab));
  return 0;
}

void FriendDetailsScreen::applyTab(UINT tab) {
  HWND target = frame();
  if (target == nullptr) return;
  const Page* page = pageWithListId(tab);
  if (tab != kDetailsTab && page == nullptr) return;
  const UINT menuBar = page != nullptr ? ListCommands::list(page->kind).menuBar : IDR_FRIEND_DETAILS_BAR;
  SendMessageW(target, UM_SETMENUBAR, menuBar, reinterpret_cast<LPARAM>(hwnd()));
  // The input-panel button rebuilds the menubar, so it comes before the marks made on its menu.
  if (CardLook::pocketPc()) SendMessageW(target, UM_SHOWSIPBUTTON, tab != kDetailsTab ? 1 : 0, 0);
  if (page != nullptr) {
    if (page->friendHasNone && page->kind == ListKind::Loans) {
      SendMessageW(target, UM_ENABLEMENUITEM, ID_EXPORT_TASKS, 0);
    }
    if (page->friendHasNone && page->kind == ListKind::Anniversaries) {
      SendMessageW(target, UM_ENABLEMENUITEM, ID_EXPORT_CALENDAR, 0);
    }
    if (const UINT sortItem = page->state.sortCommand(); sortItem != 0) {
      SendMessageW(target, UM_CHECKMENUITEM, sortItem, 1);
    }
    if (const UINT filterItem = page->state.filterCommand(); filterItem != 0) {
      SendMessageW(target, UM_CHECKMENUITEM, filterItem, 1);
    }
  }
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(target, UM_GETMENU, 0, 0));
  if (menu != nullptr) {
    const UINT at = tab == kDetailsTab ? 2 : 3;
    const std::u16string label = platform::loadString(IDS_SWITCH_TO_FRIENDS);
    InsertMenuW(menu, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(menu, at + 1, MF_BYPOSITION | MF_STRING, ID_SWITCH_TO_FRIENDS, label.c_str());
  }
}

void FriendDetailsScreen::onWindowPosChanged(const WINDOWPOS& pos) {
  passOn();
  HWND target = frame();
  if (target == nullptr) return;
  if (pos.flags & SWP_SHOWWINDOW) {
    if (const Friend* person = getFriendCollection().find(friend_)) {
      SetWindowTextW(target, person->displayName().c_str());
    }
    if (header_.hwnd() != nullptr) {
      // Under a form (a rotation shows the screen again) the focus would activate the frame.
      if (GetActiveWindow() == target) SetFocus(header_.hwnd());
      header_.selectPage(header_.currentKey());
    }
  } else if (pos.flags & SWP_HIDEWINDOW) {
    SetWindowTextW(target, platform::loadString(IDS_APP_TITLE).c_str());
  }
}

LRESULT FriendDetailsScreen::onHotKey(int id, UINT modifiers, UINT vk) {
  // The header edits a running list search with Back; otherwise Back is the frame's.
  if (header_.hwnd() == nullptr) return 0;
  return SendMessageW(header_.hwnd(), WM_HOTKEY, static_cast<WPARAM>(id),
                      MAKELPARAM(static_cast<WORD>(modifiers), static_cast<WORD>(vk)));
}

// The frame gives the focus to the screen; the header passes the keys on to the pages.
void FriendDetailsScreen::onSetFocus(HWND) {
  if (header_.hwnd() != nullptr) SetFocus(header_.hwnd());
}

// ---------------------------------------------------------------------------------------------
// Commands

LRESULT FriendDetailsScreen::onItemActivate(NMHDR& header) {
  const Page* page = pageWithListId(static_cast<UINT>(header.idFrom));
  if (page == nullptr) {
    passOn();
    return 0;
  }
  openItem(page->kind);
  return 0;
}

void FriendDetailsScreen::onSwitchToFriends(WORD, WORD, HWND) {
  if (frame() != nullptr) SendMessageW(frame(), WM_COMMAND, kMainScreenId, 0);
}

void FriendDetailsScreen::onSortOrFilter(WORD id, WORD, HWND) {
  const ListCommands::Choice* choice = ListCommands::choice(id);
  Page* page = choice != nullptr ? pageOf(choice->kind) : nullptr;
  if (page == nullptr) return;
  page->state.apply(*choice, choice->ascendingFirstForFriend);
  fill(page->kind);
  applyTab(header_.currentKey());
  // The filter mark of the tab may have changed.
  if (!choice->sort && header_.hwnd() != nullptr) InvalidateRect(header_.hwnd(), nullptr, TRUE);
}

void FriendDetailsScreen::onAdd(WORD id, WORD, HWND) {
  const ListCommands::List* list = ListCommands::listOfItemCommand(id);
  FormLauncher* forms = formLauncher();
  if (list == nullptr || forms == nullptr || !friendShown()) return;
  if (!forms->runItemForm(frame(), list->record, 0, static_cast<LONG>(friend_))) return;
  fill(list->kind);
  if (frame() != nullptr) SendMessageW(frame(), UM_RELOADLIST, list->listId, 0);
}

void FriendDetailsScreen::onEdit(WORD id, WORD, HWND) {
  const ListCommands::List* list = ListCommands::listOfItemCommand(id);
  Page* page = list != nullptr ? pageOf(list->kind) : nullptr;
  FormLauncher* forms = formLauncher();
  if (page == nullptr || forms == nullptr || page->list.selectedIndex() < 0) return;
  if (forms->runItemForm(frame(), list->record, page->list.selectedRecordId(), static_cast<LONG>(friend_))) {
    fill(list->kind);
  }
}

void FriendDetailsScreen::onRemove(WORD id, WORD, HWND) {
  const ListCommands::List* list = ListCommands::listOfItemCommand(id);
  Page* page = list != nullptr ? pageOf(list->kind) : nullptr;
  if (page == nullptr || page->list.selectedIndex() < 0) return;
  const RecordId record = page->list.selectedRecordId();
  if (!FrameLink::confirmDelete(owner())) return;
  switch (page->kind) {
    case ListKind::Gifts:
      getGiftCollection().remove(record);
      break;
    case ListKind::Loans:
      getLoanCollection().remove(record);
      break;
    case ListKind::Anniversaries:
      getAnniversaryCollection().remove(record);
      break;
    case ListKind::Friends:
      return;
  }
  fill(page->kind);
  if (frame() != nullptr) SendMessageW(frame(), UM_RELOADLIST, list->listId, 0);
}

void FriendDetailsScreen::onOpen(WORD id, WORD, HWND) {
  if (const ListCommands::List* list = ListCommands::listOfItemCommand(id)) openItem(list->kind);
}

void FriendDetailsScreen::openItem(ListKind kind) {
  const Page* page = pageOf(kind);
  if (page == nullptr || page->list.selectedIndex() < 0 || frame() == nullptr) return;
  SendMessageW(frame(), UM_SHOWRECORD, page->list.selectedRecordId(), ListCommands::list(kind).record);
}

void FriendDetailsScreen::onEditFriend(WORD, WORD, HWND) {
  Friend* person = getFriendCollection().find(friend_);
  FormLauncher* forms = formLauncher();
  if (person == nullptr || forms == nullptr) return;
  if (!forms->editFriend(frame(), *person)) return;
  card_.setFriend(friend_);
  if (card_.hwnd() != nullptr) {
    InvalidateRect(card_.hwnd(), nullptr, TRUE);
    UpdateWindow(card_.hwnd());
  }
  // The title shows the name, which the form may have changed.
  if (const Friend* edited = getFriendCollection().find(friend_); edited != nullptr && IsWindowVisible(hwnd())) {
    SetWindowTextW(frame(), edited->displayName().c_str());
  }
}

void FriendDetailsScreen::onShowContactInfo(WORD, WORD, HWND) {
  Friend* person = getFriendCollection().find(friend_);
  if (person == nullptr) return;
  OutlookConnection& outlook = getOutlookConnection();
  if (!outlook.ensureStarted()) {
    FrameLink::show(owner(),
                    ContactMessages::unavailable(outlook.lastStartResult(), OutlookConnection::contactsFolder()),
                    MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  std::shared_ptr<platform::pim::Contact> contact;
  if (person->contactId() != 0) contact = outlook.contactFromOid(person->contactId());
  if (contact == nullptr) {
    const std::u16string question = FrameLink::textWith(IDS_NO_CONTACT_LINKED, person->displayName());
    if (FrameLink::show(owner(), question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    contact = outlook.selectContact();
    if (contact == nullptr) return;
    // Stored at once: a link kept in memory only would be gone after a restart, and an import
    // would then make the same friend again.
    const LONG before = person->contactId();
    person->setContactId(contact->Oid());
    if (!getFriendCollection().update(*person)) person->setContactId(before);
  }
  contact->Display();
}

void FriendDetailsScreen::onExport(WORD id, WORD, HWND) {
  if (!friendShown()) return;
  const bool loans = id == ID_EXPORT_TASKS;
  const LONG who = static_cast<LONG>(friend_);
  FrameLink::reportExport(owner(), loans ? ExportCommands::exportLoans(who) : ExportCommands::exportAnniversaries(who),
                          loans);
}

}  // namespace pellucard
