// The C++ window base: message maps (cracked handlers, commands and notifications by id and
// code, chaining, reflection to the child that caused a notification, the raw escape hatch,
// passing on to the default procedure), subclassing, and the message loop with filters
// translating accelerators.
#include <gtest/gtest.h>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WindowBase.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::MessageMap;
using platform::WindowImpl;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

std::vector<std::string>& events() {
  static std::vector<std::string> e;
  return e;
}

std::string hex(const void* p) { return std::to_string(reinterpret_cast<std::uintptr_t>(p)); }

// A control built on an existing class that draws and handles its own notifications.
class OwnDrawnControl : public WindowImpl<OwnDrawnControl> {
 public:
  static const MessageMap<OwnDrawnControl>& messageMap() {
    using M = OwnDrawnControl;
    static const auto map = MessageMap<M>()
                                .on<OCM_DRAWITEM>(&M::onDrawItem)
                                .on<OCM_MEASUREITEM>(&M::onMeasureItem)
                                .reflectedNotify(77, &M::onNotify)
                                .reflectedCommand(5, &M::onCommand);
    return map;
  }
  bool finalSeen = false;

 protected:
  void onFinalMessage(HWND) override { finalSeen = true; }

 private:
  bool onDrawItem(const DRAWITEMSTRUCT& item) {
    events().push_back("draw item " + std::to_string(item.itemID));
    return true;
  }
  bool onMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = 33;
    return true;
  }
  LRESULT onNotify(NMHDR& header) {
    events().push_back("notify from " + std::to_string(header.idFrom));
    return 9;
  }
  void onCommand(WORD id, WORD code, HWND) {
    events().push_back("command " + std::to_string(id) + " code " + std::to_string(code));
  }
};

class Parent : public WindowImpl<Parent> {
 public:
  static const MessageMap<Parent>& messageMap() {
    static const auto map = MessageMap<Parent>()
                                .on<WM_CREATE>(&Parent::onCreate)
                                .command(100, &Parent::onMenu)
                                .commandCode(1, &Parent::onAccelerator)
                                .reflectNotifications();
    return map;
  }
  OwnDrawnControl control;

 private:
  bool onCreate(const CREATESTRUCTW&) {
    events().push_back("parent created");
    control.createOfClass(u"LogWindow", hwnd(), RECT{0, 0, 100, 100}, u"", WS_CHILD | WS_VISIBLE, 0, 5);
    return true;
  }
  void onMenu(WORD, WORD, HWND) { events().push_back("menu 100"); }
  void onAccelerator(WORD id, WORD, HWND) { events().push_back("accelerator " + std::to_string(id)); }
};

class WindowBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events().clear();
    MessageLog::registerLogClass();
    log().clear();
    log().keepOnly({});
  }
  static MessageLog& log() { return MessageLog::instance(); }
  TestDevice device;
};

}  // namespace

TEST_F(WindowBaseTest, MessageMapsRouteMessagesCommandsAndReflection) {
  Parent parent;
  ASSERT_NE(parent.create(nullptr, RECT{0, 0, 240, 320}, u"Parent", WS_VISIBLE), nullptr);
  const HWND child = parent.control.hwnd();
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(platform::WindowBase::fromHandle(child), &parent.control);

  SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(100, 0), 0);
  DRAWITEMSTRUCT dis{ODT_LISTVIEW, 5, 3, ODA_DRAWENTIRE, 0, child, nullptr, RECT{}, 0};
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_DRAWITEM, 5, reinterpret_cast<LPARAM>(&dis)), TRUE);
  MEASUREITEMSTRUCT mis{ODT_LISTVIEW, 5, 0, 0, 0, 0};
  SendMessageW(parent.hwnd(), WM_MEASUREITEM, 5, reinterpret_cast<LPARAM>(&mis));
  EXPECT_EQ(mis.itemHeight, 33u);
  NMHDR hdr{child, 5, 77};
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&hdr)), 9);
  SendMessageW(parent.hwnd(), WM_COMMAND, MAKEWPARAM(5, 2), reinterpret_cast<LPARAM>(child));
  EXPECT_EQ(events(), (std::vector<std::string>{"parent created", "menu 100", "draw item 3", "notify from 5",
                                                "command 5 code 2"}));

  // A reflected notification the control does not handle gets the parent's default answer.
  NMHDR other{child, 5, 78};
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&other)), 0);

  // The object lets go of its window when the window goes.
  DestroyWindow(parent.hwnd());
  EXPECT_TRUE(parent.control.finalSeen);
  EXPECT_EQ(parent.control.hwnd(), nullptr);
  EXPECT_EQ(parent.hwnd(), nullptr);
}

