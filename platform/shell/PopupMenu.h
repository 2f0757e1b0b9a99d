// A popup menu on the screen and the modal loop that runs it: items, separators, submenus,
// check marks and greyed items; the arrows, Enter, Back, Left/Right for submenus and, on the
// Smartphone edition, the digit of a numbered item; the stylus. The chosen command goes to the
// owner.
#pragma once

#include <vector>

#include "platform/shell/MenuTable.h"

namespace platform::shell {

class PopupMenu {
 public:
  PopupMenu(HWND owner, UINT flags);
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Runs the menu at (x, y) with the TPM_ alignment flags; returns the chosen command, 0 for none.
  UINT run(HMENU menu, int x, int y);
  // Closes the running menu without a choice (EndMenu).
  static void endCurrent();

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Level {
    HMENU menu = nullptr;
    HWND hwnd = nullptr;
    int highlight = -1;
  };

  bool open(HMENU menu, RECT anchor, bool beside, int highlight);
  void closeLevel();
  void closeAll();
  void onKey(UINT vk);
  void onBack();
  void onStylus(const MSG& msg);
  void activateItem(int item, bool fromKeyboard);
  void highlight(std::size_t level, int item);
  int stepHighlight(const Level& level, int from, int step) const;
  int levelAt(POINT screenPt) const;
  int itemAt(const Level& level, POINT screenPt) const;

  HWND owner_;
  UINT flags_;
  std::vector<Level> levels_;
  bool done_ = false;
  UINT result_ = 0;
  bool stylusDown_ = false;
  PopupMenu* previous_ = nullptr;
};

// Geometry of a popup window's items (client coordinates).
struct MenuLayout {
  int width = 0;
  int height = 0;
  std::vector<RECT> items;
};
MenuLayout layoutMenu(HMENU menu);

}  // namespace platform::shell
