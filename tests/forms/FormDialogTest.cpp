// The full-screen form: how it starts, fits the screen and the input panel, scrolls, and takes
// the Back key.
#include "forms/FormDialog.h"

#include <gtest/gtest.h>

#include "forms/FormBuilder.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "tests/forms/FormDevice.h"

namespace pellucard::testing {
namespace {

using platform::Edition;

[[maybe_unused]] RECT rectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(FormDialogStart, OpensFullScreenWithItsMenubar) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  ASSERT_NE(dialog, nullptr);
  device.runUntilIdle();
  RECT r{};
  GetWindowRect(dialog, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 240);
  ASSERT_NE(form.menuBar(), nullptr);
  RECT bar{};
  GetWindowRect(form.menuBar(), &bar);
  EXPECT_EQ(r.bottom, bar.top);
}

}  // namespace
}  // namespace pellucard::testing