namespace {

// Every cracked handler writes down the arguments it was given.
class Cracked : public WindowImpl<Cracked> {
 public:
  static const MessageMap<Cracked>& messageMap() {
    using M = Cracked;
    static const auto map = MessageMap<M>()
                                .on<WM_CREATE>(&M::onCreate)
                                .on<WM_SIZE>(&M::onSize)
                                .on<WM_SETFOCUS>(&M::onSetFocus)
                                .on<WM_KILLFOCUS>(&M::onKillFocus)
                                .on<WM_ERASEBKGND>(&M::onEraseBackground)
                                .on<WM_SETTINGCHANGE>(&M::onSettingChange)
                                .on<WM_WINDOWPOSCHANGED>(&M::onWindowPosChanged)
                                .on<WM_KEYDOWN>(&M::onKeyDown)
                                .on<WM_KEYUP>(&M::onKeyUp)
                                .on<WM_CHAR>(&M::onChar)
                                .on<WM_TIMER>(&M::onTimer)
                                .on<WM_VSCROLL>(&M::onVScroll)
                                .on<WM_LBUTTONDOWN>(&M::onLButtonDown)
                                .on<WM_MOUSEMOVE>(&M::onMouseMove)
                                .on<WM_CAPTURECHANGED>(&M::onCaptureChanged)
                                .on<WM_HOTKEY>(&M::onHotKey)
                                .on<WM_SETFONT>(&M::onSetFont)
                                .on<WM_GETFONT>(&M::onGetFont)
                                .on<WM_ACTIVATE>(&M::onActivate);
    return map;
  }
  bool refuse = false;
  bool windowPosSeen = false;

 private:
  bool onCreate(const CREATESTRUCTW& create) {
    events().push_back("create " + std::to_string(create.cx) + "x" + std::to_string(create.cy));
    return !refuse;
  }
  void onSize(UINT type, SIZE client) {
    events().push_back("size " + std::to_string(type) + " " + std::to_string(client.cx) + "x" +
                       std::to_string(client.cy));
  }
  void onSetFocus(HWND previous) { events().push_back("set focus from " + hex(previous)); }
  void onKillFocus(HWND next) { events().push_back("kill focus to " + hex(next)); }
  bool onEraseBackground(HDC dc) {
    events().push_back("erase " + hex(dc));
    return false;
  }
  void onSettingChange(UINT flag, LPCWSTR section) {
    events().push_back("setting " + std::to_string(flag) + (section != nullptr ? " with section" : ""));
  }
  void onWindowPosChanged(const WINDOWPOS&) { windowPosSeen = true; }
  void onKeyDown(UINT vk, UINT flags) {
    events().push_back("key down " + std::to_string(vk) + " " + std::to_string(flags));
  }
  void onKeyUp(UINT vk, UINT flags) {
    events().push_back("key up " + std::to_string(vk) + " " + std::to_string(flags));
  }
  void onChar(WCHAR ch, UINT) { events().push_back("char " + std::to_string(static_cast<int>(ch))); }
  void onTimer(UINT_PTR id) { events().push_back("timer " + std::to_string(id)); }
  void onVScroll(UINT code, int position, HWND bar) {
    events().push_back("vscroll " + std::to_string(code) + " " + std::to_string(position) + " " + hex(bar));
  }
  void onLButtonDown(POINT point, UINT flags) {
    events().push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y) + " " + std::to_string(flags));
  }
  void onMouseMove(POINT point, UINT) {
    events().push_back("move " + std::to_string(point.x) + "," + std::to_string(point.y));
  }
  void onCaptureChanged(HWND capture) { events().push_back("capture to " + hex(capture)); }
  LRESULT onHotKey(int id, UINT modifiers, UINT vk) {
    events().push_back("hot key " + std::to_string(id) + " " + std::to_string(modifiers) + " " + std::to_string(vk));
    return 42;
  }
  void onSetFont(HFONT font, bool redraw) {
    font_ = font;
    events().push_back(std::string("font ") + (redraw ? "redraw" : "quiet"));
  }
  HFONT onGetFont() { return font_; }
  void onActivate(UINT state, HWND other) {
    events().push_back("activate " + std::to_string(state) + " " + hex(other));
  }

  HFONT font_ = nullptr;
};

}  // namespace

