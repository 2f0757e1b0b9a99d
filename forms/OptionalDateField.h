// A Smartphone date or time field that may hold no date. Leaving it writes its value back into
// itself, so that what it shows is redrawn from the value it holds.
#pragma once

#include "platform/win/WindowBase.h"

namespace pellucard {

class OptionalDateField : public platform::WindowImpl<OptionalDateField> {
 public:
  static const platform::MessageMap<OptionalDateField>& messageMap();

 private:
  void onKillFocus(HWND next);
};

}  // namespace pellucard
