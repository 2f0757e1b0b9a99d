#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/base/DeviceConfig.h"
#include "platform/sys/Registry.h"
#include "platform/sys/WinReg.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchRegistry.h"

namespace {

using platform::sys::Registry;
using platform::testing::readBytes;
using platform::testing::writeBytes;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { savedName_ = platform::DeviceConfig::current().platformName; }
  void TearDown() override { platform::DeviceConfig::current().platformName = savedName_; }
  // Forgets what was loaded, as a fresh start of the program would.
  void restart() { registry_.restart(); }
  std::string file(const std::string& name) const { return registry_.folder() + "/" + name; }

  static HKEY create(HKEY root, const char16_t* path, DWORD* disposition = nullptr) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, &key, disposition), ERROR_SUCCESS);
    return key;
  }
  static LONG setDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  static std::optional<DWORD> dword(HKEY key, const char16_t* name) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
      return std::nullopt;
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    return value;
  }

  platform::testing::ScratchRegistry registry_;
  std::string savedName_;
};

TEST_F(RegistryTest, DwordAndStringsSurviveARestart) {
  DWORD disposition = 0;
  HKEY key = create(HKEY_CURRENT_USER, u"\\Software\\Velka\\Protection", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  ASSERT_EQ(setDword(key, u"BC85", 0xA1B2C3D4), ERROR_SUCCESS);
  const std::u16string text = u"Zoë \"quoted\" \\ back\r\nline";
  ASSERT_EQ(RegSetValueExW(key, u"Note", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * 2)),
            ERROR_SUCCESS);
  const BYTE blob[] = {0, 1, 2, 255};
  ASSERT_EQ(RegSetValueExW(key, u"Blob", 0, REG_BINARY, blob, sizeof blob), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  restart();
  HKEY again = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"software\\VELKA\\protection", 0, 0, &again), ERROR_SUCCESS)
      << "key names ignore case";
  EXPECT_EQ(dword(again, u"bc85"), 0xA1B2C3D4u);

  DWORD size = 0, type = 0;
  ASSERT_EQ(RegQueryValueExW(again, u"Note", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, (text.size() + 1) * 2);
  WCHAR small[4];
  DWORD smallSize = sizeof small;
  EXPECT_EQ(RegQueryValueExW(again, u"Note", nullptr, nullptr, reinterpret_cast<BYTE*>(small), &smallSize),
            ERROR_MORE_DATA);
  EXPECT_EQ(smallSize, size);
  std::u16string read(text.size() + 1, u'?');
  ASSERT_EQ(RegQueryValueExW(again, u"Note", nullptr, nullptr, reinterpret_cast<BYTE*>(read.data()), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(read.c_str(), text);

  BYTE blobRead[8];
  DWORD blobSize = sizeof blobRead;
  ASSERT_EQ(RegQueryValueExW(again, u"Blob", nullptr, &type, blobRead, &blobSize), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(std::vector<BYTE>(blobRead, blobRead + blobSize), std::vector<BYTE>(blob, blob + 4));

  ASSERT_EQ(RegDeleteValueW(again, u"BC85"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(again, u"BC85"), ERROR_FILE_NOT_FOUND);
  restart();
  EXPECT_FALSE(dword(again, u"BC85").has_value());
  RegCloseKey(again);
}

TEST_F(RegistryTest, ErrorsOfTheCalls) {
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"\\Software\\Nobody", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExW(reinterpret_cast<HKEY>(0x1234), u"x", 0, 0, &key), ERROR_INVALID_HANDLE);
  key = create(HKEY_CURRENT_USER, u"Software\\Pellucard");
  DWORD disposition = 0;
  HKEY same = create(HKEY_CURRENT_USER, u"Software\\Pellucard", &disposition);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  const BYTE three[3] = {1, 2, 3};
  EXPECT_EQ(RegSetValueExW(key, u"Bad", 0, REG_DWORD, three, 3), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"Software\\Pellucard"), ERROR_SUCCESS);
  EXPECT_EQ(setDword(same, u"Late", 1), ERROR_KEY_DELETED);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  RegCloseKey(same);
}

TEST_F(RegistryTest, FileIsPrivateAndRewrittenWhole) {
  HKEY key = create(HKEY_CURRENT_USER, u"Software\\Velka");
  ASSERT_EQ(setDword(key, u"A", 1), ERROR_SUCCESS);
  const std::string path = Registry::instance().filePath();
  EXPECT_EQ(path, file("registry"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const ino_t before = st.st_ino;
  ASSERT_EQ(setDword(key, u"B", 2), ERROR_SUCCESS);
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_NE(st.st_ino, before) << "a new file is renamed over the old one";
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  for (const auto& entry : std::filesystem::directory_iterator(registry_.folder())) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "registry" || name == "registry.lock") << "left behind: " << name;
  }
  RegCloseKey(key);
}

TEST_F(RegistryTest, ChangesOfAnotherProcessAreSeen) {
  HKEY key = create(HKEY_CURRENT_USER, u"Software\\Velka");
  ASSERT_EQ(setDword(key, u"Mine", 1), ERROR_SUCCESS);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    restart();
    HKEY k = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Velka", 0, 0, &k);
    DWORD v = 2;
    _exit(RegSetValueExW(k, u"Theirs", 0, REG_DWORD, reinterpret_cast<BYTE*>(&v), 4) == ERROR_SUCCESS ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(dword(key, u"Theirs"), 2u);
  ASSERT_EQ(setDword(key, u"Third", 3), ERROR_SUCCESS);
  restart();
  EXPECT_EQ(dword(key, u"Mine"), 1u) << "no update is lost";
  EXPECT_EQ(dword(key, u"Theirs"), 2u);
  RegCloseKey(key);
}

TEST_F(RegistryTest, CorruptFileReadsEmptyAndIsKeptAside) {
  writeBytes(file("registry"), "garbage\x01\x02 not a registry");
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, 0, &key), ERROR_FILE_NOT_FOUND);
  bool keptAside = false;
  for (const auto& entry : std::filesystem::directory_iterator(registry_.folder()))
    if (entry.path().filename().string().rfind("registry.corrupt-", 0) == 0) {
      keptAside = true;
      EXPECT_EQ(readBytes(entry.path().string()), "garbage\x01\x02 not a registry");
    }
  EXPECT_TRUE(keptAside);
  key = create(HKEY_CURRENT_USER, u"Software");
  EXPECT_EQ(setDword(key, u"Fresh", 5), ERROR_SUCCESS);
  restart();
  EXPECT_EQ(dword(key, u"Fresh"), 5u);
  RegCloseKey(key);

  // A file cut short, even at the end of a line, is damaged too.
  const std::string whole = readBytes(file("registry"));
  writeBytes(file("registry"), whole.substr(0, whole.size() - 4));
  restart();
  EXPECT_FALSE(dword(HKEY_CURRENT_USER, u"Fresh").has_value());
}

TEST_F(RegistryTest, PlatformNameComesFromTheDevice) {
  platform::DeviceConfig::current().platformName = "Excalibur";
  restart();
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Platform", 0, 0, &key), ERROR_SUCCESS);
  WCHAR name[64];
  DWORD size = sizeof name;
  ASSERT_EQ(RegQueryValueExW(key, u"Name", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &size), ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(name), u"Excalibur");
  // Writing something else does not store the device's name.
  HKEY other = create(HKEY_CURRENT_USER, u"Software");
  setDword(other, u"X", 1);
  EXPECT_EQ(readBytes(Registry::instance().filePath()).find("Excalibur"), std::string::npos);
  RegCloseKey(key);
  RegCloseKey(other);

  platform::DeviceConfig::current().platformName = "";
  restart();
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Platform", 0, 0, &key), ERROR_SUCCESS);
}

TEST(RegistryText, ParserRejectsWhatItDoesNotKnow) {
  EXPECT_TRUE(Registry::parse("pellucard-registry 1\nend\n").has_value());
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\n").has_value()) << "cut short";
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\nend\nkey \"HKEY_USERS\"\n").has_value());
  EXPECT_FALSE(Registry::parse("").has_value());
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\ndword \"x\" 0x00000001\nend\n").has_value())
      << "value before key";
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\nkey \"HKEY_NOWHERE\\a\"\nend\n").has_value());
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\nkey \"HKEY_CURRENT_USER\\a\nend\n").has_value());
  EXPECT_FALSE(Registry::parse("pellucard-registry 1\nkey \"HKEY_CURRENT_USER\"\nbin 3 \"b\" 0g\nend\n").has_value());
  EXPECT_FALSE(
      Registry::parse("pellucard-registry 1\nkey \"HKEY_CURRENT_USER\"\nsz \"b\" \"\xff\"\nend\n").has_value());
  EXPECT_TRUE(Registry::parse("pellucard-registry 1\nkey \"HKEY_CURRENT_USER\"\nbin 3 \"b\" 0a\nend\n").has_value());
  const auto keys =
      Registry::parse("pellucard-registry 1\nkey \"HKEY_CURRENT_USER\\\\Software\"\nsz \"Lone\" \"\\uD800x\"\nend\n");
  ASSERT_TRUE(keys.has_value());
  // Text that is not valid UTF-16 still round-trips exactly.
  const std::string again = Registry::serialise(*keys, {});
  EXPECT_EQ(Registry::serialise(*Registry::parse(again), {}), again);
}

}  // namespace