TEST_F(WindowBaseTest, CrackedHandlersGetTheMessagesArgumentsAndGiveItsResult) {
  Cracked window;
  const HWND h = window.create(nullptr, RECT{0, 0, 200, 100}, u"Cracked", WS_VISIBLE);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(events().front(), "create 200x100");
  EXPECT_TRUE(window.windowPosSeen);
  events().clear();

  const HWND other = reinterpret_cast<HWND>(0x1234);
  SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 180));
  SendMessageW(h, WM_SETFOCUS, reinterpret_cast<WPARAM>(other), 0);
  SendMessageW(h, WM_KILLFOCUS, reinterpret_cast<WPARAM>(other), 0);
  const HDC dc = reinterpret_cast<HDC>(0x99);
  EXPECT_EQ(SendMessageW(h, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), FALSE);
  SendMessageW(h, WM_SETTINGCHANGE, 47, 0);
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0x01500001);
  SendMessageW(h, WM_KEYUP, VK_DOWN, 0xC1500001);
  SendMessageW(h, WM_CHAR, u'\u00e9', 1);
  SendMessageW(h, WM_TIMER, 102, 0);
  SendMessageW(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000), reinterpret_cast<LPARAM>(other));
  // Stylus coordinates are signed: a point left of and above the window stays negative.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), 17));
  SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(30, static_cast<WORD>(-2)));
  SendMessageW(h, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(other));
  EXPECT_EQ(SendMessageW(h, WM_HOTKEY, 7, MAKELPARAM(MOD_KEYUP, VK_ESCAPE)), 42);
  const HFONT font = reinterpret_cast<HFONT>(0x77);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(SendMessageW(h, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
  SendMessageW(h, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other));

  EXPECT_EQ(events(),
            (Seq{"size 0 240x180", "set focus from " + hex(other), "kill focus to " + hex(other), "erase " + hex(dc),
                 "setting 47", "key down " + std::to_string(VK_DOWN) + " " + std::to_string(0x01500001),
                 "key up " + std::to_string(VK_DOWN) + " " + std::to_string(0xC1500001u), "char 233", "timer 102",
                 "vscroll " + std::to_string(SB_THUMBTRACK) + " 40000 " + hex(other),
                 "down -5,17 " + std::to_string(MK_LBUTTON), "move 30,-2", "capture to " + hex(other),
                 "hot key 7 " + std::to_string(MOD_KEYUP) + " " + std::to_string(VK_ESCAPE), "font redraw",
                 "activate 0 " + hex(other)}));
}

TEST_F(WindowBaseTest, ACreateHandlerThatRefusesFailsTheCreation) {
  Cracked window;
  window.refuse = true;
  EXPECT_EQ(window.create(nullptr, RECT{0, 0, 20, 10}, u"Refused", WS_VISIBLE), nullptr);
  EXPECT_EQ(window.hwnd(), nullptr);
}

TEST_F(WindowBaseTest, MessagesWithoutTheirStructureGoOnUnhandled) {
  Cracked window;
  const HWND h = window.create(nullptr, RECT{0, 0, 20, 10}, u"Cracked", 0);
  window.windowPosSeen = false;
  EXPECT_EQ(SendMessageW(h, WM_WINDOWPOSCHANGED, 0, 0), 0);
  EXPECT_FALSE(window.windowPosSeen);
}

