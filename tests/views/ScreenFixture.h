// The friend details and item view screens inside a small stand-in for the main frame: it
// switches its three screens with a history for Back, keeps a right-hand menu that the
// private messages check, grey and extend (rebuilt fresh with every menubar, as a new menubar
// would be), passes UM_RELOADLIST on to its screens and records what the screens ask of it.
#pragma once

#include <fstream>
#include <iterator>
#include <sstream>

#include "device/PrivateMessages.h"
#include "platform/shell/WinMenu.h"
#include "platform/sys/SysParams.h"
#include "resources/CommandIds.h"
#include "tests/views/ListFixture.h"
#include "views/FormLauncher.h"
#include "views/FriendDetailsScreen.h"
#include "views/ItemViewScreen.h"

namespace pellucard::testing {

// Records the lists it is told to reload, as the main screen would refill them.
class MainStandIn : public platform::WindowImpl<MainStandIn> {
 public:
  static const platform::MessageMap<MainStandIn>& messageMap() {
    static const auto map = platform::MessageMap<MainStandIn>().on(UM_RELOADLIST, &MainStandIn::onReload);
    return map;
  }
  std::vector<WPARAM> reloads;

 private:
  LRESULT onReload(WPARAM wParam, LPARAM) {
    reloads.push_back(wParam);
    return 0;
  }
};

class FrameStandIn : public platform::WindowImpl<FrameStandIn> {
 public:
  static const platform::MessageMap<FrameStandIn>& messageMap() {
    using M = FrameStandIn;
    static const auto map = platform::MessageMap<M>()
                                .on(UM_SETMENUBAR, &M::onSetMenuBar)
                                .on(UM_SHOWSIPBUTTON, &M::onSipButton)
                                .on(UM_CHECKMENUITEM, &M::onCheck)
                                .on(UM_ENABLEMENUITEM, &M::onEnable)
                                .on(UM_GETMENU, &M::onGetMenu)
                                .on(UM_SHOWRECORD, &M::onShowRecord)
                                .on(UM_RELOADLIST, &M::onReload)
                                .on<WM_HOTKEY>(&M::onHotKey)
                                .command(kMainScreenId, &M::onSwitch)
                                .command(kFriendDetailsScreenId, &M::onSwitch)
                                .on<WM_COMMAND>(&M::onCommand);
    return map;
  }

  ~FrameStandIn() override {
    if (menu_ != nullptr) DestroyMenu(menu_);
  }

  // Over the work area, below the title bar, as the program's frame stands.
  void build() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    create(nullptr, area, u"Pellucard", WS_VISIBLE);
    SetActiveWindow(hwnd());
    RECT client{};
    GetClientRect(hwnd(), &client);
    main.create(hwnd(), client, u"MainScreen", WS_CHILD, 0, kMainScreenId);
    details.create(hwnd(), client);
    itemView.create(hwnd(), client);
    switchTo(kMainScreenId, false);
  }

  HWND screenWindow(UINT id) const {
    if (id == kFriendDetailsScreenId) return details.hwnd();
    if (id == kItemViewScreenId) return itemView.hwnd();
    return main.hwnd();
  }

  void switchTo(UINT target, bool push) {
    if (target == kMainScreenId) {
      history.clear();
    } else if (push && current != 0 && current != target) {
      history.push_back(current);
    }
    current = target;
    for (UINT id : {kMainScreenId, kFriendDetailsScreenId, kItemViewScreenId}) ShowWindow(screenWindow(id), SW_HIDE);
    replaceMenu(target);
    ShowWindow(screenWindow(target), SW_SHOW);
  }

