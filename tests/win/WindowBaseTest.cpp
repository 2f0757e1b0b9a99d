// The C++ window base: message maps, subclassing, reflection to the child that caused a
// notification, and the message loop with filters translating accelerators.
#include <gtest/gtest.h>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/win/MessageLoop.h"
#include "platform/win/WindowBase.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::MessageMap;
using platform::WindowImpl;
using platform::testing::TestDevice;

namespace {

std::vector<std::string>& events() {
  static std::vector<std::string> e;
  return e;
}

// A control built on an existing class that draws and handles its own notifications.
class OwnDrawnControl : public WindowImpl<OwnDrawnControl> {
 public:
  static const MessageMap<OwnDrawnControl>& messageMap() {
    static const auto map = MessageMap<OwnDrawnControl>()
                                .message(OCM_DRAWITEM, &OwnDrawnControl::onDrawItem)
                                .message(OCM_MEASUREITEM, &OwnDrawnControl::onMeasureItem)
                                .notify(-1, 77, &OwnDrawnControl::onNotify, true)
                                .command(5, &OwnDrawnControl::onCommand, true);
    return map;
  }
  bool finalSeen = false;

 protected:
  void onFinalMessage(HWND) override { finalSeen = true; }

 private:
  LRESULT onDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&) {
    events().push_back("draw item " + std::to_string(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemID));
    return TRUE;
  }
  LRESULT onMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 33;
    return TRUE;
  }
  LRESULT onNotify(int id, NMHDR*, BOOL&) {
    events().push_back("notify from " + std::to_string(id));
    return 9;
  }
  LRESULT onCommand(WORD code, WORD id, HWND, BOOL&) {
    events().push_back("command " + std::to_string(id) + " code " + std::to_string(code));
    return 0;
  }
};

class Parent : public WindowImpl<Parent> {
 public:
  static const MessageMap<Parent>& messageMap() {
    static const auto map = MessageMap<Parent>()
                                .message(WM_CREATE, &Parent::onCreate)
                                .command(100, &Parent::onMenu)
                                .commandCode(1, &Parent::onAccelerator)
                                .add(reflectNotifications());
    return map;
  }
  OwnDrawnControl control;

 private:
  LRESULT onCreate(UINT, WPARAM, LPARAM, BOOL&) {
    events().push_back("parent created");
    control.createOfClass(u"LogWindow", hwnd(), RECT{0, 0, 100, 100}, u"", WS_CHILD | WS_VISIBLE, 0, 5);
    return 0;
  }
  LRESULT onMenu(WORD, WORD, HWND, BOOL&) {
    events().push_back("menu 100");
    return 0;
  }
  LRESULT onAccelerator(WORD, WORD id, HWND, BOOL&) {
    events().push_back("accelerator " + std::to_string(id));
    return 0;
  }
};

class WindowBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events().clear();
    platform::testing::MessageLog::registerLogClass();
  }
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

  // The object lets go of its window when the window goes.
  DestroyWindow(parent.hwnd());
  EXPECT_TRUE(parent.control.finalSeen);
  EXPECT_EQ(parent.control.hwnd(), nullptr);
  EXPECT_EQ(parent.hwnd(), nullptr);
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
    static const auto map = MessageMap<SelfOwned>().message(WM_KEYDOWN, &SelfOwned::onKey);
    return map;
  }

 protected:
  void onFinalMessage(HWND) override { delete this; }

 private:
  LRESULT onKey(UINT, WPARAM, LPARAM, BOOL&) {
    DestroyWindow(hwnd());
    return 0;
  }
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
