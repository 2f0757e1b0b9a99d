#include "device/AppPaths.h"

#include <memory>
#include <utility>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/sys/WinBase.h"

namespace pellucard {

namespace {

std::unique_ptr<AppPaths>& slot() {
  static std::unique_ptr<AppPaths> paths;
  return paths;
}

std::u16string folderOf(const std::u16string& modulePath) {
  const std::size_t slash = modulePath.rfind(u'\\');
  return slash == std::u16string::npos ? modulePath : modulePath.substr(0, slash);
}

}  // namespace

AppPaths::AppPaths(std::u16string modulePath)
    : modulePath_(std::move(modulePath)),
      applicationFolder_(folderOf(modulePath_)),
      settingsPath_(applicationFolder_ + u"\\settings.xml"),
      databasePath_(applicationFolder_ + u"\\Pellucard.cdb"),
      helpPath_(applicationFolder_ + u"\\PellucardHelp.htm"),
      skinsFolder_(applicationFolder_ + u"\\Skins") {}

AppPaths AppPaths::build() {
  // A host folder may be longer than the handheld's MAX_PATH; a cut path would name other files.
  std::vector<WCHAR> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size() || buffer.size() >= 32768) return AppPaths(std::u16string(buffer.data(), length));
    buffer.resize(buffer.size() * 4);
  }
}

AppPaths& getAppPaths() {
  auto& paths = slot();
  if (!paths) paths = std::make_unique<AppPaths>(AppPaths::build());
  return *paths;
}

void deleteAppPaths() { slot().reset(); }

}  // namespace pellucard
