#include "views/FriendDetailsScreen.h"

#include <memory>
#include <vector>

#include "device/PrivateMessages.h"
#include "outlook/ExportCommands.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/ResourceTable.h"
#include "platform/pim/Contact.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/StringIds.h"
#include "skin/ImageCache.h"
#include "skin/SkinPainter.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "views/CardLook.h"
#include "views/FontCache.h"
#include "views/FormLauncher.h"
#include "views/FrameLink.h"

namespace pellucard {

namespace {

// Menu commands of the screen's menus.
constexpr WORD kEditFriend = 1011;
constexpr WORD kShowContactInfo = 1019;
constexpr WORD kSwitchToFriends = 1112;
constexpr WORD kAddGift = 1020, kEditGift = 1021, kRemoveGift = 1022, kGiftDetails = 1023;
constexpr WORD kAddLoan = 1030, kEditLoan = 1031, kRemoveLoan = 1032, kLoanDetails = 1033;
constexpr WORD kAddAnniversary = 1040, kEditAnniversary = 1041, kRemoveAnniversary = 1042, kAnniversaryDetails = 1043;
constexpr WORD kExportToCalendar = 1050;
constexpr WORD kExportToTasks = 1131;

// Menubars of the tabs.
constexpr UINT kDetailsMenuBar = 1508;
constexpr UINT kGiftsMenuBar = 1502;
constexpr UINT kLoansMenuBar = 1504;
constexpr UINT kAnniversariesMenuBar = 1506;

struct Choice {
  WORD command;
  int value;
  bool ascending;  // for sort modes: the direction a newly chosen mode starts with
};

// Name modes start ascending, date modes newest first.
constexpr Choice kGiftSorts[] = {{1028, 1, true}, {1029, 2, false}, {1120, 3, true}};
constexpr Choice kLoanSorts[] = {{1037, 1, true}, {1038, 2, false}, {1039, 3, false}, {1130, 4, true}};
constexpr Choice kAnniversarySorts[] = {{1046, 1, true}, {1047, 2, false}, {1048, 3, false}, {1049, 4, true}};
constexpr Choice kGiftFilters[] = {{1024, 7, true}, {1025, 1, true}, {1026, 2, true}, {1027, 4, true}};
constexpr Choice kLoanFilters[] = {{1034, 3, true}, {1035, 1, true}, {1036, 2, true}, {1132, 4, true}};
constexpr Choice kAnniversaryFilters[] = {{1044, 2, true}, {1045, 1, true}};

template <std::size_t N>
const Choice* byCommand(const Choice (&table)[N], WORD command) {
  for (const Choice& c : table) {
    if (c.command == command) return &c;
  }
  return nullptr;
}

template <std::size_t N>
WORD commandOf(const Choice (&table)[N], int value) {
  for (const Choice& c : table) {
    if (c.value == value) return c.command;
  }
  return 0;
}

UINT listIdOfKind(int kind) {
  switch (kind) {
    case kRecordGift:
      return kGiftListId;
    case kRecordLoan:
      return kLoanListId;
    case kRecordAnniversary:
      return kAnniversaryListId;
    default:
      return 0;
  }
}

// The rows of the friend's items, in the order of the filtered and sorted snapshot.
template <class Item, class NameOf>
std::vector<ItemListCtrl::Row> rowsOfFriend(const std::vector<Item*>& items, RecordId friendId, NameOf nameOf) {
  std::vector<ItemListCtrl::Row> rows;
  for (const Item* item : items) {
    if (static_cast<RecordId>(item->friendId()) == friendId)
      rows.push_back({item->recordId(), std::u16string(nameOf(*item))});
  }
  return rows;
}

template <class Item>
bool anyOfFriend(const std::vector<Item*>& items, RecordId friendId) {
  for (const Item* item : items) {
    if (static_cast<RecordId>(item->friendId()) == friendId) return true;
  }
  return false;
}

}  // namespace

const platform::MessageMap<FriendDetailsScreen>& FriendDetailsScreen::messageMap() {
  using Map = platform::MessageMap<FriendDetailsScreen>;
  static const Map map = Map()
                             .message(WM_CREATE, &FriendDetailsScreen::onCreate)
                             .message(UM_LAYOUTCHANGED, &FriendDetailsScreen::onLayoutChanged)
                             .message(WM_SIZE, &FriendDetailsScreen::onSize)
                             .message(WM_ERASEBKGND, &FriendDetailsScreen::onEraseBackground)
                             .message(UM_TABCHANGED, &FriendDetailsScreen::onTabChanged)
                             .message(UM_RELOADLIST, &FriendDetailsScreen::onReloadList)
                             .message(UM_SELCHANGED, &FriendDetailsScreen::onSelChanged)
                             .message(WM_WINDOWPOSCHANGED, &FriendDetailsScreen::onWindowPosChanged)
                             .message(WM_HOTKEY, &FriendDetailsScreen::onHotKey)
                             .message(WM_SETFOCUS, &FriendDetailsScreen::onSetFocus)
                             .message(WM_COMMAND, &FriendDetailsScreen::onCommand)
                             .notifyCode(LVN_ITEMACTIVATE, &FriendDetailsScreen::onItemActivate)
                             .add(reflectNotifications());
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

bool FriendDetailsScreen::friendShown() const { return getFriendCollection().find(friend_) != nullptr; }

// ---------------------------------------------------------------------------------------------
// Children

LRESULT FriendDetailsScreen::onCreate(UINT, WPARAM, LPARAM, BOOL&) {
  noLoans_ = true;
  noAnniversaries_ = true;
  build();
  return 0;
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
  giftList_.create(hwnd(), rest, ListKind::Gifts, kGiftListId, kListStyle);
  loanList_.create(hwnd(), rest, ListKind::Loans, kLoanListId, kListStyle);
  anniversaryList_.create(hwnd(), rest, ListKind::Anniversaries, kAnniversaryListId, kListStyle);
  header_.addPage(kDetailsTab, platform::loadString(IDS_DETAILS), card_.hwnd());
  header_.addPage(kGiftListId, platform::loadString(IDS_TAB_GIFTS), giftList_.hwnd());
  header_.addPage(kAnniversaryListId, platform::loadString(IDS_TAB_ANNIVERSARIES), anniversaryList_.hwnd());
  header_.addPage(kLoanListId, platform::loadString(IDS_TAB_LOANS), loanList_.hwnd());
  fillAll();
}

void FriendDetailsScreen::teardown() {
  tearingDown_ = true;
  header_.destroyWindow();
  card_.destroyWindow();
  giftList_.destroyWindow();
  loanList_.destroyWindow();
  anniversaryList_.destroyWindow();
  tearingDown_ = false;
}

LRESULT FriendDetailsScreen::onLayoutChanged(UINT, WPARAM, LPARAM, BOOL&) {
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
  for (HWND child : {card_.hwnd(), giftList_.hwnd(), loanList_.hwnd(), anniversaryList_.hwnd()}) {
    if (child != nullptr) MoveWindow(child, 0, band, client.right, client.bottom - band, TRUE);
  }
}

LRESULT FriendDetailsScreen::onSize(UINT, WPARAM, LPARAM, BOOL& handled) {
  placeChildren();
  handled = FALSE;
  return 0;
}

LRESULT FriendDetailsScreen::onEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  HDC hdc = reinterpret_cast<HDC>(wParam);
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kBackground);
  if (hdc == nullptr || background == nullptr) return TRUE;
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT onScreen{};
  GetWindowRect(hwnd(), &onScreen);
  SkinPainter::drawScreenBackground(
      hdc, client, RECT{onScreen.left, onScreen.top, onScreen.left + client.right, onScreen.top + client.bottom});
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The friend and its lists

void FriendDetailsScreen::showFriend(RecordId id) {
  friend_ = id;
  card_.setFriend(id);
  if (card_.hwnd() != nullptr) InvalidateRect(card_.hwnd(), nullptr, TRUE);
  header_.selectPage(kDetailsTab);
  gifts_ = ListState{1, true, GiftCollection::kFilterAll};
  loans_ = ListState{1, true, LoanCollection::kFilterAll};
  anniversaries_ = ListState{1, true, AnniversaryCollection::kFilterAll};
  fillAll();
}

void FriendDetailsScreen::fillAll() {
  fillGifts();
  fillAnniversaries();
  fillLoans();
}

void FriendDetailsScreen::fillGifts() {
  if (giftList_.hwnd() == nullptr) return;
  if (!friendShown()) {
    // A friend that is gone leaves nothing of the last one behind.
    giftList_.fill(std::vector<ItemListCtrl::Row>{});
    return;
  }
  header_.setMarker(kGiftListId, gifts_.filter != GiftCollection::kFilterAll);
  GiftCollection& gifts = getGiftCollection();
  GiftCollection::List list = gifts.snapshot();
  gifts.filter(list, gifts_.filter);
  gifts.sort(list, gifts_.sort, gifts_.ascending);
  giftList_.fill(rowsOfFriend(list, friend_, [](const Gift& g) { return g.name(); }));
}

void FriendDetailsScreen::fillLoans() {
  if (loanList_.hwnd() == nullptr) return;
  if (!friendShown()) {
    noLoans_ = true;
    loanList_.fill(std::vector<ItemListCtrl::Row>{});
    return;
  }
  header_.setMarker(kLoanListId, loans_.filter != LoanCollection::kFilterAll);
  LoanCollection& loans = getLoanCollection();
  LoanCollection::List list = loans.snapshot();
  noLoans_ = !anyOfFriend(list, friend_);
  loans.filter(list, loans_.filter);
  loans.sort(list, loans_.sort, loans_.ascending);
  loanList_.fill(rowsOfFriend(list, friend_, [](const Loan& l) { return l.item(); }));
}

void FriendDetailsScreen::fillAnniversaries() {
  if (anniversaryList_.hwnd() == nullptr) return;
  if (!friendShown()) {
    noAnniversaries_ = true;
    anniversaryList_.fill(std::vector<ItemListCtrl::Row>{});
    return;
  }
  header_.setMarker(kAnniversaryListId, anniversaries_.filter != AnniversaryCollection::kFilterAll);
  AnniversaryCollection& days = getAnniversaryCollection();
  AnniversaryCollection::List list = days.snapshot();
  noAnniversaries_ = !anyOfFriend(list, friend_);
  days.filter(list, anniversaries_.filter);
  days.sort(list, anniversaries_.sort, anniversaries_.ascending);
  anniversaryList_.fill(rowsOfFriend(list, friend_, [](const Anniversary& a) { return a.name(); }));
}

void FriendDetailsScreen::refill(int kind) {
  switch (kind) {
    case kRecordGift:
      fillGifts();
      break;
    case kRecordLoan:
      fillLoans();
      break;
    case kRecordAnniversary:
      fillAnniversaries();
      break;
    default:
      break;
  }
}

ItemListCtrl* FriendDetailsScreen::listOfKind(int kind) {
  switch (kind) {
    case kRecordGift:
      return &giftList_;
    case kRecordLoan:
      return &loanList_;
    case kRecordAnniversary:
      return &anniversaryList_;
    default:
      return nullptr;
  }
}

LRESULT FriendDetailsScreen::onReloadList(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (tearingDown_) return 0;
  switch (wParam) {
    case kGiftListId:
      fillGifts();
      break;
    case kLoanListId:
      fillLoans();
      break;
    case kAnniversaryListId:
      fillAnniversaries();
      break;
    default:
      fillAll();
      break;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Tabs, menus and visibility

LRESULT FriendDetailsScreen::onTabChanged(UINT, WPARAM wParam, LPARAM, BOOL&) {
  // A hidden screen or an inactive frame must not touch the menubar another screen shows.
  if (frame() == nullptr || GetActiveWindow() != frame() || !IsWindowVisible(hwnd())) return 0;
  applyTab(static_cast<UINT>(wParam));
  return 0;
}

void FriendDetailsScreen::applyTab(UINT tab) {
  HWND target = frame();
  if (target == nullptr) return;
  UINT menuBar = 0;
  switch (tab) {
    case kDetailsTab:
      menuBar = kDetailsMenuBar;
      break;
    case kGiftListId:
      menuBar = kGiftsMenuBar;
      break;
    case kLoanListId:
      menuBar = kLoansMenuBar;
      break;
    case kAnniversaryListId:
      menuBar = kAnniversariesMenuBar;
      break;
    default:
      return;
  }
  SendMessageW(target, UM_SETMENUBAR, menuBar, reinterpret_cast<LPARAM>(hwnd()));
  // The input-panel button rebuilds the menubar, so it comes before the marks made on its menu.
  if (CardLook::pocketPc()) SendMessageW(target, UM_SHOWSIPBUTTON, tab != kDetailsTab ? 1 : 0, 0);
  if (tab == kLoanListId && noLoans_) SendMessageW(target, UM_ENABLEMENUITEM, kExportToTasks, 0);
  if (tab == kAnniversaryListId && noAnniversaries_) SendMessageW(target, UM_ENABLEMENUITEM, kExportToCalendar, 0);
  WORD sortItem = 0;
  WORD filterItem = 0;
  if (tab == kGiftListId) {
    sortItem = commandOf(kGiftSorts, gifts_.sort);
    filterItem = commandOf(kGiftFilters, gifts_.filter);
  } else if (tab == kLoanListId) {
    sortItem = commandOf(kLoanSorts, loans_.sort);
    filterItem = commandOf(kLoanFilters, loans_.filter);
  } else if (tab == kAnniversaryListId) {
    sortItem = commandOf(kAnniversarySorts, anniversaries_.sort);
    filterItem = commandOf(kAnniversaryFilters, anniversaries_.filter);
  }
  if (sortItem != 0) SendMessageW(target, UM_CHECKMENUITEM, sortItem, 1);
  if (filterItem != 0) SendMessageW(target, UM_CHECKMENUITEM, filterItem, 1);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(target, UM_GETMENU, 0, 0));
  if (menu != nullptr) {
    const UINT at = tab == kDetailsTab ? 2 : 3;
    const std::u16string label = platform::loadString(IDS_SWITCH_TO_FRIENDS);
    InsertMenuW(menu, at, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(menu, at + 1, MF_BYPOSITION | MF_STRING, kSwitchToFriends, label.c_str());
  }
}

LRESULT FriendDetailsScreen::onWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
  HWND target = frame();
  if (pos == nullptr || target == nullptr) return 0;
  if (pos->flags & SWP_SHOWWINDOW) {
    if (const Friend* person = getFriendCollection().find(friend_)) {
      SetWindowTextW(target, person->displayName().c_str());
    }
    if (header_.hwnd() != nullptr) {
      SetFocus(header_.hwnd());
      header_.selectPage(header_.currentKey());
    }
  } else if (pos->flags & SWP_HIDEWINDOW) {
    SetWindowTextW(target, platform::loadString(IDS_APP_TITLE).c_str());
  }
  return 0;
}

LRESULT FriendDetailsScreen::onHotKey(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  // The header edits a running list search with Back; otherwise Back is the frame's.
  return header_.hwnd() != nullptr ? SendMessageW(header_.hwnd(), WM_HOTKEY, wParam, lParam) : 0;
}

// The frame gives the focus to the screen; the header passes the keys on to the pages.
LRESULT FriendDetailsScreen::onSetFocus(UINT, WPARAM, LPARAM, BOOL&) {
  if (header_.hwnd() != nullptr) SetFocus(header_.hwnd());
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Commands

LRESULT FriendDetailsScreen::onItemActivate(int id, NMHDR*, BOOL& handled) {
  switch (id) {
    case kGiftListId:
      openItem(kRecordGift);
      break;
    case kLoanListId:
      openItem(kRecordLoan);
      break;
    case kAnniversaryListId:
      openItem(kRecordAnniversary);
      break;
    default:
      handled = FALSE;
      break;
  }
  return 0;
}

LRESULT FriendDetailsScreen::onCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
  const WORD id = LOWORD(wParam);
  switch (id) {
    case kEditFriend:
      editFriend();
      return TRUE;
    case kShowContactInfo:
      showContactInfo();
      return TRUE;
    case kSwitchToFriends:
      if (frame() != nullptr) SendMessageW(frame(), WM_COMMAND, kMainScreenId, 0);
      return TRUE;
    case kAddGift:
      addItem(kRecordGift);
      return TRUE;
    case kAddLoan:
      addItem(kRecordLoan);
      return TRUE;
    case kAddAnniversary:
      addItem(kRecordAnniversary);
      return TRUE;
    case kEditGift:
      editItem(kRecordGift);
      return TRUE;
    case kEditLoan:
      editItem(kRecordLoan);
      return TRUE;
    case kEditAnniversary:
      editItem(kRecordAnniversary);
      return TRUE;
    case kRemoveGift:
      removeItem(kRecordGift);
      return TRUE;
    case kRemoveLoan:
      removeItem(kRecordLoan);
      return TRUE;
    case kRemoveAnniversary:
      removeItem(kRecordAnniversary);
      return TRUE;
    case kGiftDetails:
      openItem(kRecordGift);
      return TRUE;
    case kLoanDetails:
      openItem(kRecordLoan);
      return TRUE;
    case kAnniversaryDetails:
      openItem(kRecordAnniversary);
      return TRUE;
    case kExportToCalendar:
      exportItems(false);
      return TRUE;
    case kExportToTasks:
      exportItems(true);
      return TRUE;
    default:
      break;
  }
  if (sortCommand(id) || filterCommand(id)) return TRUE;
  handled = FALSE;
  return 0;
}

bool FriendDetailsScreen::sortCommand(WORD id) {
  ListState* state = nullptr;
  const Choice* choice = nullptr;
  int kind = 0;
  if ((choice = byCommand(kGiftSorts, id)) != nullptr) {
    state = &gifts_;
    kind = kRecordGift;
  } else if ((choice = byCommand(kLoanSorts, id)) != nullptr) {
    state = &loans_;
    kind = kRecordLoan;
  } else if ((choice = byCommand(kAnniversarySorts, id)) != nullptr) {
    state = &anniversaries_;
    kind = kRecordAnniversary;
  } else {
    return false;
  }
  if (state->sort == choice->value) {
    state->ascending = !state->ascending;
  } else {
    state->sort = choice->value;
    state->ascending = choice->ascending;
  }
  refill(kind);
  applyTab(header_.currentKey());
  return true;
}

bool FriendDetailsScreen::filterCommand(WORD id) {
  const Choice* choice = nullptr;
  int kind = 0;
  if ((choice = byCommand(kGiftFilters, id)) != nullptr) {
    gifts_.filter = choice->value;
    kind = kRecordGift;
  } else if ((choice = byCommand(kLoanFilters, id)) != nullptr) {
    loans_.filter = choice->value;
    kind = kRecordLoan;
  } else if ((choice = byCommand(kAnniversaryFilters, id)) != nullptr) {
    anniversaries_.filter = choice->value;
    kind = kRecordAnniversary;
  } else {
    return false;
  }
  refill(kind);
  applyTab(header_.currentKey());
  if (header_.hwnd() != nullptr) InvalidateRect(header_.hwnd(), nullptr, TRUE);
  return true;
}

void FriendDetailsScreen::addItem(int kind) {
  FormLauncher* forms = formLauncher();
  if (forms == nullptr || !friendShown()) return;
  if (!forms->runItemForm(frame(), kind, 0, static_cast<LONG>(friend_))) return;
  refill(kind);
  if (frame() != nullptr) SendMessageW(frame(), UM_RELOADLIST, listIdOfKind(kind), 0);
}

void FriendDetailsScreen::editItem(int kind) {
  ItemListCtrl* list = listOfKind(kind);
  FormLauncher* forms = formLauncher();
  if (list == nullptr || forms == nullptr || list->selectedIndex() < 0) return;
  if (forms->runItemForm(frame(), kind, list->selectedRecordId(), static_cast<LONG>(friend_))) refill(kind);
}

void FriendDetailsScreen::removeItem(int kind) {
  ItemListCtrl* list = listOfKind(kind);
  if (list == nullptr || list->selectedIndex() < 0) return;
  const RecordId id = list->selectedRecordId();
  if (!FrameLink::confirmDelete(frame() != nullptr ? frame() : hwnd())) return;
  switch (kind) {
    case kRecordGift:
      getGiftCollection().remove(id);
      break;
    case kRecordLoan:
      getLoanCollection().remove(id);
      break;
    case kRecordAnniversary:
      getAnniversaryCollection().remove(id);
      break;
    default:
      return;
  }
  refill(kind);
  if (frame() != nullptr) SendMessageW(frame(), UM_RELOADLIST, listIdOfKind(kind), 0);
}

void FriendDetailsScreen::openItem(int kind) {
  ItemListCtrl* list = listOfKind(kind);
  if (list == nullptr || list->selectedIndex() < 0 || frame() == nullptr) return;
  SendMessageW(frame(), UM_SHOWRECORD, list->selectedRecordId(), kind);
}

void FriendDetailsScreen::editFriend() {
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

void FriendDetailsScreen::showContactInfo() {
  Friend* person = getFriendCollection().find(friend_);
  if (person == nullptr) return;
  OutlookConnection& outlook = getOutlookConnection();
  std::shared_ptr<platform::pim::Contact> contact;
  if (person->contactId() != 0) contact = outlook.contactFromOid(person->contactId());
  if (contact == nullptr) {
    std::u16string question = platform::loadString(IDS_NO_CONTACT_LINKED);
    const std::size_t at = question.find(u"%s");
    if (at != std::u16string::npos) question.replace(at, 2, person->displayName());
    HWND owner = frame() != nullptr ? frame() : hwnd();
    if (FrameLink::show(owner, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    contact = outlook.selectContact();
    if (contact == nullptr) return;
    // Kept in memory; it is stored with the friend's next save.
    person->setContactId(contact->Oid());
  }
  contact->Display();
}

void FriendDetailsScreen::exportItems(bool loans) {
  if (!friendShown()) return;
  const LONG who = static_cast<LONG>(friend_);
  const ExportCommands::Outcome outcome =
      loans ? ExportCommands::exportLoans(who) : ExportCommands::exportAnniversaries(who);
  const std::optional<ExportCommands::Message> message = ExportCommands::messageFor(outcome, loans);
  if (!message) return;
  const UINT icon = message->icon == ExportCommands::Icon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION;
  FrameLink::show(frame() != nullptr ? frame() : hwnd(), platform::loadString(message->stringId), MB_OK | icon);
}

}  // namespace pellucard
