#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/sys/InstanceChannel.h"
#include "platform/sys/WinBase.h"
#include "platform/win/WinUser.h"
#include "tests/support/TempFolder.h"
#include "tests/sys/EnvGuard.h"

namespace {

using platform::sys::InstanceChannel;

constexpr const char* kRoleVariable = "PELLUCARD_SYS_CHILD_ROLE";
constexpr UINT kActivateInstance = 0x400 + 106;
const HWND kFrame = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x1234));

// Starts this test program again as a second process that plays the given role.
pid_t spawnSecondInstance(const char* role) {
  const pid_t pid = fork();
  if (pid == 0) {
    setenv(kRoleVariable, role, 1);
    const char* args[] = {"/proc/self/exe", "--gtest_filter=SecondInstance.PlaysItsRole", nullptr};
    execv("/proc/self/exe", const_cast<char* const*>(args));
    _exit(127);
  }
  return pid;
}

// Serves the other process from this one's "message loop" until it ends; its exit status.
int serveUntilExit(pid_t child, InstanceChannel* channel) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return -1;
    }
    if (channel) channel->poll();
    usleep(2000);
  }
  return status;
}

class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override { InstanceChannel::stop(); }
  void TearDown() override { InstanceChannel::stop(); }
  platform::testing::TempFolder runtime_;
  systest::EnvGuard env_{"XDG_RUNTIME_DIR", runtime_.path().string()};
};

TEST_F(SingleInstance, NamedMutexKeepsToOneCreator) {
  HANDLE first = CreateMutexW(nullptr, FALSE, u"Pellucard");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateMutexW(nullptr, FALSE, u"Pellucard");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  HANDLE other = CreateMutexW(nullptr, FALSE, u"Other name\\with/odd chars");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(ReleaseMutex(first));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));

  struct stat st {};
  ASSERT_EQ(::stat(runtime_.file("pellucard").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  EXPECT_TRUE(CloseHandle(first));
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_TRUE(CloseHandle(other));
  HANDLE again = CreateMutexW(nullptr, FALSE, u"Pellucard");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "closing every handle frees the name";
  CloseHandle(again);

  HANDLE owned = CreateMutexW(nullptr, TRUE, nullptr);
  ASSERT_NE(owned, nullptr);
  EXPECT_TRUE(ReleaseMutex(owned));
  EXPECT_FALSE(ReleaseMutex(owned));
  CloseHandle(owned);
  EXPECT_FALSE(ReleaseMutex(owned));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(SingleInstance, RefusesARuntimeFolderOthersCanEnter) {
  std::filesystem::create_directory(runtime_.file("pellucard"));
  ::chmod(runtime_.file("pellucard").c_str(), 0777);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"Pellucard"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find(runtime_.file("pellucard")), std::string::npos) << "the user learns which folder: " << said;
  EXPECT_NE(said.find("XDG_RUNTIME_DIR"), std::string::npos) << said;
}

TEST_F(SingleInstance, SecondProcessFindsAndActivatesTheFirst) {
  std::vector<HWND> foreground;
  std::vector<MSG> posted;
  InstanceChannel::LocalWindows frame;
  frame.find = [](LPCWSTR cls, LPCWSTR) { return cls && std::u16string(cls) == u"Pellucard" ? kFrame : nullptr; };
  frame.isWindow = [](HWND h) { return h == kFrame ? TRUE : FALSE; };
  frame.post = [&posted](HWND h, UINT m, WPARAM w, LPARAM l) {
    posted.push_back(MSG{h, m, w, l, 0, {0, 0}});
    return h == kFrame ? TRUE : FALSE;
  };
  frame.setForeground = [&foreground](HWND h) {
    foreground.push_back(h);
    return h == kFrame ? TRUE : FALSE;
  };
  InstanceChannel& channel = InstanceChannel::start(frame);
  ASSERT_TRUE(channel.listening());
  HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Pellucard");
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

  const int status = serveUntilExit(spawnSecondInstance("activate"), &channel);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the second process's own checks failed";
  EXPECT_EQ(foreground, std::vector<HWND>{kFrame}) << "the lowest bit only says: bring the owned windows along";
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].hwnd, kFrame);
  EXPECT_EQ(posted[0].message, kActivateInstance);
  EXPECT_EQ(posted[0].wParam, 1500u);
  EXPECT_EQ(posted[0].lParam, 0);
  CloseHandle(mutex);
}

TEST_F(SingleInstance, CrashedInstanceLeavesNothingThatBlocks) {
  const int status = serveUntilExit(spawnSecondInstance("crash"), nullptr);
  ASSERT_TRUE(WIFSIGNALED(status));
  bool socketLeft = false;
  for (const auto& entry : std::filesystem::directory_iterator(runtime_.file("pellucard")))
    socketLeft = socketLeft || entry.path().extension() == ".sock";
  EXPECT_TRUE(socketLeft) << "the killed process could not clean up";

  HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Pellucard");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FindWindowW(u"Pellucard", nullptr), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  for (const auto& entry : std::filesystem::directory_iterator(runtime_.file("pellucard")))
    EXPECT_TRUE(entry.path().extension() != ".sock" ||
                entry.path().filename().string().find(std::to_string(getpid())) != std::string::npos)
        << "stale socket kept: " << entry.path();
  CloseHandle(mutex);
}

TEST_F(SingleInstance, BusyFirstInstanceDoesNotHangTheSecond) {
  std::vector<HWND> foreground;
  InstanceChannel::LocalWindows frame;
  frame.find = [](LPCWSTR, LPCWSTR) { return kFrame; };
  frame.setForeground = [&foreground](HWND h) {
    foreground.push_back(h);
    return TRUE;
  };
  InstanceChannel& channel = InstanceChannel::start(frame);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Pellucard");
  // This process does not run its message loop until the second one has given up.
  const auto start = std::chrono::steady_clock::now();
  const int status = serveUntilExit(spawnSecondInstance("impatient"), nullptr);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
  channel.poll();  // the abandoned request is dropped, not carried out
  EXPECT_TRUE(foreground.empty());
  CloseHandle(mutex);
}

// Runs only inside the second process started by the tests above.
TEST(SecondInstance, PlaysItsRole) {
  const char* role = std::getenv(kRoleVariable);
  if (!role) GTEST_SKIP() << "runs as the second process of the single-instance tests";
  if (std::string(role) == "crash") {
    CreateMutexW(nullptr, FALSE, u"Pellucard");
    kill(getpid(), SIGKILL);
  }
  if (std::string(role) == "impatient") {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Pellucard");
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(mutex);
    EXPECT_EQ(FindWindowW(u"Pellucard", nullptr), nullptr) << "no answer in time counts as no window";
    return;
  }
  // The start-up check of a second instance, through the window manager's calls.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, u"Pellucard");
  ASSERT_NE(mutex, nullptr);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(mutex);
  const HWND window = FindWindowW(u"Pellucard", nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(FindWindowW(u"NoSuchClass", nullptr), nullptr);
  const HWND withOwned = reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(window) | 1);
  ASSERT_TRUE(SetForegroundWindow(withOwned));
  ASSERT_TRUE(PostMessageW(window, kActivateInstance, 1500, 0));
}

}  // namespace
