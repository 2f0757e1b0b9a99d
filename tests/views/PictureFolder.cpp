#include "tests/views/PictureFolder.h"

#include <filesystem>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/shell/FileChooser.h"
#include "skin/JpegEncoder.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TestDevice.h"

namespace pellucard::testing {

PictureFolder::PictureFolder() : savedRoot_(platform::DeviceConfig::current().deviceRoot) {
  platform::DeviceConfig::current().deviceRoot = root_.path().string();
  std::filesystem::create_directories(root_.path() / "My Documents");
}

PictureFolder::~PictureFolder() { platform::DeviceConfig::current().deviceRoot = savedRoot_; }

bool PictureFolder::addJpeg(const std::string& name, int width, int height) {
  RgbImage image{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width * height) * 3, 0)};
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) image.rgb[i] = 220;
  const auto bytes = JpegEncoder::encode(image);
  return bytes && addFile(name, std::string(bytes->begin(), bytes->end()));
}

bool PictureFolder::addFile(const std::string& name, const std::string& bytes) {
  return platform::testing::writeBytes(root_.path() / "My Documents" / name, bytes);
}

std::u16string PictureFolder::devicePath(const std::string& name) {
  return u"\\My Documents\\" + platform::toUtf16(name);
}

void PictureFolder::postPick(const std::u16string& name) {
  using platform::shell::FileChooser;
  const HWND chooser = FindWindowW(FileChooser::kClass, nullptr);
  platform::testing::TestDevice::postTapOn(GetDlgItem(chooser, FileChooser::kViewId), name);
}

}  // namespace pellucard::testing
