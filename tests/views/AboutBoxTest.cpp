// The About box on every screen layout: heading, icon and version text where the layout puts
// them, inside its margin; Done closes it.
#include "views/AboutBox.h"

#include <gtest/gtest.h>

#include <string>

#include "device/DeviceProfile.h"
#include "forms/WindowText.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/WinGdi.h"
#include "platform/gdi/WinIcon.h"
#include "tests/views/FormScreenFixture.h"

namespace pellucard::testing {
namespace {

using platform::Edition;

struct Screen {
  Edition edition;
  int width;
  int height;
  const char* name;
};

std::string text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class AboutBoxTest : public ::testing::TestWithParam<Screen> {
 protected:
  FormScreenDevice device{GetParam().edition, GetParam().width, GetParam().height};

  // Where a part belongs: its layout rectangle, kept inside the client area less the margin.
  static std::string expected(HWND dialog, RECT wanted) {
    DeviceProfile profile;
    profile.compute();
    RECT area{};
    GetClientRect(dialog, &area);
    InflateRect(&area, -profile.layout().margin(), -profile.layout().margin());
    RECT r{};
    IntersectRect(&r, &wanted, &area);
    return text(r);
  }
  // Layouts are drawn for 240 pixels and more; a narrower screen is tried for fit only.
  static void expectPlaced(AboutBox& box) {
    if (GetSystemMetrics(SM_CXSCREEN) < 240 || GetSystemMetrics(SM_CYSCREEN) < 240) return;
    DeviceProfile profile;
    profile.compute();
    const ScreenLayout& layout = profile.layout();
    EXPECT_EQ(text(rectInParent(box.heading())), expected(box.hwnd(), layout.rectR2()));
    EXPECT_EQ(text(rectInParent(box.icon())), expected(box.hwnd(), layout.rectR3()));
    EXPECT_EQ(text(rectInParent(box.aboutText())), expected(box.hwnd(), layout.rectR4()));
  }
};

TEST_P(AboutBoxTest, HeadingIconAndVersionStandWhereTheLayoutSays) {
  AboutBox box;
  ASSERT_NE(box.open(device.owner(), u"Pellucard"), nullptr);
  device.runUntilIdle();
  EXPECT_EQ(box.menuBarId(), 1523u);

  EXPECT_EQ(windowText(box.heading()), u"Velka Pellucard");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(box.heading(), WM_GETFONT, 0, 0)), box.boldFont());
  EXPECT_EQ(GetWindowLongW(box.icon(), GWL_STYLE) & SS_TYPEMASK, SS_ICON);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(box.icon(), STM_GETICON, 0, 0)),
            LoadIconW(nullptr, MAKEINTRESOURCE(128)));
  const std::u16string text = windowText(box.aboutText());
  EXPECT_NE(text.find(u"\r\nPellucard, version 1.1\r\n"), std::u16string::npos)
      << std::string(text.begin(), text.end());
  EXPECT_EQ(text.find(u"%s"), std::u16string::npos);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(box.aboutText(), WM_GETFONT, 0, 0)), box.plainFont());
  expectPlaced(box);
  // A quarter turn gives the other layout, and the parts move to its places.
  device.rotate();
  device.runUntilIdle();
  expectPlaced(box);
  DestroyWindow(box.hwnd());
}

TEST_P(AboutBoxTest, EveryPartShowsWholeInsideTheMarginAndApart) {
  AboutBox box;
  box.open(device.owner(), u"Pellucard");
  device.runUntilIdle();
  RECT area{};
  GetClientRect(box.hwnd(), &area);
  InflateRect(&area, -4, -4);
  for (HWND part : {box.heading(), box.icon(), box.aboutText()}) {
    const RECT r = rectInParent(part);
    EXPECT_GT(r.right, r.left);
    EXPECT_GT(r.bottom, r.top);
    EXPECT_GE(r.left, area.left);
    EXPECT_LE(r.right, area.right);
    EXPECT_LE(r.bottom, area.bottom) << "within the margin whatever the screen's height";
  }
  const RECT icon = rectInParent(box.icon());
  DeviceProfile profile;
  profile.compute();
  const RECT r3 = profile.layout().rectR3();
  EXPECT_EQ(icon.right - icon.left, r3.right - r3.left) << "the icon's place is whole";
  RECT overlap{};
  const RECT heading = rectInParent(box.heading());
  EXPECT_FALSE(IntersectRect(&overlap, &heading, &icon)) << "the heading gives way to the icon";
  DestroyWindow(box.hwnd());
}

TEST_P(AboutBoxTest, DoneClosesItAndChangesNothing) {
  AboutBox box;
  device.addStep([] { platform::testing::TestDevice::postKey(VK_F1); });
  EXPECT_EQ(box.run(device.owner(), u"Pellucard"), IDOK);
  EXPECT_EQ(box.hwnd(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(device.owner()));
}

INSTANTIATE_TEST_SUITE_P(Layouts, AboutBoxTest,
                         ::testing::Values(Screen{Edition::PocketPc, 240, 320, "PocketPc240Portrait"},
                                           Screen{Edition::PocketPc, 320, 240, "PocketPc240Landscape"},
                                           Screen{Edition::PocketPc, 240, 240, "PocketPc240Square"},
                                           Screen{Edition::PocketPc, 480, 640, "PocketPcPortrait"},
                                           Screen{Edition::Smartphone, 240, 320, "Smartphone"},
                                           Screen{Edition::Smartphone, 176, 220, "SmallSmartphone"}),
                         [](const ::testing::TestParamInfo<Screen>& screen) { return std::string(screen.param.name); });

}  // namespace
}  // namespace pellucard::testing
