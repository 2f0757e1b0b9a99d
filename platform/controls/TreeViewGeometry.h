// Where the parts of a tree view row lie across the row: the lines column of its level (with
// the button), the state image, the image, then the label. One place for drawing and hit-testing.
#pragma once

namespace platform::controls {

struct TreeViewGeometry {
  int indent = 19;
  int itemHeight = 16;
  int stateImageWidth = 0;
  int imageWidth = 0;  // 0 without an image list
  int imageGap = 0;    // between the image and the label
  int labelPadding = 2;
  // Top-level items have a lines column of their own (TVS_LINESATROOT with lines or buttons).
  bool rootColumn = false;
  int scrollX = 0;

  // The lines column of a row of that level; negative (off to the left) for top-level items
  // without a root column.
  int linesLeft(int level) const { return indent * (rootColumn ? level : level - 1) - scrollX; }
  int stateLeft(int level) const { return linesLeft(level) + indent; }
  int imageLeft(int level) const { return stateLeft(level) + stateImageWidth; }
  int labelLeft(int level) const { return imageLeft(level) + (imageWidth > 0 ? imageWidth + imageGap : 0); }
  // The label's width for a text of that width.
  int labelWidth(int textWidth) const { return textWidth + 2 * labelPadding; }
  // The whole row's content width, scrolled or not.
  int contentRight(int level, int textWidth) const { return labelLeft(level) + labelWidth(textWidth) + scrollX; }
};

}  // namespace platform::controls
