#include "forms/OptionalDateField.h"

#include "platform/controls/WinDateTime.h"

namespace pellucard {

const platform::MessageMap<OptionalDateField>& OptionalDateField::messageMap() {
  using M = OptionalDateField;
  static const auto map = platform::MessageMap<M>().on<WM_KILLFOCUS>(&M::onKillFocus);
  return map;
}

void OptionalDateField::onKillFocus(HWND next) {
  const HWND self = hwnd();
  defWindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  if (fromHandle(self) != this) return;
  SYSTEMTIME value{};
  const DWORD state = DateTime_GetSystemtime(self, &value);
  if (state == GDT_VALID) {
    DateTime_SetSystemtime(self, GDT_VALID, &value);
  } else if (state == GDT_NONE) {
    DateTime_SetSystemtime(self, GDT_NONE, &value);
  }
}

}  // namespace pellucard
