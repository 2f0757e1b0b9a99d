// Expandable text rows and the "Enter Text" editor: the Pocket PC expand button and Enter, the
// Smartphone's expandable fields and spinner, and the editor on its own.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "forms/ExpandButton.h"
#include "forms/TextEntryDialog.h"
#include "forms/WindowText.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinUpDown.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "tests/forms/FormDevice.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;

RECT rectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// What the editor showed while it was open.
struct EditorSeen {
  HWND window = nullptr;
  std::u16string title;
  std::u16string text;
  std::vector<std::u16string> buttons;
  bool doneEnabled = false;
  bool rightEnabled = true;
  bool editFocused = false;
};

EditorSeen lookAtEditor() {
  EditorSeen seen;
  seen.window = GetActiveWindow();
  seen.title = windowText(seen.window);
  const HWND edit = GetWindow(seen.window, GW_CHILD);
  seen.text = windowText(edit);
  seen.editFocused = GetFocus() == edit && edit != nullptr;
  if (auto* bar = platform::shell::MenuBar::forOwner(seen.window)) {
    for (const auto& b : bar->buttons()) seen.buttons.push_back(b.text);
    seen.doneEnabled = bar->buttons().size() > 0 && bar->buttons()[0].enabled();
    seen.rightEnabled = bar->buttons().size() > 1 && bar->buttons()[1].enabled();
  }
  return seen;
}

TEST(ExpandableText, EnterOpensTheEditorWithTheTextAndDoneWritesItBack) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  EditorSeen seen;
  std::u16string afterEditor;
  device.addStep([&] {
    form.builder.focus(kNotes);
    TestDevice::postKey(VK_RETURN);
  });
  device.addStep([&] {
    seen = lookAtEditor();
    TestDevice::postKey(VK_END);
    TestDevice::postKey('S');
    TestDevice::postKey(VK_F1);
  });
  device.addStep([&] {
    afterEditor = form.builder.text(kNotes);
    TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(form.run(device.owner(), u"Sample"), IDOK);
  EXPECT_EQ(seen.title, u"Enter Text");
  EXPECT_EQ(seen.text, u"Likes tea");
  EXPECT_TRUE(seen.editFocused);
  EXPECT_EQ(seen.buttons, (std::vector<std::u16string>{u"Done", u""}));
  EXPECT_TRUE(seen.doneEnabled);
  EXPECT_FALSE(seen.rightEnabled);
  EXPECT_EQ(afterEditor, u"Likes teas");
  EXPECT_TRUE(form.done) << "Enter in the field opened the editor and did not press Done";
}

TEST(ExpandableText, CancelInTheEditorLeavesTheField) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  std::u16string afterEditor;
  device.addStep([&] {
    const RECT button = rectIn(nullptr, form.builder.row(kNotes)->companion);
    TestDevice::postTap((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  });
  device.addStep([&] {
    const HWND editor = GetActiveWindow();
    SetWindowTextW(GetWindow(editor, GW_CHILD), u"Something else");
    PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  });
  device.addStep([&] {
    afterEditor = form.builder.text(kNotes);
    TestDevice::postKey(VK_F2);
  });
  EXPECT_EQ(form.run(device.owner(), u"Sample"), IDCANCEL);
  EXPECT_EQ(afterEditor, u"Likes tea");
}

// A screen that offers its own chooser in place of the editor.
class AnsweringForm : public platform::WindowImpl<AnsweringForm, SampleForm> {
 public:
  static const platform::MessageMap<AnsweringForm>& messageMap() {
    static const auto map = platform::MessageMap<AnsweringForm>()
                                .notify(UDN_EXPANDING, &AnsweringForm::onExpanding)
                                .chain(FormDialog::messageMap());
    return map;
  }
  std::vector<HWND> askedBy;

 private:
  LRESULT onExpanding(NMHDR& header) {
    askedBy.push_back(header.hwndFrom);
    EXPECT_EQ(header.idFrom, 0u);
    return TRUE;
  }
};

TEST(ExpandableText, AScreenThatAnswersTheExpansionKeepsTheEditorAway) {
  FormDevice device(Edition::PocketPc, 240, 320);
  AnsweringForm form;
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const HWND button = form.builder.row(kNotes)->companion;
  const RECT r = rectIn(nullptr, button);
  device.tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_EQ(form.askedBy, std::vector<HWND>{button});
  EXPECT_EQ(GetActiveWindow(), form.hwnd()) << "no editor opened";
}

TEST(ExpandableText, TheButtonSitsAtTheFieldsEndWithItsArrow) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const FieldRow notes = *form.builder.row(kNotes);
  const RECT button = rectIn(form.hwnd(), notes.companion);
  const RECT field = rectIn(form.hwnd(), notes.field);
  EXPECT_EQ(windowText(notes.companion), u"ExpandBtn");
  EXPECT_EQ(button.right, 236);
  EXPECT_EQ(button.right - button.left, 16);
  EXPECT_EQ(button.top, field.top);
  EXPECT_EQ(button.bottom, field.bottom);
  EXPECT_EQ(field.right, button.left);
  // Told the same buddy again, nothing moves.
  SendMessageW(notes.companion, UDM_SETBUDDY, reinterpret_cast<WPARAM>(notes.field), 0);
  EXPECT_EQ(rectIn(form.hwnd(), notes.field).right, button.left);
  EXPECT_EQ(rectIn(form.hwnd(), notes.companion).left, button.left);

  RECT screen{};
  GetWindowRect(notes.companion, &screen);
  for (int line = 0; line < 4; ++line) {
    const int y = screen.top + 8 + line;
    const int x = screen.right - 11 + line;
    for (int i = 0; i < 7 - 2 * line; ++i) EXPECT_EQ(device.pixel(x + i, y), RGB(0, 0, 0)) << line << "," << i;
    EXPECT_EQ(device.pixel(x - 1, y), RGB(255, 255, 255));
  }
}

TEST(ExpandableText, AReadOnlyFieldShowsButKeepsItsText) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  form.afterContent = [](SampleForm& f) { f.builder.addExpandableTextRow(50, u"Info:", u"Fixed", true); };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const HWND field = form.builder.row(50)->field;
  EXPECT_TRUE(GetWindowLongW(field, GWL_STYLE) & ES_READONLY);
  SetFocus(field);
  SendMessageW(field, WM_CHAR, 'x', 0);
  SendMessageW(field, WM_CHAR, '\r', 0);
  EXPECT_EQ(form.builder.text(50), u"Fixed");
}

