#include "device/DeviceKeyMap.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/sys/Registry.h"

namespace pellucard {
namespace {

std::u16string mapAll(const DeviceKeyMap& map, std::u16string_view keys) {
  std::u16string out;
  for (char16_t c : keys) out += map.mapKey(c);
  return out;
}

TEST(DeviceKeyMap, TheFirstMatchingRuleChoosesTheTable) {
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"", u"Samsung SGH-i600"), 4);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"Excalibur", u""), 1);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"", u"T-Mobile Dash"), 4);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"vox", u""), 2);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"", u"motorola q"), 3);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"", u"MOTOROLA SGH"), 4) << "SGH is tested before MOTOROLA";
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"Excalibur", u"dash"), 1) << "EXCALIBUR is tested before DASH";
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"VOX", u"Motorola"), 2);
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"SGH", u"VOX"), DeviceKeyMap::kNoTable) << "each rule reads its own text";
  EXPECT_EQ(DeviceKeyMap::chooseTable(u"", u""), DeviceKeyMap::kNoTable);
}

TEST(DeviceKeyMap, EachTableMapsDigitsStarAndHash) {
  EXPECT_EQ(mapAll(DeviceKeyMap(u"Excalibur", u"", false, 320, 240), u"0123456789*#"), u"\tWERSDFXCVZA");
  EXPECT_EQ(mapAll(DeviceKeyMap(u"Vox", u"", false, 320, 240), u"0123456789*#"), u"ERTYDFGCVBSX");
  EXPECT_EQ(mapAll(DeviceKeyMap(u"", u"Motorola", false, 320, 240), u"0123456789*#"), u"0WERSDFZXCAG");
  EXPECT_EQ(mapAll(DeviceKeyMap(u"", u"Dash", false, 320, 240), u"0123456789*#"), u" ETUDGJXVN*#");
  EXPECT_EQ(mapAll(DeviceKeyMap(u"", u"Dash", false, 320, 240), u"ab+ Z\u00e9"), u"ab+ Z\u00e9");
}

TEST(DeviceKeyMap, OnlyALandscapeSmartphoneMapsAndRotationRetests) {
  DeviceKeyMap map(u"", u"HTC DASH", false, 320, 240);
  EXPECT_TRUE(map.active());
  EXPECT_EQ(map.mapKey(u'1'), u'E');
  EXPECT_EQ(map.mapKey(u'0'), u' ');

  map.retestOrientation(false, 240, 320);
  EXPECT_FALSE(map.active());
  EXPECT_EQ(map.mapKey(u'1'), u'1');
  EXPECT_EQ(map.table(), 4) << "the table is chosen once";

  map.retestOrientation(false, 320, 240);
  EXPECT_EQ(map.mapKey(u'1'), u'E');

  DeviceKeyMap pocketPc(u"", u"HTC DASH", true, 320, 240);
  EXPECT_FALSE(pocketPc.active());
  EXPECT_EQ(pocketPc.mapKey(u'1'), u'1');
}

TEST(DeviceKeyMap, WithoutATableKeysPass) {
  DeviceKeyMap map(u"Generic", u"", false, 320, 240);
  EXPECT_TRUE(map.active());
  EXPECT_EQ(mapAll(map, u"0123456789*#"), u"0123456789*#");
}

TEST(DeviceKeyMap, TheInstanceReadsTheRunningDevice) {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.edition = platform::Edition::Smartphone;
  platform::gdi::resizeScreen(320, 240);
  config.oemInfo = "Some Dash";
  config.platformName = "";
  deleteDeviceKeyMap();
  DeviceKeyMap& map = getDeviceKeyMap();
  EXPECT_EQ(&map, &getDeviceKeyMap());
  EXPECT_EQ(map.mapKey(u'1'), u'E');
  platform::gdi::resizeScreen(240, 320);
  map.retestOrientation();
  EXPECT_EQ(map.mapKey(u'1'), u'1');
  deleteDeviceKeyMap();

  // An OEM text that does not fit the platform's 256-byte answer counts as missing.
  platform::gdi::resizeScreen(320, 240);
  config.oemInfo = "Dash " + std::string(200, 'x');
  EXPECT_EQ(getDeviceKeyMap().table(), DeviceKeyMap::kNoTable);
  EXPECT_EQ(getDeviceKeyMap().mapKey(u'1'), u'1');
  deleteDeviceKeyMap();
  config = saved;
  platform::gdi::resizeScreen(saved.screenWidth, saved.screenHeight);
}

TEST(DeviceKeyMap, ThePlatformNameComesFromTheRegistry) {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.edition = platform::Edition::Smartphone;
  platform::gdi::resizeScreen(320, 240);
  config.oemInfo = "";
  config.platformName = "Excalibur";
  platform::sys::Registry& registry = platform::sys::Registry::instance();
  registry.setFolder(registry.folder());  // reloads with the device's values
  deleteDeviceKeyMap();
  EXPECT_EQ(getDeviceKeyMap().table(), 1);
  EXPECT_EQ(getDeviceKeyMap().mapKey(u'0'), u'\t');
  deleteDeviceKeyMap();
  config = saved;
  platform::gdi::resizeScreen(saved.screenWidth, saved.screenHeight);
  registry.setFolder(registry.folder());
}

}  // namespace
}  // namespace pellucard
