#include "pin/PinLock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "device/TextError.h"
#include "platform/sys/Registry.h"
#include "platform/sys/WinReg.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchRegistry.h"

namespace pellucard {
namespace {

// Each test gets a registry of its own.
class PinLockTest : public ::testing::Test {
 protected:
  platform::testing::ScratchRegistry registry;
  PinLock lock;
  int prompts = 0;

  // The PIN window, answering with the given text or cancelling.
  void answerPrompt(std::optional<std::u16string> answer) {
    lock.setPinPrompt([this, answer](HWND) {
      ++prompts;
      return answer;
    });
  }

  std::optional<DWORD> stored(DWORD type = REG_DWORD) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"\\Software\\Velka\\Protection", 0, 0, &key) != ERROR_SUCCESS)
      return std::nullopt;
    DWORD actualType = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result = RegQueryValueExW(key, u"BC85", nullptr, &actualType, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || actualType != type) return std::nullopt;
    return value;
  }

  void store(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, u"\\Software\\Velka\\Protection", 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"BC85", 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
  }
};

TEST_F(PinLockTest, CodesFollowTheHashOfTheProductAndPin) {
  EXPECT_EQ(lock.valueName(), u"BC85");
  EXPECT_EQ(lock.pinCode(u"1234"), 0xC7B3658Bu);
  EXPECT_EQ(lock.pinCode(u""), 0x255CB6B2u);
  EXPECT_EQ(lock.pinCode(u"0000"), 0xC50AD041u);
  EXPECT_EQ(lock.pinCode(std::u16string(126, u'9')), 0x7B23F541u);
  EXPECT_THROW(lock.pinCode(std::u16string(127, u'9')), TextError);
}

TEST_F(PinLockTest, WithoutAStoredValueEverythingPasses) {
  EXPECT_FALSE(lock.isEnabled());
  EXPECT_TRUE(lock.verify(u""));
  EXPECT_TRUE(lock.verify(u"9999"));
  EXPECT_TRUE(lock.disable(false));
  EXPECT_EQ(prompts, 0);
  EXPECT_FALSE(stored()) << "nothing is written when protection was off";
}

TEST_F(PinLockTest, SetPinStoresTheCodeAndVerifyChecksIt) {
  ASSERT_TRUE(lock.setPin(u"1234"));
  EXPECT_EQ(stored(), 0xC7B3658Bu);
  EXPECT_TRUE(lock.isEnabled());
  EXPECT_TRUE(lock.verify(u"1234"));
  EXPECT_FALSE(lock.verify(u"4321"));
  EXPECT_FALSE(lock.verify(std::u16string(127, u'1')));
}

TEST_F(PinLockTest, AnEmptyPinAsksTheUserAndCancelOrNoWindowFails) {
  ASSERT_TRUE(lock.setPin(u"1234"));
  EXPECT_FALSE(lock.verify(u"")) << "without a PIN window, an empty PIN counts as Cancel";
  answerPrompt(std::nullopt);
  EXPECT_FALSE(lock.verify(u""));
  answerPrompt(u"1111");
  EXPECT_FALSE(lock.verify(u""));
  answerPrompt(u"1234");
  EXPECT_TRUE(lock.verify(u""));
  EXPECT_EQ(prompts, 3);
}

TEST_F(PinLockTest, ChangingThePinAsksForTheOldOne) {
  ASSERT_TRUE(lock.setPin(u"1234"));
  answerPrompt(u"0000");
  EXPECT_FALSE(lock.setPin(u"5678"));
  EXPECT_EQ(stored(), 0xC7B3658Bu) << "a wrong old PIN changes nothing";
  answerPrompt(u"1234");
  EXPECT_TRUE(lock.setPin(u"5678"));
  EXPECT_TRUE(lock.verify(u"5678"));
  EXPECT_FALSE(lock.verify(u"1234"));
}