// ---------------------------------------------------------------------------------------------
// Smartphone

class SmartphoneExpansion : public ::testing::Test {
 protected:
  void SetUp() override {
    form.open(device.owner(), u"Sample");
    device.runUntilIdle();
  }
  // Presses the action key on the focused row and runs `steps` on the platform's full screen.
  std::u16string expand(std::initializer_list<std::function<void()>> steps) {
    std::u16string title;
    device.addStep([&] { title = windowText(GetActiveWindow()); });
    for (const auto& step : steps) device.addStep(step);
    device.key(VK_RETURN);
    device.clearSteps();
    device.runUntilIdle();
    return title;
  }
  static std::function<void()> press(UINT vk) {
    return [vk] { TestDevice::postKey(vk); };
  }

  FormDevice device{Edition::Smartphone, 240, 320};
  SampleForm form;
};

TEST_F(SmartphoneExpansion, TheActionKeyOpensThePlatformsEditorAndTheTextComesBack) {
  form.builder.focus(kNotes);
  EXPECT_EQ(expand({press(VK_END), press('S'), press(VK_F1)}), u"Notes") << "titled with the row's label";
  EXPECT_EQ(form.builder.text(kNotes), u"Likes teas");
  EXPECT_EQ(GetActiveWindow(), form.hwnd());
  EXPECT_TRUE(IsWindow(form.menuBar()));
}

