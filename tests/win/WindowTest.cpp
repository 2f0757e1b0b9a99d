// Window classes, window data, relations, text, coordinates, metrics and the failures of bad
// handles and arguments.
#include <gtest/gtest.h>

#include "platform/base/RemoteWindowProvider.h"
#include "platform/base/WinError.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowObserver.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;

namespace {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MessageLog::instance().clear();
    MessageLog::instance().keepOnly({});
  }
  TestDevice device;
};

LRESULT refuseCreate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::instance().record(hwnd, message, wParam, lParam);
  if (message == WM_CREATE) return -1;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

WNDPROC g_previous = nullptr;
LRESULT upperText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    std::u16string text(reinterpret_cast<LPCWSTR>(lParam));
    for (auto& c : text)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    return CallWindowProcW(g_previous, hwnd, message, wParam, reinterpret_cast<LPARAM>(text.c_str()));
  }
  return CallWindowProcW(g_previous, hwnd, message, wParam, lParam);
}

BOOL CALLBACK collect(HWND hwnd, LPARAM lParam) {
  reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
  return TRUE;
}

}  // namespace

TEST_F(WindowTest, ClassesRegisterOnceAndUnknownClassesFail) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"OnceOnly";
  EXPECT_NE(RegisterClassW(&wc), 0);
  SetLastError(0);
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_EQ(RegisterClassW(nullptr), 0);

  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(CreateWindowExW(0, u"OnceOnly", u"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));

  HWND w = CreateWindowExW(0, u"oncEonly", u"t", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(UnregisterClassW(u"OnceOnly", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  WCHAR name[32];
  EXPECT_EQ(GetClassNameW(w, name, 32), 8);
  EXPECT_EQ(std::u16string(name), u"OnceOnly");
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassW(u"OnceOnly", nullptr));
}

TEST_F(WindowTest, CreateReturningMinusOneDestroysTheWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = refuseCreate;
  wc.lpszClassName = u"Refusing";
  RegisterClassW(&wc);
  MessageLog::instance().namePending("r");
  MessageLog::instance().keepOnly({WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY});
  EXPECT_EQ(CreateWindowExW(0, u"Refusing", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(MessageLog::instance().sequence(),
            (std::vector<std::string>{"r:WM_NCCREATE", "r:WM_CREATE", "r:WM_DESTROY", "r:WM_NCDESTROY"}));
}

TEST_F(WindowTest, InvalidHandlesFailWithTheLastError) {
  HWND w = createLogWindow("gone", 0, 0, 0, 10, 10);
  DestroyWindow(w);
  const HWND bad[] = {w, reinterpret_cast<HWND>(0x12345678)};
  for (HWND h : bad) {
    SetLastError(0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(DestroyWindow(h));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    RECT r;
    EXPECT_FALSE(GetWindowRect(h, &r));
    EXPECT_FALSE(GetClientRect(h, &r));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(SetWindowPos(h, nullptr, 0, 0, 1, 1, 0));
    EXPECT_FALSE(PostMessageW(h, WM_USER, 0, 0));
    EXPECT_EQ(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetWindowLongPtrW(h, GWL_STYLE), 0);
    EXPECT_EQ(SetFocus(h), nullptr);
    EXPECT_EQ(SetCapture(h), nullptr);
    EXPECT_EQ(GetDC(h), nullptr);
    EXPECT_FALSE(InvalidateRect(h, nullptr, TRUE));
    EXPECT_EQ(GetParent(h), nullptr);
    EXPECT_EQ(GetDlgItem(h, 1), nullptr);
    EXPECT_FALSE(EnableWindow(h, TRUE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  }
  HWND top = createLogWindow("top", 0, 0, 0, 10, 10);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(top, 4000), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(GetWindow(top, 17), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_GW_COMMAND));
}

TEST_F(WindowTest, SubclassingThroughTheWindowProcedure) {
  HWND w = createLogWindow("w", 0, 0, 0, 10, 10);
  g_previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&upperText)));
  ASSERT_NE(g_previous, nullptr);
  SetWindowTextW(w, u"done");
  WCHAR text[8];
  EXPECT_EQ(GetWindowTextW(w, text, 8), 4);
  EXPECT_EQ(std::u16string(text), u"DONE");
  EXPECT_EQ(GetWindowTextLengthW(w), 4);
  EXPECT_EQ(GetWindowTextW(w, text, 3), 2);  // truncated, terminated
  EXPECT_EQ(std::u16string(text), u"DO");
  SetWindowLongPtrW(w, GWLP_USERDATA, 77);
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_USERDATA), 77);
}

TEST_F(WindowTest, RelationsOrderAndSearch) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  SetWindowTextW(top, u"Main");
  HWND a = createLogWindow("a", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
  HWND b = createLogWindow("b", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 2);
  HWND c = createLogWindow("c", WS_CHILD, 0, 0, 10, 10, b, 3);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);  // creation order
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetDlgItem(top, 2), b);
  EXPECT_TRUE(IsChild(top, c));
  EXPECT_FALSE(IsWindowVisible(c));
  std::vector<HWND> all;
  EnumChildWindows(top, collect, reinterpret_cast<LPARAM>(&all));
  EXPECT_EQ(all, (std::vector<HWND>{a, b, c}));
  EXPECT_EQ(FindWindowW(u"LogWindow", u"Main"), top);
  EXPECT_EQ(FindWindowW(u"LogWindow", u"Other"), nullptr);
  EXPECT_EQ(FindWindowW(u"NoSuchClass", nullptr), nullptr);
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
}

