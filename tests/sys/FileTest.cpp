#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/sys/DevicePath.h"
#include "platform/sys/WinBase.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace {

using platform::sys::DevicePath;
using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

class DeviceFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platform::DeviceConfig::current().deviceRoot;
    platform::DeviceConfig::current().deviceRoot = root_.path().string();
  }
  void TearDown() override { platform::DeviceConfig::current().deviceRoot = saved_; }

  std::vector<std::u16string> find(const std::u16string& pattern) {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW data{};
    HANDLE h = FindFirstFileW(pattern.c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(data.cFileName);
    while (FindNextFileW(h, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(h));
    return names;
  }

  TempFolder root_;
  std::string saved_;
};

TEST(DevicePath, MapsDeviceAndHostPaths) {
  EXPECT_EQ(DevicePath::toHost(u"\\My Documents\\Bäckup ñ.bkf", "/home/ann"), "/home/ann/My Documents/Bäckup ñ.bkf");
  EXPECT_EQ(DevicePath::toHost(u"\\", "/home/ann/"), "/home/ann");
  EXPECT_EQ(DevicePath::toHost(u"", "/home/ann"), "/home/ann");
  EXPECT_EQ(DevicePath::toHost(u"\\a\\\\b\\", "/r"), "/r/a/b");
  // The program appends "\name" to host folders.
  EXPECT_EQ(DevicePath::toHost(u"/opt/Pellucard dir\\settings.xml", "/r"), "/opt/Pellucard dir/settings.xml");
  // A device path never leaves the device root.
  EXPECT_EQ(DevicePath::toHost(u"\\..\\..\\etc\\passwd", "/home/ann"), "/home/ann/etc/passwd");
  EXPECT_EQ(DevicePath::toHost(u"\\x\\..\\y", "/home/ann"), "/home/ann/y");
  EXPECT_EQ(DevicePath::fileName(u"\\a b\\Zoë.jpg"), u"Zoë.jpg");
}

TEST_F(DeviceFiles, WriteReadSeekAndTruncateThroughDevicePath) {
  ASSERT_TRUE(CreateDirectoryW(u"\\Ünïcode Folder", nullptr));
  const std::u16string path = u"\\Ünïcode Folder\\Dăta file.bin";
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h, "hello world", 11, &written, nullptr));
  EXPECT_EQ(written, 11u);
  // Append a marker at the end, then cut it off again, as backups do.
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), 11u);
  ASSERT_TRUE(WriteFile(h, "MARK", 4, &written, nullptr));
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(h, &high), 15u);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(SetFilePointer(h, -4, nullptr, FILE_END), 11u);
  ASSERT_TRUE(SetEndOfFile(h));
  EXPECT_EQ(SetFilePointer(h, 6, nullptr, FILE_BEGIN), 6u);
  char buffer[32] = {};
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "world");
  ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u) << "end of file reads nothing and succeeds";
  SetLastError(0);
  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  ASSERT_TRUE(FlushFileBuffers(h));
  ASSERT_TRUE(CloseHandle(h));
  EXPECT_EQ(readBytes(root_.file("Ünïcode Folder/Dăta file.bin")), "hello world");

  SetLastError(0);
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(ReadFile(h, buffer, 1, &read, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DeviceFiles, CreationDispositionsAndTheirErrors) {
  SetLastError(0);
  EXPECT_EQ(CreateFileW(u"\\missing.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(CreateFileW(u"\\no folder\\x.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  writeBytes(root_.file("old.txt"), "old content");
  EXPECT_EQ(CreateFileW(u"\\old.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));

  HANDLE h = CreateFileW(u"\\old.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  DWORD written = 0;
  EXPECT_FALSE(WriteFile(h, "x", 1, &written, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(h);

  h = CreateFileW(u"\\old.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(GetFileSize(h, nullptr), 0u) << "CREATE_ALWAYS truncates";
  CloseHandle(h);

  CreateDirectoryW(u"\\dir", nullptr);
  EXPECT_EQ(CreateFileW(u"\\dir", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(DeviceFiles, ShareModesGuardOpenFiles) {
  HANDLE first =
      CreateFileW(u"\\locked.cdb", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(first, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileW(u"\\locked.cdb", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr),
            INVALID_HANDLE_VALUE)
      << "the first handle does not share writing";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  HANDLE reader = CreateFileW(u"\\locked.cdb", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileW(u"\\locked.cdb", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(DeleteFileW(u"\\locked.cdb"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  CloseHandle(reader);
  CloseHandle(first);
  EXPECT_TRUE(DeleteFileW(u"\\locked.cdb"));
  EXPECT_FALSE(DeleteFileW(u"\\locked.cdb"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DeviceFiles, FindFirstFileMatchesStarPatterns) {
  std::filesystem::create_directory(root_.file("My Folder"));
  std::filesystem::create_directory(root_.file("zeta"));
  for (const char* name : {"b.bkf", "a.b.bkf", "C.BKF", "noext", "notes.txt", ".hidden"})
    writeBytes(root_.file(name), "x");

  const std::vector<std::u16string> all = {u".hidden",   u"a.b.bkf", u"b.bkf",     u"C.BKF",
                                           u"My Folder", u"noext",   u"notes.txt", u"zeta"};
  EXPECT_EQ(find(u"\\*"), all);
  EXPECT_EQ(find(u"\\*.*"), all) << "*.* also matches names without a dot";
  EXPECT_EQ(find(u"\\*.bkf"), (std::vector<std::u16string>{u"a.b.bkf", u"b.bkf", u"C.BKF"}));
  EXPECT_EQ(find(u"\\?.bkf"), (std::vector<std::u16string>{u"b.bkf", u"C.BKF"}));
  EXPECT_EQ(find(u"\\NOTES.TXT"), (std::vector<std::u16string>{u"notes.txt"}));

  WIN32_FIND_DATAW data{};
  HANDLE h = FindFirstFileW(u"\\My Folder", &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(h)) << "searches close with FindClose only";
  EXPECT_TRUE(FindClose(h));

  EXPECT_EQ(FindFirstFileW(u"\\*.xyz", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(u"\\My Folder\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "an empty folder";
  EXPECT_EQ(FindFirstFileW(u"\\nowhere\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(DeviceFiles, AttributesAndFolders) {
  EXPECT_EQ(GetFileAttributesW(u"\\") & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  writeBytes(root_.file("f.txt"), "x");
  const DWORD attributes = GetFileAttributesW(u"\\f.txt");
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesW(u"\\gone.txt"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  ASSERT_TRUE(CreateDirectoryW(u"\\Backups", nullptr));
  EXPECT_FALSE(CreateDirectoryW(u"\\Backups", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryW(u"\\a\\b", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  writeBytes(root_.file("Backups/x"), "x");
  EXPECT_FALSE(RemoveDirectoryW(u"\\Backups"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
  EXPECT_FALSE(RemoveDirectoryW(u"\\"));
  EXPECT_FALSE(DeleteFileW(u"\\Backups"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

TEST_F(DeviceFiles, WhatTheDeviceCreatesOnlyItsUserMayRead) {
  auto mode = [&](const std::string& name) {
    struct stat st {};
    EXPECT_EQ(::stat(root_.file(name).c_str(), &st), 0) << name;
    return st.st_mode & 07777;
  };
  HANDLE file = CreateFileW(u"\\new.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(mode("new.txt"), 0600u);
  ASSERT_TRUE(CreateDirectoryW(u"\\Private", nullptr));
  EXPECT_EQ(mode("Private"), 0700u);
  // What exists keeps its mode, also when the program rewrites it.
  writeBytes(root_.file("shared.txt"), "x");
  ::chmod(root_.file("shared.txt").c_str(), 0644);
  file = CreateFileW(u"\\shared.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_EQ(mode("shared.txt"), 0644u);
  // A copy is private too, whatever its source was.
  ASSERT_TRUE(CopyFileW(u"\\shared.txt", u"\\Private\\copy.txt", FALSE));
  EXPECT_EQ(mode("Private/copy.txt"), 0600u);
}

TEST_F(DeviceFiles, CopyAndMove) {
  writeBytes(root_.file("src.cdb"), "database bytes");
  writeBytes(root_.file("dst.bkf"), "older backup");
  EXPECT_FALSE(CopyFileW(u"\\src.cdb", u"\\dst.bkf", TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(readBytes(root_.file("dst.bkf")), "older backup");
  ASSERT_TRUE(CopyFileW(u"\\src.cdb", u"\\dst.bkf", FALSE));
  EXPECT_EQ(readBytes(root_.file("dst.bkf")), "database bytes");
  struct stat st {};
  ASSERT_EQ(::stat(root_.file("dst.bkf").c_str(), &st), 0);
  EXPECT_EQ(find(u"\\*"), (std::vector<std::u16string>{u"dst.bkf", u"src.cdb"})) << "no temporary file stays behind";

  EXPECT_FALSE(CopyFileW(u"\\none.cdb", u"\\x.bkf", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_FALSE(CopyFileW(u"\\src.cdb", u"\\no dir\\x.bkf", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

  // A host-path target, as a restore copies onto the application folder.
  const std::u16string hostTarget = platform::toUtf16(root_.file("restored.cdb"));
  ASSERT_TRUE(CopyFileW(u"\\dst.bkf", hostTarget.c_str(), FALSE));
  EXPECT_EQ(readBytes(root_.file("restored.cdb")), "database bytes");

  EXPECT_FALSE(MoveFileW(u"\\src.cdb", u"\\dst.bkf"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_TRUE(MoveFileW(u"\\src.cdb", u"\\moved.cdb"));
  EXPECT_EQ(readBytes(root_.file("moved.cdb")), "database bytes");
  EXPECT_FALSE(MoveFileW(u"\\src.cdb", u"\\again.cdb"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  // Replacing: the moved file takes the other's place; a folder is never replaced.
  EXPECT_FALSE(MoveFileExW(u"\\moved.cdb", u"\\dst.bkf", 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  ASSERT_TRUE(MoveFileExW(u"\\moved.cdb", u"\\dst.bkf", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(readBytes(root_.file("dst.bkf")), "database bytes");
  EXPECT_FALSE(std::filesystem::exists(root_.file("moved.cdb")));
  ASSERT_TRUE(CreateDirectoryW(u"\\folder.bkf", nullptr));
  EXPECT_FALSE(MoveFileExW(u"\\dst.bkf", u"\\folder.bkf", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(readBytes(root_.file("dst.bkf")), "database bytes");
  EXPECT_FALSE(MoveFileExW(u"\\gone.cdb", u"\\dst.bkf", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DeviceFiles, InterruptedCopyLeavesTargetWhole) {
  writeBytes(root_.file("big.cdb"), std::string(200000, 'n'));
  writeBytes(root_.file("target.bkf"), "previous backup");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The copy runs out of room half way, as on a full card.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
    const BOOL ok = CopyFileW(u"\\big.cdb", u"\\target.bkf", FALSE);
    _exit(ok ? 1 : (GetLastError() == ERROR_DISK_FULL ? 0 : 2));
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(readBytes(root_.file("target.bkf")), "previous backup");
  EXPECT_EQ(find(u"\\*"), (std::vector<std::u16string>{u"big.cdb", u"target.bkf"}));
}

TEST(ModuleFileName, LivesInTheApplicationFolder) {
  auto& config = platform::DeviceConfig::current();
  const std::string saved = config.appDir;
  config.appDir = "/data/Pellucard app";
  WCHAR buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  EXPECT_EQ(std::u16string(buffer, n), u"/data/Pellucard app\\Pellucard.exe");
  WCHAR small[6];
  EXPECT_EQ(GetModuleFileNameW(nullptr, small, 6), 6u);
  EXPECT_EQ(std::u16string(small), u"/data");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  config.appDir = saved;
}

}  // namespace
