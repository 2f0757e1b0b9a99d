#include "device/DeviceKeyMap.h"

#include <memory>

#include "device/DeviceFacts.h"
#include "device/DeviceProfile.h"

namespace pellucard {

namespace {

// Letters of the keys "0".."9", "*", "#" on each known keyboard.
constexpr char16_t kTables[4][12] = {
    {u'\t', u'W', u'E', u'R', u'S', u'D', u'F', u'X', u'C', u'V', u'Z', u'A'},
    {u'E', u'R', u'T', u'Y', u'D', u'F', u'G', u'C', u'V', u'B', u'S', u'X'},
    {u'0', u'W', u'E', u'R', u'S', u'D', u'F', u'Z', u'X', u'C', u'A', u'G'},
    {u' ', u'E', u'T', u'U', u'D', u'G', u'J', u'X', u'V', u'N', u'*', u'#'},
};

std::u16string upperAscii(std::u16string_view text) {
  std::u16string out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return out;
}

bool contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

std::unique_ptr<DeviceKeyMap>& slot() {
  static std::unique_ptr<DeviceKeyMap> map;
  return map;
}

}  // namespace

DeviceKeyMap::DeviceKeyMap() {
  const DeviceFacts facts = DeviceFacts::fromPlatform();
  table_ = chooseTable(facts.platformName, facts.oemInfo);
  retestOrientation(DeviceProfile::isPocketPcPlatformType(facts.platformType), facts.screenWidth, facts.screenHeight);
}

DeviceKeyMap::DeviceKeyMap(std::u16string_view platformName, std::u16string_view oemInfo, bool pocketPc,
                           int screenWidth, int screenHeight)
    : table_(chooseTable(platformName, oemInfo)) {
  retestOrientation(pocketPc, screenWidth, screenHeight);
}

int DeviceKeyMap::chooseTable(std::u16string_view platformName, std::u16string_view oemInfo) {
  const std::u16string name = upperAscii(platformName);
  const std::u16string oem = upperAscii(oemInfo);
  if (contains(oem, u"SGH")) return 4;
  if (contains(name, u"EXCALIBUR")) return 1;
  if (contains(oem, u"DASH")) return 4;
  if (contains(name, u"VOX")) return 2;
  if (contains(oem, u"MOTOROLA")) return 3;
  return kNoTable;
}

void DeviceKeyMap::retestOrientation() {
  const DeviceFacts facts = DeviceFacts::fromPlatform();
  retestOrientation(DeviceProfile::isPocketPcPlatformType(facts.platformType), facts.screenWidth, facts.screenHeight);
}

void DeviceKeyMap::retestOrientation(bool pocketPc, int screenWidth, int screenHeight) {
  active_ = !pocketPc && screenWidth > screenHeight;
}

char16_t DeviceKeyMap::mapKey(char16_t key) const {
  if (!active_ || table_ == kNoTable) return key;
  const char16_t* letters = kTables[table_ - 1];
  if (key >= u'0' && key <= u'9') return letters[key - u'0'];
  if (key == u'*') return letters[10];
  if (key == u'#') return letters[11];
  return key;
}

DeviceKeyMap& getDeviceKeyMap() {
  auto& map = slot();
  if (!map) map = std::make_unique<DeviceKeyMap>();
  return *map;
}

void deleteDeviceKeyMap() { slot().reset(); }

}  // namespace pellucard