namespace {

// Commands and notifications by id, by code and by both; the catch-all WM_COMMAND and
// WM_NOTIFY entries; a raw private message.
class Router : public WindowImpl<Router> {
 public:
  static constexpr UINT kPrivate = WM_USER + 5;
  static const MessageMap<Router>& messageMap() {
    using M = Router;
    static const auto map = MessageMap<M>()
                                .command(10, &M::onTen)
                                .command(10, 3, &M::onTenThree)
                                .commandCode(4, &M::onCodeFour)
                                .command(11, &M::onPassing)
                                .on<WM_COMMAND>(&M::onAnyCommand)
                                .notify(20, 7, &M::onTwentySeven)
                                .notify(7, &M::onSeven)
                                .notify(8, &M::onEightPassing)
                                .on<WM_NOTIFY>(&M::onAnyNotify)
                                .on(kPrivate, &M::onPrivate);
    return map;
  }

 private:
  void onTen(WORD id, WORD code, HWND) { record("ten", id, code); }
  void onTenThree(WORD id, WORD code, HWND) { record("ten three", id, code); }
  void onCodeFour(WORD id, WORD code, HWND) { record("code four", id, code); }
  void onPassing(WORD id, WORD code, HWND) {
    record("passing", id, code);
    passOn();
  }
  void onAnyCommand(WORD id, WORD code, HWND from) {
    record("any command", id, code);
    if (from != nullptr) passOn();
  }
  LRESULT onTwentySeven(NMHDR& header) {
    events().push_back("twenty seven from " + std::to_string(header.idFrom));
    return 27;
  }
  LRESULT onSeven(NMHDR& header) {
    events().push_back("seven from " + std::to_string(header.idFrom));
    return 7;
  }
  LRESULT onEightPassing(NMHDR&) {
    events().push_back("eight passing");
    passOn();
    return 8;
  }
  LRESULT onAnyNotify(NMHDR& header) {
    events().push_back("any notify " + std::to_string(header.code));
    return 99;
  }
  LRESULT onPrivate(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam * 1000 + lParam); }
  static void record(const std::string& what, WORD id, WORD code) {
    events().push_back(what + " " + std::to_string(id) + "/" + std::to_string(code));
  }
};

LRESULT command(HWND h, WORD id, WORD code, HWND from = nullptr) {
  return SendMessageW(h, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(from));
}

