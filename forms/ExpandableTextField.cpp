#include "forms/ExpandableTextField.h"

#include "platform/controls/WinEdit.h"
#include "platform/controls/WinUpDown.h"

namespace pellucard {

ExpandableTextField::ExpandableTextField() = default;

ExpandableTextField::~ExpandableTextField() = default;

const platform::MessageMap<ExpandableTextField>& ExpandableTextField::messageMap() {
  using M = ExpandableTextField;
  static const auto map =
      platform::MessageMap<M>().on<WM_KEYDOWN>(&M::onKeyDown).on<WM_CHAR>(&M::onChar).on<WM_DESTROY>(&M::onDestroy);
  return map;
}

HWND ExpandableTextField::create(HWND parent, const RECT& rect, const std::u16string& text, bool readOnly,
                                 bool pocketPc) {
  pocketPc_ = pocketPc;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL;
  if (readOnly) style |= ES_READONLY | ES_WANTRETURN;
  if (createOfClass(WC_EDITW, parent, rect, text.c_str(), style) == nullptr) return nullptr;
  if (pocketPc_) {
    button_ = std::make_unique<ExpandButton>();
    expander_ = button_->create(hwnd());
  } else {
    expander_ = CreateWindowExW(
        0, UPDOWN_CLASSW, u"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_EXPANDABLE | UDS_NOSCROLL, 0, 0,
        0, 0, parent, nullptr, nullptr, nullptr);
    if (expander_ != nullptr) SendMessageW(expander_, UDM_SETBUDDY, reinterpret_cast<WPARAM>(hwnd()), 0);
  }
  return hwnd();
}

void ExpandableTextField::onKeyDown(UINT vk, UINT) {
  if (vk == VK_RETURN && pocketPc_ && button_ != nullptr && button_->hwnd() != nullptr) {
    // Posted, so that the editor opens once the key is done with.
    PostMessageW(button_->hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(0, 0));
    return;
  }
  if (vk == VK_DOWN && !pocketPc_) {
    const HWND parent = GetParent(hwnd());
    const HWND next = parent != nullptr ? GetNextDlgTabItem(parent, hwnd(), FALSE) : nullptr;
    if (next != nullptr && next != hwnd()) SetFocus(next);
    return;
  }
  passOn();
}

// Enter opens the editor on Pocket PC; the row itself never takes a line break.
void ExpandableTextField::onChar(WCHAR ch, UINT) {
  if (ch == u'\r' || ch == u'\n') return;
  passOn();
}

void ExpandableTextField::onDestroy() {
  if (button_ != nullptr) button_->destroyWindow();
  passOn();
}

}  // namespace pellucard
