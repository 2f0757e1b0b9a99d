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
#include "tests/views/ListFixture.h"
#include "views/FormLauncher.h"
#include "views/FriendDetailsScreen.h"
#include "views/ItemViewScreen.h"

namespace pellucard::testing {

// Records the lists it is told to reload, as the main screen would refill them.
class MainStandIn : public platform::WindowImpl<MainStandIn> {
 public:
  static const platform::MessageMap<MainStandIn>& messageMap() {
    static const auto map = platform::MessageMap<MainStandIn>().message(UM_RELOADLIST, &MainStandIn::onReload);
    return map;
  }
  std::vector<WPARAM> reloads;

 private:
  LRESULT onReload(UINT, WPARAM wParam, LPARAM, BOOL&) {
    reloads.push_back(wParam);
    return 0;
  }
};

class FrameStandIn : public platform::WindowImpl<FrameStandIn> {
 public:
  static const platform::MessageMap<FrameStandIn>& messageMap() {
    using Map = platform::MessageMap<FrameStandIn>;
    static const auto map = Map()
                                .message(UM_SETMENUBAR, &FrameStandIn::onSetMenuBar)
                                .message(UM_SHOWSIPBUTTON, &FrameStandIn::onSipButton)
                                .message(UM_CHECKMENUITEM, &FrameStandIn::onCheck)
                                .message(UM_ENABLEMENUITEM, &FrameStandIn::onEnable)
                                .message(UM_GETMENU, &FrameStandIn::onGetMenu)
                                .message(UM_SHOWRECORD, &FrameStandIn::onShowRecord)
                                .message(UM_RELOADLIST, &FrameStandIn::onReload)
                                .message(WM_HOTKEY, &FrameStandIn::onHotKey)
                                .message(WM_COMMAND, &FrameStandIn::onCommand);
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

  LRESULT onSetMenuBar(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (reinterpret_cast<HWND>(lParam) == screenWindow(current) && GetActiveWindow() == hwnd()) replaceMenu(wParam);
    return 0;
  }
  LRESULT onSipButton(UINT, WPARAM wParam, LPARAM, BOOL&) {
    ++sipButtonRequests;
    sipButton = wParam != 0;
    replaceMenu(menuBar);
    return 0;
  }
  LRESULT onCheck(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    CheckMenuItem(menu_, static_cast<UINT>(wParam), MF_BYCOMMAND | (lParam ? MF_CHECKED : MF_UNCHECKED));
    return 0;
  }
  LRESULT onEnable(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    EnableMenuItem(menu_, static_cast<UINT>(wParam), MF_BYCOMMAND | (lParam ? MF_ENABLED : MF_GRAYED));
    return 0;
  }
  LRESULT onGetMenu(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(menu_); }
  LRESULT onShowRecord(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
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
  LRESULT onReload(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    reloads.push_back(wParam);
    for (UINT id : {kMainScreenId, kFriendDetailsScreenId, kItemViewScreenId}) {
      SendMessageW(screenWindow(id), UM_RELOADLIST, wParam, lParam);
    }
    return 0;
  }
  LRESULT onHotKey(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (HIWORD(lParam) != VK_ESCAPE) return 0;
    if (SendMessageW(screenWindow(current), WM_HOTKEY, wParam, lParam) != 0) return 0;
    if ((lParam & 0x1000) == 0) return 0;
    if (history.empty()) {
      ++shellBacks;
      return 0;
    }
    const UINT back = history.back();
    history.pop_back();
    switchTo(back, false);
    return 0;
  }
  LRESULT onCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const WORD id = LOWORD(wParam);
    if (id == kMainScreenId || id == kFriendDetailsScreenId) {
      switchTo(id, true);
      return 0;
    }
    return SendMessageW(screenWindow(current), WM_COMMAND, wParam, lParam);
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
  void selectTab(UINT tab) {
    frame->details.header().selectPage(tab);
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
  static std::vector<RecordId> rowsOf(ItemListCtrl& list) {
    std::vector<RecordId> ids;
    for (int i = 0; i < list.count(); ++i) ids.push_back(list.recordIdAt(i));
    return ids;
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
