// The forms the main frame opens, on a headless handheld of either edition: the shell running,
// the program's strings, menubars, icons and skin images, settings in a scratch application folder, a
// registry of the test's own with the PIN entry as the lock's prompt, and a full-screen window
// to open the forms over. Message boxes and the PIN entry that the forms open in their own
// modal loops are answered by queued steps, which note what the user was shown.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestDevice.h"

namespace pellucard::testing {

// A message box as the user saw it: what it drew (the icon's glyph "i" or "!" among it), its
// caption and the window that owns it.
struct SeenBox {
  std::vector<std::u16string> texts;
  std::u16string caption;
  HWND owner = nullptr;
  bool shows(const std::u16string& text) const;
};

class FormScreenDevice : public platform::testing::TestDevice {
 public:
  FormScreenDevice(platform::Edition edition, int width, int height);
  ~FormScreenDevice() override;

  bool pocketPc() const { return pocketPc_; }
  // The window the forms are opened over: the frame's place below the title bar.
  HWND owner() const { return owner_; }
  const platform::testing::ScratchRegistry& registry() const { return registry_; }

  // Queues an answer to the next message box: OK, after noting it in `seen`.
  void answerBox(std::vector<SeenBox>& seen);
  // Queues an answer to the next PIN entry: the digits, then Done; or Cancel (soft key 2).
  void answerPin(const std::u16string& digits);
  void cancelPin();
  // Posts each character's key, as the keypad's digit keys type them.
  static void postText(const std::u16string& text);

  // The stored PIN code: nothing when no value is stored.
  static std::optional<DWORD> storedPinCode();

 private:
  platform::testing::TempFolder folder_;
  platform::testing::ScratchRegistry registry_;
  bool pocketPc_;
  HWND owner_ = nullptr;
};

// Names parameterised cases by their edition.
inline std::string editionName(const ::testing::TestParamInfo<platform::Edition>& info) {
  return info.param == platform::Edition::PocketPc ? "PocketPc" : "Smartphone";
}

// A window's rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);

}  // namespace pellucard::testing
