// The Smartphone's expandable fields opening the shell's full screens: the editor for a text
// field (Done writes the text back, Cancel leaves it, Back deletes) and the pick list for a list
// field (the choice becomes the field's selection, announced as the user's).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;

namespace {

std::u16string textOf(HWND hwnd) {
  WCHAR buffer[256] = {};
  GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

// What a full screen shows, looked at while it is open.
struct Seen {
  HWND page = nullptr;
  std::u16string title;
  std::u16string field;  // the editor's text
  std::vector<std::u16string> items;
  int selected = -1;
  std::vector<std::u16string> softKeys;
  bool ownerEnabled = true;
};

class ExpandableFieldTest : public ::testing::Test {
 protected:
  ShellDevice device{platform::Edition::Smartphone, 176, 220};
  HWND form = createLogWindow("form", WS_POPUP | WS_VISIBLE, 0, 26, 176, 168);
  HWND field = nullptr;
  HWND upDown = nullptr;

  void SetUp() override {
    SetActiveWindow(form);
    MessageLog::instance().keepOnly({WM_COMMAND, WM_NOTIFY});
  }

  HWND child(const char16_t* cls, const char16_t* text, DWORD style, int top, UINT id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 5, top, 166, 26, form,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
  }
  void attach(DWORD style) {
    upDown = CreateWindowExW(0, UPDOWN_CLASSW, u"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, form,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(11)), nullptr, nullptr);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
    SetFocus(field);
    device.runUntilIdle();
    MessageLog::instance().clear();
  }
  void notesField() {
    child(u"STATIC", u"Notes:", 0, 5, 9);
    field = child(WC_EDITW, u"Call back", WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL, 32, 10);
    attach(UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_EXPANDABLE | UDS_NOSCROLL);
  }
  void colourField() {
    child(u"STATIC", u"Colour:", 0, 5, 9);
    field = child(WC_LISTBOXW, u"", WS_TABSTOP | LBS_NOINTEGRALHEIGHT, 32, 10);
    for (const char16_t* s : {u"Red", u"Green", u"Blue", u"Yellow"}) {
      SendMessageW(field, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    }
    SendMessageW(field, LB_SETCURSEL, 1, 0);
    attach(UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE);
  }

  // Presses the action key on the field and runs `steps` on the full screen it opens.
  Seen expand(std::initializer_list<std::function<void()>> steps) {
    auto seen = std::make_shared<Seen>();
    device.addStep([seen, this] {
      seen->page = GetActiveWindow();
      seen->title = textOf(seen->page);
      seen->ownerEnabled = IsWindowEnabled(form) != 0;
      HWND content = GetFocus();
      WCHAR cls[32] = {};
      GetClassNameW(content, cls, 32);
      if (std::u16string(cls) == u"LISTBOX") {
        const int n = static_cast<int>(SendMessageW(content, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
          WCHAR item[64] = {};
          SendMessageW(content, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
          seen->items.push_back(item);
        }
        seen->selected = static_cast<int>(SendMessageW(content, LB_GETCURSEL, 0, 0));
      } else {
        seen->field = textOf(content);
      }
      if (auto* bar = platform::shell::MenuBar::forOwner(seen->page)) {
        for (const auto& b : bar->buttons()) seen->softKeys.push_back(b.text);
      }
    });
    for (const auto& step : steps) device.addStep(step);
    device.key(VK_RETURN);
    device.clearSteps();
    device.runUntilIdle();
    return *seen;
  }

  static std::function<void()> press(UINT vk) {
    return [vk] { TestDevice::postKey(vk); };
  }
  // What the form heard besides the focus leaving the field and coming back.
  std::vector<UINT> commandsHeard() const {
    const bool list = SendMessageW(field, LB_GETCOUNT, 0, 0) > 0;
    std::vector<UINT> out;
    for (const auto& e : MessageLog::instance().entries()) {
      const UINT code = HIWORD(static_cast<DWORD>(e.wParam));
      const bool focus =
          list ? (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) : (code == EN_SETFOCUS || code == EN_KILLFOCUS);
      if (e.message == WM_COMMAND && !focus) out.push_back(code);
      if (e.message == WM_NOTIFY) out.push_back(e.code);
    }
    return out;
  }
};

TEST_F(ExpandableFieldTest, EditorOpensWithTheFieldsTextAndDoneWritesItBack) {
  notesField();
  const Seen seen = expand({[] { TestDevice::postKey('N'); }, [] { TestDevice::postKey('O'); }, press(VK_F1)});
  EXPECT_EQ(seen.title, u"Notes") << "titled with the field's label";
  EXPECT_EQ(seen.field, u"Call back");
  EXPECT_EQ(seen.softKeys, (std::vector<std::u16string>{u"Done", u"Cancel"}));
  EXPECT_FALSE(seen.ownerEnabled) << "the form waits under the full screen";
  EXPECT_NE(seen.page, form);

  EXPECT_EQ(textOf(field), u"Call backno");
  EXPECT_FALSE(IsWindow(seen.page));
  EXPECT_EQ(GetActiveWindow(), form);
  EXPECT_EQ(GetFocus(), field) << "back on the field";
  EXPECT_EQ(commandsHeard(), (std::vector<UINT>{UDN_EXPANDING, EN_UPDATE, EN_CHANGE}));
}

TEST_F(ExpandableFieldTest, EditorCancelLeavesTheTextAndBackDeletesInsteadOfLeaving) {
  notesField();
  expand({[] { TestDevice::postKey('X'); }, press(VK_F2)});
  EXPECT_EQ(textOf(field), u"Call back");
  EXPECT_EQ(commandsHeard(), (std::vector<UINT>{UDN_EXPANDING}));

  const Seen seen = expand({press(VK_ESCAPE), press(VK_ESCAPE), press(VK_F1)});
  EXPECT_EQ(textOf(field), u"Call ba");
  EXPECT_FALSE(IsWindow(seen.page));
}

TEST_F(ExpandableFieldTest, ReadOnlyTextIsShownButNotWrittenBack) {
  child(u"STATIC", u"Address", 0, 5, 9);
  field = child(WC_EDITW, u"1 Main Street", WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_WANTRETURN, 32, 10);
  attach(UDS_ALIGNRIGHT | UDS_EXPANDABLE | UDS_NOSCROLL);
  const Seen seen = expand({[] { TestDevice::postKey('X'); }, press(VK_ESCAPE)});
  EXPECT_EQ(seen.field, u"1 Main Street");
  EXPECT_FALSE(IsWindow(seen.page)) << "with nothing to delete, Back leaves";
  EXPECT_EQ(textOf(field), u"1 Main Street");
  EXPECT_EQ(commandsHeard(), (std::vector<UINT>{UDN_EXPANDING}));
}

TEST_F(ExpandableFieldTest, PickListChoosesTheFieldsItem) {
  colourField();
  const Seen seen = expand({press(VK_DOWN), press(VK_DOWN), press(VK_F1)});
  EXPECT_EQ(seen.title, u"Colour");
  EXPECT_EQ(seen.items, (std::vector<std::u16string>{u"Red", u"Green", u"Blue", u"Yellow"}));
  EXPECT_EQ(seen.selected, 1) << "opens on the field's item";
  EXPECT_EQ(seen.softKeys, (std::vector<std::u16string>{u"Done", u"Cancel"}));
  EXPECT_EQ(SendMessageW(field, LB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(commandsHeard(), (std::vector<UINT>{UDN_EXPANDING, LBN_SELCHANGE}));
  EXPECT_EQ(GetFocus(), field);

  // The action key chooses too; Back and Cancel choose nothing.
  expand({press(VK_UP), press(VK_RETURN)});
  EXPECT_EQ(SendMessageW(field, LB_GETCURSEL, 0, 0), 2);
  MessageLog::instance().clear();
  expand({press(VK_UP), press(VK_ESCAPE)});
  expand({press(VK_UP), press(VK_F2)});
  EXPECT_EQ(SendMessageW(field, LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(commandsHeard(), (std::vector<UINT>{UDN_EXPANDING, UDN_EXPANDING}));
}

}  // namespace
