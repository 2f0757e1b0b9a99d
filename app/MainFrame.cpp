#include "app/MainFrame.h"

#include "app/AppCaption.h"
#include "app/AppModule.h"
#include "app/HelpFile.h"
#include "app/MainScreen.h"
#include "device/AppPaths.h"
#include "device/DeviceKeyMap.h"
#include "device/DeviceProfile.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "platform/sys/ShellApi.h"
#include "platform/sys/SysParams.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "skin/ImageCache.h"
#include "views/AboutBox.h"
#include "views/FriendDetailsScreen.h"
#include "views/ItemViewScreen.h"
#include "views/OptionsScreen.h"

namespace pellucard {

// The friend details and item view screens.
class MainFrame::Screens {
 public:
  HWND createFriendDetails(HWND frame, const RECT& rect) {
    return friendDetails.create(frame, rect, kFriendDetailsScreenId);
  }
  HWND createItemView(HWND frame, const RECT& rect) { return itemView.create(frame, rect, kItemViewScreenId); }
  void showFriend(RecordId id) { friendDetails.showFriend(id); }
  void showItem(int kind, RecordId id) { itemView.show(kind, id); }

  FriendDetailsScreen friendDetails;
  ItemViewScreen itemView;
};

MainFrame::MainFrame() = default;

MainFrame::~MainFrame() {
  // The screens go with the window, while their objects still exist.
  if (hwnd()) destroyWindow();
  if (auto* loop = AppModule::messageLoop()) loop->removeMessageFilter(this);
}

const platform::MessageMap<MainFrame>& MainFrame::messageMap() {
  using M = MainFrame;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_CREATE>(&M::onCreate)
                              .on<WM_DESTROY>(&M::onDestroy)
                              .on<WM_SIZE>(&M::onSize)
                              .on<WM_SETFOCUS>(&M::onSetFocus)
                              .on<WM_ERASEBKGND>(&M::onEraseBackground)
                              .on<WM_ACTIVATE>(&M::onActivate)
                              .on<WM_SETTINGCHANGE>(&M::onSettingChange)
                              .on<WM_HOTKEY>(&M::onHotKey)
                              .on(UM_SETMENUBAR, &M::onSetMenuBar)
                              .on(UM_SHOWSIPBUTTON, &M::onShowSipButton)
                              .on(UM_ACTIVATEINSTANCE, &M::onActivateInstance)
                              .on(UM_SHOWRECORD, &M::onShowRecord)
                              .on(UM_RELOADLIST, &M::onReloadList)
                              .on(UM_CHECKMENUITEM, &M::onCheckMenuItem)
                              .on(UM_ENABLEMENUITEM, &M::onEnableMenuItem)
                              .on(UM_GETMENU, &M::onGetMenu)
                              .on(UM_FIRSTLAUNCH, &M::onFirstLaunch)
                              .on(WM_DROPFILES, &M::onDropFiles)
                              .command(ID_APP_EXIT, &M::onExit)
                              .command(ID_APP_ABOUT, &M::onAbout)
                              .command(ID_APP_OPTIONS, &M::onOptions)
                              .command(ID_APP_HELP, &M::onHelp)
                              .command(kMainScreenId, &M::onSwitchCommand)
                              .command(kFriendDetailsScreenId, &M::onSwitchCommand)
                              .on<WM_COMMAND>(&M::onOtherCommand);
  return map;
}

platform::WindowClassInfo MainFrame::windowClass() const {
  platform::WindowClassInfo info;
  // A second start finds the running window by this class name.
  info.name = platform::loadString(IDS_APP_TITLE);
  info.style = 0;
  return info;
}

HWND MainFrame::create() {
  pocketPc_ = getSettings().deviceProfile().isPocketPc();
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
    work = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  accelerators_ = LoadAcceleratorsW(AppModule::instance(), MAKEINTRESOURCE(IDR_ACCELERATORS));
  const std::u16string title = platform::loadString(IDS_APP_TITLE);
  return WindowBase::create(nullptr, work, title.c_str(), WS_CLIPCHILDREN);
}

BOOL MainFrame::preTranslateMessage(MSG* msg) {
  if (accelerators_ == nullptr || hwnd() == nullptr) return FALSE;
  return TranslateAcceleratorW(hwnd(), accelerators_, msg) != 0 ? TRUE : FALSE;
}

HWND MainFrame::screenWindow(UINT screenId) const {
  auto it = screens_.find(screenId);
  return it == screens_.end() ? nullptr : it->second;
}

RECT MainFrame::screenRect() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  return client;
}

