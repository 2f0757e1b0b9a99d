// A dump asked for by a signal: written whole at the next idle moment, once per signal.
#include "platform/backend/DumpRequest.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>

#include "platform/backend/demo/DemoFrame.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"

namespace fs = std::filesystem;
using platform::DumpRequest;
using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::TestDevice;

TEST(DumpRequest, EachSignalWritesTheDumpAndTheScreenOnce) {
  TempFolder dir;
  TestDevice device;
  platform::demo::DemoFrame frame;
  ASSERT_TRUE(frame.createFrame(SW_SHOW));
  ASSERT_TRUE(device.runUntilIdle());
  const std::string path = dir.file("dump.txt");
  DumpRequest request(path);
  std::string error;
  EXPECT_TRUE(request.serve(error));
  EXPECT_FALSE(fs::exists(path)) << "nothing was asked for yet";

  ASSERT_EQ(raise(SIGUSR1), 0);
  EXPECT_TRUE(DumpRequest::pending());
  EXPECT_TRUE(request.serve(error)) << error;
  EXPECT_FALSE(DumpRequest::pending());
  EXPECT_EQ(readBytes(path), device.dump());
  EXPECT_EQ(readBytes(path + ".png").substr(1, 3), "PNG");
  // Only the finished files are left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);

  fs::remove(path);
  EXPECT_TRUE(request.serve(error));
  EXPECT_FALSE(fs::exists(path)) << "one signal, one dump";
}

TEST(DumpRequest, AFileThatCannotBeWrittenIsReportedAndTheRequestDropped) {
  TempFolder dir;
  TestDevice device;
  ASSERT_TRUE(device.runUntilIdle());
  DumpRequest request(dir.file("gone/dump.txt"));
  ASSERT_EQ(raise(SIGUSR1), 0);
  std::string error;
  EXPECT_FALSE(request.serve(error));
  EXPECT_EQ(error, "cannot write " + dir.file("gone/dump.txt.png"));
  EXPECT_FALSE(DumpRequest::pending());
}

TEST(DumpRequest, TheEarlierHandlerComesBackWhenItGoes) {
  struct sigaction before {};
  sigaction(SIGUSR1, nullptr, &before);
  {
    TempFolder dir;
    DumpRequest request(dir.file("dump.txt"));
    struct sigaction during {};
    sigaction(SIGUSR1, nullptr, &during);
    EXPECT_NE(during.sa_handler, before.sa_handler);
  }
  struct sigaction after {};
  sigaction(SIGUSR1, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}