TEST_F(WindowTest, CoordinatesMapThroughParentsAndFrames) {
  HWND top = createLogWindow("top", WS_VISIBLE | WS_BORDER, 10, 20, 200, 200);
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE, 5, 6, 50, 50, top);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 16);  // 10 + border 1 + 5
  EXPECT_EQ(p.y, 27);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 5);
  POINT q{1, 1};
  MapWindowPoints(child, nullptr, &q, 1);
  EXPECT_EQ(q.x, 17);
  RECT r;
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 16);
  EXPECT_EQ(r.right, 66);
  EXPECT_EQ(WindowFromPoint(POINT{20, 30}), child);
  EXPECT_EQ(WindowFromPoint(POINT{150, 150}), top);
  EXPECT_EQ(WindowFromPoint(POINT{5, 5}), nullptr);
}

TEST_F(WindowTest, MetricsFollowTheScreenAndRotationTellsTheEdition) {
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 13);
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  MessageLog::instance().keepOnly({WM_SETTINGCHANGE});
  MessageLog::instance().clear();
  device.rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
  ASSERT_EQ(MessageLog::instance().entries().size(), 1u);
  EXPECT_EQ(MessageLog::instance().entries()[0].wParam, static_cast<WPARAM>(SETTINGCHANGE_RESET));
  (void)top;
}

TEST(WindowMetrics, SmartphoneRotationAndLargeScreens) {
  TestDevice device(platform::Edition::Smartphone, 480, 640);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 26);
  createLogWindow("top", WS_VISIBLE, 0, 0, 480, 640);
  MessageLog::instance().keepOnly({WM_SETTINGCHANGE});
  MessageLog::instance().clear();
  device.rotate();
  ASSERT_EQ(MessageLog::instance().entries().size(), 1u);
  EXPECT_EQ(MessageLog::instance().entries()[0].wParam, 47u);  // SPI_SETWORKAREA
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
}

namespace {
// Stands for another process's window, reached over the single-instance channel.
struct FakeRemote : platform::RemoteWindowProvider {
  HWND remote = reinterpret_cast<HWND>(0x7000);
  std::vector<UINT> posted;
  int polls = 0;
  bool foreground = false;
  HWND findWindow(LPCWSTR className, LPCWSTR) override {
    return className && std::u16string(className) == u"OtherApp" ? remote : nullptr;
  }
  bool isRemote(HWND hwnd) const override { return hwnd == remote; }
  BOOL isWindow(HWND hwnd) override { return hwnd == remote; }
  BOOL postMessage(HWND, UINT message, WPARAM, LPARAM) override {
    posted.push_back(message);
    return TRUE;
  }
  BOOL setForegroundWindow(HWND) override { return foreground = true; }
  void poll() override { ++polls; }
};
}  // namespace

TEST_F(WindowTest, WindowsOfAnotherInstanceAreReachedThroughTheProvider) {
  FakeRemote remote;
  platform::setRemoteWindowProvider(&remote);
  const HWND other = FindWindowW(u"OtherApp", nullptr);
  EXPECT_EQ(other, remote.remote);
  EXPECT_TRUE(IsWindow(other));
  EXPECT_TRUE(PostMessageW(other, WM_USER + 30, 0, 0));
  EXPECT_TRUE(SetForegroundWindow(other));
  EXPECT_EQ(remote.posted, (std::vector<UINT>{WM_USER + 30}));
  EXPECT_TRUE(remote.foreground);
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
  EXPECT_GT(remote.polls, 0);
  platform::setRemoteWindowProvider(nullptr);
  EXPECT_FALSE(IsWindow(other));
}

