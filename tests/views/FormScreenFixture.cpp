#include "tests/views/FormScreenFixture.h"

#include <algorithm>

#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "forms/WindowText.h"
#include "pin/PinLock.h"
#include "platform/base/ResourceTable.h"
#include "platform/shell/Shell.h"
#include "platform/sys/WinReg.h"
#include "resources/Icons.h"
#include "resources/Menus.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "skin/ImageCache.h"
#include "store/RecordStore.h"
#include "views/PinDialog.h"

namespace pellucard::testing {

using platform::testing::TestDevice;

bool SeenBox::shows(const std::u16string& text) const {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

FormScreenDevice::FormScreenDevice(platform::Edition edition, int width, int height)
    : TestDevice(edition, width, height), pocketPc_(edition == platform::Edition::PocketPc) {
  platform::DeviceConfig::current().appDir = folder_.path().string();
  deleteAppPaths();
  deleteSettings();
  deletePinLock();
  registerStringTable();
  registerMenus();
  registerIcons();
  connectStoreToSettings();
  getSettings().load();
  RecordStore::openAndLoadAll(getAppPaths().databasePath());
  DeviceProfile profile;
  profile.compute();
  ImageCache::instance().setUpRoles(profile.layout());
  getPinLock().setPinPrompt(&PinDialog::ask);
  platform::shell::startShell();
  const int top = platform::shell::titleBarHeight();
  owner_ = CreateWindowExW(0, u"STATIC", u"Owner", WS_POPUP | WS_VISIBLE, 0, top, width, height - top, nullptr, nullptr,
                           nullptr, nullptr);
  SetActiveWindow(owner_);
  runUntilIdle();
}

FormScreenDevice::~FormScreenDevice() {
  if (IsWindow(owner_)) DestroyWindow(owner_);
  runUntilIdle();
  platform::shell::stopShell();
  RecordStore::closeAll();
  ImageCache::destroy();
  deletePinLock();
  deleteSettings();
  deleteAppPaths();
  platform::ResourceTable::instance().clear();
}

void FormScreenDevice::answerBox(std::vector<SeenBox>& seen) {
  addStep([&seen] {
    const HWND box = GetActiveWindow();
    seen.push_back({TestDevice::texts(box), windowText(box), GetWindow(box, GW_OWNER)});
    TestDevice::postKey(VK_RETURN);
  });
}

void FormScreenDevice::postText(const std::u16string& text) {
  for (char16_t c : text) TestDevice::postKey(static_cast<UINT>(c));
}

void FormScreenDevice::answerPin(const std::u16string& digits) {
  addStep([digits] {
    postText(digits);
    TestDevice::postKey(VK_F1);
  });
}

void FormScreenDevice::cancelPin() {
  addStep([] { TestDevice::postKey(VK_F2); });
}

std::optional<DWORD> FormScreenDevice::storedPinCode() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, PinLock::kRegistryKey, 0, 0, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LONG result = RegQueryValueExW(key, u"BC85", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
  return value;
}

RECT rectInParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace pellucard::testing
