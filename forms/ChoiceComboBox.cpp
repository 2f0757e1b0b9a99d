#include "forms/ChoiceComboBox.h"

#include <string>

#include "forms/ChoiceField.h"
#include "platform/controls/WinComboBox.h"

namespace pellucard {

const platform::MessageMap<ChoiceComboBox>& ChoiceComboBox::messageMap() {
  using M = ChoiceComboBox;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_SETFOCUS>(&M::onSetFocus)
                              .on<WM_KILLFOCUS>(&M::onKillFocus)
                              .on(CB_SETCURSEL, &M::onSelectionMessage)
                              .on(CB_SELECTSTRING, &M::onSelectionMessage)
                              .on(WM_SETTEXT, &M::onSelectionMessage)
                              .on(CB_RESETCONTENT, &M::onSelectionMessage)
                              .on(CB_DELETESTRING, &M::onSelectionMessage);
  return map;
}

HWND ChoiceComboBox::create(HWND parent, const RECT& rect, HWND choiceField) {
  field_ = choiceField;
  return createOfClass(WC_COMBOBOXW, parent, rect, u"", WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

void ChoiceComboBox::onSetFocus(HWND) {
  // Over its field, which was made first and lies in front.
  SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  passOn();
}

void ChoiceComboBox::onKillFocus(HWND next) {
  const HWND self = hwnd();
  defWindowProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  if (fromHandle(self) != this) return;
  ShowWindow(self, SW_HIDE);
  showSelection();
  if (next != nullptr && next == field_) {
    // The field would hand the focus straight back: it goes past the row instead, backwards
    // when the user is going backwards.
    const HWND dialog = GetParent(self);
    const bool backwards = GetKeyState(VK_SHIFT) < 0;
    const HWND past = dialog != nullptr ? GetNextDlgTabItem(dialog, field_, backwards ? TRUE : FALSE) : nullptr;
    if (past != nullptr && past != field_) SetFocus(past);
  }
}

LRESULT ChoiceComboBox::onSelectionMessage(WPARAM wParam, LPARAM lParam) {
  const MSG* message = currentMessage();
  const LRESULT answer = defWindowProc(message->message, wParam, lParam);
  showSelection();
  return answer;
}

void ChoiceComboBox::showSelection() {
  if (field_ == nullptr || !IsWindow(field_) || hwnd() == nullptr) return;
  WCHAR text[ChoiceField::kMaxText + 1] = {};
  const int selected = static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
  const int length = selected >= 0 ? static_cast<int>(SendMessageW(hwnd(), CB_GETLBTEXTLEN, selected, 0)) : 0;
  if (selected >= 0 && length >= 0 && length <= ChoiceField::kMaxText) {
    SendMessageW(hwnd(), CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text));
  } else if (selected >= 0 && length > ChoiceField::kMaxText) {
    std::u16string whole(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(hwnd(), CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(whole.data()));
    whole.copy(text, ChoiceField::kMaxText);
  }
  SetWindowTextW(field_, text);
}

}  // namespace pellucard
