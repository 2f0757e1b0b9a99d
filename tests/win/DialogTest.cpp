// Dialogs from in-memory templates, modal loops (nested, driven by scripts) and the dialog
// manager's keyboard handling.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/base/WinError.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;

namespace {

// Builds a template: header, no menu, default class, caption, then controls of the logging
// class (by name) with the given ids and styles.
class TemplateBuilder {
 public:
  TemplateBuilder(DWORD style, const std::u16string& caption, short cx = 100, short cy = 60) {
    DLGTEMPLATE h{style, 0, 0, 0, 0, cx, cy};
    append(&h, sizeof h);
    words_.push_back(0);
    words_.push_back(0);
    appendString(caption);
  }
  TemplateBuilder& control(WORD id, DWORD style, short y) {
    while (words_.size() % 2) words_.push_back(0);
    DLGITEMTEMPLATE item{style | WS_CHILD | WS_VISIBLE, 0, 4, y, 60, 10, id};
    append(&item, sizeof item);
    appendString(u"LogWindow");
    appendString(u"");
    words_.push_back(0);
    reinterpret_cast<DLGTEMPLATE*>(words_.data())->cdit++;
    return *this;
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void append(const void* p, size_t n) {
    const size_t at = words_.size();
    words_.resize(at + n / 2);
    std::memcpy(words_.data() + at, p, n);
  }
  void appendString(const std::u16string& s) {
    for (char16_t c : s) words_.push_back(c);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

struct DialogLog {
  static std::vector<std::string>& events() {
    static std::vector<std::string> e;
    return e;
  }
};

// Ends with IDOK on Enter, IDCANCEL on Escape; records what it sees.
INT_PTR CALLBACK simpleDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      DialogLog::events().push_back("init " + std::to_string(lParam));
      return TRUE;
    case WM_COMMAND:
      DialogLog::events().push_back("command " + std::to_string(LOWORD(wParam)));
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, LOWORD(wParam) == IDOK ? 42 : 7);
      return TRUE;
    default:
      return FALSE;
  }
}

// Opens a second modal dialog from its own first command, then ends with the inner result.
INT_PTR CALLBACK outerDialog(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    PostMessageW(hwnd, WM_COMMAND, 500, 0);
    return TRUE;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == 500) {
    TemplateBuilder inner(WS_POPUP | WS_VISIBLE, u"Inner");
    const INT_PTR r = DialogBoxIndirectParamW(nullptr, inner.get(), hwnd, simpleDialog, 2);
    DialogLog::events().push_back("inner returned " + std::to_string(r));
    DialogLog::events().push_back(std::string("outer enabled ") + (IsWindowEnabled(hwnd) ? "yes" : "no"));
    EndDialog(hwnd, r + 1);
    return TRUE;
  }
  return FALSE;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogLog::events().clear();
    MessageLog::instance().clear();
    MessageLog::instance().keepOnly({});
    owner = createLogWindow("owner", WS_VISIBLE, 0, 0, 240, 320);
    device.runUntilIdle();
  }
  TestDevice device;
  HWND owner = nullptr;
};

}  // namespace

TEST_F(DialogTest, ModalDialogDisablesItsOwnerAndReturnsTheEndDialogResult) {
  TemplateBuilder tpl(WS_POPUP | WS_CAPTION | DS_CENTER, u"Question");
  ASSERT_TRUE(device.script("idle\nkey ENTER\n"));
  bool ownerDisabledDuring = false;
  struct Probe {
    static INT_PTR CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
      if (message == WM_INITDIALOG) *reinterpret_cast<bool*>(lParam) = !IsWindowEnabled(GetWindow(hwnd, GW_OWNER));
      return simpleDialog(hwnd, message, wParam, message == WM_INITDIALOG ? 0 : lParam);
    }
  };
  const INT_PTR r =
      DialogBoxIndirectParamW(nullptr, tpl.get(), owner, Probe::proc, reinterpret_cast<LPARAM>(&ownerDisabledDuring));
  EXPECT_EQ(r, 42);
  EXPECT_TRUE(ownerDisabledDuring);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_EQ(DialogLog::events(), (std::vector<std::string>{"init 0", "command 1"}));
}

