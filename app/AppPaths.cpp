#include "app/AppPaths.h"

#include <memory>
#include <utility>

#include "platform/win/DeviceConfig.h"
#include "platform/win/Utf.h"

namespace pellucard {

namespace {

std::unique_ptr<AppPaths>& slot() {
  static std::unique_ptr<AppPaths> paths;
  return paths;
}

// The folder is a host folder, so file names join with the host separator. Trailing separators are
// dropped so that "/a/b/" and "/a/b" name the same files; the root stays "/".
std::u16string trimFolder(std::u16string folder) {
  while (folder.size() > 1 && (folder.back() == u'/' || folder.back() == u'\\')) folder.pop_back();
  return folder;
}

std::u16string join(const std::u16string& folder, std::u16string_view name) {
  if (folder.empty()) return std::u16string(name);
  std::u16string path = folder;
  if (path.back() != u'/') path += u'/';
  path += name;
  return path;
}

}  // namespace

AppPaths::AppPaths(std::u16string applicationFolder)
    : applicationFolder_(trimFolder(std::move(applicationFolder))),
      settingsPath_(join(applicationFolder_, u"settings.xml")),
      databasePath_(join(applicationFolder_, u"Pellucard.cdb")),
      helpPath_(join(applicationFolder_, u"PellucardHelp.htm")),
      skinsFolder_(join(applicationFolder_, u"Skins")) {}

AppPaths AppPaths::fromDevice() {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  if (config.appDir.empty()) platform::resolveDefaultFolders(config);
  return AppPaths(platform::toUtf16(config.appDir));
}

AppPaths& getAppPaths() {
  auto& paths = slot();
  if (!paths) paths = std::make_unique<AppPaths>(AppPaths::fromDevice());
  return *paths;
}

void deleteAppPaths() { slot().reset(); }

}  // namespace pellucard
