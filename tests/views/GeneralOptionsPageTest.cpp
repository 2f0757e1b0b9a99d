// The General page of the options: the name order and the PIN lock, with every message the
// user can meet, on both editions.
#include "views/GeneralOptionsPage.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <string>
#include <vector>

#include "device/TextError.h"
#include "pin/PinLock.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "settings/Settings.h"
#include "store/FriendCollection.h"
#include "tests/views/FormScreenFixture.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;
using Row = GeneralOptionsPage::Row;

// While it lives no file of the process may grow past a few bytes, so a registry or settings
// file cannot be written; the write fails instead of the process being stopped.
class NoRoomForFiles {
 public:
  NoRoomForFiles() {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved_;
    tight.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tight);
  }
  ~NoRoomForFiles() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, previous_);
  }
  NoRoomForFiles(const NoRoomForFiles&) = delete;
  NoRoomForFiles& operator=(const NoRoomForFiles&) = delete;

 private:
  rlimit saved_{};
  sighandler_t previous_ = nullptr;
};

class GeneralOptionsPageTest : public ::testing::TestWithParam<Edition> {
 protected:
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }

  // Opens the page as the Options screen does, without a loop of its own.
  void open() {
    pageWindow = page.open(device.owner(), u"General");
    ASSERT_NE(pageWindow, nullptr);
    device.runUntilIdle();
  }
  HWND field(Row row) const { return page.builder().row(row)->field; }
  bool shown(Row row) const { return IsWindowVisible(page.builder().row(row)->label) != FALSE; }
  // Chooses the item with this value as a program would, without notifying the page.
  void choose(Row row, LPARAM value) {
    const HWND list = field(row);
    const UINT count = pocketPc() ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT data = pocketPc() ? CB_GETITEMDATA : LB_GETITEMDATA;
    for (int i = 0; i < SendMessageW(list, count, 0, 0); ++i) {
      if (SendMessageW(list, data, static_cast<WPARAM>(i), 0) == value)
        SendMessageW(list, pocketPc() ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(i), 0);
    }
  }
  // "Enabled" with these texts in the two PIN fields.
  void enterPin(const std::u16string& pin, const std::u16string& confirm) {
    choose(GeneralOptionsPage::kPinRow, 1);
    SetWindowTextW(field(GeneralOptionsPage::kPinCodeRow), pin.c_str());
    SetWindowTextW(field(GeneralOptionsPage::kConfirmPinRow), confirm.c_str());
  }
  void done() {
    SendMessageW(page.hwnd(), WM_COMMAND, IDOK, 0);
    device.runUntilIdle();
  }
  // The one message the user was shown, its text and whether it was the information icon.
  void expectOneBox(const std::u16string& text, bool information) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].shows(text)) << "the message";
    EXPECT_TRUE(boxes[0].shows(information ? u"i" : u"!")) << "the icon";
    EXPECT_EQ(boxes[0].caption, u"Pellucard");
    EXPECT_EQ(boxes[0].owner, pageWindow) << "the page owns its messages";
  }

  FormScreenDevice device{GetParam(), 240, 320};
  GeneralOptionsPage page;
  HWND pageWindow = nullptr;
  std::vector<SeenBox> boxes;
};

TEST_P(GeneralOptionsPageTest, RowsShowTheSettingAndTheLock) {
  getSettings().setFNameFirst(false);
  open();
  EXPECT_EQ(page.menuBarId(), 1522u) << "Done and Cancel";
  EXPECT_TRUE(page.scrolling());
  EXPECT_EQ(page.builder().choiceValue(GeneralOptionsPage::kNameFormatRow), 0);
  EXPECT_EQ(page.builder().choiceValue(GeneralOptionsPage::kPinRow), 0);
  EXPECT_FALSE(shown(GeneralOptionsPage::kPinCodeRow));
  EXPECT_FALSE(shown(GeneralOptionsPage::kConfirmPinRow));
  DestroyWindow(page.hwnd());

  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  GeneralOptionsPage locked;
  locked.open(device.owner(), u"General");
  device.runUntilIdle();
  EXPECT_EQ(locked.builder().choiceValue(GeneralOptionsPage::kPinRow), 1);
  EXPECT_TRUE(IsWindowVisible(locked.builder().row(GeneralOptionsPage::kPinCodeRow)->field));
  EXPECT_TRUE(IsWindowVisible(locked.builder().row(GeneralOptionsPage::kConfirmPinRow)->field));
  EXPECT_EQ(locked.builder().text(GeneralOptionsPage::kPinCodeRow), u"") << "the PIN is never shown";
  for (Row row : {GeneralOptionsPage::kPinCodeRow, GeneralOptionsPage::kConfirmPinRow}) {
    const HWND edit = locked.builder().row(row)->field;
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), static_cast<LRESULT>(PinLock::kMaxPinLength));
  }
  DestroyWindow(locked.hwnd());
}

