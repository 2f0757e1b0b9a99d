#include "platform/base/DeviceConfig.h"

#include <gtest/gtest.h>

using platform::Edition;
using platform::parseDeviceOptions;

TEST(DeviceOptions, DefaultsAreAPocketPcAt240x320) {
  const auto result = parseDeviceOptions({});
  ASSERT_TRUE(result.config);
  EXPECT_EQ(result.config->edition, Edition::PocketPc);
  EXPECT_EQ(result.config->screenWidth, 240);
  EXPECT_EQ(result.config->screenHeight, 320);
  EXPECT_EQ(result.config->scale, 0) << "the window picks the zoom that fits the desktop";
  EXPECT_FALSE(result.config->appDir.empty());
  EXPECT_EQ(result.config->pimDir, result.config->appDir + "/pim");
}

TEST(DeviceOptions, ReadsEveryOptionAndPassesTheRestOn) {
  const auto result = parseDeviceOptions(
      {"--edition",       "smartphone", "--screen",  "176x220", "--scale",       "3",           "--oem",     "Maker X",
       "--platform-name", "Phone",      "--app-dir", "/a",      "--device-root", "/d",          "--pim-dir", "/p",
       "uninstall",       "--headless", "--script",  "s.txt",   "extra",         "--dump-file", "/tmp/d.txt"});
  ASSERT_TRUE(result.config) << result.error;
  const auto& c = *result.config;
  EXPECT_EQ(c.edition, Edition::Smartphone);
  EXPECT_EQ(c.screenWidth, 176);
  EXPECT_EQ(c.screenHeight, 220);
  EXPECT_EQ(c.scale, 3);
  EXPECT_EQ(c.oemInfo, "Maker X");
  EXPECT_EQ(c.platformName, "Phone");
  EXPECT_EQ(c.appDir, "/a");
  EXPECT_EQ(c.deviceRoot, "/d");
  EXPECT_EQ(c.pimDir, "/p");
  EXPECT_TRUE(c.headless);
  EXPECT_EQ(c.scriptPath, "s.txt");
  EXPECT_EQ(c.commandLine, "uninstall extra");
  EXPECT_EQ(c.dumpFile, "/tmp/d.txt");
}

TEST(DeviceOptions, RejectsBadValuesWithAReason) {
  for (const auto& args : std::vector<std::vector<std::string>>{{"--edition", "tablet"},
                                                                {"--screen", "240"},
                                                                {"--screen", "0x320"},
                                                                {"--scale", "zero"},
                                                                {"--app-dir"},
                                                                {"--dump-file"},
                                                                {"--script", "s.txt"}}) {
    const auto result = parseDeviceOptions(args);
    EXPECT_FALSE(result.config) << args[0];
    EXPECT_FALSE(result.error.empty()) << args[0];
  }
}