TEST_F(PinLockTest, OverlongPinsAreRefusedBeforeAnythingIsAsked) {
  EXPECT_FALSE(lock.setPin(std::u16string(127, u'1')));
  EXPECT_FALSE(stored());
  ASSERT_TRUE(lock.setPin(std::u16string(126, u'1')));
  EXPECT_TRUE(lock.verify(std::u16string(126, u'1')));
  answerPrompt(std::u16string(126, u'1'));
  EXPECT_FALSE(lock.setPin(std::u16string(300, u'2')));
  EXPECT_EQ(prompts, 0);
}

TEST_F(PinLockTest, DisableAsksUnlessForcedAndStoresZero) {
  ASSERT_TRUE(lock.setPin(u"1234"));
  answerPrompt(u"9");
  EXPECT_FALSE(lock.disable(false));
  EXPECT_TRUE(lock.isEnabled());
  answerPrompt(u"1234");
  EXPECT_TRUE(lock.disable(false));
  EXPECT_EQ(stored(), 0u);
  EXPECT_FALSE(lock.isEnabled());

  ASSERT_TRUE(lock.setPin(u"1234"));
  answerPrompt(std::nullopt);
  EXPECT_TRUE(lock.disable(true));
  EXPECT_EQ(stored(), 0u);
  EXPECT_TRUE(lock.verify(u""));
}

TEST_F(PinLockTest, AValueOfAnotherTypeCountsAsOff) {
  store(REG_SZ, u"1234", 10);
  EXPECT_FALSE(lock.isEnabled());
  EXPECT_TRUE(lock.verify(u"anything"));
  const BYTE binary[4] = {1, 2, 3, 4};
  store(REG_BINARY, binary, 4);
  EXPECT_FALSE(lock.isEnabled());
  const DWORD zero = 0;
  store(REG_DWORD, &zero, 4);
  EXPECT_FALSE(lock.isEnabled());
}

TEST_F(PinLockTest, ADigestStartingWithZerosIsStoredAsAllOnesAndVerifies) {
  lock.setHashFunction([](const PinLock::Buffer&) { return std::vector<BYTE>(16, 0); });
  ASSERT_TRUE(lock.setPin(u"42"));
  EXPECT_EQ(stored(), 0xFFFFFFFFu);
  EXPECT_TRUE(lock.isEnabled());
  EXPECT_TRUE(lock.verify(u"42"));
}

TEST_F(PinLockTest, HashingFailuresCarryTheirText) {
  lock.setHashFunction(
      [](const PinLock::Buffer&) -> std::vector<BYTE> { throw TextError(u"Couldn't Encrypt Hash Data"); });
  try {
    lock.setPin(u"1234");
    FAIL() << "a failed hash must not store a code";
  } catch (const TextError& error) {
    EXPECT_EQ(error.text(), u"Couldn't Encrypt Hash Data");
  }
  EXPECT_FALSE(stored());

  lock.setHashFunction([](const PinLock::Buffer&) { return std::vector<BYTE>{1, 2, 3}; });
  try {
    lock.setPin(u"1234");
    FAIL() << "a digest too short for a code must not store one";
  } catch (const TextError& error) {
    EXPECT_EQ(error.text(), u"Couldn't get hash");
  }
}

TEST_F(PinLockTest, AnUnusableRegistryMeansOffAndHashingCannotStart) {
  const std::string blocker = registry.folder() + "/blocker";
  platform::testing::writeBytes(blocker, "a file where the registry folder should be");
  platform::sys::Registry::instance().setFolder(blocker + "/registry");
  EXPECT_FALSE(lock.isEnabled());
  EXPECT_TRUE(lock.verify(u""));
  try {
    lock.setPin(u"1234");
    FAIL() << "without its key container the hash cannot be made";
  } catch (const TextError& error) {
    EXPECT_EQ(error.text(), u"Couldn't acquire crypt context (2)");
  }
}

TEST_F(PinLockTest, TheInstanceUsesTheProductNumber) {
  deletePinLock();
  PinLock& instance = getPinLock();
  EXPECT_EQ(&instance, &getPinLock());
  EXPECT_EQ(instance.valueName(), u"BC85");
  ASSERT_TRUE(instance.setPin(u"1234"));
  EXPECT_TRUE(lock.verify(u"1234")) << "state lives only in the registry";
  deletePinLock();
}

}  // namespace
}  // namespace pellucard