  std::u16string title() const {
    WCHAR buffer[128] = {};
    GetWindowTextW(hwnd(), buffer, 128);
    return buffer;
  }
  HMENU menu() const { return menu_; }
  bool checked(UINT id) const { return (GetMenuState(menu_, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  bool greyed(UINT id) const { return (GetMenuState(menu_, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }
  std::vector<UINT> menuIds() const {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu_); ++i) ids.push_back(GetMenuItemID(menu_, i));
    return ids;
  }
  std::vector<UINT> checkedItems() const {
    std::vector<UINT> ids;
    for (UINT id : menuIds()) {
      if (id != 0 && id != static_cast<UINT>(-1) && checked(id)) ids.push_back(id);
    }
    return ids;
  }

  MainStandIn main;
  FriendDetailsScreen details;
  ItemViewScreen itemView;
  UINT current = 0;
  std::vector<UINT> history;
  UINT menuBar = 0;
  int sipButtonRequests = 0;
  bool sipButton = true;
  int shellBacks = 0;
  std::vector<WPARAM> reloads;
  struct Shown {
    WPARAM id;
    LPARAM kind;
  };
  std::vector<Shown> shown;

 private:
  // The right-hand menus of the screen bars, flattened: what matters is that the items exist
  // and where the inserted item lands.
  static std::vector<UINT> itemsOf(UINT bar) {
    switch (bar) {
      case 1508:
        return {1011, 1019, 0, 1003};
      case 1502:
        return {1020, 1021, 1022, 0, 1028, 1029, 1120, 1024, 1025, 1026, 1027, 0, 1003};
      case 1504:
        return {1030, 1031, 1032, 0, 1037, 1038, 1039, 1130, 1034, 1035, 1036, 1132, 1131, 0, 1003};
      case 1506:
        return {1040, 1041, 1042, 0, 1046, 1047, 1048, 1049, 1044, 1045, 1050, 0, 1003};
      case 1510:
        return {1063, 0, 1061, 1062};
      default:
        return {1010, 1011, 1012, 0, 1003};
    }
  }
  void replaceMenu(UINT bar) {
    if (menu_ != nullptr) DestroyMenu(menu_);
    menu_ = CreatePopupMenu();
    for (UINT id : itemsOf(bar)) {
      if (id == 0) {
        AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
      } else {
        AppendMenuW(menu_, MF_STRING, id, u"item");
      }
    }
    menuBar = bar;
  }

  LRESULT onSetMenuBar(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(lParam) == screenWindow(current) && GetActiveWindow() == hwnd()) replaceMenu(wParam);
    return 0;
  }
  LRESULT onSipButton(WPARAM wParam, LPARAM) {
    ++sipButtonRequests;
    sipButton = wParam != 0;
    replaceMenu(menuBar);
    return 0;
  }
  LRESULT onCheck(WPARAM wParam, LPARAM lParam) {
    CheckMenuItem(menu_, static_cast<UINT>(wParam), MF_BYCOMMAND | (lParam ? MF_CHECKED : MF_UNCHECKED));
    return 0;
  }
  LRESULT onEnable(WPARAM wParam, LPARAM lParam) {
    EnableMenuItem(menu_, static_cast<UINT>(wParam), MF_BYCOMMAND | (lParam ? MF_ENABLED : MF_GRAYED));
    return 0;
  }
  LRESULT onGetMenu(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(menu_); }
  LRESULT onShowRecord(WPARAM wParam, LPARAM lParam) {
    shown.push_back({wParam, lParam});
    if (lParam == kRecordFriend) {
      details.showFriend(static_cast<RecordId>(wParam));
      switchTo(kFriendDetailsScreenId, current != kItemViewScreenId);
    } else if (lParam >= kRecordGift && lParam <= kRecordAnniversary) {
      itemView.show(static_cast<int>(lParam), static_cast<RecordId>(wParam));
      switchTo(kItemViewScreenId, true);
    }
    return 0;
  }
  LRESULT onReload(WPARAM wParam, LPARAM lParam) {
    reloads.push_back(wParam);
    for (UINT id : {kMainScreenId, kFriendDetailsScreenId, kItemViewScreenId}) {
      SendMessageW(screenWindow(id), UM_RELOADLIST, wParam, lParam);
    }
    return 0;
  }
  LRESULT onHotKey(int id, UINT modifiers, UINT vk) {
    if (vk != VK_ESCAPE) return 0;
    if (SendMessageW(screenWindow(current), WM_HOTKEY, id, MAKELPARAM(modifiers, vk)) != 0) return 0;
    if ((modifiers & 0x1000) == 0) return 0;
    if (history.empty()) {
      ++shellBacks;
      return 0;
    }
    const UINT back = history.back();
    history.pop_back();
    switchTo(back, false);
    return 0;
  }
  void onSwitch(WORD id, WORD, HWND) { switchTo(id, true); }
  void onCommand(WORD id, WORD code, HWND from) {
    SendMessageW(screenWindow(current), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
  }

  HMENU menu_ = nullptr;
};

// Forms that end as the test says, remembering how they were opened.
class FormsStandIn : public FormLauncher {
 public:
  bool answer = true;
  struct Call {
    int kind;
    RecordId record;
    LONG preset;
  };
  std::vector<Call> calls;
  std::function<void(Call)> onRun;
  bool editFriend(HWND, Friend&) override {
    calls.push_back({0, 0, 0});
    if (onRun) onRun(calls.back());
    return answer;
  }
  RecordId addFriend(HWND) override {
    calls.push_back({-1, 0, 0});
    if (onRun) onRun(calls.back());
    return answer ? 1 : 0;
  }
  bool runItemForm(HWND, int kind, RecordId record, LONG preset) override {
    calls.push_back({kind, record, preset});
    if (onRun) onRun(calls.back());
    return answer;
  }
};

class ScreenFixture : public ListFixture {
 protected:
  void TearDown() override {
    setFormLauncher(nullptr);
    frame.reset();
    ListFixture::TearDown();
  }

  void bootAs(platform::Edition edition, int width, int height) {
    frame.reset();
    boot(edition, width, height);
  }

  void makeFrame() {
    frame = std::make_unique<FrameStandIn>();
    frame->build();
    device->runUntilIdle();
  }

  void openFriend(RecordId id) {
    SendMessageW(frame->hwnd(), UM_SHOWRECORD, id, kRecordFriend);
    device->runUntilIdle();
  }
  void openItem(int kind, RecordId id) {
    SendMessageW(frame->hwnd(), UM_SHOWRECORD, id, kind);
    device->runUntilIdle();
  }
  void command(WORD id) {
    SendMessageW(frame->hwnd(), WM_COMMAND, id, 0);
    device->runUntilIdle();
  }
  // Runs a command that asks a question, answering with the key; returns the question's dump.
  std::string commandAnswering(WORD id, const std::string& key) {
    const std::string path = dir_ + "/question.txt";
    std::remove(path.c_str());
    device->script("dump " + path + "\nkey " + key + "\n");
    command(id);
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // Steps the details screen's header to the tab with Right, as the user does.
  void selectTab(UINT tab) {
    for (int i = 0; i < 4 && detailsTab() != tab; ++i) stepTab();
    device->runUntilIdle();
  }
  void stepTab() {
    SendMessageW(detailsHeader(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(detailsHeader(), WM_KEYUP, VK_RIGHT, 0);
    device->runUntilIdle();
  }
  void back() {
    SendMessageW(frame->hwnd(), WM_HOTKEY, 0, MAKELPARAM(0, VK_ESCAPE));
    SendMessageW(frame->hwnd(), WM_HOTKEY, 0, MAKELPARAM(0x1000, VK_ESCAPE));
    device->runUntilIdle();
  }

  // Texts a window drew, top to bottom.
  static std::vector<Drawn> drawnIn(HWND hwnd) {
    std::vector<Drawn> out;
    for (const auto& t : platform::gdi::capturedTexts(hwnd))
      out.push_back({platform::toUtf8(t.text), t.screenRect, t.color});
    std::stable_sort(out.begin(), out.end(), [](const Drawn& a, const Drawn& b) {
      return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    return out;
  }
  static std::vector<std::string> textsIn(HWND hwnd) {
    std::vector<std::string> out;
    for (const auto& d : drawnIn(hwnd)) out.push_back(d.text);
    return out;
  }
  // Whether the dump shows this text drawn somewhere.
  bool showsText(const std::string& text) const {
    return device->dump().find("text \"" + text + "\"") != std::string::npos;
  }

  // The windows of the details and item view screens, found as a window tree is searched.
  HWND detailsCard() const { return GetDlgItem(frame->details.hwnd(), FriendDetailsScreen::kDetailsTab); }
  HWND detailsList(UINT listId) const { return GetDlgItem(frame->details.hwnd(), static_cast<int>(listId)); }
  HWND detailsHeader() const {
    for (HWND child = GetWindow(frame->details.hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      WCHAR name[32] = {};
      GetClassNameW(child, name, 32);
      if (std::u16string_view(name) == SpinnerViewCtrl::kClassName) return child;
    }
    return nullptr;
  }
  HWND itemCard() const { return GetWindow(frame->itemView.hwnd(), GW_CHILD); }
  // The tab whose page the details screen shows: the card's id or a list's.
  UINT detailsTab() const {
    if (IsWindowVisible(detailsCard())) return FriendDetailsScreen::kDetailsTab;
    for (UINT id : {kGiftListId, kLoanListId, kAnniversaryListId}) {
      if (IsWindowVisible(detailsList(id))) return id;
    }
    return 0;
  }
  // How far a card's notes are scrolled.
  static int notesPosition(HWND card) { return GetScrollPos(card, SB_VERT); }

  // A list view's rows: their record ids and texts, read from the control.
  static int rowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
  static std::vector<RecordId> rowsOf(HWND list) {
    std::vector<RecordId> ids;
    for (int i = 0; i < rowCount(list); ++i) {
      LVITEMW item{};
      item.mask = LVIF_PARAM;
      item.iItem = i;
      SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      ids.push_back(static_cast<RecordId>(item.lParam));
    }
    return ids;
  }
  static std::u16string rowText(HWND list, int row) {
    WCHAR text[128] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return text;
  }

  RecordId addFriendWithNotes(const std::u16string& first, const std::u16string& last, const std::u16string& notes) {
    auto f = std::make_unique<Friend>(first, last, notes, 0);
    Friend* raw = f.get();
    getFriendCollection().add(std::move(f));
    return raw->recordId();
  }
  RecordId addGiftOn(const std::u16string& name, LONG direction, RecordId friendId, const SYSTEMTIME& when,
                     const std::u16string& notes = u"") {
    auto g = std::make_unique<Gift>(name, direction, static_cast<LONG>(friendId), when, notes);
    Gift* raw = g.get();
    getGiftCollection().add(std::move(g));
    return raw->recordId();
  }

  std::unique_ptr<FrameStandIn> frame;
};

}  // namespace pellucard::testing
