#include "skin/SpinnerViewCtrl.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "device/ScreenLayout.h"
#include "platform/gdi/WinGdi.h"
#include "skin/ImageCache.h"
#include "tests/support/TestDevice.h"

namespace pellucard {
namespace {

using platform::Edition;
using platform::MessageMap;
using platform::WindowImpl;

constexpr UINT kFriends = 1015;
constexpr UINT kGifts = 1017;
constexpr UINT kAnniversaries = 1018;

// A page that records what the header passes on and, like a list, reports a search while
// keys are typed: Backspace removes one, character 3 removes all.
class Page : public WindowImpl<Page> {
 public:
  static const MessageMap<Page>& messageMap() {
    static const auto map = MessageMap<Page>()
                                .on<WM_CHAR>(&Page::onChar)
                                .on<WM_KEYDOWN>(&Page::onKeyDown)
                                .on(SpinnerViewCtrl::kIsSearchingMessage, &Page::onIsSearching);
    return map;
  }
  std::u16string chars;
  std::vector<UINT> keys;
  int typed = 0;

 private:
  void onChar(WCHAR ch, UINT) {
    chars.push_back(ch);
    if (ch == 8 && typed > 0) --typed;
    if (ch == 3) typed = 0;
    if (ch >= u'a' && ch <= u'z') ++typed;
  }
  void onKeyDown(UINT vk, UINT) { keys.push_back(vk); }
  LRESULT onIsSearching(WPARAM, LPARAM) { return typed > 0 ? TRUE : FALSE; }
};

// The screen: collects the tab changes posted to it.
class Screen : public WindowImpl<Screen> {
 public:
  static const MessageMap<Screen>& messageMap() {
    static const auto map = MessageMap<Screen>().on(UM_TABCHANGED, &Screen::onTabChanged);
    return map;
  }
  std::vector<WPARAM> tabChanges;