TEST_F(SmartphoneExpansion, DownMovesOnToTheNextField) {
  form.builder.focus(kNotes);
  device.key(VK_DOWN);
  EXPECT_EQ(GetFocus(), form.builder.row(kKind)->field);
}

TEST_F(SmartphoneExpansion, ChoicesSpinWithLeftAndRightAndExpandToThePickList) {
  form.builder.focus(kKind);
  device.key(VK_RIGHT);
  EXPECT_EQ(form.builder.choiceValue(kKind), 1);
  device.key(VK_LEFT);
  device.key(VK_LEFT);
  EXPECT_EQ(form.builder.choiceValue(kKind), 2) << "the spinner wraps";
  form.builder.selectChoiceByIndex(kKind, 0);
  EXPECT_EQ(expand({press(VK_DOWN), press(VK_F1)}), u"Kind");
  EXPECT_EQ(form.builder.choiceValue(kKind), 1);
}

// ---------------------------------------------------------------------------------------------
// The editor on its own

class TextEntryTest : public ::testing::TestWithParam<Edition> {
 protected:
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }
  FormDevice device{GetParam(), 240, 320};
};

TEST_P(TextEntryTest, FillsTheScreenBesideAMarginAndReturnsTheText) {
  TextEntryDialog editor(u"Line one\r\nLine two");
  RECT editRect{};
  RECT client{};
  bool doneButton = false;
  device.addStep([&] {
    const HWND dialog = editor.hwnd();
    GetClientRect(dialog, &client);
    editRect = rectIn(dialog, editor.editWindow());
    doneButton = platform::shell::hasDoneButton(dialog);
    TestDevice::postKey(VK_END);
    TestDevice::postKey('X');
    TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(editor.run(device.owner()), IDOK);
  EXPECT_EQ(editRect.left, 4);
  EXPECT_EQ(editRect.top, 0);
  EXPECT_EQ(editRect.right, client.right);
  EXPECT_EQ(editRect.bottom, client.bottom);
  EXPECT_EQ(doneButton, pocketPc());
  EXPECT_EQ(editor.text(), u"Line onex\r\nLine two") << "End went to the end of the first line";
}

TEST_P(TextEntryTest, CancelReturnsNoText) {
  TextEntryDialog editor(u"Keep");
  device.addStep([&] { PostMessageW(editor.hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); });
  EXPECT_EQ(editor.run(device.owner()), IDCANCEL);
  EXPECT_EQ(editor.text(), u"");
}

TEST_P(TextEntryTest, BackDeletesInTheEditorWithoutClosingIt) {
  TextEntryDialog editor(u"ab");
  std::u16string during;
  device.addStep([&] {
    SendMessageW(editor.editWindow(), EM_SETSEL, 2, 2);
    TestDevice::postKey(VK_ESCAPE);
  });
  device.addStep([&] {
    during = windowText(editor.editWindow());
    TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(editor.run(device.owner()), IDOK);
  EXPECT_EQ(during, u"a");
  EXPECT_EQ(editor.text(), u"a");
}

INSTANTIATE_TEST_SUITE_P(Editions, TextEntryTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

TEST(TextEntryPanel, TheEditorFollowsTheInputPanel) {
  FormDevice device(Edition::PocketPc, 240, 320);
  TextEntryDialog editor(u"");
  int withoutPanel = 0;
  int withPanel = 0;
  device.addStep([&] {
    withoutPanel = rectIn(editor.hwnd(), editor.editWindow()).bottom;
    SHSipPreference(editor.hwnd(), SIP_UP);
  });
  device.addStep([&] {
    RECT client{};
    GetClientRect(editor.hwnd(), &client);
    withPanel = rectIn(editor.hwnd(), editor.editWindow()).bottom;
    EXPECT_EQ(withPanel, client.bottom);
    TestDevice::postKey(VK_F1);
  });
  editor.run(device.owner());
  EXPECT_GT(withoutPanel, 0);
  EXPECT_LT(withPanel, withoutPanel);
}

}  // namespace
}  // namespace pellucard::testing