namespace {
// A host that records how long the loop let it sleep, and ends the loop after a few waits.
struct SleepRecorder : platform::Host {
  std::vector<int> waits;
  size_t quitAfter = 3;
  void present(const RECT&) override {}
  bool waitForInput(int timeoutMs) override {
    waits.push_back(timeoutMs);
    if (waits.size() == quitAfter) PostQuitMessage(0);
    return true;
  }
  void pollInput() override {}
};

std::vector<int> waitsOfAnIdleLoop(TestDevice& device) {
  SleepRecorder host;
  platform::setHost(&host);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  platform::setHost(&device);
  return host.waits;
}
}  // namespace

TEST_F(WindowTest, AnIdleLoopWakesToServeAnotherInstanceOnlyWhileAProviderIsSet) {
  // Without a provider nothing but input can wake the loop: the host may sleep for good.
  EXPECT_EQ(waitsOfAnIdleLoop(device), (std::vector<int>{-1, -1, -1}));

  FakeRemote remote;
  platform::setRemoteWindowProvider(&remote);
  EXPECT_EQ(waitsOfAnIdleLoop(device), (std::vector<int>{100, 100, 100}));
  // Each wake-up serves the other process before the loop sleeps again.
  EXPECT_GE(remote.polls, 3);

  // A timer due sooner still shortens the sleep; one due later does not lengthen it.
  HWND w = createLogWindow("w", WS_VISIBLE, 0, 0, 10, 10);
  device.runUntilIdle();
  SetTimer(w, 1, 30, nullptr);
  SetTimer(w, 2, 5000, nullptr);
  const std::vector<int> waits = waitsOfAnIdleLoop(device);
  ASSERT_FALSE(waits.empty());
  EXPECT_EQ(waits.front(), 30);
  for (int wait : waits) EXPECT_LE(wait, 100);
  platform::setRemoteWindowProvider(nullptr);
}

TEST_F(WindowTest, ForegroundWithTheLowBitBringsTheOwnedWindowsAlong) {
  HWND app = createLogWindow("app", WS_VISIBLE, 0, 0, 240, 320);
  HWND dialog = createLogWindow("dialog", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, app);
  HWND other = createLogWindow("other", WS_VISIBLE, 0, 0, 240, 320);
  ASSERT_TRUE(SetForegroundWindow(other));
  ASSERT_EQ(GetWindow(app, GW_HWNDFIRST), other);

  const auto withBit = reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(app) | 1);
  EXPECT_TRUE(SetForegroundWindow(withBit));
  std::vector<HWND> order;
  for (HWND h = GetWindow(app, GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
  EXPECT_EQ(order, (std::vector<HWND>{dialog, app, other}));
  // The dialog the program is waiting in takes the activation, as it had it before.
  EXPECT_EQ(GetForegroundWindow(), dialog);
  device.runUntilIdle();

  // Without the bit the window itself is activated.
  ASSERT_TRUE(SetForegroundWindow(other));
  EXPECT_TRUE(SetForegroundWindow(app));
  EXPECT_EQ(GetForegroundWindow(), app);

  // Hidden owned windows are not activated; the owner is.
  ASSERT_TRUE(SetForegroundWindow(other));
  ShowWindow(dialog, SW_HIDE);
  EXPECT_TRUE(SetForegroundWindow(withBit));
  EXPECT_EQ(GetForegroundWindow(), app);

  DestroyWindow(app);
  SetLastError(0);
  EXPECT_FALSE(SetForegroundWindow(withBit));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_EQ(GetForegroundWindow(), other);
}

namespace {
struct ChangeLog : platform::WindowObserver {
  std::vector<std::pair<HWND, HWND>> activations;
  std::vector<HWND> texts;
  void activeWindowChanged(HWND previous, HWND active) override { activations.emplace_back(previous, active); }
  void topLevelTextChanged(HWND hwnd) override { texts.push_back(hwnd); }
  void broughtToForeground(HWND top) override { fronts.push_back(top); }
  std::vector<HWND> fronts;
};
}  // namespace

TEST_F(WindowTest, ObserversHearOfActivationAndTopLevelTextChanges) {
  ChangeLog log;
  ASSERT_TRUE(platform::addWindowObserver(&log));
  EXPECT_FALSE(platform::addWindowObserver(&log));
  HWND a = createLogWindow("a", WS_VISIBLE, 0, 0, 240, 320);
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, a);
  HWND b = createLogWindow("b", WS_VISIBLE, 0, 0, 240, 320);
  SetActiveWindow(a);
  log.activations.clear();

  SetForegroundWindow(b);
  SetForegroundWindow(b);  // no change of activation, but asked to the front again
  SetWindowTextW(a, u"Renamed");
  SetWindowTextW(child, u"typing");  // a child's text is not a title
  DestroyWindow(b);
  EXPECT_EQ(log.activations, (std::vector<std::pair<HWND, HWND>>{{a, b}, {b, a}}));
  EXPECT_EQ(log.texts, (std::vector<HWND>{a}));
  EXPECT_EQ(log.fronts, (std::vector<HWND>{b, b}));

  EXPECT_TRUE(platform::removeWindowObserver(&log));
  EXPECT_FALSE(platform::removeWindowObserver(&log));
  SetWindowTextW(a, u"Again");
  EXPECT_EQ(log.texts.size(), 1u);
}

