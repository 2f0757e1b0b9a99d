// The PIN entry: its prompt and field on both editions, what Done and Cancel give, the bound on
// the PIN's length.
#include "views/PinDialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/WindowText.h"
#include "pin/PinLock.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinStatic.h"
#include "tests/views/FormScreenFixture.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;

class PinDialogTest : public ::testing::TestWithParam<Edition> {
 protected:
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }
  FormScreenDevice device{GetParam(), 240, 320};
};

TEST_P(PinDialogTest, APromptOverAFieldForDigitsShownAsStars) {
  PinDialog dialog;
  const HWND hwnd = dialog.open(device.owner(), u"PIN Protection");
  ASSERT_NE(hwnd, nullptr);
  device.runUntilIdle();
  EXPECT_EQ(windowText(hwnd), u"PIN Protection");
  EXPECT_EQ(dialog.menuBarId(), 5102u);

  const HWND prompt = GetWindow(hwnd, GW_CHILD);
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(windowText(prompt), u"Enter PIN code and press 'Done'");
  EXPECT_EQ(GetWindowLongW(prompt, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
  RECT client{};
  GetClientRect(hwnd, &client);
  const RECT promptRect = rectInParent(prompt);
  EXPECT_EQ(promptRect.left, 4);
  EXPECT_EQ(promptRect.top, 4);
  EXPECT_EQ(promptRect.right, client.right - 4);
  EXPECT_EQ(promptRect.bottom, 30);

  const HWND field = dialog.field();
  const RECT fieldRect = rectInParent(field);
  EXPECT_EQ(fieldRect.left, 4);
  EXPECT_EQ(fieldRect.top, 34);
  EXPECT_EQ(fieldRect.right, client.right - 4);
  EXPECT_EQ(fieldRect.bottom, pocketPc() ? 55 : 60);
  const LONG style = GetWindowLongW(field, GWL_STYLE);
  EXPECT_EQ(style & (ES_NUMBER | ES_PASSWORD), ES_NUMBER | ES_PASSWORD);
  EXPECT_EQ((style & WS_BORDER) != 0, pocketPc()) << "a border on Pocket PC only";
  EXPECT_EQ(GetFocus(), field);

  device.type(u"12a34");
  EXPECT_EQ(windowText(field), u"1234") << "the field takes digits only";
  EXPECT_TRUE(TestDevice::drew(field, u"****"));
  SendMessageW(hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(dialog.result(), IDOK);
  EXPECT_EQ(dialog.pin(), u"1234");
}

TEST_P(PinDialogTest, DoneGivesThePinAndCancelNothing) {
  device.answerPin(u"0042");
  EXPECT_EQ(PinDialog::ask(device.owner()), u"0042");
  device.answerPin(u"");
  EXPECT_EQ(PinDialog::ask(device.owner()), u"") << "Done on an empty field is an empty PIN, not a cancel";
  device.cancelPin();
  EXPECT_EQ(PinDialog::ask(device.owner()), std::nullopt);
  EXPECT_TRUE(IsWindowEnabled(device.owner()));
}

TEST_P(PinDialogTest, TheFieldHoldsNoMoreDigitsThanTheLockCanHash) {
  PinDialog dialog;
  dialog.open(device.owner(), u"PIN Protection");
  device.runUntilIdle();
  EXPECT_EQ(SendMessageW(dialog.field(), EM_GETLIMITTEXT, 0, 0), static_cast<LRESULT>(PinLock::kMaxPinLength));
  // Typed, not set: a field that stopped at its visible width would hold far fewer.
  device.type(std::u16string(PinLock::kMaxPinLength + 4, u'7'));
  EXPECT_EQ(GetWindowTextLengthW(dialog.field()), static_cast<int>(PinLock::kMaxPinLength));
  DestroyWindow(dialog.hwnd());
}

TEST_P(PinDialogTest, RotationKeepsPromptAndFieldAcrossTheScreen) {
  PinDialog dialog;
  dialog.open(device.owner(), u"PIN Protection");
  device.runUntilIdle();
  device.rotate();
  device.runUntilIdle();
  RECT client{};
  GetClientRect(dialog.hwnd(), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(rectInParent(GetWindow(dialog.hwnd(), GW_CHILD)).right, 316);
  EXPECT_EQ(rectInParent(dialog.field()).right, 316);
  DestroyWindow(dialog.hwnd());
}

INSTANTIATE_TEST_SUITE_P(Editions, PinDialogTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
