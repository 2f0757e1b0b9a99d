// Folders on the command line as a user types them, and the folders the device refuses.
#include "platform/base/HostPath.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/base/DeviceConfig.h"
#include "tests/support/TempFolder.h"

namespace {

namespace fs = std::filesystem;
using platform::HostPath;

TEST(HostPath, RelativePathsStartAtTheCurrentFolderAndTildeAtHome) {
  EXPECT_EQ(HostPath::resolve("data/Pellucard", "/home/ann", "/work/here"), "/work/here/data/Pellucard");
  EXPECT_EQ(HostPath::resolve("./data/../app/", "/home/ann", "/w"), "/w/app");
  EXPECT_EQ(HostPath::resolve("~", "/home/ann", "/w"), "/home/ann");
  EXPECT_EQ(HostPath::resolve("~/Pellucard", "/home/ann", "/w"), "/home/ann/Pellucard");
  EXPECT_EQ(HostPath::resolve("~ann", "/home/ann", "/w"), "/w/~ann") << "only the user's own home is short";
  EXPECT_EQ(HostPath::resolve("/abs//x/", "/home/ann", "/w"), "/abs/x");
  EXPECT_EQ(HostPath::resolve("/", "/home/ann", "/w"), "/");
  EXPECT_EQ(HostPath::resolve("", "/home/ann", "/w"), "");
}

TEST(HostPath, TheDeviceOptionsResolveTheirFoldersFromTheCurrentFolder) {
  const std::string here = fs::current_path().string();
  const auto result =
      platform::parseDeviceOptions({"--app-dir", "data/Pellucard", "--device-root", ".", "--pim-dir", "~/pim"});
  ASSERT_TRUE(result.config) << result.error;
  EXPECT_EQ(result.config->appDir, here + "/data/Pellucard");
  EXPECT_EQ(result.config->deviceRoot, here);
  EXPECT_EQ(result.config->pimDir, std::string(getenv("HOME")) + "/pim");
}

class FolderProblems : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_ + "/file") << "x";
    fs::create_directory(dir_ + "/locked");
  }

  platform::testing::TempFolder folder_;
  const std::string dir_ = folder_.path().string();
};

TEST_F(FolderProblems, MissingFoldersAndFilesAreNamed) {
  EXPECT_EQ(HostPath::folderProblem(dir_, true, true), std::nullopt);
  EXPECT_EQ(HostPath::folderProblem(dir_ + "/new/deeper", false, true), std::nullopt) << "the program makes it";
  EXPECT_EQ(HostPath::folderProblem(dir_ + "/missing", true, false), dir_ + "/missing does not exist");
  EXPECT_EQ(HostPath::folderProblem(dir_ + "/file", false, true), dir_ + "/file is not a folder");
  EXPECT_NE(HostPath::folderProblem(dir_ + "/file/below", false, true)->find("is not a folder"), std::string::npos);
}

TEST_F(FolderProblems, FoldersWithoutPermissionAreNamed) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  chmod((dir_ + "/locked").c_str(), 0500);
  EXPECT_EQ(HostPath::folderProblem(dir_ + "/locked", true, false), std::nullopt) << "reading is enough for the root";
  EXPECT_NE(HostPath::folderProblem(dir_ + "/locked", false, true)->find("cannot write"), std::string::npos);
  EXPECT_NE(HostPath::folderProblem(dir_ + "/locked/app", false, true)->find("cannot make"), std::string::npos);
  chmod((dir_ + "/locked").c_str(), 0);
  EXPECT_NE(HostPath::folderProblem(dir_ + "/locked", true, false)->find("cannot read"), std::string::npos);
}

TEST_F(FolderProblems, TheDeviceNamesTheOptionThatCannotServe) {
  platform::DeviceConfig config;
  config.deviceRoot = dir_;
  config.appDir = dir_ + "/app";
  config.pimDir = dir_ + "/app/pim";
  EXPECT_EQ(platform::deviceFoldersProblem(config), std::nullopt);
  config.deviceRoot = dir_ + "/nowhere";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--device-root: " + dir_ + "/nowhere does not exist");
  config.deviceRoot = dir_;
  config.appDir = dir_ + "/file";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--app-dir: " + dir_ + "/file is not a folder");
  config.appDir = dir_;
  config.pimDir = dir_ + "/file";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--pim-dir: " + dir_ + "/file is not a folder");
}

TEST_F(FolderProblems, ADumpFileNeedsAFolderToLieIn) {
  platform::DeviceConfig config;
  config.deviceRoot = config.appDir = config.pimDir = dir_;
  config.dumpFile = dir_ + "/dump.txt";
  EXPECT_EQ(platform::deviceFoldersProblem(config), std::nullopt);
  config.dumpFile = dir_ + "/file";
  EXPECT_EQ(platform::deviceFoldersProblem(config), std::nullopt) << "an earlier dump is replaced";
  config.dumpFile = dir_ + "/locked";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--dump-file: " + dir_ + "/locked is a folder");
  config.dumpFile = dir_ + "/missing/dump.txt";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--dump-file: " + dir_ + "/missing does not exist");
  config.dumpFile = dir_ + "/file/dump.txt";
  EXPECT_EQ(platform::deviceFoldersProblem(config), "--dump-file: " + dir_ + "/file is not a folder");
}

}  // namespace