 private:
  LRESULT onTabChanged(WPARAM wParam, LPARAM lParam) {
    EXPECT_EQ(lParam, 0);
    tabChanges.push_back(wParam);
    return 0;
  }
};

struct DeviceCase {
  Edition edition;
  int width;
  int height;
};

void PrintTo(const DeviceCase& c, std::ostream* out) {
  *out << (c.edition == Edition::PocketPc ? "pocketpc " : "smartphone ") << c.width << "x" << c.height;
}

std::string caseName(const testing::TestParamInfo<DeviceCase>& info) {
  return std::string(info.param.edition == Edition::PocketPc ? "PocketPc" : "Smartphone") +
         std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

// The width of the first text drawn with this string, from the dump.
int drawnWidth(const std::string& dump, const std::string& text) {
  const std::size_t at = dump.find("text \"" + text + "\" rect=");
  if (at == std::string::npos) return -1;
  int left = 0, top = 0, right = 0, bottom = 0;
  if (std::sscanf(dump.c_str() + at + text.size() + 13, "%d,%d,%d,%d", &left, &top, &right, &bottom) != 4) return -1;
  return right - left;
}

class SpinnerTest : public testing::TestWithParam<DeviceCase> {
 protected:
  SpinnerTest() : device_(GetParam().edition, GetParam().width, GetParam().height) {}

  void SetUp() override {
    const DeviceCase c = GetParam();
    layout_ = ScreenLayout::forScreen(c.edition == Edition::PocketPc, c.width, c.height);
    ImageCache::instance().setUpRoles(layout_);
    screen_.create(nullptr, RECT{0, 0, c.width, c.height}, u"Screen", WS_POPUP | WS_VISIBLE);
    ASSERT_NE(screen_.hwnd(), nullptr);
    height_ = layout_.metricB();
    ASSERT_NE(spinner_.create(screen_.hwnd(), RECT{0, 0, c.width, height_}, 7), nullptr);
    const char16_t* labels[] = {u"Friends", u"Gifts", u"Anniversaries"};
    const UINT keys[] = {kFriends, kGifts, kAnniversaries};
    for (int i = 0; i < 3; ++i) {
      pages_[i].create(screen_.hwnd(), RECT{0, height_, c.width, c.height}, labels[i], WS_CHILD | WS_VISIBLE);
      ASSERT_TRUE(spinner_.addPage(keys[i], labels[i], pages_[i].hwnd()));
    }
    spinner_.selectPage(kFriends);
    SetFocus(spinner_.hwnd());
    device_.runUntilIdle();
    screen_.tabChanges.clear();
  }

  int width() const { return GetParam().width; }
  int middleY() const { return height_ / 2; }
  int arrowWidth() { return ImageCache::instance().loadedEntry(ImageCache::kLeftArrow)->colour.width(); }
  bool visible(int page) const { return IsWindowVisible(pages_[page].hwnd()) != FALSE; }
  LRESULT back(bool up) {
    const LRESULT r = SendMessageW(spinner_.hwnd(), WM_HOTKEY, 0, MAKELPARAM(up ? MOD_KEYUP : 0, VK_TBACK));
    device_.runUntilIdle();
    return r;
  }

  platform::testing::TestDevice device_;
  ScreenLayout layout_;
  int height_ = 0;
  Screen screen_;
  Page pages_[3];
  SpinnerViewCtrl spinner_;
};

TEST_P(SpinnerTest, KeysStepThroughThePagesAndPassTheRestOn) {
  device_.keyDown(VK_LEFT);
  EXPECT_EQ(spinner_.currentIndex(), 2);
  // Held: the label moved, the page did not, and the screen has not heard of it.
  EXPECT_TRUE(visible(0));
  EXPECT_TRUE(screen_.tabChanges.empty());
  device_.keyUp(VK_LEFT);
  EXPECT_EQ(screen_.tabChanges, std::vector<WPARAM>{kAnniversaries});
  EXPECT_FALSE(visible(0));
  EXPECT_FALSE(visible(1));
  EXPECT_TRUE(visible(2));
  device_.key(VK_RIGHT);
  device_.key(VK_RIGHT);
  EXPECT_EQ(screen_.tabChanges, (std::vector<WPARAM>{kAnniversaries, kFriends, kGifts}));
  EXPECT_TRUE(visible(1));

  device_.key(VK_DOWN);
  device_.key(VK_F8);
  device_.key(VK_F9);
  SendMessageW(spinner_.hwnd(), WM_CHAR, u'k', 0);
  EXPECT_EQ(pages_[1].keys, std::vector<UINT>{VK_DOWN});
  EXPECT_EQ(pages_[1].chars, u"*#k");
  EXPECT_TRUE(pages_[0].keys.empty());
  // The page never keeps the focus; other windows may take it.
  SetFocus(pages_[1].hwnd());
  EXPECT_EQ(GetFocus(), spinner_.hwnd());
  SetFocus(pages_[0].hwnd());
  EXPECT_EQ(GetFocus(), pages_[0].hwnd());
}

TEST_P(SpinnerTest, HeldArrowRepeatsEvery200MsAndNotifiesOnceOnLift) {
  const int x = width() - 2;
  device_.stylusDown(x, middleY());
  EXPECT_EQ(spinner_.currentIndex(), 1);
  device_.advance(199);
  EXPECT_EQ(spinner_.currentIndex(), 1);
  device_.advance(1);
  EXPECT_EQ(spinner_.currentIndex(), 2);
  device_.advance(600);
  EXPECT_EQ(spinner_.currentIndex(), 2);
  EXPECT_TRUE(screen_.tabChanges.empty());
  EXPECT_TRUE(visible(0));

  device_.stylusUp(x, middleY());
  EXPECT_EQ(screen_.tabChanges, std::vector<WPARAM>{kAnniversaries});
  EXPECT_TRUE(visible(2));
  EXPECT_EQ(GetCapture(), nullptr);
  device_.advance(1000);
  EXPECT_EQ(spinner_.currentIndex(), 2);
  EXPECT_EQ(screen_.tabChanges.size(), 1u);

  // A tap between the arrows selects the page it shows again.
  device_.tap(width() / 2, middleY());
  EXPECT_EQ(screen_.tabChanges, (std::vector<WPARAM>{kAnniversaries, kAnniversaries}));
}

TEST_P(SpinnerTest, MovingWithinTheHeldArrowKeepsRepeatingAndLeavingItReleases) {
  const int w = arrowWidth();
  device_.stylusDown(1, middleY());
  device_.stylusMove(w, height_ - 1);
  device_.advance(200);
  EXPECT_EQ(spinner_.currentIndex(), 1);
  EXPECT_TRUE(screen_.tabChanges.empty());

  device_.stylusMove(w + 1, middleY());
  EXPECT_EQ(screen_.tabChanges, std::vector<WPARAM>{kGifts});
  EXPECT_FALSE(spinner_.leftPressed());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(visible(1));
  // No more steps and no second notice, whatever the stylus does next.
  device_.advance(1000);
  device_.stylusMove(1, middleY());
  device_.stylusUp(1, middleY());
  EXPECT_EQ(spinner_.currentIndex(), 1);
  EXPECT_EQ(screen_.tabChanges.size(), 1u);

  // Below the header counts as leaving, even within the arrow's columns.
  device_.stylusDown(1, middleY());
  device_.stylusMove(1, height_ + 5);
  EXPECT_EQ(screen_.tabChanges, (std::vector<WPARAM>{kGifts, kFriends}));
}

TEST_P(SpinnerTest, PressedArrowShowsItsPressedHalf) {
  const int y = middleY();
  const int leftX = arrowWidth() / 2;
  const int rightX = width() - arrowWidth() / 2 - 1;
  const COLORREF leftAtRest = device_.pixel(leftX, y);
  const COLORREF rightAtRest = device_.pixel(rightX, y);
  device_.keyDown(VK_LEFT);
  EXPECT_NE(device_.pixel(leftX, y), leftAtRest);
  EXPECT_EQ(device_.pixel(rightX, y), rightAtRest);
  device_.keyUp(VK_LEFT);
  EXPECT_EQ(device_.pixel(leftX, y), leftAtRest);
  device_.stylusDown(width() - 1, y);
  EXPECT_NE(device_.pixel(rightX, y), rightAtRest);
  device_.stylusUp(width() - 1, y);
  EXPECT_EQ(device_.pixel(rightX, y), rightAtRest);
}

TEST_P(SpinnerTest, MarkedPagesShowTheFilterMarkInTheirLabel) {
  ASSERT_TRUE(spinner_.setMarker(kGifts, true));
  device_.runUntilIdle();
  EXPECT_NE(device_.dump().find("text \"Friends\""), std::string::npos);
  EXPECT_EQ(device_.dump().find("(F)"), std::string::npos);
  device_.key(VK_RIGHT);
  EXPECT_NE(device_.dump().find("text \"Gifts (F)\""), std::string::npos);
  // Clearing the mark of the page on show repaints it.
  spinner_.setMarker(kGifts, false);
  device_.runUntilIdle();
  EXPECT_NE(device_.dump().find("text \"Gifts\""), std::string::npos);
  EXPECT_EQ(device_.dump().find("(F)"), std::string::npos);
}

TEST_P(SpinnerTest, ShortBackDuringASearchDeletesOneKey) {
  SendMessageW(spinner_.hwnd(), WM_CHAR, u'a', 0);
  SendMessageW(spinner_.hwnd(), WM_CHAR, u'b', 0);
  EXPECT_NE(back(false), 0);
  device_.advance(300);
  EXPECT_NE(back(true), 0);
  EXPECT_EQ(pages_[0].chars, std::u16string(u"ab\b"));
  device_.advance(2000);
  EXPECT_EQ(pages_[0].chars, std::u16string(u"ab\b"));
  // Other hot keys are kept from the screen while the search runs.
  EXPECT_NE(SendMessageW(spinner_.hwnd(), WM_HOTKEY, 0, MAKELPARAM(0, VK_F3)), 0);
}

TEST_P(SpinnerTest, LongBackClearsTheSearchAndThenBackIsTheScreensAgain) {
  EXPECT_EQ(back(false), 0);
  EXPECT_EQ(back(true), 0);
  EXPECT_EQ(SendMessageW(spinner_.hwnd(), WM_HOTKEY, 0, MAKELPARAM(0, VK_F3)), 0);
  SendMessageW(spinner_.hwnd(), WM_CHAR, u'a', 0);
  EXPECT_NE(back(false), 0);
  device_.advance(500);
  // The key's own repeat does not start the hold over.
  EXPECT_NE(back(false), 0);
  device_.advance(499);
  EXPECT_EQ(pages_[0].chars, u"a");
  device_.advance(1);
  EXPECT_EQ(pages_[0].chars, u"a\x03");
  // No search any more, but the release still belongs to the header and sends nothing.
  EXPECT_NE(back(true), 0);
  EXPECT_EQ(back(false), 0);
  EXPECT_EQ(back(true), 0);
  EXPECT_EQ(pages_[0].chars, u"a\x03");
}

// Pocket PC labels use the font the screen gives (bold); the Smartphone keeps the system font.
TEST_P(SpinnerTest, LabelFontAppliesOnPocketPcOnly) {
  const int plain = drawnWidth(device_.dump(), "Friends");
  ASSERT_GT(plain, 0);
  LOGFONTW bold{};
  ASSERT_NE(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof bold, &bold), 0);
  bold.lfWeight = FW_BOLD;
  HFONT font = CreateFontIndirectW(&bold);
  SendMessageW(spinner_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(spinner_.hwnd(), WM_GETFONT, 0, 0)), font);
  device_.runUntilIdle();
  const int withFont = drawnWidth(device_.dump(), "Friends");
  if (GetParam().edition == Edition::PocketPc) {
    EXPECT_GT(withFont, plain);
  } else {
    EXPECT_EQ(withFont, plain);
  }
  spinner_.destroyWindow();
  DeleteObject(font);
}

INSTANTIATE_TEST_SUITE_P(Editions, SpinnerTest,
                         testing::Values(DeviceCase{Edition::PocketPc, 240, 320},
                                         DeviceCase{Edition::PocketPc, 480, 640},
                                         DeviceCase{Edition::Smartphone, 176, 220},
                                         DeviceCase{Edition::Smartphone, 320, 240}),
                         caseName);

class SpinnerPagesTest : public testing::Test {
 protected:
  SpinnerPagesTest() : device_(Edition::Smartphone, 240, 320) {}
  void SetUp() override {
    ImageCache::instance().setUpRoles(ScreenLayout::forScreen(false, 240, 320));
    screen_.create(nullptr, RECT{0, 0, 240, 320}, u"Screen", WS_POPUP | WS_VISIBLE);
  }
  platform::testing::TestDevice device_;
  Screen screen_;
};

TEST_F(SpinnerPagesTest, PagesAreKeptByTheirKeys) {
  SpinnerViewCtrl spinner;
  Page first;
  Page second;
  first.create(screen_.hwnd(), RECT{0, 26, 240, 320}, u"first", WS_CHILD | WS_VISIBLE);
  second.create(screen_.hwnd(), RECT{0, 26, 240, 320}, u"second", WS_CHILD | WS_VISIBLE);
  ASSERT_NE(spinner.create(screen_.hwnd(), RECT{0, 0, 240, 26}), nullptr);
  // Without pages the arrows have nothing to move.
  SetFocus(spinner.hwnd());
  device_.key(VK_LEFT);
  device_.stylusDown(1, 10);
  device_.advance(600);
  device_.stylusUp(1, 10);
  EXPECT_EQ(spinner.currentKey(), 0u);
  EXPECT_FALSE(spinner.selectPage(kFriends));

  ASSERT_TRUE(spinner.addPage(kFriends, u"Friends", first.hwnd()));
  EXPECT_FALSE(spinner.addPage(kFriends, u"Again", second.hwnd()));
  ASSERT_TRUE(spinner.addPage(kGifts, u"Gifts", second.hwnd()));
  EXPECT_EQ(spinner.pageCount(), 2);
  // An unknown key hides nothing and tells nobody.
  EXPECT_FALSE(spinner.selectPage(4242));
  EXPECT_FALSE(spinner.setMarker(4242, true));
  device_.runUntilIdle();
  EXPECT_TRUE(IsWindowVisible(first.hwnd()));
  EXPECT_TRUE(IsWindowVisible(second.hwnd()));
  EXPECT_TRUE(screen_.tabChanges.empty());
  EXPECT_TRUE(spinner.selectPage(kGifts));
  device_.runUntilIdle();
  EXPECT_FALSE(IsWindowVisible(first.hwnd()));
  EXPECT_EQ(screen_.tabChanges, std::vector<WPARAM>{kGifts});

  // Built again after a relayout: the old selection can be read, the pages start afresh.
  spinner.destroyWindow();
  EXPECT_EQ(spinner.currentKey(), kGifts);
  ASSERT_NE(spinner.create(screen_.hwnd(), RECT{0, 0, 240, 26}), nullptr);
  EXPECT_EQ(spinner.pageCount(), 0);
  EXPECT_TRUE(spinner.addPage(kFriends, u"Friends", first.hwnd()));
}

// A header that goes away while Back is held (a screen rebuilt on rotation) must not leave the
// long press broken for the next one.
TEST_F(SpinnerPagesTest, HeaderDestroyedDuringAHeldBackLeavesLongPressWorking) {
  Page page;
  page.create(screen_.hwnd(), RECT{0, 26, 240, 320}, u"list", WS_CHILD | WS_VISIBLE);
  const LPARAM down = MAKELPARAM(0, VK_TBACK);
  {
    SpinnerViewCtrl old;
    old.create(screen_.hwnd(), RECT{0, 0, 240, 26});
    old.addPage(kFriends, u"Friends", page.hwnd());
    SendMessageW(old.hwnd(), WM_CHAR, u'a', 0);
    EXPECT_NE(SendMessageW(old.hwnd(), WM_HOTKEY, 0, down), 0);
  }
  SpinnerViewCtrl fresh;
  fresh.create(screen_.hwnd(), RECT{0, 0, 240, 26});
  fresh.addPage(kFriends, u"Friends", page.hwnd());
  EXPECT_NE(SendMessageW(fresh.hwnd(), WM_HOTKEY, 0, down), 0);
  device_.advance(1000);
  EXPECT_EQ(page.chars, u"a\x03");
}

}  // namespace
}  // namespace pellucard