TEST_P(GeneralOptionsPageTest, ChoosingEnabledShowsThePinFieldsAndDisabledHidesThem) {
  open();
  const FieldRow* pin = page.builder().row(GeneralOptionsPage::kPinRow);
  const RECT before = rectInParent(page.builder().row(GeneralOptionsPage::kPinRow)->label);
  // The user moves to the PIN row and to its other item: the Pocket PC's list takes the arrow
  // keys once it has the focus, the Smartphone's spinner takes Left and Right.
  SetFocus(pin->field);
  device.runUntilIdle();
  device.key(pocketPc() ? VK_DOWN : VK_RIGHT);
  EXPECT_EQ(page.builder().choiceValue(GeneralOptionsPage::kPinRow), 1);
  EXPECT_TRUE(shown(GeneralOptionsPage::kPinCodeRow));
  EXPECT_TRUE(shown(GeneralOptionsPage::kConfirmPinRow));
  const RECT code = rectInParent(page.builder().row(GeneralOptionsPage::kPinCodeRow)->label);
  EXPECT_EQ(code.top - before.top, page.builder().rowStep()) << "the PIN fields follow the PIN row";

  device.key(pocketPc() ? VK_UP : VK_LEFT);
  EXPECT_EQ(page.builder().choiceValue(GeneralOptionsPage::kPinRow), 0);
  EXPECT_FALSE(shown(GeneralOptionsPage::kPinCodeRow));
  EXPECT_FALSE(shown(GeneralOptionsPage::kConfirmPinRow));
  DestroyWindow(page.hwnd());
}

TEST_P(GeneralOptionsPageTest, EnablingWithoutAPinSaysSoAndLeavesTheLockOff) {
  open();
  enterPin(u"", u"");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Couldn't enable PIN protection. Please fill the 'PIN Code' field", false);
  EXPECT_FALSE(getPinLock().isEnabled());
  EXPECT_EQ(FormScreenDevice::storedPinCode(), std::nullopt);
  EXPECT_EQ(page.result(), IDOK) << "the page closes after the message";
}

TEST_P(GeneralOptionsPageTest, DifferentConfirmationSaysSoAndLeavesTheLockAsItWas) {
  open();
  enterPin(u"1234", u"1243");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Couldn't enable PIN protection. 'PIN Code' field doesn't match 'Confirm PIN' field.", false);
  EXPECT_FALSE(getPinLock().isEnabled());
}

TEST_P(GeneralOptionsPageTest, MatchingPinsTurnTheLockOn) {
  open();
  enterPin(u"2468", u"2468");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Successfully enabled PIN Protection", true);
  EXPECT_EQ(FormScreenDevice::storedPinCode(), getPinLock().pinCode(u"2468"));
  EXPECT_NE(FormScreenDevice::storedPinCode(), 0u);

  // The next start asks once; only that PIN lets the program go on.
  device.answerPin(u"2468");
  EXPECT_TRUE(getPinLock().verify(u""));
}

TEST_P(GeneralOptionsPageTest, WithTheLockOnEmptyFieldsStoreOnlyTheNameOrder) {
  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  open();
  choose(GeneralOptionsPage::kNameFormatRow, 0);
  done();
  EXPECT_TRUE(boxes.empty()) << "no message and no PIN asked";
  EXPECT_FALSE(getSettings().fNameFirst());
  EXPECT_EQ(FormScreenDevice::storedPinCode(), getPinLock().pinCode(u"1234"));
  EXPECT_EQ(page.result(), IDOK);
}

TEST_P(GeneralOptionsPageTest, ChangingThePinAsksForTheCurrentOne) {
  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  open();
  enterPin(u"9876", u"9876");
  device.answerPin(u"4321");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Couldn't enable PIN protection. Please provide valid PIN number.", false);
  EXPECT_EQ(FormScreenDevice::storedPinCode(), getPinLock().pinCode(u"1234")) << "a wrong PIN changes nothing";

  GeneralOptionsPage again;
  again.open(device.owner(), u"General");
  device.runUntilIdle();
  SetWindowTextW(again.builder().row(GeneralOptionsPage::kPinCodeRow)->field, u"9876");
  SetWindowTextW(again.builder().row(GeneralOptionsPage::kConfirmPinRow)->field, u"9876");
  boxes.clear();
  device.answerPin(u"1234");
  device.answerBox(boxes);
  SendMessageW(again.hwnd(), WM_COMMAND, IDOK, 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].shows(u"Successfully enabled PIN Protection"));
  EXPECT_EQ(FormScreenDevice::storedPinCode(), getPinLock().pinCode(u"9876"));
}

TEST_P(GeneralOptionsPageTest, ANewPinThatCannotBeWrittenKeepsTheOldOne) {
  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  open();
  enterPin(u"9876", u"9876");
  device.answerPin(u"1234");
  device.answerBox(boxes);
  {
    NoRoomForFiles full;
    done();
  }
  expectOneBox(u"Couldn't enable PIN protection. Please provide valid PIN number.", false);
  device.registry().restart();
  EXPECT_EQ(FormScreenDevice::storedPinCode(), getPinLock().pinCode(u"1234"));
  EXPECT_TRUE(getPinLock().verify(u"1234"));
}

