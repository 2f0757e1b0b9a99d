#include "platform/shell/FullScreenEditor.h"

#include "platform/controls/ControlLook.h"
#include "platform/controls/WinEdit.h"

namespace platform::shell {
namespace {

constexpr UINT kEditId = 100;

}  // namespace

std::optional<std::u16string> FullScreenEditor::run(const controls::TextExpansion& request) {
  FullScreenEditor editor(request);
  if (!editor.FullScreenPage::run(request.owner, request.title)) return std::nullopt;
  return editor.result_;
}

bool FullScreenEditor::backDeletes() const { return !(request_.editStyle & ES_READONLY); }

RECT FullScreenEditor::editRect(const RECT& client) {
  RECT r = client;
  r.left += controls::scaled(4);
  return r;
}

void FullScreenEditor::createContent(HWND page, const RECT& client) {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (request_.editStyle & (ES_NUMBER | ES_READONLY));
  // A password stays hidden, on the one line a password field has.
  if (request_.editStyle & ES_PASSWORD) {
    style |= ES_PASSWORD | ES_AUTOHSCROLL;
  } else {
    style |= WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  }
  const RECT r = editRect(client);
  edit_ = CreateWindowExW(0, WC_EDITW, u"", style, r.left, r.top, r.right - r.left, r.bottom - r.top, page,
                          reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kEditId)), nullptr, nullptr);
  if (edit_ == nullptr) return;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(controls::systemFont()), FALSE);
  if (request_.limit > 0) SendMessageW(edit_, EM_LIMITTEXT, static_cast<WPARAM>(request_.limit), 0);
  SetWindowTextW(edit_, request_.text.c_str());
  const auto end = static_cast<WPARAM>(request_.text.size());
  SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(edit_, EM_SCROLLCARET, 0, 0);
  SetFocus(edit_);
}

void FullScreenEditor::layout(const RECT& client) {
  if (edit_ == nullptr || !IsWindow(edit_)) return;
  const RECT r = editRect(client);
  MoveWindow(edit_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

void FullScreenEditor::accept() {
  if (edit_ == nullptr || !IsWindow(edit_)) return;
  const int n = GetWindowTextLengthW(edit_);
  std::u16string text(static_cast<std::size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(edit_, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  result_ = std::move(text);
}

}  // namespace platform::shell
