#include <gtest/gtest.h>

#include <vector>

#include "platform/base/DeviceConfig.h"
#include "platform/sys/InitCommonControls.h"
#include "platform/sys/ObjBase.h"
#include "platform/sys/OleAuto.h"
#include "platform/sys/SysParams.h"

namespace {

std::vector<WPARAM> notifications;
void recordChange(WPARAM wParam, LPARAM) { notifications.push_back(wParam); }

class SystemParameters : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platform::DeviceConfig::current();
    notifications.clear();
    platform::sys::setSettingChangeNotifier(recordChange);
    platform::sys::resetSystemParameters();
  }
  void TearDown() override {
    platform::DeviceConfig::current() = saved_;
    platform::sys::resetSystemParameters();
    platform::sys::setSettingChangeNotifier(nullptr);
  }
  static std::u16string text(UINT action, UINT bytes = 512) {
    std::vector<WCHAR> buffer(bytes / 2 + 1, u'?');
    if (!SystemParametersInfoW(action, bytes, buffer.data(), 0)) return u"<failed>";
    return buffer.data();
  }
  platform::DeviceConfig saved_;
};

TEST_F(SystemParameters, PlatformTypeFollowsTheEdition) {
  auto& config = platform::DeviceConfig::current();
  config.edition = platform::Edition::PocketPc;
  EXPECT_EQ(text(SPI_GETPLATFORMTYPE), u"PocketPC");
  config.edition = platform::Edition::Smartphone;
  EXPECT_EQ(text(SPI_GETPLATFORMTYPE), u"SmartPhone");
  SetLastError(0);
  EXPECT_EQ(text(SPI_GETPLATFORMTYPE, 20), u"<failed>") << "ten characters do not fit \"SmartPhone\" and its end";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  config.oemInfo = "Velka DASH 3000";
  EXPECT_EQ(text(SPI_GETOEMINFO), u"Velka DASH 3000");
  config.oemInfo.clear();
  EXPECT_EQ(text(SPI_GETOEMINFO), u"");
  EXPECT_FALSE(SystemParametersInfoW(9999, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(SystemParameters, InputPanelStateAndItsNotification) {
  auto& config = platform::DeviceConfig::current();
  config.screenWidth = 240;
  config.screenHeight = 320;
  SIPINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETSIPINFO, 0, &info, 0));
  EXPECT_FALSE(info.fdwFlags & SIPF_ON);
  EXPECT_EQ(info.rcVisibleDesktop.top, 26);
  EXPECT_EQ(info.rcVisibleDesktop.bottom, 294) << "the menubar's 26 pixels are not free";

  info.fdwFlags = SIPF_ON;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETSIPINFO, 0, &info, 0));
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETSIPINFO, 0, &info, 0));
  EXPECT_EQ(notifications, std::vector<WPARAM>{SPI_SETSIPINFO}) << "only a change is announced";
  SIPINFO up{};
  up.cbSize = sizeof up;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETSIPINFO, 0, &up, 0));
  EXPECT_TRUE(up.fdwFlags & SIPF_ON);
  EXPECT_EQ(up.rcVisibleDesktop.bottom, up.rcSipRect.top);
  EXPECT_EQ(up.rcSipRect.bottom, 294);

  SIPINFO bad{};
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETSIPINFO, 0, &bad, 0)) << "cbSize must be set";
}

TEST_F(SystemParameters, WorkAreaChangeIsAnnouncedWhenAsked) {
  auto& config = platform::DeviceConfig::current();
  config.screenWidth = 480;
  config.screenHeight = 640;
  RECT area{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.top, 52) << "the bars grow with a VGA screen";
  EXPECT_EQ(area.bottom, 640);
  RECT smaller{0, 52, 480, 500};
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &smaller, 0));
  EXPECT_TRUE(notifications.empty());
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &smaller, SPIF_SENDCHANGE));
  EXPECT_EQ(notifications, std::vector<WPARAM>{SPI_SETWORKAREA});
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
  EXPECT_EQ(area.bottom, 500);
  RECT inverted{10, 10, 0, 0};
  EXPECT_FALSE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &inverted, 0));
}

TEST(Com, InitialisationNestsAndCommonControlsNeedTheirSize) {
  const int before = platform::sys::comInitialisationCount();
  EXPECT_EQ(CoInitializeEx(nullptr, 0), before ? S_FALSE : S_OK);
  EXPECT_EQ(CoInitializeEx(nullptr, 0), S_FALSE);
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), RPC_E_CHANGED_MODE);
  int reserved = 0;
  EXPECT_EQ(CoInitializeEx(&reserved, 0), E_INVALIDARG);
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(platform::sys::comInitialisationCount(), before);

  INITCOMMONCONTROLSEX icc{8, 0x113};
  EXPECT_TRUE(InitCommonControlsEx(&icc));
  icc.dwSize = 12;
  EXPECT_FALSE(InitCommonControlsEx(&icc));
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

SYSTEMTIME date(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

TEST(VariantTime, KnownDatesAndBothDirections) {
  DATE v = 0;
  auto st = date(1899, 12, 30);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
  EXPECT_EQ(v, 0.0);
  st = date(2000, 1, 1, 18);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
  EXPECT_DOUBLE_EQ(v, 36526.75);
  st = date(1899, 12, 29, 6);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
  EXPECT_DOUBLE_EQ(v, -1.25) << "before the epoch the fraction still counts forward";
  st = date(9999, 12, 31);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
  EXPECT_EQ(v, 2958465.0);

  SYSTEMTIME back{};
  ASSERT_TRUE(VariantTimeToSystemTime(-1.25, &back));
  EXPECT_EQ(back.wYear, 1899);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wHour, 6);
  ASSERT_TRUE(VariantTimeToSystemTime(36526.75, &back));
  EXPECT_EQ(back.wYear, 2000);
  EXPECT_EQ(back.wDayOfWeek, 6);  // Saturday
  EXPECT_EQ(back.wHour, 18);
  // Rounded to the second, also across midnight.
  ASSERT_TRUE(VariantTimeToSystemTime(36526.0 - 0.1 / 86400, &back));
  EXPECT_EQ(back.wDay, 1);
  EXPECT_EQ(back.wHour, 0);
  EXPECT_EQ(back.wSecond, 0);

  st = date(2024, 2, 29, 23, 59, 59, 999);
  ASSERT_TRUE(SystemTimeToVariantTime(&st, &v));
  ASSERT_TRUE(VariantTimeToSystemTime(v, &back));
  EXPECT_EQ(back.wMonth, 2);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wSecond, 59);
  EXPECT_EQ(back.wMilliseconds, 0);

  st = date(2023, 2, 29);
  EXPECT_FALSE(SystemTimeToVariantTime(&st, &v));
  st = date(99, 12, 31);
  EXPECT_FALSE(SystemTimeToVariantTime(&st, &v));
  EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, &back));
  EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, &back));
}

}  // namespace