TEST_P(GeneralOptionsPageTest, DisablingAsksForThePinFirst) {
  ASSERT_TRUE(getPinLock().setPin(u"1234"));
  open();
  choose(GeneralOptionsPage::kPinRow, 0);
  device.answerPin(u"1111");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Couldn't disable PIN protection. Please provide valid PIN number.", false);
  EXPECT_TRUE(getPinLock().isEnabled());

  for (bool cancel : {true, false}) {
    GeneralOptionsPage again;
    again.open(device.owner(), u"General");
    device.runUntilIdle();
    SendMessageW(again.builder().row(GeneralOptionsPage::kPinRow)->field, pocketPc() ? CB_SETCURSEL : LB_SETCURSEL, 0,
                 0);
    boxes.clear();
    if (cancel) {
      device.cancelPin();
    } else {
      device.answerPin(u"1234");
    }
    device.answerBox(boxes);
    SendMessageW(again.hwnd(), WM_COMMAND, IDOK, 0);
    ASSERT_EQ(boxes.size(), 1u);
    if (cancel) {
      EXPECT_TRUE(boxes[0].shows(u"Couldn't disable PIN protection. Please provide valid PIN number."));
      EXPECT_TRUE(getPinLock().isEnabled()) << "Cancel counts as a wrong PIN";
    } else {
      EXPECT_TRUE(boxes[0].shows(u"Successfully disabled PIN Protection"));
      EXPECT_TRUE(boxes[0].shows(u"i"));
      EXPECT_EQ(FormScreenDevice::storedPinCode(), 0u);
    }
  }
  // With the lock off, "Disabled" does nothing at all.
  GeneralOptionsPage off;
  off.open(device.owner(), u"General");
  device.runUntilIdle();
  boxes.clear();
  SendMessageW(off.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(FormScreenDevice::storedPinCode(), 0u);
}

TEST_P(GeneralOptionsPageTest, APinWhoseDigestStartsWithFourZeroBytesStillLocks) {
  getPinLock().setHashFunction([](const PinLock::Buffer&) { return std::vector<BYTE>{0, 0, 0, 0, 9, 9, 9, 9}; });
  open();
  enterPin(u"77", u"77");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Successfully enabled PIN Protection", true);
  EXPECT_EQ(FormScreenDevice::storedPinCode(), 0xFFFFFFFFu);
  EXPECT_TRUE(getPinLock().isEnabled());
  device.answerPin(u"77");
  EXPECT_TRUE(getPinLock().verify(u""));
}

TEST_P(GeneralOptionsPageTest, AHashThatFailsIsAFailedChangeNotACrash) {
  getPinLock().setHashFunction(
      [](const PinLock::Buffer&) -> std::vector<BYTE> { throw TextError(u"Couldn't get hash provider"); });
  open();
  enterPin(u"12", u"12");
  device.answerBox(boxes);
  done();
  expectOneBox(u"Couldn't enable PIN protection. Please provide valid PIN number.", false);
  EXPECT_EQ(FormScreenDevice::storedPinCode(), std::nullopt);
  EXPECT_EQ(page.result(), IDOK);
}

TEST_P(GeneralOptionsPageTest, TheNameOrderIsStoredAtOnceAndTheFriendsFollowIt) {
  for (auto [first, last] : {std::pair{u"Zoe", u"Adams"}, std::pair{u"Ann", u"Lee"}}) {
    getFriendCollection().add(std::make_unique<Friend>(first, last, u"", 0));
  }
  auto names = [] {
    std::vector<std::u16string> out;
    for (const Friend* f : getFriendCollection().snapshot()) out.push_back(f->displayName());
    return out;
  };
  ASSERT_EQ(names(), (std::vector<std::u16string>{u"Ann Lee", u"Zoe Adams"}));
  open();
  choose(GeneralOptionsPage::kNameFormatRow, 0);
  done();
  EXPECT_FALSE(getSettings().fNameFirst());
  EXPECT_TRUE(page.nameOrderChanged());
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Adams, Zoe", u"Lee, Ann"}));
  Settings reread(getSettings().filePath());
  reread.load();
  EXPECT_FALSE(reread.fNameFirst()) << "the file holds it";

  GeneralOptionsPage same;
  same.open(device.owner(), u"General");
  device.runUntilIdle();
  SendMessageW(same.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_FALSE(same.nameOrderChanged());
}

TEST_P(GeneralOptionsPageTest, CancelStoresNothing) {
  open();
  choose(GeneralOptionsPage::kNameFormatRow, 0);
  enterPin(u"12", u"12");
  SendMessageW(page.hwnd(), WM_COMMAND, IDCANCEL, 0);
  device.runUntilIdle();
  EXPECT_EQ(page.result(), IDCANCEL);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(getSettings().fNameFirst());
  EXPECT_FALSE(getPinLock().isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Editions, GeneralOptionsPageTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