TEST_F(WindowTest, TopmostWindowsStayAboveAndOwnedWindowsAboveTheirOwner) {
  HWND bar = createLogWindow("bar", WS_POPUP | WS_VISIBLE, 0, 290, 240, 30, nullptr, 0, WS_EX_TOPMOST);
  HWND owner = createLogWindow("owner", WS_VISIBLE, 0, 0, 240, 320);
  EXPECT_EQ(GetWindow(owner, GW_HWNDFIRST), bar);  // a new window goes below the topmost one
  HWND popup = createLogWindow("popup", WS_POPUP | WS_VISIBLE, 20, 20, 100, 100, owner);
  HWND other = createLogWindow("other", WS_VISIBLE, 0, 0, 240, 320);
  SetActiveWindow(owner);
  std::vector<HWND> order;
  for (HWND h = GetWindow(owner, GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
  EXPECT_EQ(order, (std::vector<HWND>{bar, popup, owner, other}));
  SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetWindow(owner, GW_HWNDFIRST), bar);
  EXPECT_EQ(GetWindow(bar, GW_HWNDNEXT), other);
  device.runUntilIdle();
  // The topmost bar's pixels are on top of the full-screen windows below it.
  EXPECT_NE(device.dump().find("window \"LogWindow\" \"\" id=0 rect=0,290,240,320"), std::string::npos);
  EXPECT_EQ(WindowFromPoint(POINT{10, 300}), bar);
}

namespace {
UINT g_destroyOn = 0;
LRESULT selfDestroying(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_destroyOn) {
    DestroyWindow(hwnd);
    return message == WM_CREATE ? 0 : (message == WM_NCCREATE ? TRUE : 0);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
}  // namespace

TEST_F(WindowTest, AWindowDestroyingItselfInAnyHandlerLeavesNothingBehind) {
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = selfDestroying;
  wc.lpszClassName = u"SelfDestroying";
  RegisterClassW(&wc);
  const UINT messages[] = {WM_NCCREATE,         WM_CREATE,         WM_SIZE,         WM_MOVE,
                           WM_SHOWWINDOW,       WM_ACTIVATE,       WM_SETFOCUS,     WM_WINDOWPOSCHANGING,
                           WM_WINDOWPOSCHANGED, WM_PAINT,          WM_ERASEBKGND,   WM_TIMER,
                           WM_LBUTTONDOWN,      WM_LBUTTONUP,      WM_KEYDOWN,      WM_CHAR,
                           WM_KILLFOCUS,        WM_CAPTURECHANGED, WM_MOUSEACTIVATE};
  for (UINT m : messages) {
    g_destroyOn = m;
    HWND parent = createLogWindow("parent", WS_VISIBLE, 0, 0, 240, 320);
    // Only top-level windows are activated; the others are children of `parent`.
    const bool topLevel = m == WM_ACTIVATE;
    HWND w = CreateWindowExW(0, u"SelfDestroying", u"", (topLevel ? WS_POPUP : WS_CHILD) | WS_VISIBLE, 10, 10, 100, 100,
                             topLevel ? nullptr : parent, nullptr, nullptr, nullptr);
    // Another active window makes the tap below activate the parent first (WM_MOUSEACTIVATE).
    HWND other = createLogWindow("other", WS_POPUP | WS_VISIBLE, 200, 300, 10, 10);
    if (w) {
      SetFocus(w);
      SetCapture(w);
      ReleaseCapture();
      SetTimer(w, 1, 10, nullptr);
      InvalidateRect(w, nullptr, TRUE);
      device.runUntilIdle();
      if (IsWindow(other)) SetActiveWindow(other);
      device.tap(20, 20);
      if (IsWindow(w)) SetFocus(w);
      device.key('A');
      device.advance(20);
      MoveWindow(w, 0, 0, 50, 50, TRUE);
      ShowWindow(w, SW_HIDE);
    }
    device.runUntilIdle();
    EXPECT_FALSE(IsWindow(w)) << platform::testing::messageName(m);
    DestroyWindow(other);
    DestroyWindow(parent);
    device.runUntilIdle();
  }
  g_destroyOn = 0;
}
