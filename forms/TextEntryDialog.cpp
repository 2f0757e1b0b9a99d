#include "forms/TextEntryDialog.h"

#include <utility>

#include "forms/PlatformEdition.h"
#include "forms/WindowText.h"
#include "platform/base/ResourceTable.h"
#include "platform/controls/WinEdit.h"
#include "platform/shell/AygShell.h"
#include "resources/StringIds.h"

namespace pellucard {

TextEntryDialog::TextEntryDialog(std::u16string text, HWND buddy)
    : WindowImpl(kMenuBarId, false), text_(std::move(text)), buddy_(buddy) {}

const platform::MessageMap<TextEntryDialog>& TextEntryDialog::messageMap() {
  using M = TextEntryDialog;
  static const auto map = platform::MessageMap<M>().on<WM_SIZE>(&M::onSize).chain(FormDialog::messageMap());
  return map;
}

INT_PTR TextEntryDialog::run(HWND parent) { return FormDialog::run(parent, platform::loadString(IDS_ENTER_TEXT)); }

RECT TextEntryDialog::editRect() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  client.left += 4 * formScale();
  return client;
}

void TextEntryDialog::createContent(HWND dialog) {
  if (pocketPc()) {
    // Sized again above the input panel, where the editor wants it.
    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG;
    SHInitDialog(&info);
  }
  const RECT r = editRect();
  edit_ =
      CreateWindowExW(0, WC_EDITW, text_.c_str(),
                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                      r.left, r.top, r.right - r.left, r.bottom - r.top, dialog, nullptr, nullptr, nullptr);
  if (edit_ == nullptr) return;
  // The field's limit holds here too: the text comes back whole into it.
  if (buddy_ != nullptr && IsWindow(buddy_)) {
    SendMessageW(edit_, EM_LIMITTEXT, static_cast<WPARAM>(SendMessageW(buddy_, EM_GETLIMITTEXT, 0, 0)), 0);
  }
  SetFocus(edit_);
}

void TextEntryDialog::onSize(UINT, SIZE) {
  if (edit_ != nullptr) {
    const RECT r = editRect();
    SetWindowPos(edit_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  passOn();
}

void TextEntryDialog::onDone() {
  if (edit_ != nullptr) text_ = windowText(edit_);
  if (buddy_ != nullptr && IsWindow(buddy_)) SetWindowTextW(buddy_, text_.c_str());
  end(IDOK);
}

void TextEntryDialog::onCancel() {
  text_.clear();
  end(IDCANCEL);
}

}  // namespace pellucard