LRESULT notify(HWND h, UINT_PTR id, UINT code) {
  NMHDR header{nullptr, id, code};
  return SendMessageW(h, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

}  // namespace

TEST_F(WindowBaseTest, CommandsGoToTheirIdAndCodeThenIdThenCodeThenTheCatchAll) {
  Router router;
  const HWND h = router.create(nullptr, RECT{0, 0, 20, 10}, u"Router", 0);
  EXPECT_EQ(command(h, 10, 0), TRUE) << "a command a handler keeps answers TRUE";
  command(h, 10, 3);
  command(h, 12, 4);
  command(h, 10, 4);
  command(h, 11, 0);
  command(h, 13, 0);
  EXPECT_EQ(events(), (Seq{"ten 10/0", "ten three 10/3", "code four 12/4", "ten 10/4", "passing 11/0",
                           "any command 11/0", "any command 13/0"}));

  // Passed on by every entry, a command reaches the default procedure, which answers 0.
  events().clear();
  EXPECT_EQ(command(h, 14, 0, reinterpret_cast<HWND>(0x1)), 0);
  EXPECT_EQ(events(), (Seq{"any command 14/0"}));
}

TEST_F(WindowBaseTest, NotificationsGoToTheirControlAndCodeThenCodeThenTheCatchAll) {
  Router router;
  const HWND h = router.create(nullptr, RECT{0, 0, 20, 10}, u"Router", 0);
  EXPECT_EQ(notify(h, 20, 7), 27);
  EXPECT_EQ(notify(h, 21, 7), 7);
  EXPECT_EQ(notify(h, 21, 8), 99) << "the catch-all answers what the passing entry left";
  EXPECT_EQ(notify(h, 21, 9), 99);
  EXPECT_EQ(events(), (Seq{"twenty seven from 20", "seven from 21", "eight passing", "any notify 8", "any notify 9"}));
  // A WM_NOTIFY without its header reaches no handler.
  events().clear();
  EXPECT_EQ(SendMessageW(h, WM_NOTIFY, 21, 0), 0);
  EXPECT_TRUE(events().empty());
}

TEST_F(WindowBaseTest, RawHandlersGetTheParametersAsTheyCame) {
  Router router;
  const HWND h = router.create(nullptr, RECT{0, 0, 20, 10}, u"Router", 0);
  EXPECT_EQ(SendMessageW(h, Router::kPrivate, 3, 4), 3004);
}

namespace {

// A control class and one derived from it: the derived map comes first and chains to the
// base's, which also handles what the derived one passes on.
class BaseControl : public WindowImpl<BaseControl> {
 public:
  static const MessageMap<BaseControl>& messageMap() {
    using M = BaseControl;
    static const auto map =
        MessageMap<M>().on<WM_KEYDOWN>(&M::onKeyDown).on<WM_CHAR>(&M::onChar).command(30, &M::onThirty);
    return map;
  }

 private:
  void onKeyDown(UINT vk, UINT) {
    events().push_back("base key " + std::to_string(vk));
    if (vk == VK_RIGHT) passOn();
  }
  void onChar(WCHAR ch, UINT) { events().push_back("base char " + std::to_string(static_cast<int>(ch))); }
  void onThirty(WORD, WORD, HWND) { events().push_back("base thirty"); }
};

class DerivedControl : public WindowImpl<DerivedControl, BaseControl> {
 public:
  static const MessageMap<DerivedControl>& messageMap() {
    using M = DerivedControl;
    static const auto map = MessageMap<M>().on<WM_KEYDOWN>(&M::onKeyDown).chain(BaseControl::messageMap());
    return map;
  }

 private:
  void onKeyDown(UINT vk, UINT) {
    events().push_back("derived key " + std::to_string(vk));
    if (vk != VK_UP) passOn();
  }
};

}  // namespace

TEST_F(WindowBaseTest, ChainedMapsSeeWhatTheOwnMapLeavesThenTheDefaultDoes) {
  DerivedControl control;
  const HWND h = control.createOfClass(u"LogWindow", nullptr, RECT{0, 0, 20, 10}, u"", 0);
  ASSERT_NE(h, nullptr);
  log().name(h, "control");
  log().keepOnly({WM_KEYDOWN, WM_CHAR, WM_COMMAND});
  log().clear();
  SendMessageW(h, WM_KEYDOWN, VK_UP, 0);
  SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(h, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(h, WM_CHAR, u'a', 0);
  command(h, 30, 0);
  EXPECT_EQ(events(), (Seq{"derived key " + std::to_string(VK_UP), "derived key " + std::to_string(VK_DOWN),
                           "base key " + std::to_string(VK_DOWN), "derived key " + std::to_string(VK_RIGHT),
                           "base key " + std::to_string(VK_RIGHT), "base char 97", "base thirty"}));
  // Only what every map passed on reaches the subclassed class.
  EXPECT_EQ(log().sequence(), (Seq{"control:WM_KEYDOWN"}));
  EXPECT_EQ(log().entries()[0].wParam, static_cast<WPARAM>(VK_RIGHT));
}

namespace {

// A control that handles no notification itself; its base class handles code 91 when reflected.
class NotifiedBase : public WindowImpl<NotifiedBase> {
 public:
  static const MessageMap<NotifiedBase>& messageMap() {
    static const auto map = MessageMap<NotifiedBase>().reflectedNotify(91, &NotifiedBase::onNotify);
    return map;
  }

 private:
  LRESULT onNotify(NMHDR&) { return 91; }
};

class NotifiedControl : public WindowImpl<NotifiedControl, NotifiedBase> {
 public:
  static const MessageMap<NotifiedControl>& messageMap() {
    static const auto map = MessageMap<NotifiedControl>().chain(NotifiedBase::messageMap());
    return map;
  }
};

class NotifiedParent : public WindowImpl<NotifiedParent> {
 public:
  static const MessageMap<NotifiedParent>& messageMap() {
    static const auto map = MessageMap<NotifiedParent>().reflectNotifications();
    return map;
  }
};

WNDPROC g_beforeForeign = nullptr;
LRESULT CALLBACK foreignProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == OCM_NOTIFY)
    events().push_back("foreign saw " + std::to_string(reinterpret_cast<NMHDR*>(lParam)->code));
  return CallWindowProcW(g_beforeForeign, hwnd, message, wParam, lParam);
}

}  // namespace

