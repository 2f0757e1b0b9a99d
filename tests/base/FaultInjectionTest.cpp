// The fault-injection switch as the host file calls meet it: which operation strikes, for which
// paths, how often, with which error, and the kill points a crash test relies on.
#include "platform/base/FaultInjection.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

#include "platform/base/HostCalls.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace platform {
namespace {

using testing::TempFolder;

FaultInjection::Plan plan(unsigned operations, std::uint64_t nth, std::uint64_t times, int error = ENOSPC,
                          std::string pattern = "") {
  FaultInjection::Plan p;
  p.operations = operations;
  p.nth = nth;
  p.times = times;
  p.error = error;
  p.pathPattern = std::move(pattern);
  return p;
}

class FaultInjectionTest : public ::testing::Test {
 protected:
  void TearDown() override { FaultInjection::disarmAll(); }

  // Appends one byte through the host calls; errno tells why it failed.
  bool appendByte(const std::string& path) {
    const int fd = HostCalls::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool ok = HostCalls::writeAll(fd, "x", 1, path.c_str());
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
  }

  TempFolder folder;
  std::string a = folder.file("a.txt");
  std::string b = folder.file("b.dat");
};

TEST_F(FaultInjectionTest, TheNthMatchingOperationFailsWithThePlansError) {
  FaultInjection::Armed writes(plan(FaultInjection::kWrite, 3, 2, EIO));
  std::string results;
  for (int i = 0; i < 6; ++i) {
    errno = 0;
    results += appendByte(a) ? '+' : (errno == EIO ? 'E' : '?');
  }
  EXPECT_EQ(results, "++EE++");
  EXPECT_EQ(writes.matched(), 6u);
  EXPECT_EQ(writes.struck(), 2u);
  EXPECT_EQ(testing::readBytes(a), "xxxx") << "a failed write puts nothing down";
}

TEST_F(FaultInjectionTest, PatternsAndOperationsNarrowWhatCounts) {
  FaultInjection::Armed opens(plan(FaultInjection::kOpen, 1, 0, EACCES, "*.dat"));
  EXPECT_TRUE(appendByte(a));
  errno = 0;
  EXPECT_FALSE(appendByte(b));
  EXPECT_EQ(errno, EACCES);
  EXPECT_FALSE(appendByte(b)) << "times 0: every one from the nth on";
  EXPECT_EQ(opens.matched(), 2u);
}

TEST_F(FaultInjectionTest, CountingOnlyAndDisarmingStrikeNothing) {
  const int counting = FaultInjection::arm(plan(FaultInjection::kAll, 0, 1));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(appendByte(a));
  EXPECT_EQ(FaultInjection::matched(counting), 6u) << "an open and a write each";
  EXPECT_EQ(FaultInjection::struck(counting), 0u);
  FaultInjection::disarm(counting);
  {
    FaultInjection::Armed failing(plan(FaultInjection::kWrite, 1, 0));
    EXPECT_FALSE(appendByte(a));
  }
  EXPECT_TRUE(appendByte(a)) << "gone with its scope";
}

// A kill at the Nth write ends the process before it; a torn write leaves the first half.
TEST_F(FaultInjectionTest, KillsEndTheProcessWhereTheyArePlanned) {
  for (FaultInjection::Strike strike : {FaultInjection::Strike::Kill, FaultInjection::Strike::KillMidWrite}) {
    std::filesystem::remove(a);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FaultInjection::Plan kill = plan(FaultInjection::kWrite, 2, 1);
      kill.strike = strike;
      FaultInjection::arm(kill);
      const int fd = HostCalls::open(a.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
      HostCalls::writeAll(fd, "1234", 4, a.c_str());
      HostCalls::writeAll(fd, "abcd", 4, a.c_str());
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(testing::readBytes(a), strike == FaultInjection::Strike::Kill ? "1234" : "1234ab");
  }
}

}  // namespace
}  // namespace platform
