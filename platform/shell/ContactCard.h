// The contact card a contact's Display opens: a read-only full-screen page with the contact's
// picture, name, job title and company at the top and its other fields below, each a label
// and its value. Done (the left soft key, or the title bar's Done on the Pocket PC) and Back
// close it; Up and Down scroll a card taller than the screen.
#pragma once

#include <vector>

#include "platform/pim/Contact.h"
#include "platform/shell/ContactCardContent.h"
#include "platform/shell/ModalScreen.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

class ContactCard {
 public:
  static constexpr const char16_t* kClass = u"ContactCard";

  // Shows the card and waits until it is closed; S_OK when it was shown.
  static HRESULT show(const pim::Contact& contact);
  // Makes Display of every contact show this card.
  static void registerDisplayHandler();

  explicit ContactCard(const pim::ContactRecord& contact);
  ~ContactCard();
  ContactCard(const ContactCard&) = delete;
  ContactCard& operator=(const ContactCard&) = delete;

  bool open();
  void run();

 private:
  struct Line {
    HWND label = nullptr;  // none for the header's lines
    HWND value = nullptr;
  };

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND addStatic(const std::u16string& text, HFONT font);
  void layout();
  void scrollTo(int position);
  bool filterInput(const MSG& msg);

  ContactCardContent content_;
  std::vector<std::uint8_t> pictureBytes_;
  HWND hwnd_ = nullptr;
  HWND menuBar_ = nullptr;
  HWND picture_ = nullptr;
  HBITMAP pictureBitmap_ = nullptr;
  HFONT boldFont_ = nullptr;
  std::vector<Line> header_;
  std::vector<Line> lines_;
  int scroll_ = 0;
  int contentHeight_ = 0;
  ModalScreen modal_;
  bool finished_ = false;
};

}  // namespace platform::shell
