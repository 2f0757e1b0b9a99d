// What a Pocket PC choice row shows: the chosen item's text with the arrow at the right end, in
// front of the row's hidden drop-down list (a ChoiceComboBox). Built on "EDIT" so that it takes
// part in the dialog's tab order, it never keeps the focus: taking it, it shows the list in its
// place and hands the focus on; a tap on the arrow also opens the list.
#pragma once

#include "platform/win/WindowBase.h"

namespace pellucard {

class ChoiceField : public platform::WindowImpl<ChoiceField> {
 public:
  // Texts longer than this are cut when shown.
  static constexpr int kMaxText = 128;

  static const platform::MessageMap<ChoiceField>& messageMap();

  HWND create(HWND parent, const RECT& rect);
  // The list that stands behind the field.
  void setComboBox(HWND combo) { combo_ = combo; }
  HWND comboBox() const { return combo_; }

 private:
  bool onEraseBackground(HDC) { return true; }
  void onPaint();
  void onSetFocus(HWND previous);
  void onKillFocus(HWND next);
  void onStylusDown(POINT point, UINT flags);
  LRESULT onSetText(WPARAM, LPARAM);

  HWND combo_ = nullptr;
  bool hasDropDown_ = true;
  bool handingOn_ = false;  // the focus is on its way to the list
};

}  // namespace pellucard
