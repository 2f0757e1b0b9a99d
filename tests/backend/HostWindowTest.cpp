// The device window's zoom and title on the host desktop.
#include "platform/backend/HostWindow.h"

#include <gtest/gtest.h>

namespace {

using platform::Edition;
using platform::HostWindow;

TEST(HostWindow, TheZoomIsTheLargestThatFitsMostOfTheDesktop) {
  // 85% of 1040 is 884: three times 320 would not fit, twice does.
  EXPECT_EQ(HostWindow::fittingZoom(240, 320, 1920, 1040), 2);
  EXPECT_EQ(HostWindow::fittingZoom(240, 320, 2560, 1400), 3);
  EXPECT_EQ(HostWindow::fittingZoom(176, 220, 3840, 2100), 8) << "never beyond the largest zoom";
  EXPECT_EQ(HostWindow::fittingZoom(480, 640, 1366, 728), 1) << "at least 1 even when it does not fit";
  // A landscape screen on a narrow desktop is held by the width.
  EXPECT_EQ(HostWindow::fittingZoom(640, 480, 1280, 2000), 1);
  EXPECT_EQ(HostWindow::fittingZoom(0, 0, 800, 600), 1);
}

TEST(HostWindow, TheTitleNamesTheEditionAndTheScreen) {
  EXPECT_EQ(HostWindow::title(Edition::PocketPc, 240, 320), "Pellucard \u2014 Pocket PC 240x320");
  EXPECT_EQ(HostWindow::title(Edition::Smartphone, 176, 220), "Pellucard \u2014 Smartphone 176x220");
}

}  // namespace
