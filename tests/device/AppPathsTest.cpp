#include "device/AppPaths.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/DeviceConfig.h"

namespace pellucard {
namespace {

TEST(AppPaths, FilesLiveInTheFolderOfTheProgramFile) {
  AppPaths paths(u"/data/Pellucard\\Pellucard.exe");
  EXPECT_EQ(paths.applicationFolder(), u"/data/Pellucard");
  EXPECT_EQ(paths.settingsPath(), u"/data/Pellucard\\settings.xml");
  EXPECT_EQ(paths.databasePath(), u"/data/Pellucard\\Pellucard.cdb");
  EXPECT_EQ(paths.helpPath(), u"/data/Pellucard\\PellucardHelp.htm");
  EXPECT_EQ(paths.skinsFolder(), u"/data/Pellucard\\Skins");
  EXPECT_EQ(AppPaths(u"\\Program Files\\Pellucard\\Pellucard.exe").applicationFolder(), u"\\Program Files\\Pellucard");
}

TEST(AppPaths, TheInstanceFollowsTheDeviceUntilDeleted) {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.appDir = "/tmp/first";
  deleteAppPaths();
  EXPECT_EQ(getAppPaths().modulePath(), u"/tmp/first\\Pellucard.exe");
  EXPECT_EQ(getAppPaths().databasePath(), u"/tmp/first\\Pellucard.cdb");
  config.appDir = "/tmp/second";
  EXPECT_EQ(getAppPaths().databasePath(), u"/tmp/first\\Pellucard.cdb") << "built once";
  deleteAppPaths();
  EXPECT_EQ(getAppPaths().databasePath(), u"/tmp/second\\Pellucard.cdb");

  // Host folders can be longer than the handheld's path limit; the paths must not be cut.
  config.appDir = "/tmp/" + std::string(300, 'x');
  deleteAppPaths();
  EXPECT_EQ(getAppPaths().settingsPath().size(), 5 + 300 + 13u);
  deleteAppPaths();
  config = saved;
}

}  // namespace
}  // namespace pellucard
