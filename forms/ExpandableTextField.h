// The edit of an expandable text row: one line of a text that may be longer, with a way to the
// full-screen editor. On Pocket PC an ExpandButton at its right end opens "Enter Text", and so
// does Enter. On Smartphone an expandable up-down control is its buddy (the platform then offers
// its own full-screen editor) and Down moves on to the next field instead of the next line.
#pragma once

#include <memory>
#include <string>

#include "forms/ExpandButton.h"
#include "platform/win/WindowBase.h"

namespace pellucard {

class ExpandableTextField : public platform::WindowImpl<ExpandableTextField> {
 public:
  ExpandableTextField();
  ~ExpandableTextField() override;

  static const platform::MessageMap<ExpandableTextField>& messageMap();

  // The edit in `rect` of `parent` with its expander; nullptr when the edit cannot be made.
  HWND create(HWND parent, const RECT& rect, const std::u16string& text, bool readOnly, bool pocketPc);
  // The ExpandButton (Pocket PC) or the up-down control (Smartphone); nullptr without one.
  HWND expander() const { return expander_; }

 private:
  void onKeyDown(UINT vk, UINT flags);
  void onChar(WCHAR ch, UINT flags);
  void onDestroy();

  bool pocketPc_ = false;
  std::unique_ptr<ExpandButton> button_;
  HWND expander_ = nullptr;
};

}  // namespace pellucard