bool MainFrame::onCreate(const CREATESTRUCTW&) {
  setMenuBar(kMainScreenId);
  if (pocketPc_) {
    SHFullScreen(hwnd(), SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON);
    SHSipPreference(hwnd(), SIP_FORCEDOWN);
  }
  GetWindowRect(hwnd(), &createdRect_);
  lastScreenWidth_ = GetSystemMetrics(SM_CXSCREEN);

  const RECT client = screenRect();
  mainScreen_ = std::make_unique<MainScreen>();
  otherScreens_ = std::make_unique<Screens>();
  const HWND main = mainScreen_->create(hwnd(), client);
  const HWND details = otherScreens_->createFriendDetails(hwnd(), client);
  const HWND itemView = otherScreens_->createItemView(hwnd(), client);
  screens_[kMainScreenId] = main;
  screens_[kFriendDetailsScreenId] = details;
  screens_[kItemViewScreenId] = itemView;

  if (auto* loop = AppModule::messageLoop()) loop->addMessageFilter(this);
  switchToScreen(kMainScreenId, false);
  return true;
}

void MainFrame::onDestroy() {
  if (auto* loop = AppModule::messageLoop()) loop->removeMessageFilter(this);
  if (menuBar_ && IsWindow(menuBar_)) DestroyWindow(menuBar_);
  menuBar_ = nullptr;
  screens_.clear();
  visible_ = nullptr;
  PostQuitMessage(1);
}

void MainFrame::switchToScreen(UINT screenId, bool push) {
  const HWND target = screenWindow(screenId);
  if (!target) return;
  if (screenId == kMainScreenId) {
    history_.clear();
  } else if (push && currentId_ != 0 && currentId_ != screenId) {
    history_.push_back(currentId_);
  }
  currentId_ = screenId;
  for (const auto& [id, screen] : screens_) ShowWindow(screen, SW_HIDE);
  setMenuBar(screenId);
  if (menuBar_) {
    InvalidateRect(menuBar_, nullptr, FALSE);
    UpdateWindow(menuBar_);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
  // The frame may have changed size while this screen was hidden.
  const RECT client = screenRect();
  RECT current{};
  GetWindowRect(target, &current);
  if (current.right - current.left != client.right || current.bottom - current.top != client.bottom) {
    SetWindowPos(target, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  visible_ = target;
  ShowWindow(target, SW_SHOW);
}

bool MainFrame::setMenuBar(UINT resourceId, DWORD flags) {
  const HWND old = menuBar_;
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = hwnd();
  info.dwFlags = flags;
  info.nToolBarId = resourceId;
  info.hInstRes = AppModule::instance();
  if (!SHCreateMenuBar(&info)) {
    info.hInstRes = AppModule::instance();
    info.hwndMB = nullptr;
    if (!SHCreateMenuBar(&info)) return false;
  }
  RECT bar{};
  GetWindowRect(info.hwndMB, &bar);
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  const LONG bottom = IsWindowVisible(info.hwndMB) ? bar.top : bar.bottom;
  SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  menuBar_ = info.hwndMB;
  menuBarId_ = resourceId;
  if (old && IsWindow(old)) DestroyWindow(old);
  if (!pocketPc_) {
    // Back comes to the frame as WM_HOTKEY instead of being handled by the bar.
    SendMessageW(menuBar_, SHCMBM_OVERRIDEKEY, VK_TBACK,
                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  }
  return true;
}

HMENU MainFrame::rightMenu() const {
  if (!menuBar_ || !IsWindow(menuBar_)) return nullptr;
  return reinterpret_cast<HMENU>(SendMessageW(menuBar_, SHCMBM_GETSUBMENU, 0, kMenuButtonId));
}

void MainFrame::sendToScreens(UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, message, wParam, lParam);
  }
}

void MainFrame::sendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, message, wParam, lParam);
    if (GetWindow(child, GW_CHILD)) sendToDescendants(child, message, wParam, lParam);
  }
}

