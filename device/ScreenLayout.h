// The five screen layouts: which image set a screen size uses and the metrics that go with it.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

enum class LayoutKind {
  Portrait,
  Landscape,
  PocketPc240Portrait,
  PocketPc240Landscape,
  PocketPc240Square,
};

class ScreenLayout {
 public:
  explicit ScreenLayout(LayoutKind kind = LayoutKind::Portrait) : kind_(kind) {}

  // The layout for a screen: Pocket PCs with a 240-pixel short side have sets of their own,
  // every other device only tells portrait from landscape.
  static LayoutKind kindFor(bool pocketPc, int screenWidth, int screenHeight);
  static ScreenLayout forScreen(bool pocketPc, int screenWidth, int screenHeight);

  LayoutKind kind() const { return kind_; }

  // Base image id (2xx) to the id of this layout's set; ids the set does not replace stay.
  UINT mapImageId(UINT id) const;
  int margin() const;
  int metricA() const;
  // Height of the tab header on the main and friend details screens.
  int metricB() const;
  // Height of a list row, equal to the height of the row stripe and selection bar images.
  int rowHeight() const;
  // Sizes to which friend pictures are reduced.
  SIZE avatarSize() const;
  SIZE smallPictureSize() const;
  // Name-and-face area of the friend card and the item lines of the item card.
  RECT headerRect() const;
  // R1: notes area of the cards; R2 to R4: parts of the About box.
  RECT rectR1() const;
  RECT rectR2() const;
  RECT rectR3() const;
  RECT rectR4() const;
  // Cell of the avatar picker.
  POINT pointP() const;

  bool operator==(const ScreenLayout& other) const { return kind_ == other.kind_; }

 private:
  LayoutKind kind_;
};

}  // namespace pellucard