TEST_F(DialogTest, ModalLoopsNestAndUnwindInOrder) {
  TemplateBuilder tpl(WS_POPUP | WS_VISIBLE, u"Outer");
  ASSERT_TRUE(device.script("idle\nback\n"));
  const INT_PTR r = DialogBoxIndirectParamW(nullptr, tpl.get(), owner, outerDialog, 0);
  EXPECT_EQ(r, 8);
  EXPECT_EQ(DialogLog::events(),
            (std::vector<std::string>{"init 2", "command 2", "inner returned 7", "outer enabled yes"}));
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, QuitEndsTheModalLoopAndIsPostedAgain) {
  TemplateBuilder tpl(WS_POPUP | WS_VISIBLE, u"Quit");
  PostQuitMessage(3);
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, tpl.get(), owner, simpleDialog, 0), 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(DialogTest, TabMovesBetweenTabStopsAndWantAllKeysKeepsTheKey) {
  TemplateBuilder tpl(WS_POPUP | WS_VISIBLE, u"Form");
  tpl.control(10, WS_TABSTOP, 0).control(11, 0, 12).control(12, WS_TABSTOP, 24);
  const HWND dlg = CreateDialogIndirectParamW(nullptr, tpl.get(), owner, simpleDialog, 0);
  ASSERT_NE(dlg, nullptr);
  const HWND first = GetDlgItem(dlg, 10);
  const HWND third = GetDlgItem(dlg, 12);
  EXPECT_EQ(GetFocus(), first);
  EXPECT_EQ(GetNextDlgTabItem(dlg, first, FALSE), third);
  EXPECT_EQ(GetNextDlgTabItem(dlg, third, FALSE), first);  // wraps
  EXPECT_EQ(GetNextDlgTabItem(dlg, first, TRUE), third);

  auto feed = [&](UINT vk) {
    MSG msg{GetFocus(), WM_KEYDOWN, vk, 1, 0, {}};
    return IsDialogMessageW(dlg, &msg);
  };
  EXPECT_TRUE(feed(VK_TAB));
  EXPECT_EQ(GetFocus(), third);

  // A control that wants all keys gets the Tab itself.
  struct Greedy {
    static LRESULT proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
      if (m == WM_KEYDOWN) DialogLog::events().push_back("greedy key " + std::to_string(w));
      return DefWindowProcW(h, m, w, l);
    }
  };
  SetWindowLongPtrW(third, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Greedy::proc));
  DialogLog::events().clear();
  EXPECT_TRUE(feed(VK_TAB));
  EXPECT_EQ(GetFocus(), third);
  EXPECT_EQ(DialogLog::events(), (std::vector<std::string>{"greedy key 9"}));

  // Escape becomes IDCANCEL for the dialog.
  SetFocus(first);
  DialogLog::events().clear();
  EXPECT_TRUE(feed(VK_ESCAPE));
  EXPECT_EQ(DialogLog::events(), (std::vector<std::string>{"command 2"}));
  DestroyWindow(dlg);
}

TEST_F(DialogTest, DialogDataAndBadArguments) {
  TemplateBuilder tpl(WS_POPUP, u"Data");
  tpl.control(20, 0, 0);
  const HWND dlg = CreateDialogIndirectParamW(nullptr, tpl.get(), owner, simpleDialog, 0);
  ASSERT_NE(dlg, nullptr);
  EXPECT_FALSE(IsWindowVisible(dlg));
  WCHAR caption[16];
  GetWindowTextW(dlg, caption, 16);
  EXPECT_EQ(std::u16string(caption), u"Data");
  SetWindowLongPtrW(dlg, DWLP_USER, 1234);
  EXPECT_EQ(GetWindowLongPtrW(dlg, DWLP_USER), 1234);
  EXPECT_TRUE(SetDlgItemInt(dlg, 20, static_cast<UINT>(-15), TRUE));
  BOOL ok = FALSE;
  EXPECT_EQ(static_cast<int>(GetDlgItemInt(dlg, 20, &ok, TRUE)), -15);
  EXPECT_TRUE(ok);
  SetDlgItemTextW(dlg, 20, u"12x");
  GetDlgItemInt(dlg, 20, &ok, FALSE);
  EXPECT_FALSE(ok);
  EXPECT_EQ(GetDlgItem(dlg, 99), nullptr);
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, owner, simpleDialog, 0), -1);
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, tpl.get(), reinterpret_cast<HWND>(0x999), simpleDialog, 0), -1);
  EXPECT_FALSE(EndDialog(owner, 1));  // not a dialog
  DestroyWindow(dlg);
}

TEST_F(DialogTest, OwnerSeesDisableDeactivateThenEnableReactivate) {
  TemplateBuilder tpl(WS_POPUP | WS_VISIBLE, u"Sequence");
  MessageLog::instance().keepOnly({WM_ENABLE, WM_ACTIVATE});
  MessageLog::instance().clear();
  ASSERT_TRUE(device.script("key ENTER\n"));
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, tpl.get(), owner, simpleDialog, 0), 42);
  std::vector<std::string> seen;
  for (const auto& e : MessageLog::instance().entries()) {
    if (e.window != "owner") continue;
    seen.push_back(platform::testing::messageName(e.message) + " " + std::to_string(LOWORD(e.wParam)));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"WM_ENABLE 0", "WM_ACTIVATE 0", "WM_ENABLE 1", "WM_ACTIVATE 1"}));
  EXPECT_EQ(GetFocus(), owner);
}
