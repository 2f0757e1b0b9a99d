// The About box: "Velka Pellucard" in bold, the application icon beside it and the version
// text below, each in the place the screen layout gives it, kept inside the layout's margin.
// Done closes it; it changes nothing.
#pragma once

#include "forms/FormDialog.h"

namespace pellucard {

class AboutBox : public FormDialog {
 public:
  // The version the box names.
  static constexpr const char16_t* kVersion = u"1.1";

  AboutBox();

  HWND heading() const { return heading_; }
  HWND icon() const { return icon_; }
  HWND aboutText() const { return text_; }

 protected:
  void createContent(HWND dialog) override;
  void onLayoutChanged() override { place(); }

 private:
  void place();

  HWND heading_ = nullptr;
  HWND icon_ = nullptr;
  HWND text_ = nullptr;
};

}  // namespace pellucard
