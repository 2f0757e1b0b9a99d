#include "device/DeviceProfile.h"

#include <gtest/gtest.h>

#include "platform/base/DeviceConfig.h"
#include "platform/gdi/GdiBridge.h"

namespace pellucard {
namespace {

DeviceProfile profileOf(const char16_t* platformType, int width, int height) {
  DeviceProfile profile;
  profile.computeFrom(std::u16string(platformType), width, height);
  return profile;
}

TEST(DeviceProfile, PocketPc240UsesItsOwnLayoutsAndRotates) {
  DeviceProfile portrait = profileOf(u"PocketPC", 240, 320);
  EXPECT_TRUE(portrait.isPocketPc());
  EXPECT_FALSE(portrait.landscape());
  EXPECT_FALSE(portrait.smallSmartphone());
  EXPECT_EQ(portrait.layout().kind(), LayoutKind::PocketPc240Portrait);
  EXPECT_EQ(portrait.screenClass(), 0);

  DeviceProfile rotated = profileOf(u"PocketPC", 320, 240);
  EXPECT_TRUE(rotated.landscape());
  EXPECT_EQ(rotated.layout().kind(), LayoutKind::PocketPc240Landscape);
  EXPECT_EQ(rotated.screenClass(), 1);

  EXPECT_EQ(profileOf(u"PocketPC", 240, 240).layout().kind(), LayoutKind::PocketPc240Square);
  EXPECT_EQ(profileOf(u"PocketPC", 240, 240).screenClass(), 0);
}

TEST(DeviceProfile, OtherPocketPcsUseTheGeneralLayouts) {
  EXPECT_EQ(profileOf(u"PocketPC", 480, 640).layout().kind(), LayoutKind::Portrait);
  EXPECT_EQ(profileOf(u"PocketPC", 640, 480).layout().kind(), LayoutKind::Landscape);
  EXPECT_EQ(profileOf(u"PocketPC", 640, 480).screenClass(), 1);
  EXPECT_EQ(profileOf(u"PocketPC", 480, 480).layout().kind(), LayoutKind::Portrait);
}

TEST(DeviceProfile, Smartphone240IsSmallWithTheGeneralLayouts) {
  DeviceProfile portrait = profileOf(u"SmartPhone", 240, 320);
  EXPECT_FALSE(portrait.isPocketPc());
  EXPECT_TRUE(portrait.smallSmartphone());
  EXPECT_EQ(portrait.screenClass(), 3);
  EXPECT_EQ(portrait.layout().kind(), LayoutKind::Portrait);

  DeviceProfile landscape = profileOf(u"SmartPhone", 320, 240);
  EXPECT_TRUE(landscape.smallSmartphone());
  EXPECT_EQ(landscape.screenClass(), 4);
  EXPECT_EQ(landscape.layout().kind(), LayoutKind::Landscape);

  DeviceProfile small = profileOf(u"SmartPhone", 176, 220);
  EXPECT_FALSE(small.smallSmartphone());
  EXPECT_EQ(small.screenClass(), 0);
}

TEST(DeviceProfile, OnlyExactlyPocketPcIsAPocketPc) {
  EXPECT_TRUE(DeviceProfile::isPocketPcPlatformType(u"pocketpc"));
  EXPECT_TRUE(DeviceProfile::isPocketPcPlatformType(u"POCKETPC"));
  EXPECT_FALSE(DeviceProfile::isPocketPcPlatformType(u"PocketPC2003"));
  EXPECT_FALSE(DeviceProfile::isPocketPcPlatformType(u"SmartPhone"));
  EXPECT_FALSE(DeviceProfile::isPocketPcPlatformType(u""));
  EXPECT_FALSE(DeviceProfile::isPocketPcPlatformType(std::nullopt)) << "a failed query counts as Smartphone";
}

TEST(DeviceProfile, ComputeAsksTheRunningDevice) {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.edition = platform::Edition::Smartphone;
  platform::gdi::resizeScreen(320, 240);
  DeviceProfile profile;
  profile.compute();
  EXPECT_FALSE(profile.isPocketPc());
  EXPECT_EQ(profile.screenClass(), 4);
  config = saved;
  platform::gdi::resizeScreen(saved.screenWidth, saved.screenHeight);
}

}  // namespace
}  // namespace pellucard
