// The button at the right end of a Pocket PC expandable text field: a "STATIC" with the arrow
// that opens the field's text in the full-screen "Enter Text" editor. Before it does, it asks
// its parent with WM_NOTIFY (code UDN_EXPANDING, id 0, from the button); a parent that answers
// nonzero offers something else in the editor's place.
//
// Like an up-down control it is told its buddy edit with UDM_SETBUDDY: it then lies over the
// edit's last 16 pixels and the edit ends where it starts. Told again after the edit was
// resized, it aligns to the edit's new right end.
#pragma once

#include "platform/win/WindowBase.h"

namespace pellucard {

class ExpandButton : public platform::WindowImpl<ExpandButton> {
 public:
  static constexpr const char16_t* kWindowText = u"ExpandBtn";
  static constexpr int kWidth = 16;

  static const platform::MessageMap<ExpandButton>& messageMap();

  // A child of the edit's parent, at first over the whole edit; the edit is then its buddy.
  HWND create(HWND edit);
  HWND buddy() const { return buddy_; }

 private:
  LRESULT onSetBuddy(WPARAM edit, LPARAM);
  LRESULT onGetBuddy(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(buddy_); }
  bool onEraseBackground(HDC) { return true; }
  void onPaint();
  void onStylusDown(POINT point, UINT flags);

  HWND buddy_ = nullptr;
};

}  // namespace pellucard