// Reflection skips a child whose maps cannot take the notification (a list view notifies its
// parent of every row inserted); what every child sees and answers stays the same.
TEST_F(WindowBaseTest, ReflectedNotificationsReachChainedMapsAndForeignSubclasses) {
  NotifiedParent parent;
  parent.create(nullptr, RECT{0, 0, 240, 320}, u"Parent", WS_VISIBLE);
  NotifiedControl control;
  const HWND child = control.createOfClass(u"LogWindow", parent.hwnd(), RECT{0, 0, 10, 10}, u"", WS_CHILD, 0, 8);
  ASSERT_NE(child, nullptr);
  log().name(child, "control");
  log().keepOnly({OCM_NOTIFY});
  log().clear();
  NMHDR handled{child, 8, 91};
  NMHDR unhandled{child, 8, 92};
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&handled)), 91);
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&unhandled)), 0);
  // What no map takes goes on to the class under the object, as any unhandled message does.
  ASSERT_EQ(log().sequence(), (Seq{"control:" + std::to_string(OCM_NOTIFY)}));
  EXPECT_EQ(reinterpret_cast<NMHDR*>(log().entries()[0].lParam)->code, 92u);

  // A procedure put in front of the object sees every reflected notification again.
  g_beforeForeign =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&foreignProc)));
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&unhandled)), 0);
  EXPECT_EQ(SendMessageW(parent.hwnd(), WM_NOTIFY, 8, reinterpret_cast<LPARAM>(&handled)), 91);
  EXPECT_EQ(events(), (Seq{"foreign saw 92", "foreign saw 91"}));
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_beforeForeign));
  DestroyWindow(parent.hwnd());
}

namespace {

// Passes every key on, after sending itself a message that a handler keeps: the inner
// message's outcome must not decide the outer one's.
class Nested : public WindowImpl<Nested> {
 public:
  static const MessageMap<Nested>& messageMap() {
    static const auto map = MessageMap<Nested>().on<WM_KEYDOWN>(&Nested::onKeyDown).on<WM_CHAR>(&Nested::onChar);
    return map;
  }

 private:
  void onKeyDown(UINT vk, UINT) {
    SendMessageW(hwnd(), WM_CHAR, vk, 0);
    passOn();
  }
  void onChar(WCHAR, UINT) {
    // Kept; then a nested key that passes on.
    if (++depth_ == 1) SendMessageW(hwnd(), WM_KEYDOWN, 'B', 0);
  }
  int depth_ = 0;
};

}  // namespace

TEST_F(WindowBaseTest, NestedMessagesKeepTheirOwnOutcome) {
  Nested window;
  const HWND h = window.createOfClass(u"LogWindow", nullptr, RECT{0, 0, 20, 10}, u"", 0);
  log().name(h, "nested");
  log().keepOnly({WM_KEYDOWN, WM_CHAR});
  log().clear();
  SendMessageW(h, WM_KEYDOWN, 'A', 0);
  ASSERT_EQ(log().sequence(), (Seq{"nested:WM_KEYDOWN", "nested:WM_KEYDOWN"}));
  EXPECT_EQ(log().entries()[0].wParam, static_cast<WPARAM>('B'));
  EXPECT_EQ(log().entries()[1].wParam, static_cast<WPARAM>('A'));
}

TEST_F(WindowBaseTest, UnhandledMessagesReachTheDefaultProcedure) {
  Router router;
  const HWND h = router.create(nullptr, RECT{0, 0, 20, 10}, u"Router", 0);
  SetWindowTextW(h, u"Renamed");
  WCHAR text[16] = {};
  GetWindowTextW(h, text, 16);
  EXPECT_EQ(std::u16string(text), u"Renamed");

  // A subclassed control keeps doing what its class does for everything its map lacks.
  OwnDrawnControl control;
  const HWND c = control.createOfClass(u"LogWindow", nullptr, RECT{0, 0, 20, 10}, u"", 0);
  log().name(c, "control");
  log().keepOnly({WM_KEYDOWN, WM_USER + 9});
  log().clear();
  SendMessageW(c, WM_KEYDOWN, VK_LEFT, 0);
  SendMessageW(c, WM_USER + 9, 1, 2);
  EXPECT_EQ(log().sequence(), (Seq{"control:WM_KEYDOWN", "control:" + platform::testing::messageName(WM_USER + 9)}));
}

