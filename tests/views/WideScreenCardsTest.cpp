// The friend card and the item card on a screen twice the size of the layout's images: the
// card background is stretched over the whole card, so no part of it is left unpainted.
#include <gtest/gtest.h>

#include "tests/views/ScreenFixture.h"

namespace pellucard::testing {
namespace {

class WideScreenCards : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    bootAs(platform::Edition::PocketPc, 480, 640);
    ann = addFriendWithNotes(u"Ann", u"Baker", u"Likes jazz");
    mug = addGiftOn(u"Mug", kGiftIdea, ann, SYSTEMTIME{2024, 3, 0, 5, 12, 0, 0, 0}, u"Blue");
    makeFrame();
  }

  // Black pixels in the card's right part, where no text is drawn.
  int blackInRightPart(HWND card) const {
    RECT rect{};
    GetWindowRect(card, &rect);
    EXPECT_GT(rect.right - rect.left, 400) << "the card spans the wide screen";
    EXPECT_GT(rect.bottom - rect.top, 400);
    int black = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
      for (int x = rect.left + 320; x < rect.right; ++x) black += device->pixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
    }
    return black;
  }

  RecordId ann = 0;
  RecordId mug = 0;
};

TEST_F(WideScreenCards, FriendCardIsPaintedEdgeToEdge) {
  openFriend(ann);
  ASSERT_EQ(frame->current, kFriendDetailsScreenId);
  EXPECT_EQ(blackInRightPart(detailsCard()), 0);
}

TEST_F(WideScreenCards, ItemCardIsPaintedEdgeToEdge) {
  openItem(kRecordGift, mug);
  ASSERT_EQ(frame->current, kItemViewScreenId);
  EXPECT_EQ(blackInRightPart(itemCard()), 0);
}

}  // namespace
}  // namespace pellucard::testing
