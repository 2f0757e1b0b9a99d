#include "views/PinDialog.h"

#include "forms/PlatformEdition.h"
#include "forms/WindowText.h"
#include "pin/PinLock.h"
#include "platform/base/ResourceTable.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinStatic.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"

namespace pellucard {

PinDialog::PinDialog() : FormDialog(IDR_DONE_CANCEL_BAR, false) {}

std::optional<std::u16string> PinDialog::ask(HWND parent) {
  PinDialog dialog;
  if (dialog.run(parent) != IDOK) return std::nullopt;
  return dialog.pin();
}

INT_PTR PinDialog::run(HWND parent) { return FormDialog::run(parent, platform::loadString(IDS_PIN_PROTECTION)); }

void PinDialog::createContent(HWND dialog) {
  const std::u16string prompt = platform::loadString(IDS_ENTER_PIN);
  prompt_ = CreateWindowExW(0, WC_STATICW, prompt.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 0, 0, 0, 0, dialog,
                            nullptr, nullptr, nullptr);
  const DWORD border = pocketPc() ? WS_BORDER : 0;
  // Scrolling sideways, so a PIN longer than the field is wide can still reach the limit below.
  edit_ = CreateWindowExW(0, WC_EDITW, u"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_NUMBER | ES_PASSWORD | ES_AUTOHSCROLL | border, 0, 0,
                          0, 0, dialog, nullptr, nullptr, nullptr);
  // The hash buffer holds no more.
  if (edit_ != nullptr) SendMessageW(edit_, EM_LIMITTEXT, PinLock::kMaxPinLength, 0);
  place();
  if (edit_ != nullptr) SetFocus(edit_);
}

void PinDialog::place() {
  if (hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int s = formScale();
  const int left = client.left + 4 * s;
  const int right = client.right - 4 * s;
  const int editBottom = client.top + (pocketPc() ? 55 : 60) * s;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (prompt_ != nullptr) SetWindowPos(prompt_, nullptr, left, client.top + 4 * s, right - left, 26 * s, flags);
  if (edit_ != nullptr) {
    const int top = client.top + 34 * s;
    SetWindowPos(edit_, nullptr, left, top, right - left, editBottom - top, flags);
  }
}

void PinDialog::onDone() {
  pin_ = edit_ != nullptr ? windowText(edit_) : std::u16string();
  end(IDOK);
}

}  // namespace pellucard
