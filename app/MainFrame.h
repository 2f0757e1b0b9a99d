// The program's only top-level window: the soft-key menubar, three full-size screens of which
// one is visible, and the history of earlier screens for the Back key. It handles Exit, About,
// Options and Help itself and sends every other command on to the visible screen.
//
// Screens talk to the frame with the messages of app/PrivateMessages.h, sent to their parent:
//   SendMessageW(GetParent(screen), UM_SETMENUBAR, 1502, (LPARAM)screen);
//   SendMessageW(GetParent(screen), UM_SHOWRECORD, recordId, kRecordGift);
//   SendMessageW(GetParent(screen), WM_COMMAND, kMainScreenId, 0);   // back to the main screen
// The frame sends them UM_LAYOUTCHANGED, UM_SIPCHANGED, UM_ACTIVATED, UM_ACTIVATEINSTANCE and
// passes on UM_RELOADLIST.
//
// The friend details screen (1508) is asked to load a friend with
//   void FriendDetailsScreen::showFriend(RecordId id);
// and the item view screen (1510) to show an item with
//   void ItemViewScreen::show(int kind, RecordId id);   // kind 1 gift, 2 loan, 3 anniversary
// before the frame switches to them. Both are created hidden with screen.create(frame, rect, id).
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "device/PrivateMessages.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WindowBase.h"
#include "store/RecordId.h"

namespace pellucard {

class MainScreen;
class FriendDetailsScreen;
class ItemViewScreen;

class MainFrame : public platform::WindowImpl<MainFrame>, public platform::MessageFilter {
 public:
  MainFrame();
  ~MainFrame() override;

  static const platform::MessageMap<MainFrame>& messageMap();

  // Creates the frame hidden, over the work area, with the class name and title of string 128.
  HWND create();

  // Translates the accelerators (resource 128) before dispatch.
  BOOL preTranslateMessage(MSG* msg) override;

  // 0 before the first switch, then 1500, 1508 or 1510.
  UINT currentScreenId() const { return currentId_; }
  HWND screenWindow(UINT screenId) const;
  HWND visibleScreen() const { return visible_; }
  const std::vector<UINT>& history() const { return history_; }
  HWND menuBar() const { return menuBar_; }
  UINT menuBarId() const { return menuBarId_; }

  // Shows a screen; 1500 clears the history, otherwise with push the current id is remembered.
  void switchToScreen(UINT screenId, bool push);

 protected:
  platform::WindowClassInfo windowClass() const override;

 private:
  class Screens;

  bool onCreate(const CREATESTRUCTW& create);
  void onDestroy();
  void onSize(UINT type, SIZE client);
  void onSetFocus(HWND previous);
  bool onEraseBackground(HDC dc);
  void onActivate(UINT state, HWND other);
  void onSettingChange(UINT flag, LPCWSTR section);
  LRESULT onHotKey(int id, UINT modifiers, UINT vk);
  LRESULT onSetMenuBar(WPARAM menuBar, LPARAM screen);
  LRESULT onShowSipButton(WPARAM show, LPARAM);
  LRESULT onActivateInstance(WPARAM, LPARAM);
  LRESULT onShowRecord(WPARAM record, LPARAM kind);
  LRESULT onReloadList(WPARAM listId, LPARAM lParam);
  LRESULT onCheckMenuItem(WPARAM command, LPARAM check);
  LRESULT onEnableMenuItem(WPARAM command, LPARAM enable);
  LRESULT onGetMenu(WPARAM, LPARAM);
  LRESULT onFirstLaunch(WPARAM, LPARAM);
  // Dropped files go to the main screen, which adds the contacts they hold.
  LRESULT onDropFiles(WPARAM drop, LPARAM);
  void onExit(WORD, WORD, HWND);
  void onAbout(WORD, WORD, HWND);
  void onOptions(WORD, WORD, HWND);
  void onHelp(WORD, WORD, HWND);
  void onSwitchCommand(WORD id, WORD, HWND);
  // Every other command goes to the visible screen.
  void onOtherCommand(WORD id, WORD code, HWND from);

  // Replaces the menubar by a resource; the old one stays when the new one cannot be made.
  bool setMenuBar(UINT resourceId, DWORD flags = 0);
  HMENU rightMenu() const;
  void relayout();
  void sendToScreens(UINT message, WPARAM wParam, LPARAM lParam);
  void sendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
  void notifyInputPanel();
  RECT screenRect() const;

  std::unique_ptr<MainScreen> mainScreen_;
  std::unique_ptr<Screens> otherScreens_;
  std::map<UINT, HWND> screens_;
  std::vector<UINT> history_;
  UINT currentId_ = 0;
  HWND visible_ = nullptr;
  HWND menuBar_ = nullptr;
  UINT menuBarId_ = 0;
  RECT createdRect_{};
  int lastScreenWidth_ = 0;
  HACCEL accelerators_ = nullptr;
  bool pocketPc_ = true;
};

}  // namespace pellucard