void MainFrame::notifyInputPanel() {
  SIPINFO sip{};
  sip.cbSize = sizeof(sip);
  if (SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0)) sendToScreens(UM_SIPCHANGED, 0, reinterpret_cast<LPARAM>(&sip));
}

void MainFrame::onSize(UINT type, SIZE) {
  if (type != SIZE_MINIMIZED && visible_) {
    const RECT client = screenRect();
    SetWindowPos(visible_, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainFrame::onSetFocus(HWND) {
  if (visible_) SetFocus(visible_);
}

// The visible screen covers the frame; before there is one the default erases.
bool MainFrame::onEraseBackground(HDC) {
  if (!visible_) passOn();
  return true;
}

void MainFrame::onActivate(UINT state, HWND) {
  if (screens_.empty()) return;
  if (state != WA_INACTIVE) {
    if (pocketPc_) {
      SHSipPreference(hwnd(), SIP_FORCEDOWN);
      notifyInputPanel();
    }
    sendToDescendants(hwnd(), UM_ACTIVATED, 1, reinterpret_cast<LPARAM>(visible_));
    switchToScreen(currentId_, false);
  } else {
    sendToDescendants(hwnd(), UM_ACTIVATED, 0, reinterpret_cast<LPARAM>(visible_));
  }
}

void MainFrame::onSettingChange(UINT flag, LPCWSTR) {
  const bool rotationCode = pocketPc_ ? flag == SETTINGCHANGE_RESET : flag == SPI_SETWORKAREA;
  if (rotationCode) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    if (width != lastScreenWidth_) {
      getDeviceKeyMap().retestOrientation();
      relayout();
      lastScreenWidth_ = width;
    }
  }
  if (pocketPc_ && flag == SPI_SETSIPINFO) notifyInputPanel();
}

void MainFrame::relayout() {
  for (const auto& [id, screen] : screens_) ShowWindow(screen, SW_HIDE);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT frame{};
  GetWindowRect(hwnd(), &frame);
  if (frame.right - frame.left != screenWidth) {
    const int height = frame.bottom + screenHeight - screenWidth - frame.top;
    SetWindowPos(hwnd(), nullptr, 0, 0, screenWidth, height > 0 ? height : 0,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  Settings& settings = getSettings();
  settings.load();
  pocketPc_ = settings.deviceProfile().isPocketPc();
  ImageCache::instance().setUpRoles(settings.deviceProfile().layout(), settings.skinName());
  const RECT client = screenRect();
  for (UINT id : {kFriendDetailsScreenId, kMainScreenId, kItemViewScreenId}) {
    if (HWND screen = screenWindow(id)) MoveWindow(screen, 0, 0, client.right, client.bottom, FALSE);
  }
  sendToScreens(UM_LAYOUTCHANGED, currentId_, 0);
  if (visible_) ShowWindow(visible_, SW_SHOW);
  UpdateWindow(hwnd());
}

LRESULT MainFrame::onHotKey(int id, UINT modifiers, UINT vk) {
  if (vk != VK_TBACK) {
    passOn();
    return 0;
  }
  const LPARAM key = MAKELPARAM(static_cast<WORD>(modifiers), static_cast<WORD>(vk));
  if (visible_ && SendMessageW(visible_, WM_HOTKEY, static_cast<WPARAM>(id), key) != 0) return 0;
  if ((modifiers & MOD_KEYUP) == 0) return 0;
  if (!history_.empty()) {
    const UINT previous = history_.back();
    history_.pop_back();
    switchToScreen(previous, false);
  } else {
    SHNavigateBack();
  }
  return 0;
}

LRESULT MainFrame::onSetMenuBar(WPARAM menuBar, LPARAM screen) {
  if (screen != 0 && reinterpret_cast<HWND>(screen) == visible_ && GetActiveWindow() == hwnd()) {
    setMenuBar(static_cast<UINT>(menuBar));
  }
  return 0;
}

LRESULT MainFrame::onShowSipButton(WPARAM show, LPARAM) {
  if (menuBarId_ != 0) setMenuBar(menuBarId_, show ? 0 : SHCMBF_HIDESIPBUTTON);
  return 0;
}

LRESULT MainFrame::onActivateInstance(WPARAM, LPARAM) {
  if (screens_.empty()) return 0;
  switchToScreen(kMainScreenId, false);
  sendToScreens(UM_ACTIVATEINSTANCE, 0, 0);
  return 0;
}

LRESULT MainFrame::onShowRecord(WPARAM record, LPARAM kind) {
  if (screens_.empty()) return 0;
  const auto id = static_cast<RecordId>(record);
  switch (static_cast<int>(kind)) {
    case kRecordFriend: {
      otherScreens_->showFriend(id);
      // An item view is not kept in the history.
      switchToScreen(kFriendDetailsScreenId, currentId_ != kItemViewScreenId);
      break;
    }
    case kRecordGift:
    case kRecordLoan:
    case kRecordAnniversary:
      otherScreens_->showItem(static_cast<int>(kind), id);
      switchToScreen(kItemViewScreenId, true);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT MainFrame::onReloadList(WPARAM listId, LPARAM lParam) {
  sendToScreens(UM_RELOADLIST, listId, lParam);
  return 0;
}

LRESULT MainFrame::onCheckMenuItem(WPARAM command, LPARAM check) {
  if (HMENU menu = rightMenu()) {
    CheckMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
  }
  return 0;
}

LRESULT MainFrame::onEnableMenuItem(WPARAM command, LPARAM enable) {
  if (HMENU menu = rightMenu()) {
    EnableMenuItem(menu, static_cast<UINT>(command), MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
  }
  return 0;
}

LRESULT MainFrame::onGetMenu(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(rightMenu()); }

LRESULT MainFrame::onFirstLaunch(WPARAM, LPARAM) {
  const int answer = MessageBoxW(hwnd(), platform::loadString(IDS_FIRST_LAUNCH).c_str(), appCaption().c_str(),
                                 MB_YESNO | MB_ICONQUESTION);
  if (answer == IDYES) {
    if (HWND main = screenWindow(kMainScreenId)) PostMessageW(main, WM_COMMAND, ID_IMPORT_CONTACTS, 0);
  }
  return 0;
}

LRESULT MainFrame::onDropFiles(WPARAM drop, LPARAM) {
  if (HWND main = screenWindow(kMainScreenId)) return SendMessageW(main, WM_DROPFILES, drop, 0);
  DragFinish(reinterpret_cast<HDROP>(drop));
  return 0;
}

void MainFrame::onExit(WORD, WORD, HWND) { PostMessageW(hwnd(), WM_CLOSE, 0, 0); }

void MainFrame::onAbout(WORD, WORD, HWND) { AboutBox().run(hwnd(), appCaption()); }

// The pages store as they close; a new name order reaches the lists through UM_RELOADLIST.
void MainFrame::onOptions(WORD, WORD, HWND) { OptionsScreen().run(hwnd()); }

void MainFrame::onHelp(WORD, WORD, HWND) {
  // A missing file or browser is not reported.
  HelpFile::open(hwnd(), getAppPaths().helpPath());
}

void MainFrame::onSwitchCommand(WORD id, WORD, HWND) { switchToScreen(id, true); }

void MainFrame::onOtherCommand(WORD id, WORD code, HWND from) {
  const WPARAM command = MAKEWPARAM(id, code);
  if (!visible_ || SendMessageW(visible_, WM_COMMAND, command, reinterpret_cast<LPARAM>(from)) == 0) passOn();
}

}  // namespace pellucard