TEST_F(WindowBaseTest, SubclassingTwiceIsRefusedAndUnsubclassRestores) {
  Parent parent;
  parent.create(nullptr, RECT{0, 0, 240, 320}, u"Parent", WS_VISIBLE);
  const HWND child = parent.control.hwnd();
  OwnDrawnControl second;
  EXPECT_FALSE(second.subclassWindow(child));
  EXPECT_EQ(parent.control.unsubclassWindow(), child);
  EXPECT_TRUE(IsWindow(child));
  EXPECT_TRUE(second.subclassWindow(child));
  EXPECT_FALSE(second.subclassWindow(reinterpret_cast<HWND>(0x4321)));
}

TEST_F(WindowBaseTest, ObjectGoingAwayDestroysItsOwnWindow) {
  HWND h = nullptr;
  {
    Parent parent;
    h = parent.create(nullptr, RECT{0, 0, 240, 320}, u"Parent", WS_VISIBLE);
    ASSERT_TRUE(IsWindow(h));
  }
  EXPECT_FALSE(IsWindow(h));
}

namespace {
struct AcceleratorFilter : platform::MessageFilter {
  HWND target = nullptr;
  HACCEL table = nullptr;
  BOOL preTranslateMessage(MSG* msg) override { return TranslateAcceleratorW(target, table, msg); }
};
}  // namespace

TEST_F(WindowBaseTest, MessageLoopOffersMessagesToFiltersThatTranslateAccelerators) {
  Parent parent;
  parent.create(nullptr, RECT{0, 0, 240, 320}, u"Parent", WS_VISIBLE);
  platform::ResourceTable::instance().addAccelerators(128, {{FVIRTKEY | FCONTROL, 'N', 1020}, {FVIRTKEY, VK_F5, 1021}});
  AcceleratorFilter filter;
  filter.target = parent.hwnd();
  filter.table = LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(128));
  ASSERT_NE(filter.table, nullptr);
  EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(128)), filter.table);
  EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCE(999)), nullptr);

  platform::MessageLoop loop;
  EXPECT_TRUE(loop.addMessageFilter(&filter));
  EXPECT_FALSE(loop.addMessageFilter(&filter));
  ASSERT_TRUE(device.script("key ctrl+n\nkey n\nkey F5\nquit\n"));
  EXPECT_EQ(loop.run(), 0);
  EXPECT_EQ(events(), (std::vector<std::string>{"parent created", "accelerator 1020", "accelerator 1021"}));
  EXPECT_EQ(platform::MessageLoop::current(), nullptr);

  MSG msg{parent.hwnd(), WM_KEYDOWN, VK_F5, 1, 0, {}};
  SetLastError(0);
  EXPECT_EQ(TranslateAcceleratorW(parent.hwnd(), reinterpret_cast<HACCEL>(0x77), &msg), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ACCEL_HANDLE));
  platform::ResourceTable::instance().clear();
}

namespace {
// A window object that owns itself and goes with its window, destroying it from a handler.
class SelfOwned : public WindowImpl<SelfOwned> {
 public:
  static int& alive() {
    static int n = 0;
    return n;
  }
  SelfOwned() { ++alive(); }
  ~SelfOwned() override { --alive(); }
  static const MessageMap<SelfOwned>& messageMap() {
    static const auto map = MessageMap<SelfOwned>().on<WM_KEYDOWN>(&SelfOwned::onKey);
    return map;
  }

 protected:
  void onFinalMessage(HWND) override { delete this; }

 private:
  void onKey(UINT, UINT) { DestroyWindow(hwnd()); }
};
}  // namespace

TEST_F(WindowBaseTest, AnObjectMayDeleteItselfWithItsLastMessage) {
  auto* window = new SelfOwned;
  const HWND h = window->create(nullptr, RECT{0, 0, 240, 320}, u"Self", WS_VISIBLE);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(SelfOwned::alive(), 1);
  device.key(VK_DOWN);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(SelfOwned::alive(), 0);
}
