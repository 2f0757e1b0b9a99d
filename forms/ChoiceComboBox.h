// The drop-down list of a Pocket PC choice row: a "ComboBox" that stays hidden behind its
// ChoiceField until the row takes the focus, shows itself while it has it, and on leaving hides
// again and leaves the chosen item's text in the field. A selection made by a message shows in
// the field at once.
#pragma once

#include "platform/win/WindowBase.h"

namespace pellucard {

class ChoiceComboBox : public platform::WindowImpl<ChoiceComboBox> {
 public:
  static const platform::MessageMap<ChoiceComboBox>& messageMap();

  // Hidden, over `rect` (the field and the dropped list together).
  HWND create(HWND parent, const RECT& rect, HWND choiceField);

 private:
  void onSetFocus(HWND previous);
  void onKillFocus(HWND next);
  LRESULT onSelectionMessage(WPARAM wParam, LPARAM lParam);
  void showSelection();

  HWND field_ = nullptr;
};

}  // namespace pellucard
